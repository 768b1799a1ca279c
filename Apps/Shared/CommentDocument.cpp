#include "CommentDocument.h"

#include "DanmakuXmlReader.h"
#include "Dom/JsonValue.h"
#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "UI_Danmaku.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace
{
constexpr double TicksPerSecond = 10000000.0;
// Beyond this the JSON layer clamps a tick count to the 64-bit limits.
constexpr double TickLimit = 9.2e18;

// A number field as the overlay reads it: numbers, numeric strings and booleans count; anything else is 0.
double ReadNumber(TJsonReader<>& Reader, EJsonNotation Notation, bool& bOutIsNumber)
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

bool SkipValue(TJsonReader<>& Reader, EJsonNotation Notation)
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

FCommentDocument::EFormat FCommentDocument::ChooseFormat(const FString& Path, const FString& Text)
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
	for (const TCHAR Char : Text)
	{
		if (Char == TEXT(' ') || Char == TEXT('\t') || Char == TEXT('\r') || Char == TEXT('\n') || Char == 0xFEFF)
		{
			continue;
		}
		return Char == TEXT('<') ? EFormat::Xml : EFormat::Json;
	}
	return EFormat::Json;
}

bool FCommentDocument::Read(const FString& InPath, FString& OutError)
{
	Path = InPath;
	if (!IFileManager::Get().FileExists(*Path))
	{
		OutError = FString::Printf(TEXT("comment document not found: %s"), *Path);
		return false;
	}
	if (!ReadUtf8(OutError))
	{
		return false;
	}
	Format = ChooseFormat(Path, Text);
	return Format == EFormat::Xml ? ScanXml(OutError) : Scan(OutError);
}

void FCommentDocument::HandTo(UUI_Danmaku& Overlay)
{
	if (Format == EFormat::Xml)
	{
		Overlay.LoadDanmakuXml(Text);
	}
	else
	{
		Overlay.LoadDanmaku(Text);
	}
	Text.Empty();
}

void FCommentDocument::ResetCounts()
{
	Comments = 0;
	NeverPlacedMode = 0;
	ClampedIds = 0;
	FirstClampedId.Empty();
	Unshowable.Reset();
	Filed.Reset();
	Skipped = 0;
}

bool FCommentDocument::ScanXml(FString& OutError)
{
	ResetCounts();
	TArray<FDanmakuData> Records;
	if (!FDanmakuXmlReader::Read(Text, Records, &Skipped))
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
	if (ModeNumber < 0 || ModeNumber > 2)
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

bool FCommentDocument::ReadUtf8(FString& OutError)
{
	std::FILE* File = std::fopen(TCHAR_TO_UTF8(*Path), "rb");
	if (!File)
	{
		OutError = FString::Printf(TEXT("cannot read the comment document %s"), *Path);
		return false;
	}
	std::fseek(File, 0, SEEK_END);
	const long Size = std::ftell(File);
	std::fseek(File, 0, SEEK_SET);
	if (Size < 0 || Size > long(MAX_int32 / 2))
	{
		std::fclose(File);
		OutError = FString::Printf(TEXT("%s is too large for a comment document"), *Path);
		return false;
	}
	// Converted a chunk at a time into text reserved for the whole file, so that the file's bytes and its text are
	// never both held: pages reserved but not written cost nothing.
	Text.Empty();
	Text.Reserve(int32(Size));
	std::string Chunk;
	std::string Carry;
	bool bFirst = true;
	constexpr size_t ChunkBytes = size_t(1) << 20;
	for (;;)
	{
		Chunk.resize(ChunkBytes);
		const size_t Count = std::fread(Chunk.data(), 1, ChunkBytes, File);
		Chunk.resize(Count);
		Chunk.insert(0, Carry);
		Carry.clear();
		if (bFirst)
		{
			bFirst = false;
			if (Chunk.rfind("\xFF\xFE", 0) == 0 || Chunk.rfind("\xFE\xFF", 0) == 0)
			{
				// UTF-16 documents are rare; the whole-file reader handles them.
				std::fclose(File);
				return FFileHelper::LoadFileToString(Text, *Path) ||
				       (OutError = FString::Printf(TEXT("cannot read the comment document %s"), *Path), false);
			}
			if (Chunk.rfind("\xEF\xBB\xBF", 0) == 0)
			{
				Chunk.erase(0, 3);
			}
		}
		// Keep an incomplete last character for the next chunk.
		size_t Complete = Chunk.size();
		for (size_t Back = 1; Back <= 3 && Back <= Chunk.size(); ++Back)
		{
			const unsigned char Byte = static_cast<unsigned char>(Chunk[Chunk.size() - Back]);
			if ((Byte & 0xC0) != 0x80)
			{
				const size_t Needed = Byte >= 0xF0 ? 4 : Byte >= 0xE0 ? 3 : Byte >= 0xC0 ? 2 : 1;
				if (Needed > Back && Count == ChunkBytes)
				{
					Complete = Chunk.size() - Back;
				}
				break;
			}
		}
		Carry.assign(Chunk, Complete, std::string::npos);
		if (Complete > 0)
		{
			const FUTF8ToTCHAR Converted(Chunk.data(), int32(Complete));
			Text.Append(Converted.Get(), Converted.Length());
		}
		if (Count < ChunkBytes)
		{
			break;
		}
	}
	const bool bFailed = std::ferror(File) != 0;
	std::fclose(File);
	if (bFailed)
	{
		OutError = FString::Printf(TEXT("cannot read the comment document %s"), *Path);
		return false;
	}
	return true;
}

bool FCommentDocument::Scan(FString& OutError)
{
	const TSharedRef<TJsonReader<>> ReaderRef = TJsonReaderFactory<>::CreateFromView(Text);
	TJsonReader<>& Reader = *ReaderRef;
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
						// Null or a word: the overlay reads such a time as 0.
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

void FCommentDocument::FindPastTheEnd(double DurationSeconds)
{
	if (bPastTheEndFound || DurationSeconds <= 0.0)
	{
		return;
	}
	bPastTheEndFound = true;
	for (const FFiled& Comment : Filed)
	{
		// The clock stops at the end, so a second that starts there is never entered.
		if (std::trunc(Comment.Seconds) >= DurationSeconds)
		{
			Unshowable.Add({Comment.Id, Comment.Mode, Comment.Seconds, EUnshowable::PastTheEnd});
		}
	}
	Filed.Empty();
}
