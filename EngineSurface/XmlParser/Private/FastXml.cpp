#include "FastXml.h"

#include "Misc/FileHelper.h"

#include <expat.h>

#include <string>
#include <vector>

namespace
{
// Expat's pieces are measured in int.
constexpr size_t ParseChunkBytes = size_t(1) << 26;

// Expat hands over well-formed UTF-8; the callback takes UTF-16 text ending in a zero.
void Utf8ToTchar(const char* Data, size_t Length, std::vector<TCHAR>& Out)
{
	Out.clear();
	const unsigned char* Cursor = reinterpret_cast<const unsigned char*>(Data);
	const unsigned char* const End = Cursor + Length;
	while (Cursor < End)
	{
		uint32 Code = *Cursor++;
		int32 Extra = Code >= 0xF0 ? 3 : Code >= 0xE0 ? 2 : Code >= 0xC0 ? 1 : 0;
		Code &= Extra == 3 ? 0x07 : Extra == 2 ? 0x0F : Extra == 1 ? 0x1F : 0x7F;
		for (; Extra > 0 && Cursor < End; --Extra)
		{
			Code = (Code << 6) | (*Cursor++ & 0x3F);
		}
		if (Code >= 0x10000)
		{
			Code -= 0x10000;
			Out.push_back(TCHAR(0xD800 + (Code >> 10)));
			Out.push_back(TCHAR(0xDC00 + (Code & 0x3FF)));
		}
		else
		{
			Out.push_back(TCHAR(Code));
		}
	}
	Out.push_back(TCHAR(0));
}

void Utf8ToTchar(const char* Text, std::vector<TCHAR>& Out)
{
	Utf8ToTchar(Text, std::char_traits<char>::length(Text), Out);
}

// Turns expat's events into the callback's: an element is announced once the text after its start tag is known,
// that is at the next tag, then its attributes follow.
struct FFastXmlDriver
{
	IFastXmlCallback& Callback;
	XML_Parser Parser = nullptr;
	bool bStopped = false;

	bool bPending = false;
	std::string PendingName;
	std::vector<std::string> PendingAttributes;
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
		Utf8ToTchar(PendingName.data(), PendingName.size(), Name);
		Utf8ToTchar(PendingData.data(), PendingData.size(), Value);
		if (!Callback.ProcessElement(Name.data(), Value.data(), PendingLine))
		{
			Stop();
			return;
		}
		for (size_t Index = 0; Index + 1 < PendingAttributes.size(); Index += 2)
		{
			Utf8ToTchar(PendingAttributes[Index].data(), PendingAttributes[Index].size(), Name);
			Utf8ToTchar(PendingAttributes[Index + 1].data(), PendingAttributes[Index + 1].size(), Value);
			if (!Callback.ProcessAttribute(Name.data(), Value.data()))
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
		Driver.PendingName.assign(InName);
		Driver.PendingData.clear();
		Driver.PendingLine = int32(XML_GetCurrentLineNumber(Driver.Parser));
		size_t Count = 0;
		for (; Attributes[Count]; ++Count)
		{
			if (Driver.PendingAttributes.size() <= Count)
			{
				Driver.PendingAttributes.emplace_back();
			}
			Driver.PendingAttributes[Count].assign(Attributes[Count]);
		}
		Driver.PendingAttributes.resize(Count);
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
		{ Text += (Text.empty() ? "" : " ") + std::string(Key) + "=\"" + Item + "\""; };
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

bool Parse(IFastXmlCallback& Callback, const TCHAR* Text, size_t Length, FText& OutErrorMessage,
           int32& OutErrorLineNumber)
{
	// The text is UTF-16 in memory, whatever encoding its declaration names.
	XML_Parser Parser = XML_ParserCreate("UTF-16LE");
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

	const char* Data = reinterpret_cast<const char*>(Text);
	size_t Remaining = Length * sizeof(TCHAR);
	bool bOk = true;
	do
	{
		const size_t Piece = Remaining < ParseChunkBytes ? Remaining : ParseChunkBytes;
		Remaining -= Piece;
		bOk = XML_Parse(Parser, Data, int(Piece), Remaining == 0) == XML_STATUS_OK;
		Data += Piece;
	} while (bOk && Remaining > 0);

	if (!bOk)
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
