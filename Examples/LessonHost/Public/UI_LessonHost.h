#pragma once

#include "CoreMinimal.h"
#include "Blueprint/UserWidget.h"
#include "Components/CanvasPanel.h"
#include "UI_PravellaSystem.h"

#include "UI_LessonHost.generated.h"

class UUI_Danmaku;

DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FOnLessonHostLessonEvent, const FString&, Url);

// A game's lesson screen, as a host of the plugin writes it: it places the lesson player from its widget blueprint,
// fills the player's playlist, opens a lesson and hands the player that lesson's comments (JSON or the XML of video
// sites), passes on comments other viewers post live, hears when a lesson ends and when the viewer moves in the
// playlist, and turns on the overlay's comment controls. docs/HostRecipe.md gives the same steps as Blueprint nodes.
UCLASS()
class LESSONHOST_API UUI_LessonHost : public UUserWidget
{
	GENERATED_BODY()

public:
	// Adds a lesson (a network URL or a local file) to the player's playlist, with its comment document: a JSON
	// document ({"datas": [...]}) or an XML one (<i><d p="...">text</d></i>).
	UFUNCTION(BlueprintCallable, Category = "Lessons")
	void AddLesson(const FString& Url, const FString& CommentDocument);

	// Opens a lesson added before and hands the player its comments.
	UFUNCTION(BlueprintCallable, Category = "Lessons")
	void OpenLesson(const FString& Url);

	// A comment another viewer has just posted on the open lesson, as one JSON comment object: shown at once.
	UFUNCTION(BlueprintCallable, Category = "Lessons")
	void PushLiveComment(const FString& CommentJson);

	// The player the host placed, for Blueprint nodes that act on it (Pause Video, Set Volume Multiplier, ...).
	UFUNCTION(BlueprintPure, Category = "Lessons")
	UUI_PravellaSystem* GetPlayer() const { return Player; }
	const FString& GetOpenLessonUrl() const { return OpenLessonUrl; }
	int32 GetFinishedLessonCount() const { return FinishedLessonCount; }

	// A lesson played to its end (Url is the lesson's).
	UPROPERTY(BlueprintAssignable, Category = "Lessons")
	FOnLessonHostLessonEvent OnLessonEnded;
	// The viewer moved to another lesson of the playlist; its comments have been handed over.
	UPROPERTY(BlueprintAssignable, Category = "Lessons")
	FOnLessonHostLessonEvent OnLessonChanged;

protected:
	// UUserWidget
	void NativeOnInitialized() override;
	// --

private:
	// The player's end-of-video event: a dynamic delegate, so a reflected handler.
	UFUNCTION()
	void OnLessonFinished();
	// The playlist hook: the viewer pressed next or previous, and the player opens Url.
	void OnPlaylistMoved(const FString& Url);

	void HandCommentsToPlayer(const FString& Url);
	void TurnOnCommentControls();

	// Where the player goes: the blueprint's canvas, which the player fills.
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCanvasPanel> PlayerArea;

	// The player's widget blueprint (one made as docs/Widgets.md describes for UUI_PravellaSystem).
	UPROPERTY(EditDefaultsOnly, Category = "Lessons")
	TSubclassOf<UUI_PravellaSystem> PlayerClass;

	// Comment controls the host turns on; the viewer's stored settings (speed, size, on or off) apply as well.
	UPROPERTY(EditAnywhere, Category = "Comments")
	bool bShowReverseComments = true;
	UPROPERTY(EditAnywhere, Category = "Comments")
	int32 MaxCommentsPerSecond = 40;
	UPROPERTY(EditAnywhere, Category = "Comments")
	FString BlockedWord;

	UPROPERTY(Transient)
	TObjectPtr<UUI_PravellaSystem> Player;

	// The comment document of each lesson, by its URL.
	TMap<FString, FString> CommentDocuments;
	FString OpenLessonUrl;
	int32 FinishedLessonCount = 0;
};
