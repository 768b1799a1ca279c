#include "PreviewMedia.h"

#include "FileChecks.h"
#include "Headless/HeadlessApplication.h"
#include "Headless/MediaSourceRegistry.h"
#include "MediaPlayer.h"
#include "Misc/Paths.h"

namespace
{
const TCHAR* const SampleLessonUrl = TEXT("https://lessons.pravella.invalid/samples/lesson-01.mp4");
} // namespace

bool FPreviewMedia::Open(FHeadlessApplication& App, const FPreviewOptions& Options, FString& OutError)
{
	Player = LoadObject<UMediaPlayer>(nullptr, TEXT("/Game/Media/MP_LessonPlayer"));
	if (!Player)
	{
		OutError = TEXT("the bundled media player asset /Game/Media/MP_LessonPlayer did not load");
		return false;
	}
	if (Options.Media.IsEmpty())
	{
		const FString Description = FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Samples/SampleLesson.media"));
		if (!FMediaSourceRegistry::LoadFromFile(Description))
		{
			OutError = FString::Printf(TEXT("cannot read the bundled lesson description %s"), *Description);
			return false;
		}
		Url = SampleLessonUrl;
	}
	else if (Options.Media.Contains(TEXT("://")))
	{
		Url = Options.Media;
		if (!Options.MediaDescription.IsEmpty() &&
		    !FFileChecks::CheckInput(Options.MediaDescription, TEXT("media description"), OutError))
		{
			return false;
		}
		if (!Options.MediaDescription.IsEmpty() && !FMediaSourceRegistry::LoadFromFile(Options.MediaDescription))
		{
			OutError = FString::Printf(TEXT("cannot read the media description %s"), *Options.MediaDescription);
			return false;
		}
	}
	else
	{
		if (!FFileChecks::CheckInput(Options.Media, TEXT("media file"), OutError))
		{
			return false;
		}
		Url = FPaths::ConvertRelativePathToFull(Options.Media);
	}
	if (!Player->OpenUrl(Url))
	{
		OutError = FString::Printf(TEXT("the media framework cannot play %s"), *Url);
		return false;
	}
	// Opening completes on later frames; give it a generous minute of application time.
	for (int32 Frame = 0; Frame < 3600 && Player->IsPreparing(); ++Frame)
	{
		App.Tick(float(Options.FrameSeconds));
	}
	if (!Player->IsReady())
	{
		OutError = FString::Printf(TEXT("%s did not open (a network URL needs a --media-description; a local file "
		                                "must be an MP4 whose header states its length)"),
		                           *Url);
		return false;
	}
	return true;
}
