#pragma once

#include "CoreMinimal.h"
#include "BulletChat/BulletChatData.h"
#include "BulletChat/BulletChatTrackManager.h"
#include "BulletChat/UI_BulletChatNode.h"
#include "Components/CanvasPanel.h"
#include "Core/UI_PravellaBase.h"
#include "MediaPlayer.h"
#include "Templates/SubclassOf.h"

#include "UI_BulletChat.generated.h"

// The legacy comment overlay: keeps the comments indexed by their exact video time and, on every frame in which
// its media player plays, offers the comments of the current whole second to the track manager, which shows
// each one once at a time.
UCLASS()
class PRAVELLA_API UUI_BulletChat : public UUI_PravellaBase
{
	GENERATED_BODY()

public:
	void Init(TObjectPtr<UMediaPlayer> InMediaPlayer);

	// Replaces the time index with the comments of a JSON document ({"datas": [...]}). A document handed over
	// before the track manager exists is kept and loaded as soon as it does.
	void ResetDatas(const FString& JsonText);
	// Stores one record (a JSON object) and shows it at once, when InURL is the media player's URL in any
	// letter case. Ignored before the track manager exists.
	void AddDataThenSpawn(const FString& JsonText, const FString& InURL);

	void Pause();
	void Resume();
	// Clears the nodes in tracks; the time index stays.
	void Empty();
	// Shows or hides the comments without stopping them.
	void SetVisible(bool bVisible);

	// The records stored under exactly Time; null when there are none.
	const TArray<FBulletChatData>* FindDatasAt(const FTimespan& Time) const { return BulletChatMap.Find(Time); }
	// Null until the first laid-out frame with a media player.
	UBulletChatTrackManager* GetTrackManager() const { return TrackManager; }

protected:
	// UUserWidget
	virtual void NativeTick(const FGeometry& MyGeometry, float InDeltaTime) override;
	virtual void NativeDestruct() override;
	// --

private:
	void CreateTrackManager();
	void LoadDocument(const FString& JsonText);
	// Appends a copy under the record's exact time; a record without an ID gets its local key here.
	void AddDataToMap(FBulletChatData Data);

	TMap<FTimespan, TArray<FBulletChatData>> BulletChatMap;

	UPROPERTY()
	TObjectPtr<UMediaPlayer> MediaPlayer;

	UPROPERTY()
	TObjectPtr<UBulletChatTrackManager> TrackManager;

	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCanvasPanel> RootCanvas;

	UPROPERTY(EditDefaultsOnly, Category = "UI")
	TSubclassOf<UUI_BulletChatNode> BulletChatNodeClass;

	bool bInit = false;
	// The latest document handed over before the track manager existed.
	FString PendingDocument;
	bool bHasPendingDocument = false;
	// Last local key handed to a record without an ID.
	int32 LastLocalKey = 0;
};
