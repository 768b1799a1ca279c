#include "FastXml.h"
#include "Headless/Utf8String.h"

#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Serialization/Archive.h"

#include <expat.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Text goes to expat in pieces of this many UTF-16 units (at most three bytes each in UTF-8, well within an int), and
// a file is read in pieces of this many bytes.
constexpr size_t ParsePieceUnits = size_t(1) << 20;
constexpr int64 FilePieceBytes = int64(1) << 20;

// How many of the bytes end before a UTF-8 character that the end of the piece cuts short.
size_t WholeCharacterBytes(const std::string& Bytes)
{
	for (size_t Back = 1; Back <= std::min<size_t>(3, Bytes.size()); ++Back)
	{
		const unsigned char Byte = static_cast<unsigned char>(Bytes[Bytes.size() - Back]);
		if ((Byte & 0xC0) == 0x80)
		{
			continue;
		}
		const size_t Needed = Byte >= 0xF0 ? 4 : Byte >= 0xE0 ? 3 : Byte >= 0xC0 ? 2 : 1;
		return Needed > Back ? Bytes.size() - Back : Bytes.size();
	}
	return Bytes.size();
}

// Expat hands over well-formed UTF-8; the callback takes UTF-16 text ending in a zero. Appends Data's text and its
// zero to Out from At on, and returns where the zero went. Out only grows, so that its units are not cleared first
// for every name and value.
size_t Utf8ToTchar(const char* Data, size_t Length, std::vector<TCHAR>& Out, size_t At = 0)
{
	// UTF-16 never needs more units than UTF-8 has bytes.
	if (Out.size() < At + Length + 1)
	{
		Out.resize(std::max(At + Length + 1, Out.size() * 2));
	}
	TCHAR* const Start = Out.data() + At;
	TCHAR* Write = Start;
	const unsigned char* Cursor = reinterpret_cast<const unsigned char*>(Data);
	const unsigned char* const End = Cursor + Length;
	while (Cursor < End)
	{
		uint32 Code = *Cursor++;
		if (Code < 0x80)
		{
			const size_t Ascii =
			    UE::String::WidenAscii(reinterpret_cast<const char*>(Cursor - 1), size_t(End - Cursor) + 1, Write);
			Write += Ascii;
			Cursor += Ascii - 1;
			continue;
		}
		int32 Extra = Code >= 0xF0 ? 3 : Code >= 0xE0 ? 2 : 1;
		Code &= Extra == 3 ? 0x07 : Extra == 2 ? 0x0F : 0x1F;
		for (; Extra > 0 && Cursor < End; --Extra)
		{
			Code = (Code << 6) | (*Cursor++ & 0x3F);
		}
		if (Code >= 0x10000)
		{
			Code -= 0x10000;
			*Write++ = TCHAR(0xD800 + (Code >> 10));
			*Write++ = TCHAR(0xDC00 + (Code & 0x3FF));
		}
		else
		{
			*Write++ = TCHAR(Code);
		}
	}
	*Write = TCHAR(0);
	return At + size_t(Write - Start);
}

// A piece of UTF-8 for expat: its buffer keeps its size from piece to piece, so that it is not cleared each time.
struct FUtf8Piece
{
	std::string Bytes;
	size_t Size = 0;
};

// A piece of the document's UTF-16 text as UTF-8, for expat; returns the units used. A surrogate pair split at
// the end of a piece that is not the last waits for the next piece; a lone surrogate becomes U+FFFD.
size_t TcharToUtf8(const TCHAR* Text, size_t Length, bool bLastPiece, FUtf8Piece& Out)
{
	if (Out.Bytes.size() < Length * 3)
	{
		Out.Bytes.resize(Length * 3);
	}
	char* Write = Out.Bytes.data();
	size_t Index = 0;
	for (; Index < Length; ++Index)
	{
		uint32 Code = Text[Index];
		if (Code < 0x80)
		{
			const size_t Ascii = UE::String::NarrowAscii(Text + Index, Length - Index, Write);
			Write += Ascii;
			Index += Ascii - 1;
			continue;
		}
		if (Code >= 0xD800 && Code <= 0xDBFF && Index + 1 == Length && !bLastPiece)
		{
			break;
		}
		const uint32 Next = Index + 1 < Length ? uint32(Text[Index + 1]) : 0;
		if (Code >= 0xD800 && Code <= 0xDBFF && Next >= 0xDC00 && Next <= 0xDFFF)
		{
			Code = 0x10000 + ((Code - 0xD800) << 10) + (Next - 0xDC00);
			++Index;
		}
		else if (Code >= 0xD800 && Code <= 0xDFFF)
		{
			Code = 0xFFFD;
		}
		if (Code < 0x800)
		{
			*Write++ = char(0xC0 | (Code >> 6));
		}
		else if (Code < 0x10000)
		{
			*Write++ = char(0xE0 | (Code >> 12));
			*Write++ = char(0x80 | ((Code >> 6) & 0x3F));
		}
		else
		{
			*Write++ = char(0xF0 | (Code >> 18));
			*Write++ = char(0x80 | ((Code >> 12) & 0x3F));
			*Write++ = char(0x80 | ((Code >> 6) & 0x3F));
		}
		*Write++ = char(0x80 | (Code & 0x3F));
	}
	Out.Size = size_t(Write - Out.Bytes.data());
	return Index;
}

void Utf8ToTchar(const char* Text, std::vector<TCHAR>& Out)
{
	Utf8ToTchar(Text, std::char_traits<char>::length(Text), Out);
}

// Where a name or value of a pending element starts in its buffer: the buffer may move as it grows.
struct FPendingAttribute
{
	size_t Name = 0;
	size_t Value = 0;
};

// Turns expat's events into the callback's: an element is announced once the text after its start tag is known,
// that is at the next tag, then its attributes follow.
struct FFastXmlDriver
{
	IFastXmlCallback& Callback;
	XML_Parser Parser = nullptr;
	bool bStopped = false;

	// The element whose text is still being read: its name and attributes, widened as they arrive, because expat's
	// own copies last only for the call that hands them over.
	bool bPending = false;
	std::vector<TCHAR> PendingNames;
	std::vector<FPendingAttribute> PendingAttributes;
	size_t PendingAttributeCount = 0;
	std::string PendingData;
	int32 PendingLine = 0;

	std::vector<TCHAR> Name;
	std::vector<TCHAR> Value;

	explicit FFastXmlDriver(IFastXmlCallback& InCallback) : Callback(InCallback) {}

	void Stop()
	{
		bStopped = true;
		XML_StopParser(Parser, XML_FALSE);
	}

	void Flush()
	{
		if (!bPending || bStopped)
		{
			return;
		}
		bPending = false;
		Utf8ToTchar(PendingData.data(), PendingData.size(), Value);
		if (!Callback.ProcessElement(PendingNames.data(), Value.data(), PendingLine))
		{
			Stop();
			return;
		}
		for (size_t Index = 0; Index < PendingAttributeCount; ++Index)
		{
			const FPendingAttribute& Attribute = PendingAttributes[Index];
			if (!Callback.ProcessAttribute(PendingNames.data() + Attribute.Name, PendingNames.data() + Attribute.Value))
			{
				Stop();
				return;
			}
		}
	}

	static FFastXmlDriver& From(void* UserData) { return *static_cast<FFastXmlDriver*>(UserData); }

	static void OnStart(void* UserData, const XML_Char* InName, const XML_Char** Attributes)
	{
		FFastXmlDriver& Driver = From(UserData);
		Driver.Flush();
		if (Driver.bStopped)
		{
			return;
		}
		Driver.bPending = true;
		Driver.PendingData.clear();
		Driver.PendingLine = int32(XML_GetCurrentLineNumber(Driver.Parser));
		// Expat lists the attributes as name, value, name, value, ..., ending in a null.
		size_t End = Utf8ToTchar(InName, std::char_traits<char>::length(InName), Driver.PendingNames) + 1;
		size_t Count = 0;
		for (; Attributes[2 * Count]; ++Count)
		{
			if (Driver.PendingAttributes.size() <= Count)
			{
				Driver.PendingAttributes.emplace_back();
			}
			FPendingAttribute& Attribute = Driver.PendingAttributes[Count];
			const char* const AttributeName = Attributes[2 * Count];
			const char* const AttributeValue = Attributes[2 * Count + 1];
			Attribute.Name = End;
			End =
			    Utf8ToTchar(AttributeName, std::char_traits<char>::length(AttributeName), Driver.PendingNames, End) + 1;
			Attribute.Value = End;
			End =
			    Utf8ToTchar(AttributeValue, std::char_traits<char>::length(AttributeValue), Driver.PendingNames, End) +
			    1;
		}
		Driver.PendingAttributeCount = Count;
	}

	static void OnEnd(void* UserData, const XML_Char* InName)
	{
		FFastXmlDriver& Driver = From(UserData);
		Driver.Flush();
		if (Driver.bStopped)
		{
			return;
		}
		Utf8ToTchar(InName, Driver.Name);
		if (!Driver.Callback.ProcessClose(Driver.Name.data()))
		{
			Driver.Stop();
		}
	}

	static void OnText(void* UserData, const XML_Char* Text, int Length)
	{
		FFastXmlDriver& Driver = From(UserData);
		if (Driver.bPending)
		{
			Driver.PendingData.append(Text, size_t(Length));
		}
	}

	static void OnComment(void* UserData, const XML_Char* Text)
	{
		FFastXmlDriver& Driver = From(UserData);
		Driver.Flush();
		if (Driver.bStopped)
		{
			return;
		}
		Utf8ToTchar(Text, Driver.Value);
		if (!Driver.Callback.ProcessComment(Driver.Value.data()))
		{
			Driver.Stop();
		}
	}

	static void OnDeclaration(void* UserData, const XML_Char* Version, const XML_Char* Encoding, int Standalone)
	{
		FFastXmlDriver& Driver = From(UserData);
		std::string Text;
		const auto Add = [&Text](const char* Key, const char* Item)
		{
			Text += Text.empty() ? "" : " ";
			Text.append(Key).append("=\"").append(Item).append("\"");
		};
		if (Version)
		{
			Add("version", Version);
		}
		if (Encoding)
		{
			Add("encoding", Encoding);
		}
		if (Standalone >= 0)
		{
			Add("standalone", Standalone ? "yes" : "no");
		}
		Utf8ToTchar(Text.data(), Text.size(), Driver.Value);
		if (!Driver.Callback.ProcessXmlDeclaration(Driver.Value.data(), int32(XML_GetCurrentLineNumber(Driver.Parser))))
		{
			Driver.Stop();
		}
	}
};

// Runs expat over the UTF-8 pieces Feed hands it (Feed(Piece, bOutLast) false: nothing more could be read).
template <class FeedType>
bool ParseFed(IFastXmlCallback& Callback, FeedType&& Feed, FText& OutErrorMessage, int32& OutErrorLineNumber)
{
	// The text is decoded already, whatever encoding its declaration names; expat reads it as UTF-8.
	XML_Parser Parser = XML_ParserCreate("UTF-8");
	if (!Parser)
	{
		OutErrorMessage = FText::FromString(TEXT("Out of memory creating the XML parser"));
		OutErrorLineNumber = 0;
		return false;
	}
	FFastXmlDriver Driver(Callback);
	Driver.Parser = Parser;
	XML_SetUserData(Parser, &Driver);
	XML_SetElementHandler(Parser, &FFastXmlDriver::OnStart, &FFastXmlDriver::OnEnd);
	XML_SetCharacterDataHandler(Parser, &FFastXmlDriver::OnText);
	XML_SetCommentHandler(Parser, &FFastXmlDriver::OnComment);
	XML_SetXmlDeclHandler(Parser, &FFastXmlDriver::OnDeclaration);

	FUtf8Piece Piece;
	bool bOk = true;
	bool bLast = false;
	bool bRead = true;
	while (bOk && !bLast)
	{
		bRead = Feed(Piece, bLast);
		if (!bRead)
		{
			break;
		}
		bOk = XML_Parse(Parser, Piece.Bytes.data(), int(Piece.Size), bLast) == XML_STATUS_OK;
	}

	if (!bRead)
	{
		bOk = false;
		OutErrorLineNumber = 0;
		OutErrorMessage = FText::FromString(TEXT("Failed to read the file to its end"));
	}
	else if (!bOk)
	{
		OutErrorLineNumber = int32(XML_GetCurrentLineNumber(Parser));
		const std::string Reason =
		    Driver.bStopped ? "the parse was stopped" : XML_ErrorString(XML_GetErrorCode(Parser));
		std::vector<TCHAR> Message;
		Utf8ToTchar(Reason.data(), Reason.size(), Message);
		OutErrorMessage = FText::FromString(FString(Message.data()));
	}
	XML_ParserFree(Parser);
	return bOk;
}

bool Parse(IFastXmlCallback& Callback, const TCHAR* Text, size_t Length, FText& OutErrorMessage,
           int32& OutErrorLineNumber)
{
	// A byte order mark is no part of the document.
	size_t Done = Length > 0 && Text[0] == 0xFEFF ? 1 : 0;
	return ParseFed(
	    Callback,
	    [Text, Length, &Done](FUtf8Piece& Piece, bool& bOutLast)
	    {
		    const size_t Units = std::min(Length - Done, ParsePieceUnits);
		    const bool bLastPiece = Done + Units == Length;
		    Done += TcharToUtf8(Text + Done, Units, bLastPiece, Piece);
		    bOutLast = Done >= Length;
		    return true;
	    },
	    OutErrorMessage, OutErrorLineNumber);
}

// A file whose text is UTF-8 (or has no byte order mark of UTF-16), read a piece at a time: each piece is decoded as
// the engine's file loader decodes the whole file, so that what the callback gets is the same, and never held whole.
bool ParseUtf8File(IFastXmlCallback& Callback, FArchive& File, FText& OutErrorMessage, int32& OutErrorLineNumber)
{
	std::string Bytes;
	bool bFirst = true;
	return ParseFed(
	    Callback,
	    [&File, &Bytes, &bFirst](FUtf8Piece& Piece, bool& bOutLast)
	    {
		    const int64 Count = std::min(FilePieceBytes, File.TotalSize() - File.Tell());
		    const size_t Held = Bytes.size();
		    Bytes.resize(Held + size_t(std::max<int64>(Count, 0)));
		    File.Serialize(Bytes.data() + Held, Count);
		    if (File.IsError())
		    {
			    return false;
		    }
		    bOutLast = File.AtEnd();
		    size_t Skip = 0;
		    if (bFirst && Bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
		    {
			    Skip = 3;
		    }
		    const size_t Whole = bOutLast ? Bytes.size() : WholeCharacterBytes(Bytes);
		    std::u16string Text = UE::String::Utf8ToUtf16(Bytes.data() + Skip, Whole - Skip);
		    Bytes.erase(0, Whole);
		    // As for text in memory, a byte order mark that is left is no part of the document either.
		    const size_t Mark = bFirst && !Text.empty() && Text[0] == 0xFEFF ? 1 : 0;
		    bFirst = false;
		    TcharToUtf8(Text.data() + Mark, Text.size() - Mark, true, Piece);
		    return true;
	    },
	    OutErrorMessage, OutErrorLineNumber);
}
} // namespace

bool FFastXml::ParseXmlFile(IFastXmlCallback* Callback, const TCHAR* XmlFilePath, TCHAR* XmlFileContents,
                            FFeedbackContext* /*FeedbackContext*/, const bool /*bShowSlowTaskDialog*/,
                            const bool /*bShowCancelButton*/, FText& OutErrorMessage, int32& OutErrorLineNumber)
{
	OutErrorLineNumber = 0;
	if (!Callback)
	{
		OutErrorMessage = FText::FromString(TEXT("No callback to parse the XML for"));
		return false;
	}
	if (XmlFilePath && *XmlFilePath)
	{
		const std::unique_ptr<FArchive> File(IFileManager::Get().CreateFileReader(XmlFilePath));
		char Mark[2] = {};
		if (File && File->TotalSize() >= 2)
		{
			File->Serialize(Mark, 2);
			File->Seek(0);
		}
		const bool bUtf16 = (Mark[0] == '\xFF' && Mark[1] == '\xFE') || (Mark[0] == '\xFE' && Mark[1] == '\xFF');
		if (File && !File->IsError() && !bUtf16)
		{
			return ParseUtf8File(*Callback, *File, OutErrorMessage, OutErrorLineNumber);
		}
		FString Text;
		if (!FFileHelper::LoadFileToString(Text, XmlFilePath))
		{
			OutErrorMessage = FText::FromString(FString::Printf(TEXT("Failed to load the file: %s"), XmlFilePath));
			return false;
		}
		return Parse(*Callback, *Text, size_t(Text.Len()), OutErrorMessage, OutErrorLineNumber);
	}
	if (!XmlFileContents)
	{
		OutErrorMessage = FText::FromString(TEXT("Neither a file nor contents to parse"));
		return false;
	}
	size_t Length = 0;
	while (XmlFileContents[Length] != 0)
	{
		++Length;
	}
	return Parse(*Callback, XmlFileContents, Length, OutErrorMessage, OutErrorLineNumber);
}
