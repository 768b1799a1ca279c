#include "DanmakuDocumentReader.h"

#include "JsonRecordReader.h"

namespace DanmakuDocumentReader
{
namespace
{
// The record's keys, in the order the record's members are filled.
enum class EDanmakuField : int32
{
	DanmakuId,
	PostId,
	UserId,
	UserDisplayName,
	PostDate,
	SpawnTime,
	Content,
	Mode,
	FontSize,
	FontColor
};

const FJsonRecordReader& Reader()
{
	static const FJsonRecordReader Instance({TEXT("danmaku_id"), TEXT("post_id"), TEXT("user_id"),
	                                         TEXT("user_display_name"), TEXT("danmaku_post_date"),
	                                         TEXT("danmaku_spawn_time"), TEXT("danmaku_content"), TEXT("danmaku_mode"),
	                                         TEXT("danmaku_font_size"), TEXT("danmaku_font_color")});
	return Instance;
}

const FJsonRecordField& Field(const TArray<FJsonRecordField>& Fields, EDanmakuField Name)
{
	return Fields[static_cast<int32>(Name)];
}

FDanmakuData MakeRecord(const TArray<FJsonRecordField>& Fields)
{
	FDanmakuData Data;
	Data.DanmakuID = Field(Fields, EDanmakuField::DanmakuId).GetClampedInt32();
	Data.PostID = Field(Fields, EDanmakuField::PostId).GetClampedInt32();
	Data.UserID = Field(Fields, EDanmakuField::UserId).GetClampedInt32();
	Data.UserDisplayName = Field(Fields, EDanmakuField::UserDisplayName).GetString();
	const FJsonRecordField& PostDate = Field(Fields, EDanmakuField::PostDate);
	FDateTime::Parse(PostDate.Type == EJson::String ? PostDate.String : PostDate.GetString(), Data.PostDate);
	// Whole ticks; 0 when the time does not read as a 64-bit number.
	int64 Ticks = 0;
	Data.SpawnTime = Field(Fields, EDanmakuField::SpawnTime).TryGetNumber(Ticks) ? Ticks : 0;
	Data.Content = Field(Fields, EDanmakuField::Content).GetString();
	Data.Mode = static_cast<EDanmakuMode>(Field(Fields, EDanmakuField::Mode).GetClampedInt32());
	Data.FontSize = Field(Fields, EDanmakuField::FontSize).GetClampedInt32();
	Data.FontColor = Field(Fields, EDanmakuField::FontColor).GetString();
	return Data;
}

constexpr double TicksPerSecond = 10000000.0;
// Beyond this the JSON layer clamps a tick count to the 64-bit limits.
constexpr double TickLimit = 9.2e18;

// What a host is told of a record beyond its filing: its id, its time and where that time files it.
void NoteFields(const TArray<FJsonRecordField>& Fields, const FDanmakuData& Data, FDanmakuDocumentReport& Report)
{
	const FJsonRecordField& Id = Field(Fields, EDanmakuField::DanmakuId);
	double IdNumber = 0.0;
	if (Id.TryGetNumber(IdNumber) && !(IdNumber >= double(MIN_int32) && IdNumber <= double(MAX_int32)))
	{
		if (Report.ClampedIds++ == 0)
		{
			Report.FirstClampedId = Id.Type == EJson::String ? FDanmakuDocumentReport::Excerpt(Id.String)
			                                                 : FString::Printf(TEXT("%.17g"), IdNumber);
		}
	}
	const FJsonRecordField& Time = Field(Fields, EDanmakuField::SpawnTime);
	double Ticks = 0.0;
	if (!Time.TryGetNumber(Ticks))
	{
		Ticks = 0.0;
		// Null is no time; a word is ("1.5e9": the JSON layer reads no exponent in a string).
		if (Time.Type == EJson::String && Report.UnreadTimes++ == 0)
		{
			Report.FirstUnreadTime = FDanmakuDocumentReport::Excerpt(Time.String);
		}
	}
	const int32 Mode = static_cast<int32>(Data.Mode);
	if (!FMath::IsFinite(Ticks) || FMath::Abs(Ticks) >= TickLimit)
	{
		Report.Unreachable.Add({Data.DanmakuID, Mode, Ticks / TicksPerSecond, true});
	}
	else if (Ticks <= -TicksPerSecond)
	{
		// Whole seconds are cut toward zero: only a time a second or more before the start is lost.
		Report.Unreachable.Add({Data.DanmakuID, Mode, Ticks / TicksPerSecond, false});
	}
}

// JsonText is a view of text or an archive.
template <class TextType>
bool ReadWithReport(TextType&& JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord, TFunctionRef<void()> Restart,
                    FDanmakuDocumentReport& OutReport)
{
	OutReport = FDanmakuDocumentReport();
	const auto OnRecord = [&AddRecord, &OutReport](const TArray<FJsonRecordField>& Fields)
	{
		FDanmakuData Data = MakeRecord(Fields);
		NoteFields(Fields, Data, OutReport);
		OutReport.NoteFiled(Data);
		AddRecord(MoveTemp(Data));
	};
	const auto OnRestart = [&Restart, &OutReport]
	{
		OutReport = FDanmakuDocumentReport();
		Restart();
	};
	FString Fault;
	OutReport.bRead = Reader().ReadDocument(JsonText, OnRecord, OnRestart, &Fault);
	if (!OutReport.bRead)
	{
		OutReport = FDanmakuDocumentReport();
		OutReport.Fault = Fault;
		// The JSON layer ends its message with "Line: L Ch: C".
		const int32 At = Fault.Find(TEXT("Line: "), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
		if (At != INDEX_NONE)
		{
			const FString Where = Fault.Mid(At);
			OutReport.FaultLine = FCString::Atoi(*Where.Mid(6));
			const int32 Ch = Where.Find(TEXT("Ch: "), ESearchCase::CaseSensitive);
			OutReport.FaultCharacter = Ch == INDEX_NONE ? 0 : FCString::Atoi(*Where.Mid(Ch + 4));
		}
	}
	return OutReport.bRead;
}
} // namespace
} // namespace DanmakuDocumentReader

bool FDanmakuDocumentReader::Read(FStringView JsonText, TArray<FDanmakuData>& OutRecords)
{
	using namespace DanmakuDocumentReader;
	return Reader().ReadDocument(JsonText, OutRecords, MakeRecord);
}

bool FDanmakuDocumentReader::Read(FUtf8StringView JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
                                  TFunctionRef<void()> Restart, FDanmakuDocumentReport& OutReport)
{
	return DanmakuDocumentReader::ReadWithReport(JsonText, AddRecord, Restart, OutReport);
}

bool FDanmakuDocumentReader::Read(FArchive& JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
                                  TFunctionRef<void()> Restart, FDanmakuDocumentReport& OutReport)
{
	return DanmakuDocumentReader::ReadWithReport(JsonText, AddRecord, Restart, OutReport);
}

bool FDanmakuDocumentReader::Read(FStringView JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
                                  TFunctionRef<void()> Restart, FDanmakuDocumentReport& OutReport)
{
	return DanmakuDocumentReader::ReadWithReport(JsonText, AddRecord, Restart, OutReport);
}

bool FDanmakuDocumentReader::ReadRecord(FStringView JsonText, FDanmakuData& OutRecord)
{
	using namespace DanmakuDocumentReader;
	TArray<FJsonRecordField> Fields;
	// A comment has at least its text and its time.
	if (!Reader().ReadRecord(JsonText, Fields) || Field(Fields, EDanmakuField::Content).Type == EJson::None ||
	    Field(Fields, EDanmakuField::SpawnTime).Type == EJson::None)
	{
		return false;
	}
	OutRecord = MakeRecord(Fields);
	return true;
}
