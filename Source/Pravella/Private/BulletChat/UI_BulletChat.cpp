#include "BulletChat/UI_BulletChat.h"

#include "BulletChat/BulletChatTrackManager.h"
#include "BulletChat/UI_BulletChatNode.h"
#include "BulletChatDocumentReader.h"
#include "Components/CanvasPanel.h"
#include "MediaPlayer.h"

void UUI_BulletChat::Init(TObjectPtr<UMediaPlayer> InMediaPlayer)
{
	MediaPlayer = InMediaPlayer;
}

void UUI_BulletChat::ResetDatas(const FString& JsonText)
{
	if (!bInit)
	{
		PendingDocument = JsonText;
		bHasPendingDocument = true;
		return;
	}
	LoadDocument(JsonText);
}

void UUI_BulletChat::AddDataThenSpawn(const FString& JsonText, const FString& InURL)
{
	// An empty URL names no video, not a closed player's empty one.
	if (!bInit || !MediaPlayer || InURL.IsEmpty() || !InURL.Equals(MediaPlayer->GetUrl(), ESearchCase::IgnoreCase))
	{
		return;
	}
	FBulletChatData Data;
	if (!FBulletChatDocumentReader::ReadRecord(JsonText, Data))
	{
		return;
	}
	AddDataToMap(Data);
	// The stored copy carries the local key a record without an ID needs to be shown once at a time.
	TrackManager->SpawnBulletChatNode(BulletChatMap.FindChecked(Data.Time).Last());
}

void UUI_BulletChat::Pause()
{
	if (bInit)
	{
		TrackManager->Pause();
	}
}

void UUI_BulletChat::Resume()
{
	if (bInit)
	{
		TrackManager->Resume();
	}
}

void UUI_BulletChat::Empty()
{
	if (bInit)
	{
		TrackManager->Empty();
	}
}

void UUI_BulletChat::SetVisible(bool bVisible)
{
	RootCanvas->SetRenderOpacity(bVisible ? 1.0f : 0.0f);
}

void UUI_BulletChat::NativeTick(const FGeometry& MyGeometry, float InDeltaTime)
{
	Super::NativeTick(MyGeometry, InDeltaTime);

	const FVector2D CanvasSize = RootCanvas->GetCachedGeometry().GetLocalSize();
	if (CanvasSize.X == 0.0 && CanvasSize.Y == 0.0)
	{
		return;
	}
	if (!MediaPlayer)
	{
		return;
	}
	if (!bInit)
	{
		CreateTrackManager();
	}
	if (!MediaPlayer->IsPlaying() || BulletChatMap.IsEmpty())
	{
		return;
	}

	// Hours of the day, minutes and seconds: the fraction and whole days are dropped.
	const FTimespan Time = MediaPlayer->GetTime();
	const FTimespan Key(Time.GetHours(), Time.GetMinutes(), Time.GetSeconds());
	// Offered on every frame of the second: the manager refuses the records whose nodes still run.
	if (const TArray<FBulletChatData>* Records = BulletChatMap.Find(Key))
	{
		for (const FBulletChatData& Data : *Records)
		{
			TrackManager->SpawnBulletChatNode(Data);
		}
	}
}

void UUI_BulletChat::NativeDestruct()
{
	Super::NativeDestruct();
	// The track manager is kept: an overlay taken off screen and put back finds its tracks, the IDs on screen
	// and its index as they were. It goes with the overlay when that is collected.
}

void UUI_BulletChat::CreateTrackManager()
{
	TrackManager = NewObject<UBulletChatTrackManager>(this);
	TrackManager->Init(RootCanvas, BulletChatNodeClass);
	bInit = true;
	if (bHasPendingDocument)
	{
		bHasPendingDocument = false;
		const FString JsonText = MoveTemp(PendingDocument);
		PendingDocument.Empty();
		LoadDocument(JsonText);
	}
}

void UUI_BulletChat::LoadDocument(const FString& JsonText)
{
	BulletChatMap.Empty();
	TArray<FBulletChatData> Records;
	FBulletChatDocumentReader::ReadDocument(JsonText, Records);
	for (FBulletChatData& Record : Records)
	{
		AddDataToMap(MoveTemp(Record));
	}
}

void UUI_BulletChat::AddDataToMap(FBulletChatData Data)
{
	if (!Data.bHasID)
	{
		LastLocalKey = LastLocalKey == MAX_int32 ? 1 : LastLocalKey + 1;
		Data.LocalKey = LastLocalKey;
	}
	BulletChatMap.FindOrAdd(Data.Time).Add(MoveTemp(Data));
}
