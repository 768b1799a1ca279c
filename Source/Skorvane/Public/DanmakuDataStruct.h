#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectPtr.h"

#include "DanmakuDataStruct.generated.h"

class UDanmakuTrack;

UENUM()
enum class EDanmakuMode : int32
{
	SCROLL = 0,
	TOP = 1,
	BOTTOM = 2,
	REVERSE = 3,
	// Placed by its own payload (the comment text is a JSON array), never on lanes; see FDanmakuPositionedComment.
	POSITIONED = 7,
};

// One comment. Copied freely into the time index and into every node that shows it.
struct SKORVANE_API FDanmakuData
{
	// Defined here so that filing and moving records inline them.
	FDanmakuData() = default;
	FDanmakuData(const FDanmakuData& Other) = default;
	FDanmakuData(FDanmakuData&& Other) noexcept = default;
	FDanmakuData& operator=(const FDanmakuData& Other) = default;
	FDanmakuData& operator=(FDanmakuData&& Other) noexcept = default;
	~FDanmakuData() = default;

	int32 DanmakuID = 0;
	int32 PostID = 0;
	int32 UserID = 0;
	FString UserDisplayName;
	FDateTime PostDate;
	// Media timeline position in timespan ticks (100 ns), not seconds.
	int64 SpawnTime = 0;
	FString Content;
	EDanmakuMode Mode = EDanmakuMode::SCROLL;
	int32 FontSize = 0;
	// Hexadecimal colour as FColor::FromHex reads it, e.g. "#FE0302".
	FString FontColor;

	// The size a comment has unless a viewer or the record says otherwise, and the one the stored size scales.
	static constexpr int32 NormalFontSize = 24;
	// Shown for a colour that does not read.
	static const TCHAR* const DefaultFontColor;
	// Whether FColor::FromHex reads the text as a colour: an optional '#' and 3, 6 or 8 hexadecimal digits.
	static bool IsReadableFontColor(const FString& Hex);
};

// Describes one kind of tracks. Kept for hosts that describe their lanes this way; the track manager holds its
// per-kind configuration in members of its own.
struct SKORVANE_API FDanmakuTrackData
{
	FDanmakuTrackData();
	FDanmakuTrackData(const FDanmakuTrackData& Other);
	FDanmakuTrackData(FDanmakuTrackData&& Other) noexcept;
	FDanmakuTrackData& operator=(const FDanmakuTrackData& Other);
	FDanmakuTrackData& operator=(FDanmakuTrackData&& Other) noexcept;
	~FDanmakuTrackData();

	EDanmakuMode Mode = EDanmakuMode::SCROLL;
	bool bIsEnabled = false;
	int32 TrackCount = 0;
	float TrackHeight = 0.0f;
	TArray<TObjectPtr<UDanmakuTrack>> Tracks;
	// Percentage of the canvas height the kind may use, 0 to 100.
	int32 Area = 75;
	int32 MaxNodeCount = 0;
};
