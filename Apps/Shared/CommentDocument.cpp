#include "CommentDocument.h"
#include "FileChecks.h"

#include "DanmakuXmlReader.h"
#include "Dom/JsonValue.h"
#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "UI_Danmaku.h"

#include <cctype>
#include <cmath>
#include <cstdio>
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

constexpr double TicksPerSecond = 10000000.0;
// Beyond this the JSON layer clamps a tick count to the 64-bit limits.
constexpr double TickLimit = 9.2e18;
constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

// A number field as the overlay reads it: numbers, numeric strings and booleans count; anything else is 0.
double ReadNumber(TJsonReader<UTF8CHAR>& Reader, EJsonNotation Notation, bool& bOutIsNumber)
{
	double Number = 0.0;
	bOutIsNumber = true;
	switch (Notation)
	{
		case EJsonNotation::Number:
			return Reader.GetValueAsNumber();
		case EJsonNotation::String:
			if (FJsonValueString(Reader.GetValueAsString()).TryGetNumber(Number))
			{
				return Number;
			}
			break;
		case EJsonNotation::Boolean:
			return Reader.GetValueAsBoolean() ? 1.0 : 0.0;
		default:
			break;
	}
	bOutIsNumber = false;
	return 0.0;
}

bool SkipValue(TJsonReader<UTF8CHAR>& Reader, EJsonNotation Notation)
{
	if (Notation == EJsonNotation::ObjectStart)
	{
		return Reader.SkipObject();
	}
	if (Notation == EJsonNotation::ArrayStart)
	{
		return Reader.SkipArray();
	}
	return true;
}
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
	if (!ReadUtf8(OutError))
	{
		return false;
	}
	Format = ChooseFormat(Path, View());
	return Format == EFormat::Xml ? ScanXml(OutError) : Scan(OutError);
}

void FCommentDocument::HandTo(UUI_Danmaku& Overlay)
{
	if (Format == EFormat::Xml)
	{
		Overlay.LoadDanmakuXml(ToText());
	}
	else
	{
		Overlay.LoadDanmakuUtf8(View());
	}
	std::string().swap(Bytes);
}

void FCommentDocument::ResetCounts()
{
	Comments = 0;
	NeverPlacedMode = 0;
	Reverse = 0;
	MaskedColours = 0;
	ClampedIds = 0;
	FirstClampedId.Empty();
	UnreadTimes = 0;
	FirstUnreadTime.Empty();
	Unshowable.Reset();
	Filed.Reset();
	Skipped = 0;
}

bool FCommentDocument::ScanXml(FString& OutError)
{
	ResetCounts();
	TArray<FDanmakuData> Records;
	if (!FDanmakuXmlReader::Read(ToText(), Records, &Skipped, &MaskedColours))
	{
		OutError = FString::Printf(TEXT("%s is not an XML comment document (well-formed XML with an <i> root)"), *Path);
		return false;
	}
	for (const FDanmakuData& Record : Records)
	{
		// The reader already gave every comment an id that fits and a mode number of the overlay's.
		Note(double(Record.DanmakuID), FString::FromInt(Record.DanmakuID), double(Record.SpawnTime),
		     double(int32(Record.Mode)));
	}
	return true;
}

void FCommentDocument::Note(double Id, const FString& IdText, double Ticks, double Mode)
{
	++Comments;
	const bool bIdFits = Id >= double(MIN_int32) && Id <= double(MAX_int32);
	if (!bIdFits)
	{
		if (ClampedIds++ == 0)
		{
			FirstClampedId = IdText;
		}
	}
	const int32 ShownId = FMath::IsNaN(Id) ? 0 : int32(FMath::Clamp(Id, double(MIN_int32), double(MAX_int32)));
	const int32 ModeNumber = FMath::IsNaN(Mode) ? 0 : int32(FMath::Clamp(Mode, double(MIN_int32), double(MAX_int32)));
	const EDanmakuMode AsMode = static_cast<EDanmakuMode>(ModeNumber);
	if (AsMode == EDanmakuMode::REVERSE)
	{
		++Reverse;
	}
	else if (AsMode != EDanmakuMode::SCROLL && AsMode != EDanmakuMode::TOP && AsMode != EDanmakuMode::BOTTOM &&
	         AsMode != EDanmakuMode::POSITIONED)
	{
		++NeverPlacedMode;
	}
	if (!std::isfinite(Ticks) || std::fabs(Ticks) >= TickLimit)
	{
		Unshowable.Add({ShownId, ModeNumber, Ticks / TicksPerSecond, EUnshowable::TimeOutOfRange});
	}
	else if (Ticks <= -TicksPerSecond)
	{
		// Whole seconds are cut toward zero: only a time a second or more before the start is lost.
		Unshowable.Add({ShownId, ModeNumber, Ticks / TicksPerSecond, EUnshowable::NegativeTime});
	}
	else
	{
		Filed.Add({std::trunc(Ticks) / TicksPerSecond, ShownId, ModeNumber});
	}
}

FUtf8StringView FCommentDocument::View() const
{
	return FUtf8StringView(reinterpret_cast<const UTF8CHAR*>(Bytes.data()), int32(Bytes.size()));
}

FString FCommentDocument::ToText() const
{
	const FUTF8ToTCHAR Converted(Bytes.data(), int32(Bytes.size()));
	return FString::ConstructFromPtrSize(Converted.Get(), Converted.Length());
}

bool FCommentDocument::ReadUtf8(FString& OutError)
{
	const auto CannotRead = [this, &OutError]
	{
		OutError = FString::Printf(TEXT("cannot read the comment document %s"), *Path);
		return false;
	};
	std::FILE* File = std::fopen(TCHAR_TO_UTF8(*Path), "rb");
	if (!File)
	{
		return CannotRead();
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
		return CannotRead();
	}
	if (Bytes.rfind("\xFF\xFE", 0) == 0 || Bytes.rfind("\xFE\xFF", 0) == 0)
	{
		// UTF-16 documents are rare; the engine's loader reads them and they are kept as UTF-8 like the rest.
		FString Text;
		if (!FFileHelper::LoadFileToString(Text, *Path))
		{
			std::string().swap(Bytes);
			return CannotRead();
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

bool FCommentDocument::Scan(FString& OutError)
{
	const TSharedRef<TJsonReader<UTF8CHAR>> ReaderRef = TJsonReaderFactory<UTF8CHAR>::CreateFromView(View());
	TJsonReader<UTF8CHAR>& Reader = *ReaderRef;
	const auto Broken = [this, &Reader, &OutError]
	{
		OutError = FString::Printf(TEXT("%s is not valid JSON: %s"), *Path, *Reader.GetErrorMessage());
		return false;
	};
	EJsonNotation Notation = EJsonNotation::Null;
	if (!Reader.ReadNext(Notation))
	{
		return Broken();
	}
	if (Notation != EJsonNotation::ObjectStart)
	{
		OutError = FString::Printf(TEXT("%s is JSON but not a comment document: it must be an object with a "
		                                "\"datas\" array, and it starts with something else"),
		                           *Path);
		return false;
	}
	bool bDatas = false;
	while (Reader.ReadNext(Notation) && Notation != EJsonNotation::ObjectEnd)
	{
		// The last "datas" counts, as the overlay reads it.
		if (Reader.GetIdentifier() == TEXT("datas") && Notation != EJsonNotation::ArrayStart)
		{
			bDatas = false;
			if (!SkipValue(Reader, Notation))
			{
				return Broken();
			}
		}
		else if (Reader.GetIdentifier() == TEXT("datas"))
		{
			bDatas = true;
			ResetCounts();
			while (Reader.ReadNext(Notation) && Notation != EJsonNotation::ArrayEnd)
			{
				if (Notation != EJsonNotation::ObjectStart)
				{
					if (!SkipValue(Reader, Notation))
					{
						return Broken();
					}
					continue;
				}
				double Id = 0.0;
				double Ticks = 0.0;
				double Mode = 0.0;
				bool bTimeIsNumber = true;
				FString IdText;
				while (Reader.ReadNext(Notation) && Notation != EJsonNotation::ObjectEnd)
				{
					const FString& Key = Reader.GetIdentifier();
					bool bIsNumber = false;
					if (Key == TEXT("danmaku_id"))
					{
						Id = ReadNumber(Reader, Notation, bIsNumber);
						IdText = Notation == EJsonNotation::String ? Reader.GetValueAsString()
						                                           : FString::Printf(TEXT("%.17g"), Id);
					}
					else if (Key == TEXT("danmaku_spawn_time"))
					{
						Ticks = ReadNumber(Reader, Notation, bTimeIsNumber);
						// Null or a word: the overlay reads such a time as 0. A word ("1.5e9": the engine reads
						// no exponent in a string) is counted, so that the user hears of it.
						if (!bTimeIsNumber && Notation == EJsonNotation::String)
						{
							if (UnreadTimes++ == 0)
							{
								FirstUnreadTime = FFileChecks::Excerpt(Reader.GetValueAsString());
							}
						}
						if (!bTimeIsNumber)
						{
							Ticks = 0.0;
							bTimeIsNumber = true;
						}
					}
					else if (Key == TEXT("danmaku_mode"))
					{
						Mode = ReadNumber(Reader, Notation, bIsNumber);
					}
					if (!SkipValue(Reader, Notation))
					{
						return Broken();
					}
				}
				if (Notation != EJsonNotation::ObjectEnd)
				{
					return Broken();
				}
				Note(Id, IdText, Ticks, Mode);
			}
			if (Notation != EJsonNotation::ArrayEnd)
			{
				return Broken();
			}
		}
		else if (!SkipValue(Reader, Notation))
		{
			return Broken();
		}
	}
	if (Notation != EJsonNotation::ObjectEnd)
	{
		return Broken();
	}
	if (Reader.ReadNext(Notation) || Notation == EJsonNotation::Error)
	{
		return Broken();
	}
	if (!bDatas)
	{
		OutError = FString::Printf(TEXT("%s has no \"datas\" array, so it is not a comment document"), *Path);
		return false;
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
