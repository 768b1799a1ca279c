#include "DanmakuXmlReader.h"

#include "FastXml.h"
#include "SkorvaneLog.h"

namespace
{
const FString RootTag = TEXT("i");
const FString CommentTag = TEXT("d");
const FString AttributesName = TEXT("p");

// The fields of p, in order.
enum class EXmlField : int32
{
	Time,
	Mode,
	Size,
	Colour,
	PostTime,
	Pool,
	UserHash,
	RowId,
	Count
};

constexpr int32 RequiredFields = static_cast<int32>(EXmlField::PostTime);
constexpr int32 KnownFields = static_cast<int32>(EXmlField::Count);
// Beyond this many skipped comments a document is plainly of another kind; the rest are counted, not listed.
constexpr int32 MaxSkipLogLines = 20;
// FDateTime spans the years 1 to 9999.
constexpr int64 MinUnixTime = -62135596800LL;
constexpr int64 MaxUnixTime = 253402300799LL;
// Seconds whose ticks still fit an int64, with room to spare.
constexpr double MaxSeconds = 9.0e11;
constexpr int64 ColourBits = 0xFFFFFF;

enum class EIntegerRead : uint8
{
	Read,
	TooLarge,
	Bad
};

// One field of p, without the blanks around it.
struct FAttributeField
{
	const TCHAR* Begin = nullptr;
	int32 Len = 0;

	bool IsEmpty() const { return Len == 0; }
	FString ToString() const { return FString::ConstructFromPtrSize(Begin, Len); }
	// The field as a warning quotes it: at most MaxQuoted characters, control characters escaped, so that a huge or
	// hostile field cannot flood the log.
	FString Quoted() const
	{
		constexpr int32 MaxQuoted = 60;
		FString Out;
		for (int32 Index = 0; Index < Len && Index < MaxQuoted; ++Index)
		{
			const TCHAR C = Begin[Index];
			Out += C < 0x20 || (C >= 0x7F && C <= 0x9F) ? FString::Printf(TEXT("\\x%02x"), int32(C)) : FString::Chr(C);
		}
		return Len > MaxQuoted ? Out + TEXT("…") : Out;
	}
};

bool IsBlank(TCHAR C)
{
	return C == TEXT(' ') || C == TEXT('\t') || C == TEXT('\r') || C == TEXT('\n');
}

bool IsDigit(TCHAR C)
{
	return C >= TEXT('0') && C <= TEXT('9');
}

// Splits p at its commas; fields past the known ones are ignored.
int32 SplitFields(FStringView Text, FAttributeField (&OutFields)[KnownFields])
{
	const TCHAR* Cursor = Text.GetData();
	const TCHAR* const End = Cursor + Text.Len();
	int32 Count = 0;
	while (Count < KnownFields)
	{
		const TCHAR* FieldEnd = Cursor;
		while (FieldEnd < End && *FieldEnd != TEXT(','))
		{
			++FieldEnd;
		}
		const TCHAR* First = Cursor;
		const TCHAR* Last = FieldEnd;
		while (First < Last && IsBlank(*First))
		{
			++First;
		}
		while (Last > First && IsBlank(Last[-1]))
		{
			--Last;
		}
		OutFields[Count++] = {First, static_cast<int32>(Last - First)};
		if (FieldEnd == End)
		{
			break;
		}
		Cursor = FieldEnd + 1;
	}
	return Count;
}

// A whole number of decimal digits, with an optional minus sign when negatives are allowed.
EIntegerRead ReadInteger(const FAttributeField& Field, bool bAllowNegative, int64& OutValue)
{
	int32 Index = 0;
	const bool bNegative = bAllowNegative && Field.Len > 0 && Field.Begin[0] == TEXT('-');
	Index += bNegative ? 1 : 0;
	if (Index >= Field.Len)
	{
		return EIntegerRead::Bad;
	}
	uint64 Value = 0;
	bool bTooLarge = false;
	constexpr uint64 Tenth = uint64(MAX_int64) / 10;
	constexpr uint64 LastDigit = uint64(MAX_int64) % 10;
	for (; Index < Field.Len; ++Index)
	{
		const uint64 Digit = uint64(Field.Begin[Index]) - uint64(TEXT('0'));
		if (Digit > 9)
		{
			return EIntegerRead::Bad;
		}
		// Stops growing past the limit, so that twenty digits and more never wrap around to a small number; the
		// first test is the one nearly every digit takes.
		if (Value < Tenth || (Value == Tenth && Digit <= LastDigit))
		{
			Value = Value * 10 + Digit;
		}
		else
		{
			bTooLarge = true;
		}
	}
	if (bTooLarge)
	{
		return EIntegerRead::TooLarge;
	}
	OutValue = bNegative ? -int64(Value) : int64(Value);
	return EIntegerRead::Read;
}

// The value of a number ReadSeconds accepted. Most times are a few digits with a fraction: those whose digits fit
// 2^53 and whose fraction has at most 22 digits are one exact integer divided by an exact power of ten, which is
// the correctly rounded value; the rest go through the C library.
double ToSeconds(const FAttributeField& Field)
{
	static constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
	                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
	constexpr uint64 ExactLimit = uint64(1) << 53;
	int32 Index = 0;
	const bool bNegative = Field.Len > 0 && Field.Begin[0] == TEXT('-');
	Index += Field.Len > 0 && (Field.Begin[0] == TEXT('-') || Field.Begin[0] == TEXT('+')) ? 1 : 0;
	uint64 Digits = 0;
	int32 FractionDigits = 0;
	bool bFraction = false;
	for (; Index < Field.Len; ++Index)
	{
		const TCHAR C = Field.Begin[Index];
		if (C == TEXT('.') && !bFraction)
		{
			bFraction = true;
			continue;
		}
		if (!IsDigit(C) || Digits >= ExactLimit / 10 || FractionDigits >= 22)
		{
			return FCString::Atod(*Field.ToString());
		}
		Digits = Digits * 10 + uint64(C - TEXT('0'));
		FractionDigits += bFraction ? 1 : 0;
	}
	const double Value = double(Digits) / PowersOfTen[FractionDigits];
	return bNegative ? -Value : Value;
}

// "#RRGGBB" of the low 24 bits.
FString ToHexColour(int64 Colour)
{
	static constexpr TCHAR Hex[] = TEXT("0123456789ABCDEF");
	TCHAR Text[8] = {TEXT('#')};
	for (int32 Digit = 0; Digit < 6; ++Digit)
	{
		Text[6 - Digit] = Hex[(Colour >> (4 * Digit)) & 0xF];
	}
	Text[7] = TEXT('\0');
	return FString(Text);
}

// A decimal number: sign, digits, fraction and exponent, at least one digit before the exponent.
bool ReadSeconds(const FAttributeField& Field, double& OutSeconds)
{
	int32 Index = 0;
	int32 Digits = 0;
	const auto SkipDigits = [&Field, &Index]()
	{
		int32 Count = 0;
		while (Index < Field.Len && IsDigit(Field.Begin[Index]))
		{
			++Index;
			++Count;
		}
		return Count;
	};
	if (Index < Field.Len && (Field.Begin[Index] == TEXT('-') || Field.Begin[Index] == TEXT('+')))
	{
		++Index;
	}
	Digits += SkipDigits();
	if (Index < Field.Len && Field.Begin[Index] == TEXT('.'))
	{
		++Index;
		Digits += SkipDigits();
	}
	if (Digits == 0)
	{
		return false;
	}
	if (Index < Field.Len && (Field.Begin[Index] == TEXT('e') || Field.Begin[Index] == TEXT('E')))
	{
		++Index;
		if (Index < Field.Len && (Field.Begin[Index] == TEXT('-') || Field.Begin[Index] == TEXT('+')))
		{
			++Index;
		}
		if (SkipDigits() == 0)
		{
			return false;
		}
	}
	if (Index != Field.Len)
	{
		return false;
	}
	const double Seconds = ToSeconds(Field);
	if (!(FMath::Abs(Seconds) <= MaxSeconds))
	{
		return false;
	}
	OutSeconds = Seconds;
	return true;
}

// Fills Data from p; on a bad field, names it in OutProblem and returns false.
bool ReadAttributes(FStringView Text, int32 Position, FDanmakuData& Data, FString& OutProblem, bool& bOutMasked)
{
	FAttributeField Fields[KnownFields];
	const int32 Count = SplitFields(Text, Fields);
	if (Count < RequiredFields)
	{
		OutProblem = TEXT("fewer than four fields (time, mode, size, colour)");
		return false;
	}
	const auto At = [&Fields](EXmlField Name) -> const FAttributeField& { return Fields[static_cast<int32>(Name)]; };
	const auto Has = [Count, &At](EXmlField Name) { return static_cast<int32>(Name) < Count && !At(Name).IsEmpty(); };

	double Seconds = 0.0;
	if (!ReadSeconds(At(EXmlField::Time), Seconds))
	{
		OutProblem = FString::Printf(TEXT("bad time '%s'"), *At(EXmlField::Time).Quoted());
		return false;
	}
	Data.SpawnTime = static_cast<int64>(FMath::RoundToDouble(Seconds * ETimespan::TicksPerSecond));

	int64 Mode = 0;
	if (ReadInteger(At(EXmlField::Mode), false, Mode) != EIntegerRead::Read || Mode > MAX_int32 ||
	    !FDanmakuXmlReader::ConvertMode(Mode, Data.Mode))
	{
		OutProblem = FString::Printf(TEXT("bad mode '%s'"), *At(EXmlField::Mode).Quoted());
		return false;
	}

	int64 Size = 0;
	if (ReadInteger(At(EXmlField::Size), false, Size) != EIntegerRead::Read || Size > MAX_int32)
	{
		OutProblem = FString::Printf(TEXT("bad size '%s'"), *At(EXmlField::Size).Quoted());
		return false;
	}
	Data.FontSize = static_cast<int32>(Size);

	int64 Colour = 0;
	if (ReadInteger(At(EXmlField::Colour), false, Colour) != EIntegerRead::Read)
	{
		OutProblem = FString::Printf(TEXT("bad colour '%s'"), *At(EXmlField::Colour).Quoted());
		return false;
	}
	bOutMasked = Colour > ColourBits;
	Data.FontColor = ToHexColour(Colour & ColourBits);

	if (Has(EXmlField::PostTime))
	{
		int64 UnixTime = 0;
		if (ReadInteger(At(EXmlField::PostTime), true, UnixTime) != EIntegerRead::Read || UnixTime < MinUnixTime ||
		    UnixTime > MaxUnixTime)
		{
			OutProblem = FString::Printf(TEXT("bad post time '%s'"), *At(EXmlField::PostTime).Quoted());
			return false;
		}
		Data.PostDate = FDateTime::FromUnixTimestamp(UnixTime);
	}
	if (Has(EXmlField::UserHash))
	{
		Data.UserDisplayName = At(EXmlField::UserHash).ToString();
	}
	if (Has(EXmlField::RowId))
	{
		int64 RowId = 0;
		const EIntegerRead Read = ReadInteger(At(EXmlField::RowId), false, RowId);
		if (Read == EIntegerRead::Bad)
		{
			OutProblem = FString::Printf(TEXT("bad id '%s'"), *At(EXmlField::RowId).Quoted());
			return false;
		}
		// Row ids outgrew 32 bits long ago. Such a comment keeps its place and gets an id no row id can have:
		// minus its position among the document's comments.
		Data.DanmakuID = Read == EIntegerRead::Read && RowId <= MAX_int32 ? static_cast<int32>(RowId) : -Position;
	}
	return true;
}

// Files each <d> of an <i> root as its element closes, so no tree of the document is built.
class FCommentCollector final : public IFastXmlCallback
{
public:
	FCommentCollector(TFunctionRef<void(FDanmakuData&&)> InAddRecord, FDanmakuDocumentReport& InReport)
	    : AddRecord(InAddRecord), Report(InReport)
	{
	}

	// Why the parse was stopped on purpose, and where; empty when it went on to the end.
	FString Refusal;
	int32 RefusalLine = 0;

	// IFastXmlCallback
	virtual bool ProcessXmlDeclaration(const TCHAR* ElementData, int32 XmlFileLineNumber) override { return true; }
	virtual bool ProcessElement(const TCHAR* ElementName, const TCHAR* ElementData, int32 XmlFileLineNumber) override
	{
		++Depth;
		if (Depth == 1 && FCString::Strcmp(ElementName, *RootTag) != 0)
		{
			Refusal = FString::Printf(TEXT("its root is <%s>, not <i>"),
			                          *FDanmakuDocumentReport::Excerpt(FStringView(ElementName)));
			RefusalLine = XmlFileLineNumber;
			return false;
		}
		// XML names are case-sensitive: <D> is not a comment.
		bInComment = Depth == 2 && FCString::Strcmp(ElementName, *CommentTag) == 0;
		if (bInComment)
		{
			++Position;
			Data = FDanmakuData();
			Data.Content = ElementData;
			Problem.Reset();
			bHasAttributes = false;
			bMasked = false;
		}
		return true;
	}
	virtual bool ProcessAttribute(const TCHAR* AttributeName, const TCHAR* AttributeValue) override
	{
		if (bInComment && Depth == 2 && FCString::Strcmp(AttributeName, *AttributesName) == 0)
		{
			bHasAttributes = true;
			ReadAttributes(FStringView(AttributeValue), Position, Data, Problem, bMasked);
		}
		return true;
	}
	virtual bool ProcessClose(const TCHAR* Element) override
	{
		if (Depth == 2 && bInComment)
		{
			bInComment = false;
			FileComment();
		}
		--Depth;
		return true;
	}
	virtual bool ProcessComment(const TCHAR* Comment) override { return true; }
	// --

	void LogSkippedTotal() const
	{
		if (Report.Skipped > MaxSkipLogLines)
		{
			UE_LOG(LogSkorvane, Warning, TEXT("Danmaku XML: %d more comments skipped, %d in all"),
			       Report.Skipped - MaxSkipLogLines, Report.Skipped);
		}
	}

private:
	void FileComment()
	{
		if (!bHasAttributes)
		{
			Problem = TEXT("no p attribute");
		}
		if (!Problem.IsEmpty())
		{
			if (++Report.Skipped <= MaxSkipLogLines)
			{
				UE_LOG(LogSkorvane, Warning, TEXT("Danmaku XML comment %d skipped: %s"), Position, *Problem);
			}
			return;
		}
		Report.MaskedColours += bMasked ? 1 : 0;
		if (Data.SpawnTime <= -ETimespan::TicksPerSecond)
		{
			Report.Unreachable.Add(
			    {Data.DanmakuID, static_cast<int32>(Data.Mode), double(Data.SpawnTime) / ETimespan::TicksPerSecond});
		}
		Report.NoteFiled(Data);
		AddRecord(MoveTemp(Data));
	}

	TFunctionRef<void(FDanmakuData&&)> AddRecord;
	FDanmakuDocumentReport& Report;
	int32 Depth = 0;
	int32 Position = 0;
	bool bInComment = false;
	bool bHasAttributes = false;
	bool bMasked = false;
	FDanmakuData Data;
	FString Problem;
};
} // namespace

bool FDanmakuXmlReader::ConvertMode(int64 XmlMode, EDanmakuMode& OutMode)
{
	if (XmlMode >= 1 && XmlMode <= 3)
	{
		OutMode = EDanmakuMode::SCROLL;
	}
	else if (XmlMode == 4)
	{
		OutMode = EDanmakuMode::BOTTOM;
	}
	else if (XmlMode == 5)
	{
		OutMode = EDanmakuMode::TOP;
	}
	else if (XmlMode == 6)
	{
		OutMode = EDanmakuMode::REVERSE;
	}
	else if (XmlMode >= 7 && XmlMode <= MAX_int32)
	{
		OutMode = static_cast<EDanmakuMode>(XmlMode);
	}
	else
	{
		return false;
	}
	return true;
}

bool FDanmakuXmlReader::Read(TCHAR* XmlText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
                             FDanmakuDocumentReport& OutReport)
{
	return Parse(TEXT(""), XmlText, AddRecord, OutReport);
}

bool FDanmakuXmlReader::ReadFile(const FString& Path, TFunctionRef<void(FDanmakuData&&)> AddRecord,
                                 FDanmakuDocumentReport& OutReport)
{
	// An empty path would make the parser look for text instead.
	return Parse(Path.IsEmpty() ? TEXT(" ") : *Path, nullptr, AddRecord, OutReport);
}

bool FDanmakuXmlReader::Parse(const TCHAR* Path, TCHAR* XmlText, TFunctionRef<void(FDanmakuData&&)> AddRecord,
                              FDanmakuDocumentReport& OutReport)
{
	OutReport = FDanmakuDocumentReport();
	FCommentCollector Collector(AddRecord, OutReport);
	FText Error;
	int32 ErrorLine = 0;
	const bool bParsed = FFastXml::ParseXmlFile(&Collector, Path, XmlText, nullptr, false, false, Error, ErrorLine);
	if (!bParsed || Collector.Refusal.Len() > 0)
	{
		OutReport = FDanmakuDocumentReport();
		OutReport.Fault = Collector.Refusal.Len() > 0 ? Collector.Refusal : Error.ToString();
		OutReport.FaultLine = Collector.Refusal.Len() > 0 ? Collector.RefusalLine : ErrorLine;
		UE_LOG(LogSkorvane, Warning, TEXT("Danmaku XML document not read: line %d: %s"), OutReport.FaultLine,
		       *OutReport.Fault);
		return false;
	}
	Collector.LogSkippedTotal();
	OutReport.bRead = true;
	return true;
}

bool FDanmakuXmlReader::Read(const FString& XmlText, TArray<FDanmakuData>& OutRecords, int32* OutSkipped,
                             int32* OutMaskedColours)
{
	OutRecords.Reset();
	// The parse may change the text it reads.
	TArray<TCHAR> Text;
	Text.Reserve(XmlText.Len() + 1);
	Text.Append(*XmlText, XmlText.Len());
	Text.Add(TEXT('\0'));
	FDanmakuDocumentReport Report;
	const bool bRead = Read(
	    Text.GetData(), [&OutRecords](FDanmakuData&& Record) { OutRecords.Add(MoveTemp(Record)); }, Report);
	if (!bRead)
	{
		OutRecords.Reset();
	}
	if (OutSkipped)
	{
		*OutSkipped = Report.Skipped;
	}
	if (OutMaskedColours)
	{
		*OutMaskedColours = Report.MaskedColours;
	}
	return bRead;
}
