// The comment document loader: on every input it must give the records that reading the document into the JSON
// object model and taking each field with the object's getters gives, and log nothing of its own. Its UTF-8 form
// must hand over the same records.
#include "DanmakuDocumentReader.h"
#include "DanmakuObjectModelReference.h"
#include "FuzzSupport.h"
#include "Headless/Utf8String.h"

namespace
{
bool SameRecord(const FDanmakuData& A, const FDanmakuData& B)
{
	return A.DanmakuID == B.DanmakuID && A.PostID == B.PostID && A.UserID == B.UserID &&
	       A.UserDisplayName.Equals(B.UserDisplayName, ESearchCase::CaseSensitive) && A.PostDate == B.PostDate &&
	       A.SpawnTime == B.SpawnTime && A.Content.Equals(B.Content, ESearchCase::CaseSensitive) && A.Mode == B.Mode &&
	       A.FontSize == B.FontSize && A.FontColor.Equals(B.FontColor, ESearchCase::CaseSensitive);
}

// Keeps what is logged, in order, instead of printing it.
struct FLogLines : FOutputDevice
{
	FLogLines() { GLog->AddOutputDevice(this); }
	~FLogLines() override { GLog->RemoveOutputDevice(this); }
	void Serialize(const TCHAR* Message, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		Lines.Add(FString::Printf(TEXT("%s %d %s"), *Category.ToString(), int32(Verbosity), Message));
	}
	TArray<FString> Lines;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static const bool bQuiet = (SilenceLog(), true);
	(void)bQuiet;
	const FString Text = FuzzText(Data, Size);

	TArray<FDanmakuData> Expected;
	TArray<FDanmakuData> Actual;
	bool bExpected = false;
	bool bActual = false;
	TArray<FString> ActualLog;
	bExpected = ReadThroughObjectModel(Text, Expected);
	{
		FLogLines Log;
		bActual = FDanmakuDocumentReader::Read(Text, Actual);
		ActualLog = Log.Lines;
	}

	check(bActual == bExpected);
	if (!bExpected)
	{
		Expected.Reset();
	}
	check(Actual.Num() == Expected.Num());
	for (int32 Index = 0; Index < Actual.Num(); ++Index)
	{
		check(SameRecord(Actual[Index], Expected[Index]));
	}
	check(ActualLog.IsEmpty());

	const std::string Utf8 = ToUtf8(Text);
	if (FromUtf8(Utf8).Equals(Text, ESearchCase::CaseSensitive))
	{
		TArray<FDanmakuData> Handed;
		FDanmakuDocumentReport Report;
		const bool bHanded = FDanmakuDocumentReader::Read(
		    FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Utf8.data()), int32(Utf8.size())),
		    [&Handed](FDanmakuData&& Record) { Handed.Add(MoveTemp(Record)); }, [&Handed] { Handed.Reset(); }, Report);
		check(bHanded == bActual);
		check(Report.bRead == bHanded && Report.Comments == (bHanded ? Handed.Num() : 0));
		check(!bHanded || Handed.Num() == Actual.Num());
		for (int32 Index = 0; bHanded && Index < Handed.Num(); ++Index)
		{
			check(SameRecord(Handed[Index], Actual[Index]));
		}
	}
	return 0;
}
