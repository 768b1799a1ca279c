#include "DanmakuDocumentReport.h"
#include "UI_Danmaku.h"

#include "Headless/Utf8String.h"
#include "LogCapture.h"

#include "Serialization/Archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace
{
// What an index holds, second by second in order of time, each comment as its id and text.
std::string Describe(const FDanmakuIndex& Index)
{
	TArray<FTimespan> Seconds;
	Index.GetKeys(Seconds);
	Seconds.Sort();
	std::string Written;
	for (const FTimespan& Second : Seconds)
	{
		Written += std::to_string(Second.GetTicks()) + ":";
		for (const FDanmakuData& Data : Index[Second])
		{
			Written.append(" ").append(std::to_string(Data.DanmakuID)).append("=").append(ToUtf8(Data.Content));
		}
		Written += "\n";
	}
	return Written;
}

// An archive whose reads fail once Limit bytes have been handed out.
class FFailingArchive : public FArchive
{
public:
	FFailingArchive(const std::string& InBytes, int64 InLimit) : Bytes(InBytes), Limit(InLimit) {}
	virtual void Serialize(void* V, int64 Length) override
	{
		if (Offset + Length > Limit)
		{
			SetError();
			return;
		}
		std::memcpy(V, Bytes.data() + Offset, size_t(Length));
		Offset += Length;
	}
	virtual int64 Tell() override { return Offset; }
	virtual int64 TotalSize() override { return int64(Bytes.size()); }
	virtual void Seek(int64 InPos) override { Offset = InPos; }

private:
	const std::string& Bytes;
	int64 Limit = 0;
	int64 Offset = 0;
};

// A second reading of a document must find what the first found.
void ExpectSameReading(const FDanmakuIndex& Index, const FDanmakuDocumentReport& Report, const FDanmakuIndex& Again,
                       const FDanmakuDocumentReport& AgainReport)
{
	EXPECT_EQ(Describe(Again), Describe(Index));
	EXPECT_EQ(ToUtf8(AgainReport.Fault), ToUtf8(Report.Fault));
	EXPECT_EQ(AgainReport.FaultLine, Report.FaultLine);
	EXPECT_EQ(AgainReport.FaultCharacter, Report.FaultCharacter);
	EXPECT_EQ(AgainReport.Comments, Report.Comments);
	EXPECT_EQ(AgainReport.ClampedIds, Report.ClampedIds);
	EXPECT_EQ(AgainReport.Unreachable.Num(), Report.Unreachable.Num());
	EXPECT_EQ(AgainReport.Skipped, Report.Skipped);
	EXPECT_EQ(AgainReport.MaskedColours, Report.MaskedColours);
}

// Reads the text's UTF-8 bytes where they lie, and again from an archive with a byte order mark before them (and,
// for XML, from a file): each must find the same.
FDanmakuDocumentReport Read(const FString& Text, EDanmakuDocumentFormat Format = EDanmakuDocumentFormat::Json)
{
	const std::string Bytes = ToUtf8(Text);
	FDanmakuIndex Index;
	FDanmakuDocumentReport Report;
	const bool bRead = UUI_Danmaku::ReadDanmakuDocument(
	    FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Bytes.data()), int32(Bytes.size())), Format, Index, Report);
	EXPECT_EQ(bRead, Report.bRead);
	int32 Filed = 0;
	for (const TPair<FTimespan, TArray<FDanmakuData>>& Bucket : Index)
	{
		Filed += Bucket.Value.Num();
	}
	EXPECT_EQ(Filed, Report.Comments) << "the report counts what the index holds";

	const std::string Marked = "\xEF\xBB\xBF" + Bytes;
	FFailingArchive Archive(Marked, int64(Marked.size()));
	FDanmakuIndex StreamedIndex;
	FDanmakuDocumentReport Streamed;
	EXPECT_EQ(UUI_Danmaku::ReadDanmakuDocument(Archive, Format, StreamedIndex, Streamed), bRead);
	ExpectSameReading(Index, Report, StreamedIndex, Streamed);

	if (Format == EDanmakuDocumentFormat::Xml)
	{
		// Read from a file by the XML parser itself.
		const std::string Path = (std::filesystem::temp_directory_path() / "danmaku-document-report.xml").string();
		std::ofstream(Path, std::ios::binary) << Marked;
		FDanmakuIndex FileIndex;
		FDanmakuDocumentReport FromFile;
		EXPECT_EQ(UUI_Danmaku::ReadDanmakuXmlFile(FromUtf8(Path), FileIndex, FromFile), bRead);
		std::filesystem::remove(Path);
		ExpectSameReading(Index, Report, FileIndex, FromFile);
	}
	return Report;
}

int32 CountUnreachable(const FDanmakuDocumentReport& Report, bool bOutOfRange)
{
	return Report.Unreachable
	    .FilterByPredicate([bOutOfRange](const FDanmakuDocumentReport::FUnreachable& Comment)
	                       { return Comment.bOutOfRange == bOutOfRange; })
	    .Num();
}
} // namespace

TEST(DanmakuDocumentReport, CountsAJsonDocumentInThePassThatFilesIt)
{
	FLogCapture Log;
	// Times and modes as numbers, numeric strings or words; the last "datas" counts.
	const FDanmakuDocumentReport Report = Read(TEXT(
	    "{\"datas\":[{\"danmaku_id\":9}],\"datas\":[7,[1],{\"danmaku_id\":1,\"danmaku_spawn_time\":5e6},"
	    "{\"danmaku_id\":2,\"danmaku_spawn_time\":-9e6},{\"danmaku_id\":3,\"danmaku_spawn_time\":-1e7},"
	    "{\"danmaku_id\":4,\"danmaku_spawn_time\":1e400},{\"danmaku_id\":5,\"danmaku_spawn_time\":null},"
	    "{\"danmaku_id\":3e9,\"danmaku_spawn_time\":595000000,\"danmaku_mode\":3},"
	    "{\"danmaku_id\":-3e9,\"danmaku_spawn_time\":\"1.5e9\",\"danmaku_mode\":\"2\"},"
	    "{\"danmaku_id\":\"4000000000\",\"danmaku_spawn_time\":\"soon\",\"danmaku_mode\":8}],\"other\":{\"a\":[]}}"));
	ASSERT_TRUE(Report.bRead) << TCHAR_TO_UTF8(*Report.Fault);
	EXPECT_EQ(Report.Comments, 8);
	EXPECT_EQ(Report.CountMode(int32(EDanmakuMode::REVERSE)), 1);
	EXPECT_EQ(Report.CountMode(int32(EDanmakuMode::BOTTOM)), 1);
	EXPECT_EQ(Report.CountMode(8), 1);
	EXPECT_EQ(Report.ClampedIds, 3);
	EXPECT_EQ(ToUtf8(Report.FirstClampedId), "3000000000");
	EXPECT_EQ(CountUnreachable(Report, false), 1) << "-0.9 s is filed under second 0 and shown; -1 s is not";
	EXPECT_EQ(CountUnreachable(Report, true), 1);
	// Null is no time; words are ("1.5e9": the JSON layer reads no exponent in a string), and are filed at 0 s.
	EXPECT_EQ(Report.UnreadTimes, 2);
	EXPECT_EQ(ToUtf8(Report.FirstUnreadTime), "1.5e9");
	// No comment has a colour: one warning for the document, none per comment (the document is read twice).
	EXPECT_EQ(Report.UnreadableColours, 8);
	EXPECT_EQ(Log.Messages(ELogVerbosity::Warning).Num(), 2);
}

TEST(DanmakuDocumentReport, CountsAnXmlDocumentInThePassThatFilesIt)
{
	FLogCapture Log;
	const FDanmakuDocumentReport Report =
	    Read(TEXT("<i><d p=\"1,1,25,0\">a</d><d p=\"2,6,25,0\">reverse</d>"
	              "<d p=\"3,7,25,0\">[0,0,\"1-1\",4,\"positioned\"]</d><d p=\"4,1,25,red\">bad</d>"
	              "<d p=\"5,8,25,0\">code</d><d p=\"6,1,25,4294967295\">white</d>"
	              "<d p=\"-2,1,25,0\">early</d><d p=\"90,5,25,0\">at the end</d></i>"),
	         EDanmakuDocumentFormat::Xml);
	ASSERT_TRUE(Report.bRead) << TCHAR_TO_UTF8(*Report.Fault);
	EXPECT_EQ(Report.Comments, 7);
	EXPECT_EQ(Report.CountMode(8), 1);
	EXPECT_EQ(Report.CountMode(int32(EDanmakuMode::REVERSE)), 1);
	EXPECT_EQ(Report.CountMode(int32(EDanmakuMode::POSITIONED)), 1);
	EXPECT_EQ(Report.Skipped, 1);
	EXPECT_EQ(Report.MaskedColours, 1);
	EXPECT_EQ(CountUnreachable(Report, false), 1);
	EXPECT_EQ(Log.Messages(ELogVerbosity::Warning).Num(), 3) << "the skipped comment, once for each of three reads";
}

TEST(DanmakuDocumentReport, GivesARefusedDocumentsFirstFaultAndWhereItLies)
{
	FLogCapture Log;
	FDanmakuDocumentReport Report = Read(TEXT("{\"datas\":[\n{\"danmaku_id\":1}\n]} x"));
	EXPECT_FALSE(Report.bRead);
	EXPECT_EQ(Report.Comments, 0);
	EXPECT_EQ(Report.FaultLine, 3);
	EXPECT_EQ(Report.FaultCharacter, 4);
	// The character counts characters, whatever the bytes of the ones before it.
	Report = Read(TEXT("{\"datas\":[\n{\"c\":\"前方\"} x"));
	EXPECT_EQ(Report.FaultLine, 2);
	EXPECT_EQ(Report.FaultCharacter, 12);
	// A document that is JSON but of another shape says what it lacks, at no position.
	for (const TCHAR* Other : {TEXT("[{\"datas\":[]}]"), TEXT("{\"datas\":[],\"datas\":{}}"), TEXT("{\"data\":[]}")})
	{
		Report = Read(Other);
		EXPECT_FALSE(Report.bRead) << TCHAR_TO_UTF8(Other);
		EXPECT_EQ(Report.FaultLine, 0) << TCHAR_TO_UTF8(Other);
		EXPECT_FALSE(Report.Fault.IsEmpty()) << TCHAR_TO_UTF8(Other);
	}
	EXPECT_TRUE(Read(TEXT("{\"data\":[]}")).Fault.Contains(TEXT("\"datas\" array")));

	Report = Read(TEXT("<i>\n<d p=\"1,1,25,0\">a</d>\n<d p=\"2,1,25,0\">b</i>"), EDanmakuDocumentFormat::Xml);
	EXPECT_FALSE(Report.bRead);
	EXPECT_EQ(Report.Comments, 0) << "the comment read before the fault is dropped";
	EXPECT_EQ(Report.FaultLine, 3);
	Report = Read(TEXT("\n<html><d p=\"1,1,25,0\">a</d></html>"), EDanmakuDocumentFormat::Xml);
	EXPECT_EQ(ToUtf8(Report.Fault), "its root is <html>, not <i>");
	EXPECT_EQ(Report.FaultLine, 2);

	// An archive that fails before its end refuses a document that reads as sound up to there.
	const std::string Sound = "{\"datas\":[{\"danmaku_id\":1,\"danmaku_spawn_time\":0}]}";
	for (const EDanmakuDocumentFormat Format : {EDanmakuDocumentFormat::Json, EDanmakuDocumentFormat::Xml})
	{
		FFailingArchive Failing(Sound, int64(Sound.size()) - 1);
		FDanmakuIndex Index;
		EXPECT_FALSE(UUI_Danmaku::ReadDanmakuDocument(Failing, Format, Index, Report));
		EXPECT_EQ(Index.Num(), 0);
		EXPECT_EQ(ToUtf8(Report.Fault), "the document could not be read to its end");
	}
}
