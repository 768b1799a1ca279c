#include "UI_LessonHost.h"

#include "Components/CanvasPanelSlot.h"
#include "UI_Danmaku.h"

void UUI_LessonHost::NativeOnInitialized()
{
	Super::NativeOnInitialized();

	// 1. Place the player from its widget blueprint, filling the host's canvas. It is constructed, and starts its
	// overlay, when the host goes on screen.
	if (!PlayerClass)
	{
		UE_LOG(LogTemp, Warning, TEXT("%s: no PlayerClass set; assign the player's widget blueprint"), *GetName());
		return;
	}
	Player = CreateWidget<UUI_PravellaSystem>(this, PlayerClass);
	if (!Player)
	{
		// The engine has logged which bound child the blueprint lacks.
		return;
	}
	UCanvasPanelSlot* PlayerSlot = PlayerArea->AddChildToCanvas(Player);
	PlayerSlot->SetAnchors(FAnchors(0.0f, 0.0f, 1.0f, 1.0f));
	PlayerSlot->SetOffsets(FMargin(0.0f));

	// 2. Hear when a lesson has played to its end, and when the viewer moves to the next or previous lesson.
	Player->OnFinshPlayMovie.AddUniqueDynamic(this, &UUI_LessonHost::OnLessonFinished);
	Player->OnPlaylistUrlChanged.BindUObject(this, &UUI_LessonHost::OnPlaylistMoved);

	TurnOnCommentControls();
}

void UUI_LessonHost::AddLesson(const FString& Url, const FString& CommentDocument)
{
	if (!Player)
	{
		return;
	}
	// 3. Fill the playlist: the player's previous and next buttons move through it.
	Player->AddToPlaylist(Url);
	CommentDocuments.Add(Url, CommentDocument);
}

void UUI_LessonHost::OpenLesson(const FString& Url)
{
	if (!Player)
	{
		return;
	}
	// 4. Open the lesson, then hand over its comments. A document handed over before the overlay's first laid-out
	// frame is kept until then.
	Player->OpenPlaylistUrl(Url);
	HandCommentsToPlayer(Url);
}

void UUI_LessonHost::PushLiveComment(const FString& CommentJson)
{
	// 5. A live comment is shown only on the lesson it was posted on: the player checks the URL.
	if (Player)
	{
		Player->AddBulletChatDataThenSpawn(CommentJson, OpenLessonUrl);
	}
}

void UUI_LessonHost::OnLessonFinished()
{
	++FinishedLessonCount;
	UE_LOG(LogTemp, Display, TEXT("Lesson finished: %s"), *OpenLessonUrl);
	OnLessonEnded.Broadcast(OpenLessonUrl);
}

void UUI_LessonHost::OnPlaylistMoved(const FString& Url)
{
	// The viewer moved in the playlist: the new lesson needs its own comments.
	HandCommentsToPlayer(Url);
	OnLessonChanged.Broadcast(Url);
}

void UUI_LessonHost::HandCommentsToPlayer(const FString& Url)
{
	OpenLessonUrl = Url;
	const FString* Document = CommentDocuments.Find(Url);
	if (!Document)
	{
		return;
	}
	if (Document->TrimStart().StartsWith(TEXT("<")))
	{
		// The player takes JSON; the XML of video sites goes to its overlay, the bound child named "Danmaku".
		if (UUI_Danmaku* Overlay = Cast<UUI_Danmaku>(Player->GetWidgetFromName(TEXT("Danmaku"))))
		{
			Overlay->LoadDanmakuXml(*Document);
		}
	}
	else
	{
		Player->ResetBulletChatDatas(*Document);
	}
}

void UUI_LessonHost::TurnOnCommentControls()
{
	UUI_Danmaku* Overlay = Cast<UUI_Danmaku>(Player->GetWidgetFromName(TEXT("Danmaku")));
	if (!Overlay)
	{
		return;
	}
	// The viewer's stored speed, size and on/off first: a viewer who switched comments off sees none.
	Overlay->ApplySavedSettings();
	Overlay->SetReverseComments(bShowReverseComments);
	Overlay->SetDensityLimit(0, MaxCommentsPerSecond);
	if (!BlockedWord.IsEmpty())
	{
		Overlay->AddBlockedWord(BlockedWord);
	}
}
