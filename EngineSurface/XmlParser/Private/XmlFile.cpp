#include "XmlFile.h"

#include "Misc/FileHelper.h"

#include <expat.h>

#include <string>
#include <vector>

namespace
{
FString FromUtf8Bytes(const char* Data, size_t Length)
{
	const FUTF8ToTCHAR Converted(Data, static_cast<int32>(Length));
	return FString::ConstructFromPtrSize(Converted.Get(), Converted.Length());
}

FString FromUtf8Bytes(const char* Data)
{
	return FromUtf8Bytes(Data, std::char_traits<char>::length(Data));
}

// Large documents are handed to expat in pieces, whose length it takes as an int.
constexpr size_t ParseChunkBytes = size_t(1) << 26;
} // namespace

// Builds the tree from expat's callbacks. Text is gathered in UTF-8 per open element and converted once, at the
// element's end, so a text split over many callbacks costs one conversion.
struct FXmlFile::FTreeBuilder
{
	TArray<FXmlNode*>& AllNodes;
	FXmlNode* Root = nullptr;
	std::vector<FXmlNode*> Open;
	std::vector<std::string> OpenText;

	explicit FTreeBuilder(TArray<FXmlNode*>& InAllNodes) : AllNodes(InAllNodes) {}

	static void OnStart(void* UserData, const XML_Char* Name, const XML_Char** Attributes)
	{
		FTreeBuilder& Builder = *static_cast<FTreeBuilder*>(UserData);
		FXmlNode* Node = new FXmlNode();
		Builder.AllNodes.Add(Node);
		Node->Tag = FromUtf8Bytes(Name);
		for (int32 Index = 0; Attributes[Index]; Index += 2)
		{
			Node->Attributes.Emplace(FromUtf8Bytes(Attributes[Index]), FromUtf8Bytes(Attributes[Index + 1]));
		}
		if (Builder.Open.empty())
		{
			Builder.Root = Node;
		}
		else
		{
			TArray<FXmlNode*>& Siblings = Builder.Open.back()->Children;
			if (Siblings.Num() > 0)
			{
				Siblings.Last()->NextNode = Node;
			}
			Siblings.Add(Node);
		}
		Builder.Open.push_back(Node);
		Builder.OpenText.emplace_back();
	}

	static void OnEnd(void* UserData, const XML_Char* Name)
	{
		FTreeBuilder& Builder = *static_cast<FTreeBuilder*>(UserData);
		const std::string& Text = Builder.OpenText.back();
		Builder.Open.back()->Content = FromUtf8Bytes(Text.data(), Text.size());
		Builder.Open.pop_back();
		Builder.OpenText.pop_back();
	}

	static void OnText(void* UserData, const XML_Char* Text, int Length)
	{
		FTreeBuilder& Builder = *static_cast<FTreeBuilder*>(UserData);
		if (!Builder.OpenText.empty())
		{
			Builder.OpenText.back().append(Text, static_cast<size_t>(Length));
		}
	}
};

FXmlFile::FXmlFile(const FString& InFile, EConstructMethod::Type ConstructMethod)
{
	LoadFile(InFile, ConstructMethod);
}

FXmlFile::~FXmlFile()
{
	Clear();
}

void FXmlFile::Clear()
{
	for (FXmlNode* Node : AllNodes)
	{
		delete Node;
	}
	AllNodes.Empty();
	RootNode = nullptr;
	bFileLoaded = false;
}

bool FXmlFile::LoadFile(const FString& Path, EConstructMethod::Type ConstructMethod)
{
	Clear();
	ErrorMessage.Empty();
	if (ConstructMethod == EConstructMethod::ConstructFromBuffer)
	{
		return Parse(Path);
	}
	FString Text;
	if (!FFileHelper::LoadFileToString(Text, *Path))
	{
		ErrorMessage = FString::Printf(TEXT("Failed to load the file: %s"), *Path);
		return false;
	}
	return Parse(Text);
}

bool FXmlFile::Parse(const FString& Text)
{
	const FTCHARToUTF8 Utf8(*Text, Text.Len());
	// The text is already decoded; whatever encoding the declaration names, these bytes are UTF-8.
	XML_Parser Parser = XML_ParserCreate("UTF-8");
	if (!Parser)
	{
		ErrorMessage = TEXT("Out of memory creating the XML parser");
		return false;
	}
	FTreeBuilder Builder(AllNodes);
	XML_SetUserData(Parser, &Builder);
	XML_SetElementHandler(Parser, &FTreeBuilder::OnStart, &FTreeBuilder::OnEnd);
	XML_SetCharacterDataHandler(Parser, &FTreeBuilder::OnText);

	const char* Data = Utf8.Get();
	size_t Remaining = static_cast<size_t>(Utf8.Length());
	bool bOk = true;
	do
	{
		const size_t Piece = Remaining < ParseChunkBytes ? Remaining : ParseChunkBytes;
		Remaining -= Piece;
		bOk = XML_Parse(Parser, Data, static_cast<int>(Piece), Remaining == 0) == XML_STATUS_OK;
		Data += Piece;
	} while (bOk && Remaining > 0);

	if (!bOk)
	{
		ErrorMessage = FString::Printf(TEXT("XML error at line %d, column %d: %s"),
		                               static_cast<int32>(XML_GetCurrentLineNumber(Parser)),
		                               static_cast<int32>(XML_GetCurrentColumnNumber(Parser)) + 1,
		                               *FromUtf8Bytes(XML_ErrorString(XML_GetErrorCode(Parser))));
		XML_ParserFree(Parser);
		Clear();
		return false;
	}
	XML_ParserFree(Parser);
	RootNode = Builder.Root;
	bFileLoaded = RootNode != nullptr;
	return bFileLoaded;
}
