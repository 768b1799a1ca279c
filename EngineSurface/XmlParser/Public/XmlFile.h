#pragma once

#include "CoreMinimal.h"
#include "XmlNode.h"

namespace EConstructMethod
{
enum Type
{
	ConstructFromFile,
	ConstructFromBuffer,
};
} // namespace EConstructMethod

// A whole XML document read into a tree of nodes. The headless build parses with expat, which decodes the five
// predefined entities, every decimal and hexadecimal character reference and entities declared in the document's
// own DTD; the text of nodes and attributes is UTF-16 with characters beyond the BMP as surrogate pairs.
class XMLPARSER_API FXmlFile
{
public:
	FXmlFile() = default;
	// InFile is a path, or the document's text itself with ConstructFromBuffer.
	FXmlFile(const FString& InFile, EConstructMethod::Type ConstructMethod = EConstructMethod::ConstructFromFile);
	~FXmlFile();
	FXmlFile(const FXmlFile&) = delete;
	FXmlFile& operator=(const FXmlFile&) = delete;

	// Replaces what the file held; false, with the reason in GetLastError, when the document cannot be read or is
	// not well-formed XML. A failed load leaves no root node.
	bool LoadFile(const FString& Path, EConstructMethod::Type ConstructMethod = EConstructMethod::ConstructFromFile);
	FString GetLastError() const { return ErrorMessage; }
	void Clear();
	bool IsValid() const { return bFileLoaded; }

	const FXmlNode* GetRootNode() const { return RootNode; }
	FXmlNode* GetRootNode() { return RootNode; }

private:
	struct FTreeBuilder;

	bool Parse(const FString& Text);

	FXmlNode* RootNode = nullptr;
	// Every node of the document, so that freeing a deep tree never recurses.
	TArray<FXmlNode*> AllNodes;
	FString ErrorMessage;
	bool bFileLoaded = false;
};
