#include "LessonHost.h"

#include "AppConsole.h"
#include "Headless/MediaSourceRegistry.h"
#include "LessonDocuments.h"
#include "MediaPlayer.h"
#include "MediaPlaylist.h"
#include "MediaSource.h"
#include "UI_PravellaSystem.h"
#include "ViewerScript.h"

FLessonHost::FLessonHost(const FViewerScript& InScript, FLessonDocuments& InDocuments, FCommentTrace& InTrace,
                         TArray<FString>& InProblems)
    : Script(InScript), Documents(InDocuments), Trace(InTrace), Problems(InProblems)
{
}

void FLessonHost::Attach(UUI_PravellaSystem* InPlayer, UMediaPlayer* InMedia)
{
	Player = InPlayer;
	Media = InMedia;
}

bool FLessonHost::Perform(const FViewerStep& Step, FString& OutError)
{
	switch (Step.Action)
	{
		case EViewerAction::Describe:
			if (!FMediaSourceRegistry::LoadFromFile(Step.File))
			{
				OutError = FString::Printf(TEXT("%s: %s is no media description (sections [URL] with key=value lines)"),
				                           *Script.Where(Step), *Step.File);
				return false;
			}
			return true;
		case EViewerAction::Lesson:
			Documents.AddLesson(Step);
			Player->AddToPlaylist(Step.Text);
			return true;
		case EViewerAction::Open:
			OpenLesson(Step.Text);
			return true;
		case EViewerAction::Comments:
			if (!Documents.ReplaceComments(Step))
			{
				OutError = FString::Printf(TEXT("%s: no lesson is open to take the comments"), *Script.Where(Step));
				return false;
			}
			Documents.OnLessonOpened(Media->GetUrl(), Media->GetDuration().GetTotalSeconds(), Trace, Problems);
			return true;
		case EViewerAction::Live:
			PushLiveComment(Step);
			return true;
		default:
			return true;
	}
}

void FLessonHost::OpenLesson(const FString& Url)
{
	Documents.Open(Url);
	UMediaPlaylist* Playlist = Player->GetPlaylist();
	bool bListed = false;
	for (int32 Index = 0; Playlist && Index < Playlist->Num(); ++Index)
	{
		bListed |= FLessonDocuments::SameSource(Playlist->Get(Index)->GetUrl(), Url);
	}
	if (bListed)
	{
		Player->OpenPlaylistUrl(Url);
	}
	else if (Url.Contains(TEXT("://")))
	{
		Player->PlayMediaByNet(Url);
	}
	else
	{
		Player->PlayMediaByLocal(Url);
	}
}

void FLessonHost::PushLiveComment(const FViewerStep& Step)
{
	if (Media->GetUrl().IsEmpty())
	{
		// The player drops a pushed comment when no lesson is open; the run says so.
		const FString Problem =
		    FString::Printf(TEXT("%s: no lesson is open, so the live comment was dropped"), *Script.Where(Step));
		FAppConsole::Warning(Problem);
		Problems.Add(Problem);
		return;
	}
	Player->AddBulletChatDataThenSpawn(Step.Text, Media->GetUrl());
}
