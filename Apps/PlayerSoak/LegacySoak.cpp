#include "LegacySoak.h"

#include "BulletChat/BulletChatTrackManager.h"
#include "BulletChat/UI_BulletChat.h"
#include "BulletChat/UI_BulletChatNode.h"
#include "Components/CanvasPanel.h"
#include "Engine/World.h"
#include "Headless/HeadlessApplication.h"
#include "MediaPlayer.h"

#include <cstdio>

bool FLegacySoak::Build()
{
	UClass* OverlayClass = StaticLoadClass(UUI_BulletChat::StaticClass(), nullptr, TEXT("/Game/UI/WBP_BulletChat"));
	if (!OverlayClass)
	{
		return Fail(TEXT("the legacy overlay did not load"));
	}
	KeepLoadedClasses();
	Figures.LiveBefore = LiveObjects();
	Media = NewObject<UMediaPlayer>();
	Media->AddToRoot();
	Overlay = CreateWidget<UUI_BulletChat>(App.GetWorld(), OverlayClass);
	Overlay->AddToRoot();
	Overlay->AddToViewport();
	Canvas = Cast<UCanvasPanel>(Overlay->GetWidgetFromName(TEXT("RootCanvas")));
	Overlay->Init(Media);
	// Kept by the overlay until its track manager exists.
	Overlay->ResetDatas(Document);
	// The track manager is made on the first laid-out frame; listening before the lesson opens, the soak hears about
	// every comment handed to it.
	App.Tick(1.0f / Options.FramesPerSecond);
	++Frame;
	Manager = Overlay->GetTrackManager();
	if (!Canvas || !Manager)
	{
		return Fail(TEXT("the legacy overlay has no canvas, or no track manager after its first frame"));
	}
	Manager->OnBulletChatPlaced.AddLambda([this](const FBulletChatPlacement& Placement) { OnPlaced(Placement); });
	Manager->OnBulletChatNotPlaced.AddLambda([this](const FBulletChatData& Data, EBulletChatNotPlacedReason Reason)
	                                         { OnNotPlaced(Data, Reason); });
	return true;
}

void FLegacySoak::OnPlaced(const FBulletChatPlacement& Placement)
{
	const UUI_BulletChatNode* Node = Placement.Node;
	const FVector2D Position = Node->GetPosition();
	if (Node->GetParent() != Canvas || float(Position.X) != float(Node->GetParentSize().X) ||
	    float(Position.Y) != float(Placement.FirstTrack * UBulletChatTrackManager::TrackHeight))
	{
		Fail(FString::Printf(TEXT("comment %d was reported placed on track %d but stands at (%.1f, %.1f)%s"),
		                     Node->GetData().ID, Placement.FirstTrack, Position.X, Position.Y,
		                     Node->GetParent() == Canvas ? TEXT("") : TEXT(" off the canvas")));
	}
	FrameReports.Add(Node->GetData().ID);
	++Figures.Placed;
	Figures.SharedBands += Placement.bSharedBand ? 1 : 0;
}

bool FLegacySoak::IsOnCanvas(int32 Id)
{
	if (!bCanvasIdsKnown)
	{
		CanvasIds.Reset();
		for (UWidget* Child : Canvas->GetAllChildren())
		{
			if (const UUI_BulletChatNode* Node = Cast<UUI_BulletChatNode>(Child))
			{
				CanvasIds.Add(Node->GetData().ID, true);
			}
		}
		bCanvasIdsKnown = true;
	}
	return CanvasIds.Contains(Id);
}

void FLegacySoak::OnNotPlaced(const FBulletChatData& Data, EBulletChatNotPlacedReason Reason)
{
	// Refused as showing while no node of it is on screen: lost.
	if (Reason == EBulletChatNotPlacedReason::AlreadyShowing && !IsOnCanvas(Data.ID))
	{
		Fail(FString::Printf(TEXT("comment %d was refused as already showing, but no node of it is on the canvas"),
		                     Data.ID));
	}
	FrameReports.Add(Data.ID);
	++Figures.NotShown;
	++Figures.NotShownByReason.FindOrAdd(StaticEnum<EBulletChatNotPlacedReason>()->GetNameStringByValue(int64(Reason)));
}

void FLegacySoak::HandOver(int32 Id)
{
	Outstanding.Owe(Id, Frame);
	++Figures.HandOvers;
}

// Checks the frame just drawn. While the lesson plays the overlay hands every comment of the playing second to the
// manager on every frame; each hand-over must be answered by one report within a few frames, and no report may come
// for a comment not handed over.
bool FLegacySoak::Settle()
{
	// The canvas changes with the next frame.
	bCanvasIdsKnown = false;
	const int32 Second = SoakSecondOf(Media->GetTime());
	if (Media->IsPlaying())
	{
		if (const TArray<int32>* Ids = IdsBySecond.Find(Second))
		{
			for (int32 Id : *Ids)
			{
				HandOver(Id);
			}
			Figures.Due += Second != DueSecond ? Ids->Num() : 0;
		}
		DueSecond = Second;
	}
	for (int32 Id : FrameReports)
	{
		if (!Outstanding.Answer(Id))
		{
			return Fail(FString::Printf(TEXT("comment %d was reported but was not handed over"), Id));
		}
	}
	FrameReports.Reset();
	int32 Overdue = 0;
	int64 Since = 0;
	if (Outstanding.FindOverdue(Frame - SoakReportFrames, Overdue, Since))
	{
		return Fail(FString::Printf(TEXT("comment %d, handed over at frame %lld, was neither placed nor reported"),
		                            Overdue, static_cast<long long>(Since)));
	}
	return Failure.IsEmpty();
}

bool FLegacySoak::BeforeAction()
{
	// The host starts the lesson again when it has run out.
	if (!Media->IsPlaying() && !Media->IsPaused() && !Media->IsPreparing())
	{
		Media->OpenUrl(SoakLessonUrls[0]);
	}
	return true;
}

void FLegacySoak::PushLiveComment()
{
	// A comment of another viewer at the current time; the overlay takes it for its own lesson only, whatever the
	// letter case of the address.
	const int32 Id = SoakFirstLiveId + int32(++Figures.Pushes);
	const int32 Second = SoakSecondOf(Media->GetTime());
	const int32 Kind = Pick(3);
	const FString Url = Kind == 0 ? Media->GetUrl() : Kind == 1 ? Media->GetUrl().ToUpper() : SoakLessonUrls[1];
	if (Url.Equals(Media->GetUrl(), ESearchCase::IgnoreCase))
	{
		IdsBySecond.FindOrAdd(Second).Add(Id);
		HandOver(Id);
		++Figures.Due;
	}
	else
	{
		++Figures.ForeignPushes;
	}
	Overlay->AddDataThenSpawn(SoakLegacyRecord(Id, Second, TEXT("live")), Url);
}

bool FLegacySoak::Act()
{
	const int32 Action = Pick(10);
	if (Options.bVerbose)
	{
		std::printf("frame %lld: action %d at %.2f s, %s%s\n", static_cast<long long>(Frame), Action,
		            Media->GetTime().GetTotalSeconds(), Media->IsPlaying() ? "playing" : "not playing",
		            bHostPaused ? ", overlay paused" : "");
	}
	switch (Action)
	{
		case 0:
			Media->Seek(FTimespan::FromSeconds(PickLessonTime()));
			break;
		case 1:
			Media->IsPaused() ? Media->Play() : Media->Pause();
			break;
		case 2:
			// The host's pause: nodes stand still, comments are still handed over while the lesson plays.
			bHostPaused = !bHostPaused;
			bHostPaused ? Overlay->Pause() : Overlay->Resume();
			break;
		case 3:
			bVisible = !bVisible;
			Overlay->SetVisible(bVisible);
			break;
		case 4:
		case 5:
			PushLiveComment();
			break;
		case 6:
			App.SetViewportSize(SoakScreenSizes[Pick(UE_ARRAY_COUNT(SoakScreenSizes))]);
			break;
		case 7:
			Overlay->ResetDatas(Document);
			IdsBySecond = DocumentIds;
			break;
		default:
			Overlay->Empty();
			break;
	}
	bCanvasIdsKnown = false;
	return true;
}

bool FLegacySoak::Finish(bool bOk)
{
	bOk = bOk && Step(1.0);
	// Nothing is handed over once the lesson is closed; what was must still be answered.
	Media->Close();
	bOk = bOk && Step(double(SoakReportFrames + 1) / Options.FramesPerSecond);
	if (bOk && Outstanding.Num() > 0)
	{
		bOk = Fail(FString::Printf(TEXT("%d comments handed over were never answered"), Outstanding.Num()));
	}
	// The listeners hold this run.
	Manager->OnBulletChatPlaced.Clear();
	Manager->OnBulletChatNotPlaced.Clear();
	Overlay->RemoveFromParent();
	Overlay->RemoveFromRoot();
	Media->RemoveFromRoot();
	App.Tick(0.1f);
	return bOk;
}

int32 FLegacySoak::Run()
{
	Document = MakeDocument(true);
	DocumentIds = IdsBySecond;
	if (!Build())
	{
		return 1;
	}
	Media->OpenUrl(SoakLessonUrls[0]);
	const bool bOk = Finish(Step(0.5) && RunActions());
	App.SetViewportSize(SoakScreenSizes[0]);
	Figures.LiveAfter = LiveObjects();
	return bOk ? 0 : 1;
}
