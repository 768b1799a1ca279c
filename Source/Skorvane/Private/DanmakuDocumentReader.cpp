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
} // namespace
} // namespace DanmakuDocumentReader

bool FDanmakuDocumentReader::Read(FStringView JsonText, TArray<FDanmakuData>& OutRecords)
{
	using namespace DanmakuDocumentReader;
	return Reader().ReadDocument(JsonText, OutRecords, MakeRecord);
}

bool FDanmakuDocumentReader::Read(FUtf8StringView JsonText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
                                  TFunctionRef<void()> Restart)
{
	using namespace DanmakuDocumentReader;
	return Reader().ReadDocument(
	    JsonText, [&AddRecord](const TArray<FJsonRecordField>& Fields) { AddRecord(MakeRecord(Fields)); }, Restart);
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
