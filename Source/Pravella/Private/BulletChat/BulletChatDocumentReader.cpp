#include "BulletChatDocumentReader.h"

#include "JsonRecordReader.h"

// Named as well, so that a unity build of the module keeps these helpers apart from other files' own.
namespace BulletChatDocumentReader
{
namespace
{
enum class EBulletChatField : int32
{
	Id,
	PostId,
	AuthorId,
	Author,
	Date,
	Time,
	Content,
	Fabulous
};

const FJsonRecordReader& Reader()
{
	static const FJsonRecordReader Instance({TEXT("id"), TEXT("post_id"), TEXT("bullet_chat_author_id"),
	                                         TEXT("bullet_chat_author"), TEXT("bullet_chat_date"), TEXT("time"),
	                                         TEXT("bullet_chat_content"), TEXT("fabulous")});
	return Instance;
}

const FJsonRecordField& Field(const TArray<FJsonRecordField>& Fields, EBulletChatField Name)
{
	return Fields[static_cast<int32>(Name)];
}

FBulletChatData MakeRecord(const TArray<FJsonRecordField>& Fields)
{
	FBulletChatData Data;
	double Id = 0.0;
	Data.bHasID = Field(Fields, EBulletChatField::Id).TryGetNumber(Id);
	Data.ID = Field(Fields, EBulletChatField::Id).GetClampedInt32();
	Data.PostID = Field(Fields, EBulletChatField::PostId).GetClampedInt32();
	Data.AuthorID = Field(Fields, EBulletChatField::AuthorId).GetClampedInt32();
	Data.Author = Field(Fields, EBulletChatField::Author).GetString();
	FDateTime Date;
	if (FDateTime::Parse(Field(Fields, EBulletChatField::Date).GetString(), Date))
	{
		Data.Date = Date;
	}
	FTimespan Time;
	if (FTimespan::Parse(Field(Fields, EBulletChatField::Time).GetString(), Time))
	{
		Data.Time = Time;
	}
	Data.Content = Field(Fields, EBulletChatField::Content).GetString();
	Data.Fabulous = Field(Fields, EBulletChatField::Fabulous).GetClampedInt32();
	return Data;
}
} // namespace
} // namespace BulletChatDocumentReader

bool FBulletChatDocumentReader::ReadDocument(FStringView JsonText, TArray<FBulletChatData>& OutRecords)
{
	using namespace BulletChatDocumentReader;
	return Reader().ReadDocument(JsonText, OutRecords, MakeRecord);
}

bool FBulletChatDocumentReader::ReadRecord(FStringView JsonText, FBulletChatData& OutRecord)
{
	using namespace BulletChatDocumentReader;
	TArray<FJsonRecordField> Fields;
	if (!Reader().ReadRecord(JsonText, Fields))
	{
		return false;
	}
	OutRecord = MakeRecord(Fields);
	return true;
}
