#include "CommentDocument.h"
#include "FileChecks.h"

#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/Archive.h"
#include "UI_Danmaku.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace
{
// Whether the text opens with an XML declaration whose encoding is ISO-8859-1, Latin-1 or Windows-1252.
bool DeclaresLatin1(const std::string& Bytes)
{
	if (Bytes.rfind("<?xml", 0) != 0)
	{
		return false;
	}
	const size_t End = Bytes.find("?>");
	std::string Declaration = Bytes.substr(0, End == std::string::npos ? 0 : End);
	for (char& Char : Declaration)
	{
		Char = char(std::tolower(static_cast<unsigned char>(Char)));
	}
	for (const char* Name : {"iso-8859-1", "latin1", "latin-1", "windows-1252"})
	{
		if (Declaration.find(std::string("encoding=\"") + Name + "\"") != std::string::npos ||
		    Declaration.find(std::string("encoding='") + Name + "'") != std::string::npos)
		{
			return true;
		}
	}
	return false;
}

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
// Enough of a file's start to tell its format and encoding, unless blanks fill it.
constexpr int64 HeadBytes = 4096;
constexpr double TicksPerSecond = 10000000.0;
// Seconds of the 64-bit tick limits, under which a time out of range is filed.
constexpr double SecondsLimit = 9.2e11;
} // namespace

FString FCommentDocument::ReasonName(EUnshowable Reason)
{
	switch (Reason)
	{
		case EUnshowable::NegativeTime:
			return TEXT("time before the start");
		case EUnshowable::TimeOutOfRange:
			return TEXT("time out of range");
		case EUnshowable::PastTheEnd:
			return TEXT("time past the end of the media");
	}
	return TEXT("unknown");
}

int32 FCommentDocument::CountUnshowable(EUnshowable Reason) const
{
	return Unshowable.FilterByPredicate([Reason](const FUnshowable& Entry) { return Entry.Reason == Reason; }).Num();
}

FCommentDocument::EFormat FCommentDocument::ChooseFormat(const FString& Path, FUtf8StringView Text)
{
	const FString Extension = FPaths::GetExtension(Path).ToLower();
	if (Extension == TEXT("xml"))
	{
		return EFormat::Xml;
	}
	if (Extension == TEXT("json"))
	{
		return EFormat::Json;
	}
	const std::string_view Bytes(reinterpret_cast<const char*>(Text.GetData()), size_t(Text.Len()));
	const size_t First = Bytes.find_first_not_of(" \t\r\n", Bytes.rfind(Utf8Bom, 0) == 0 ? Utf8Bom.size() : 0);
	return First != std::string_view::npos && Bytes[First] == '<' ? EFormat::Xml : EFormat::Json;
}

bool FCommentDocument::Read(const FString& InPath, FString& OutError)
{
	Path = InPath;
	if (!FFileChecks::CheckInput(Path, TEXT("comment document"), OutError))
	{
		return false;
	}
	const std::unique_ptr<FArchive> Archive(IFileManager::Get().CreateFileReader(*Path));
	if (!Archive)
	{
		return CannotRead(OutError);
	}
	if (Archive->TotalSize() >= int64(MAX_int32))
	{
		OutError = FString::Printf(TEXT("%s is too large for a comment document"), *Path);
		return false;
	}
	std::string Head(size_t(FMath::Min(Archive->TotalSize(), HeadBytes)), '\0');
	Archive->Serialize(Head.data(), int64(Head.size()));
	Archive->Seek(0);
	const std::string_view Text = std::string_view(Head).substr(Head.rfind(Utf8Bom, 0) == 0 ? Utf8Bom.size() : 0);
	const bool bHeadDecides =
	    int64(Head.size()) == Archive->TotalSize() || Text.find_first_not_of(" \t\r\n") != std::string_view::npos;
	const bool bUtf16 = Head.rfind("\xFF\xFE", 0) == 0 || Head.rfind("\xFE\xFF", 0) == 0;
	Format = ChooseFormat(Path, FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Head.data()), int32(Head.size())));
	if (!Archive->IsError() && bHeadDecides && !bUtf16 && Format == EFormat::Json)
	{
		// Read a piece at a time, so that a large document is never held whole beside its index.
		FDanmakuDocumentReport Report;
		const bool bRead = UUI_Danmaku::ReadDanmakuDocument(*Archive, EDanmakuDocumentFormat::Json, Index, Report);
		return Archive->IsError() ? CannotRead(OutError) : TakeReport(bRead, Report, OutError);
	}
	if (!Archive->IsError() && bHeadDecides && !bUtf16 && Format == EFormat::Xml && !DeclaresLatin1(Head))
	{
		// The XML parser reads the file itself, a piece at a time in the headless engine.
		Archive->Close();
		FDanmakuDocumentReport Report;
		const bool bRead = UUI_Danmaku::ReadDanmakuXmlFile(Path, Index, Report);
		return TakeReport(bRead, Report, OutError);
	}
	std::string Bytes;
	if (!ReadUtf8(Bytes, OutError))
	{
		return false;
	}
	return File(Bytes, OutError);
}

bool FCommentDocument::CannotRead(FString& OutError) const
{
	OutError = FString::Printf(TEXT("cannot read the comment document %s"), *Path);
	return false;
}

void FCommentDocument::HandTo(UUI_Danmaku& Overlay)
{
	Overlay.SetDanmakuIndex(MoveTemp(Index));
	Index.Empty();
}

void FCommentDocument::TakeBackFrom(UUI_Danmaku& Overlay)
{
	Index = Overlay.TakeDanmakuIndex();
}

bool FCommentDocument::File(const std::string& Bytes, FString& OutError)
{
	const FUtf8StringView Text(reinterpret_cast<const UTF8CHAR*>(Bytes.data()), int32(Bytes.size()));
	Format = ChooseFormat(Path, Text);
	FDanmakuDocumentReport Report;
	const bool bRead = UUI_Danmaku::ReadDanmakuDocument(
	    Text, Format == EFormat::Xml ? EDanmakuDocumentFormat::Xml : EDanmakuDocumentFormat::Json, Index, Report);
	return TakeReport(bRead, Report, OutError);
}

bool FCommentDocument::TakeReport(bool bRead, const FDanmakuDocumentReport& Report, FString& OutError)
{
	if (!bRead)
	{
		if (Format == EFormat::Xml)
		{
			OutError = FString::Printf(
			    TEXT("%s is not an XML comment document (well-formed XML with an <i> root): line %d: %s"), *Path,
			    Report.FaultLine, *Report.Fault);
		}
		else if (Report.FaultLine > 0)
		{
			OutError = FString::Printf(TEXT("%s is not valid JSON: %s"), *Path, *Report.Fault);
		}
		else
		{
			OutError = FString::Printf(TEXT("%s is JSON but not a comment document (an object with a \"datas\" "
			                                "array): %s"),
			                           *Path, *Report.Fault);
		}
		return false;
	}
	Comments = Report.Comments;
	Reverse = Report.CountMode(int32(EDanmakuMode::REVERSE));
	NeverPlacedMode = 0;
	for (const TPair<int32, int32>& Mode : Report.Modes)
	{
		const EDanmakuMode AsMode = static_cast<EDanmakuMode>(Mode.Key);
		const bool bPlaced = AsMode == EDanmakuMode::SCROLL || AsMode == EDanmakuMode::TOP ||
		                     AsMode == EDanmakuMode::BOTTOM || AsMode == EDanmakuMode::POSITIONED;
		NeverPlacedMode += bPlaced || AsMode == EDanmakuMode::REVERSE ? 0 : Mode.Value;
	}
	ClampedIds = Report.ClampedIds;
	FirstClampedId = Report.FirstClampedId;
	UnreadTimes = Report.UnreadTimes;
	FirstUnreadTime = Report.FirstUnreadTime;
	Skipped = Report.Skipped;
	MaskedColours = Report.MaskedColours;
	Unshowable.Reset();
	for (const FDanmakuDocumentReport::FUnreachable& Comment : Report.Unreachable)
	{
		Unshowable.Add({Comment.Id, Comment.Mode, Comment.Seconds,
		                Comment.bOutOfRange ? EUnshowable::TimeOutOfRange : EUnshowable::NegativeTime});
	}
	// What each reachable second holds, kept small for the end of the run, when the index may be elsewhere.
	Filed.Reset();
	Filed.Reserve(Comments - Unshowable.Num());
	for (const TPair<FTimespan, TArray<FDanmakuData>>& Bucket : Index)
	{
		const double Second = Bucket.Key.GetTotalSeconds();
		if (Second < 0.0 || Second >= SecondsLimit)
		{
			continue;
		}
		for (const FDanmakuData& Data : Bucket.Value)
		{
			Filed.Add({std::trunc(double(Data.SpawnTime)) / TicksPerSecond, Data.DanmakuID, int32(Data.Mode)});
		}
	}
	return true;
}

bool FCommentDocument::ReadUtf8(std::string& Bytes, FString& OutError)
{
	std::FILE* File = std::fopen(TCHAR_TO_UTF8(*Path), "rb");
	if (!File)
	{
		return CannotRead(OutError);
	}
	std::fseek(File, 0, SEEK_END);
	const long Size = std::ftell(File);
	std::fseek(File, 0, SEEK_SET);
	if (Size < 0 || Size >= long(MAX_int32))
	{
		std::fclose(File);
		OutError = FString::Printf(TEXT("%s is too large for a comment document"), *Path);
		return false;
	}
	// Kept as the file's UTF-8 bytes, which the overlay reads where they lie: half the size of UTF-16 text.
	Bytes.resize(size_t(Size));
	const size_t Count = std::fread(Bytes.data(), 1, Bytes.size(), File);
	const bool bFailed = Count != Bytes.size() || std::ferror(File) != 0;
	std::fclose(File);
	if (bFailed)
	{
		std::string().swap(Bytes);
		return CannotRead(OutError);
	}
	if (Bytes.rfind("\xFF\xFE", 0) == 0 || Bytes.rfind("\xFE\xFF", 0) == 0)
	{
		// UTF-16 documents are rare; the engine's loader reads them and they are kept as UTF-8 like the rest.
		FString Text;
		if (!FFileHelper::LoadFileToString(Text, *Path))
		{
			std::string().swap(Bytes);
			return CannotRead(OutError);
		}
		const FTCHARToUTF8 Converted(*Text, Text.Len());
		Bytes.assign(Converted.Get(), size_t(Converted.Length()));
	}
	else if (Bytes.rfind(Utf8Bom, 0) == 0)
	{
		Bytes.erase(0, Utf8Bom.size());
	}
	// Without a byte order mark, an XML declaration that names Latin-1 (or Windows' superset of it, read as
	// Latin-1) makes every byte one character; the rest of the program reads UTF-8.
	else if (DeclaresLatin1(Bytes))
	{
		std::string Utf8;
		Utf8.reserve(Bytes.size() * 2);
		for (const unsigned char Byte : Bytes)
		{
			if (Byte < 0x80)
			{
				Utf8.push_back(char(Byte));
			}
			else
			{
				Utf8.push_back(char(0xC0 | (Byte >> 6)));
				Utf8.push_back(char(0x80 | (Byte & 0x3F)));
			}
		}
		Bytes.swap(Utf8);
	}
	return true;
}

TArray<FCommentDocument::FUnshowable> FCommentDocument::SettleAfterRun(const TMap<int64, int32>& DueSeconds)
{
	TArray<FUnshowable> PastTheEnd;
	if (bSettled)
	{
		return PastTheEnd;
	}
	bSettled = true;
	for (const FFiled& Comment : Filed)
	{
		const double Second = std::trunc(Comment.Seconds);
		if (DueSeconds.Contains(int64(Second)))
		{
			continue;
		}
		// The clock stops at the end, so a second that starts there is entered only if the clock lands on it.
		if (Duration >= 0.0 && Second >= Duration)
		{
			PastTheEnd.Add({Comment.Id, Comment.Mode, Comment.Seconds, EUnshowable::PastTheEnd});
		}
		else
		{
			++NotReached;
		}
	}
	Unshowable.Append(PastTheEnd);
	Filed.Empty();
	return PastTheEnd;
}
