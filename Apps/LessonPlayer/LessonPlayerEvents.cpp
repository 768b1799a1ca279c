#include "LessonPlayerEvents.h"

#include "CommentTrace.h"

void ULessonPlayerEvents::OnOpened(FString OpenedUrl)
{
	Sink(TEXT("open"), FString::Printf(TEXT(",\"url\":%s"), *FCommentTrace::Quote(OpenedUrl)));
}

void ULessonPlayerEvents::OnOpenFailed(FString FailedUrl)
{
	Sink(TEXT("open_failed"), FString::Printf(TEXT(",\"url\":%s"), *FCommentTrace::Quote(FailedUrl)));
}

void ULessonPlayerEvents::OnSent(const FString& VideoURL, const int64& SpawnTime, const FString& Content,
                                 const EDanmakuMode& Mode, const int32& FontSize, const FString& FontColor)
{
	Sink(TEXT("send"),
	     FString::Printf(TEXT(",\"url\":%s,\"spawn\":%s,\"text\":%s,\"mode\":%d,\"font_size\":%d,"
	                          "\"color\":%s"),
	                     *FCommentTrace::Quote(VideoURL), *FCommentTrace::Number(double(SpawnTime) / 1e7),
	                     *FCommentTrace::Quote(Content), int32(Mode), FontSize, *FCommentTrace::Quote(FontColor)));
	if (OnSendSeen)
	{
		OnSendSeen(Content);
	}
}
