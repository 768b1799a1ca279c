#include "UI_Danmaku.h"

#include "Components/CanvasPanel.h"
#include "Serialization/Archive.h"
#include "DanmakuTrackManager.h"
#include "DanmakuDocumentReader.h"
#include "DanmakuXmlReader.h"
#include "DanmakuSave.h"
#include "MediaPlayer.h"
#include "UI_DanmakuBar.h"
#include "UI_DanmakuNode.h"
#include "UI_DanmakuNodeSetting.h"
#include "SkorvaneLog.h"

namespace
{
// The whole second that holds SpawnTime, truncated toward zero.
FTimespan GetSecondKey(int64 SpawnTime)
{
	return FTimespan(SpawnTime / ETimespan::TicksPerSecond * ETimespan::TicksPerSecond);
}

const TCHAR* const UnreadableDocument =
    TEXT("Danmaku document not read: it is not one JSON object with a \"datas\" array; the index is empty");

bool IsUtf8ByteOrderMark(const uint8* Bytes)
{
	return Bytes[0] == 0xEF && Bytes[1] == 0xBB && Bytes[2] == 0xBF;
}

bool WarnIfRefused(bool bRead, const FDanmakuDocumentReport& Report)
{
	if (!bRead)
	{
		UE_LOG(LogSkorvane, Warning, TEXT("%s: %s"), UnreadableDocument, *Report.Fault);
	}
	return bRead;
}

// Files a document's comments into Index as Read hands them; the index is empty when the document is refused.
bool FileInto(FDanmakuIndex& Index, TFunctionRef<bool(TFunctionRef<void(FDanmakuData&&)>, TFunctionRef<void()>)> Read)
{
	Index.Empty();
	// Documents come mostly in time order, so a comment usually joins the second the one before it joined; that
	// second's list stays where it is until the map gains another second. A second the document moves on from is
	// then complete, and its list gives back the room it grew for when more than a quarter of it is spare; each list
	// does so once at most, so that a document out of order never pays for it again and again.
	TArray<FDanmakuData>* LastSecond = nullptr;
	bool bLastSecondIsNew = false;
	FTimespan LastKey;
	const auto LeaveLastSecond = [&LastSecond, &bLastSecondIsNew]
	{
		if (LastSecond && bLastSecondIsNew && LastSecond->Max() - LastSecond->Num() > LastSecond->Max() / 4)
		{
			LastSecond->Shrink();
		}
		LastSecond = nullptr;
	};
	const bool bRead = Read(
	    [&Index, &LastSecond, &bLastSecondIsNew, &LastKey, &LeaveLastSecond](FDanmakuData&& Data)
	    {
		    const FTimespan Key = GetSecondKey(Data.SpawnTime);
		    if (!LastSecond || Key != LastKey)
		    {
			    LeaveLastSecond();
			    LastSecond = Index.Find(Key);
			    bLastSecondIsNew = !LastSecond;
			    LastSecond = LastSecond ? LastSecond : &Index.FindOrAdd(Key);
			    LastKey = Key;
		    }
		    LastSecond->Add(MoveTemp(Data));
	    },
	    [&Index, &LastSecond]
	    {
		    Index.Empty();
		    LastSecond = nullptr;
	    });
	LeaveLastSecond();
	if (!bRead)
	{
		Index.Empty();
	}
	return bRead;
}

bool RefuseUnread(FDanmakuIndex& Index, FDanmakuDocumentReport& Report, const TCHAR* Fault)
{
	Index.Empty();
	Report = FDanmakuDocumentReport();
	Report.Fault = Fault;
	UE_LOG(LogSkorvane, Warning, TEXT("Danmaku document not read: %s; the index is empty"), Fault);
	return false;
}

constexpr float MinDisplayScale = 0.1f;
constexpr float MaxDisplayScale = 10.0f;

bool IsDisplayScale(float Scale)
{
	return Scale >= MinDisplayScale && Scale <= MaxDisplayScale;
}
} // namespace

void UUI_Danmaku::Init(TObjectPtr<UMediaPlayer> InMediaPlayer, TObjectPtr<UUI_DanmakuBar> InDanmakuBar,
                       TObjectPtr<UUI_DanmakuNodeSetting> InDanmakuNodeSetting)
{
	if (DanmakuBar && DanmakuBar != InDanmakuBar)
	{
		DanmakuBar->GetOpenDanmakuButtonClickedEvent().RemoveDynamic(this, &UUI_Danmaku::OnOpenDanmakuButtonClicked);
		DanmakuBar->OnSendDanmaku.RemoveDynamic(this, &UUI_Danmaku::OnDanmakuSend);
	}

	MediaPlayer = InMediaPlayer;
	DanmakuBar = InDanmakuBar;
	if (DanmakuBar)
	{
		DanmakuBar->Init(MediaPlayer, InDanmakuNodeSetting);
		// The overlay may have been switched off before it had a bar to show it (the settings store, say).
		DanmakuBar->SetOpenDanmakuButtonChecked(!bSwitchedOff);
		// The host calls Init again after every reconstruction; one click must still send one comment.
		DanmakuBar->GetOpenDanmakuButtonClickedEvent().AddUniqueDynamic(this, &UUI_Danmaku::OnOpenDanmakuButtonClicked);
		DanmakuBar->OnSendDanmaku.AddUniqueDynamic(this, &UUI_Danmaku::OnDanmakuSend);
	}
	ForceLayoutPrepass();
}

void UUI_Danmaku::LoadDanmaku(const FString& JsonText)
{
	FDanmakuDocumentReport Report;
	LoadDanmaku(JsonText, Report);
}

void UUI_Danmaku::LoadDanmakuUtf8(FUtf8StringView JsonText)
{
	FDanmakuDocumentReport Report;
	LoadDanmakuUtf8(JsonText, Report);
}

void UUI_Danmaku::LoadDanmakuXml(const FString& XmlText)
{
	FDanmakuDocumentReport Report;
	LoadDanmakuXml(XmlText, Report);
}

bool UUI_Danmaku::LoadDanmaku(const FString& JsonText, FDanmakuDocumentReport& OutReport)
{
	// A byte order mark is no part of the document.
	const int32 Mark = !JsonText.IsEmpty() && JsonText[0] == 0xFEFF ? 1 : 0;
	const FStringView Text(*JsonText + Mark, JsonText.Len() - Mark);
	return FileDocument(
	    [&Text, &OutReport](TFunctionRef<void(FDanmakuData &&)> Add, TFunctionRef<void()> Restart)
	    {
		    if (FDanmakuDocumentReader::Read(Text, Add, Restart, OutReport))
		    {
			    return true;
		    }
		    UE_LOG(LogSkorvane, Warning, TEXT("%s: %s"), UnreadableDocument, *OutReport.Fault);
		    return false;
	    },
	    OutReport);
}

bool UUI_Danmaku::LoadDanmakuUtf8(FUtf8StringView JsonText, FDanmakuDocumentReport& OutReport)
{
	return ReadDanmakuDocument(JsonText, EDanmakuDocumentFormat::Json, DanmakuMap, OutReport);
}

bool UUI_Danmaku::LoadDanmakuXml(const FString& XmlText, FDanmakuDocumentReport& OutReport)
{
	// The parse may change the text it reads.
	TArray<TCHAR> Text;
	Text.Reserve(XmlText.Len() + 1);
	Text.Append(*XmlText, XmlText.Len());
	Text.Add(TEXT('\0'));
	return FileDocument([&Text, &OutReport](TFunctionRef<void(FDanmakuData &&)> Add, TFunctionRef<void()>)
	                    { return FDanmakuXmlReader::Read(Text.GetData(), Add, OutReport); },
	                    OutReport);
}

bool UUI_Danmaku::ReadDanmakuDocument(FUtf8StringView Text, EDanmakuDocumentFormat Format, FDanmakuIndex& OutIndex,
                                      FDanmakuDocumentReport& OutReport)
{
	// A byte order mark is no part of the document.
	if (Text.Len() >= 3 && IsUtf8ByteOrderMark(reinterpret_cast<const uint8*>(Text.GetData())))
	{
		Text = FUtf8StringView(Text.GetData() + 3, Text.Len() - 3);
	}
	if (Format == EDanmakuDocumentFormat::Xml)
	{
		// The parse reads engine text, which it may change: the converter's own buffer is that text, ending in a
		// zero, and nothing else reads it, so no second copy of a large document is made.
		FUTF8ToTCHAR Converted(reinterpret_cast<const ANSICHAR*>(Text.GetData()), Text.Len());
		const bool bRead =
		    FileInto(OutIndex, [&Converted, &OutReport](TFunctionRef<void(FDanmakuData &&)> Add, TFunctionRef<void()>)
		             { return FDanmakuXmlReader::Read(const_cast<TCHAR*>(Converted.Get()), Add, OutReport); });
		WarnOfUnreadableColours(OutReport.UnreadableColours);
		return bRead;
	}
	const bool bRead =
	    FileInto(OutIndex, [&Text, &OutReport](TFunctionRef<void(FDanmakuData &&)> Add, TFunctionRef<void()> Restart)
	             { return FDanmakuDocumentReader::Read(Text, Add, Restart, OutReport); });
	WarnOfUnreadableColours(OutReport.UnreadableColours);
	return WarnIfRefused(bRead, OutReport);
}

bool UUI_Danmaku::ReadDanmakuXmlFile(const FString& Path, FDanmakuIndex& OutIndex, FDanmakuDocumentReport& OutReport)
{
	const bool bRead =
	    FileInto(OutIndex, [&Path, &OutReport](TFunctionRef<void(FDanmakuData &&)> Add, TFunctionRef<void()>)
	             { return FDanmakuXmlReader::ReadFile(Path, Add, OutReport); });
	WarnOfUnreadableColours(OutReport.UnreadableColours);
	return bRead;
}

bool UUI_Danmaku::ReadDanmakuDocument(FArchive& Text, EDanmakuDocumentFormat Format, FDanmakuIndex& OutIndex,
                                      FDanmakuDocumentReport& OutReport)
{
	const int64 Start = Text.Tell();
	const int64 Size = Text.TotalSize() - Start;
	if (Format == EDanmakuDocumentFormat::Xml)
	{
		// The XML parser reads text in memory.
		TArray<uint8> Bytes;
		if (Size > MAX_int32)
		{
			return RefuseUnread(OutIndex, OutReport, TEXT("the document is too large"));
		}
		Bytes.SetNum(int32(FMath::Max<int64>(Size, 0)));
		Text.Serialize(Bytes.GetData(), Bytes.Num());
		if (Text.IsError())
		{
			return RefuseUnread(OutIndex, OutReport, TEXT("the document could not be read to its end"));
		}
		const FUtf8StringView Utf8(reinterpret_cast<const UTF8CHAR*>(Bytes.GetData()), Bytes.Num());
		return ReadDanmakuDocument(Utf8, Format, OutIndex, OutReport);
	}
	uint8 Mark[3] = {};
	if (Size >= 3)
	{
		Text.Serialize(Mark, 3);
		if (!IsUtf8ByteOrderMark(Mark))
		{
			Text.Seek(Start);
		}
	}
	const bool bRead =
	    FileInto(OutIndex, [&Text, &OutReport](TFunctionRef<void(FDanmakuData &&)> Add, TFunctionRef<void()> Restart)
	             { return FDanmakuDocumentReader::Read(Text, Add, Restart, OutReport) && !Text.IsError(); });
	if (Text.IsError())
	{
		return RefuseUnread(OutIndex, OutReport, TEXT("the document could not be read to its end"));
	}
	WarnOfUnreadableColours(OutReport.UnreadableColours);
	return WarnIfRefused(bRead, OutReport);
}

void UUI_Danmaku::SetDanmakuIndex(FDanmakuIndex&& Index)
{
	DanmakuMap = MoveTemp(Index);
}

FDanmakuIndex UUI_Danmaku::TakeDanmakuIndex()
{
	FDanmakuIndex Index = MoveTemp(DanmakuMap);
	DanmakuMap.Empty();
	return Index;
}

void UUI_Danmaku::Pause()
{
	if (bInit && TrackManager)
	{
		TrackManager->Pause();
		bPaused = true;
	}
}

void UUI_Danmaku::Resume()
{
	if (bInit && TrackManager)
	{
		// A viewer who switched the overlay off keeps it off while the video resumes.
		if (!bSwitchedOff)
		{
			TrackManager->Resume();
		}
		bPaused = false;
	}
}

void UUI_Danmaku::Empty()
{
	if (bInit && TrackManager)
	{
		DanmakuCanvasPanel->ClearChildren();
		TrackManager->Empty();
	}
}

const TArray<FDanmakuData>* UUI_Danmaku::FindDanmakuAt(const FTimespan& Time) const
{
	return DanmakuMap.Find(GetSecondKey(Time.GetTicks()));
}

void UUI_Danmaku::NativeConstruct()
{
	Super::NativeConstruct();
	// A rebuilt overlay keeps its track manager and the comments on screen; handing the playing second over
	// again would show its comments twice.
	if (!TrackManager)
	{
		LastSecond = FTimespan(-1);
	}
}

void UUI_Danmaku::NativeDestruct()
{
	Super::NativeDestruct();
	// The track manager is kept: a host that takes the overlay off screen and puts it back (a fullscreen toggle)
	// finds its lanes and the comments on them as they were. It goes with the overlay when that is collected.
}

void UUI_Danmaku::NativeTick(const FGeometry& MyGeometry, float InDeltaTime)
{
	Super::NativeTick(MyGeometry, InDeltaTime);

	const FVector2D CanvasSize = DanmakuCanvasPanel->GetCachedGeometry().GetLocalSize();
	if (CanvasSize.X == 0.0 && CanvasSize.Y == 0.0)
	{
		return;
	}
	if (!MediaPlayer)
	{
		return;
	}
	if (!TrackManager)
	{
		CreateTrackManager();
	}
	if (bPaused)
	{
		return;
	}

	// Hours of the day, minutes and seconds: the fraction and whole days are dropped.
	const FTimespan Time = MediaPlayer->GetTime();
	const FTimespan CurrentSecond(Time.GetHours(), Time.GetMinutes(), Time.GetSeconds());
	if (CurrentSecond == LastSecond)
	{
		return;
	}
	if (LastSecond >= FTimespan::Zero() && CurrentSecond > LastSecond)
	{
		ReportJumpedOver(LastSecond, CurrentSecond);
	}
	if (const TArray<FDanmakuData>* Bucket = DanmakuMap.Find(CurrentSecond))
	{
		for (const FDanmakuData& Data : *Bucket)
		{
			TrackManager->SpawnDanmakuNode(Data);
		}
	}
	LastSecond = CurrentSecond;
}

void UUI_Danmaku::ReportJumpedOver(const FTimespan& From, const FTimespan& To)
{
	const int64 Passed = (To - From).GetTicks() / ETimespan::TicksPerSecond - 1;
	if (Passed <= 0)
	{
		return;
	}
	// A long jump walks the filed seconds rather than every second of it.
	TArray<FTimespan> Seconds;
	if (Passed <= DanmakuMap.Num())
	{
		for (int64 Second = 1; Second <= Passed; ++Second)
		{
			Seconds.Add(From + FTimespan(Second * ETimespan::TicksPerSecond));
		}
	}
	else
	{
		for (const TPair<FTimespan, TArray<FDanmakuData>>& Entry : DanmakuMap)
		{
			if (Entry.Key > From && Entry.Key < To)
			{
				Seconds.Add(Entry.Key);
			}
		}
		Seconds.Sort();
	}
	for (const FTimespan& Second : Seconds)
	{
		if (const TArray<FDanmakuData>* Bucket = DanmakuMap.Find(Second))
		{
			for (const FDanmakuData& Data : *Bucket)
			{
				TrackManager->ReportJumpedOver(Data);
			}
		}
	}
}

void UUI_Danmaku::OnOpenDanmakuButtonClicked(bool bIsChecked)
{
	bSwitchedOff = !bIsChecked;
	if (!bIsChecked)
	{
		if (DanmakuBar)
		{
			DanmakuBar->Close();
		}
		if (TrackManager)
		{
			TrackManager->Close();
		}
		return;
	}
	if (TrackManager)
	{
		TrackManager->Open(MediaPlayer && MediaPlayer->IsPlaying());
	}
	if (DanmakuBar)
	{
		DanmakuBar->Open();
	}
}

void UUI_Danmaku::OnDanmakuSend(const FString& InURL, const int64& InTime, const FString& InContent,
                                const EDanmakuMode& InMode, const int32& InFontSize, const FString& InFontColor)
{
	FDanmakuData Data;
	Data.DanmakuID = 0;
	Data.PostID = 0;
	Data.UserID = 0;
	Data.PostDate = FDateTime();
	Data.SpawnTime = InTime;
	Data.Content = InContent;
	Data.Mode = InMode;
	Data.FontSize = InFontSize;
	Data.FontColor = InFontColor;

	if (TrackManager)
	{
		TrackManager->SpawnDanmakuNodeUser(Data);
	}
	AddDataToMap(Data);
}

bool UUI_Danmaku::AddDanmakuThenSpawn(const FString& JsonRecord)
{
	FDanmakuData Data;
	if (!FDanmakuDocumentReader::ReadRecord(JsonRecord, Data))
	{
		return false;
	}
	// Shown only while the overlay runs, as a comment of this second would be.
	if (TrackManager && !bPaused)
	{
		TrackManager->SpawnDanmakuNode(Data);
	}
	AddDataToMap(MoveTemp(Data));
	return true;
}

void UUI_Danmaku::AddDataToMap(const FDanmakuData& Data)
{
	DanmakuMap.FindOrAdd(GetSecondKey(Data.SpawnTime)).Add(Data);
}

void UUI_Danmaku::AddDataToMap(FDanmakuData&& Data)
{
	const FTimespan Key = GetSecondKey(Data.SpawnTime);
	DanmakuMap.FindOrAdd(Key).Add(MoveTemp(Data));
}

void UUI_Danmaku::CreateTrackManager()
{
	TrackManager = NewObject<UDanmakuTrackManager>(this);
	TrackManager->Init(DanmakuCanvasPanel, DanmakuNodeClass, DanmakuNodeUserClass);
	TrackManager->SetPositionedNodeClass(DanmakuPositionedNodeClass);
	TrackManager->SetBlockList(BlockList);
	TrackManager->SetDisplayControls(Controls);
	bInit = true;

	OnTrackManagerCreated.Broadcast(TrackManager);
	if (bSwitchedOff)
	{
		TrackManager->Close();
	}
}

bool UUI_Danmaku::FileDocument(TFunctionRef<bool(TFunctionRef<void(FDanmakuData&&)>, TFunctionRef<void()>)> Read,
                               FDanmakuDocumentReport& Report)
{
	if (!FileInto(DanmakuMap, Read))
	{
		return false;
	}
	WarnOfUnreadableColours(Report.UnreadableColours);
	return true;
}

void UUI_Danmaku::WarnOfUnreadableColours(int32 Count)
{
	// Once per document: a document of many thousand comments would otherwise flood the log.
	if (Count > 0)
	{
		UE_LOG(LogSkorvane, Warning,
		       TEXT("Danmaku document: %d comments have a colour that does not read; they are shown in %s"), Count,
		       FDanmakuData::DefaultFontColor);
	}
}

bool UUI_Danmaku::AddBlockedWord(const FString& Word)
{
	if (!BlockList->AddWord(Word))
	{
		UE_LOG(LogSkorvane, Warning, TEXT("Danmaku block list: the word '%s' is empty or already listed"), *Word);
		return false;
	}
	return true;
}

bool UUI_Danmaku::AddBlockedPattern(const FString& Pattern, FString* OutError)
{
	FString Error;
	if (!BlockList->AddPattern(Pattern, Error))
	{
		UE_LOG(LogSkorvane, Warning, TEXT("Danmaku block list: pattern refused: %s"), *Error);
		if (OutError)
		{
			*OutError = Error;
		}
		return false;
	}
	return true;
}

void UUI_Danmaku::ClearBlockList()
{
	BlockList->Empty();
}

bool UUI_Danmaku::ApplyControls(const FDanmakuDisplayControls& NewControls)
{
	Controls = NewControls;
	if (TrackManager)
	{
		TrackManager->SetDisplayControls(Controls);
	}
	return true;
}

bool UUI_Danmaku::SetDensityLimit(int32 MaxOnScreen, int32 MaxPerSecond)
{
	if (MaxOnScreen < 0 || MaxPerSecond < 0)
	{
		UE_LOG(LogSkorvane, Warning, TEXT("Danmaku density limit refused: %d on screen, %d per second (0 is no limit)"),
		       MaxOnScreen, MaxPerSecond);
		return false;
	}
	FDanmakuDisplayControls NewControls = Controls;
	NewControls.MaxOnScreen = MaxOnScreen;
	NewControls.MaxPerSecond = MaxPerSecond;
	return ApplyControls(NewControls);
}

bool UUI_Danmaku::SetRepeatMerging(float WindowSeconds)
{
	if (!(WindowSeconds >= 0.0f && WindowSeconds <= 60.0f))
	{
		UE_LOG(LogSkorvane, Warning, TEXT("Danmaku repeat merging refused: %f seconds (0 to 60)"), WindowSeconds);
		return false;
	}
	FDanmakuDisplayControls NewControls = Controls;
	NewControls.RepeatMergeSeconds = WindowSeconds;
	return ApplyControls(NewControls);
}

bool UUI_Danmaku::SetCommentOpacity(float Opacity)
{
	if (!(Opacity >= 0.0f && Opacity <= 1.0f))
	{
		UE_LOG(LogSkorvane, Warning, TEXT("Danmaku opacity refused: %f (0 to 1)"), Opacity);
		return false;
	}
	FDanmakuDisplayControls NewControls = Controls;
	NewControls.Opacity = Opacity;
	return ApplyControls(NewControls);
}

bool UUI_Danmaku::SetDisplayArea(int32 ScrollAndTopPercent, int32 BottomPercent)
{
	if (ScrollAndTopPercent < 0 || ScrollAndTopPercent > 100 || BottomPercent < 0 || BottomPercent > 100)
	{
		UE_LOG(LogSkorvane, Warning, TEXT("Danmaku display area refused: %d%% and %d%% (each 0 to 100)"),
		       ScrollAndTopPercent, BottomPercent);
		return false;
	}
	FDanmakuDisplayControls NewControls = Controls;
	NewControls.ScrollAndTopArea = ScrollAndTopPercent;
	NewControls.BottomArea = BottomPercent;
	return ApplyControls(NewControls);
}

bool UUI_Danmaku::SetSpeedScale(float Scale)
{
	if (!IsDisplayScale(Scale))
	{
		UE_LOG(LogSkorvane, Warning, TEXT("Danmaku speed scale refused: %f (%.1f to %.1f)"), Scale, MinDisplayScale,
		       MaxDisplayScale);
		return false;
	}
	FDanmakuDisplayControls NewControls = Controls;
	NewControls.SpeedScale = Scale;
	return ApplyControls(NewControls);
}

bool UUI_Danmaku::SetFontScale(float Scale)
{
	if (!IsDisplayScale(Scale))
	{
		UE_LOG(LogSkorvane, Warning, TEXT("Danmaku font scale refused: %f (%.1f to %.1f)"), Scale, MinDisplayScale,
		       MaxDisplayScale);
		return false;
	}
	FDanmakuDisplayControls NewControls = Controls;
	NewControls.FontScale = Scale;
	return ApplyControls(NewControls);
}

void UUI_Danmaku::SetReverseComments(bool bShow)
{
	FDanmakuDisplayControls NewControls = Controls;
	NewControls.bShowReverse = bShow;
	ApplyControls(NewControls);
}

FDanmakuAppliedSettings UUI_Danmaku::ApplySavedSettings()
{
	FDanmakuAppliedSettings Applied;
	Applied.bSpeedScale = SetSpeedScale(UDanmakuSave::LoadSpeedScale());
	Applied.bFontScale =
	    SetFontScale(static_cast<float>(UDanmakuSave::LoadFontSize()) / static_cast<float>(NormalFontSize));
	const bool bOpened = UDanmakuSave::LoadIsOpend();
	if (bOpened == bSwitchedOff)
	{
		// As if the viewer had clicked the bar's on/off box, which shows the new state.
		if (DanmakuBar)
		{
			DanmakuBar->SetOpenDanmakuButtonChecked(bOpened);
		}
		OnOpenDanmakuButtonClicked(bOpened);
	}
	Applied.bOnOff = true;
	return Applied;
}
