#pragma once

#include "CoreMinimal.h"

class FFeedbackContext;

// Receives a document's parts in document order as FFastXml reads them. Each call returns whether to go on;
// false stops the parse, which then fails.
class IFastXmlCallback
{
public:
	virtual ~IFastXmlCallback() = default;

	// Called after the document's header is read: the declaration's text, e.g. version="1.0" encoding="UTF-8".
	virtual bool ProcessXmlDeclaration(const TCHAR* ElementData, int32 XmlFileLineNumber) = 0;
	// Opens an element's scope, with the text that follows its start tag up to the next tag (empty when none).
	virtual bool ProcessElement(const TCHAR* ElementName, const TCHAR* ElementData, int32 XmlFileLineNumber) = 0;
	// One attribute of the element whose scope was opened last, after its ProcessElement.
	virtual bool ProcessAttribute(const TCHAR* AttributeName, const TCHAR* AttributeValue) = 0;
	// Closes the scope of the element opened last.
	virtual bool ProcessClose(const TCHAR* Element) = 0;
	virtual bool ProcessComment(const TCHAR* Comment) = 0;
};

// Reads an XML document without building a tree: its elements, attributes and comments go to a callback as they
// are read. The headless build parses with expat.
class XMLPARSER_API FFastXml
{
public:
	// Reads the file at XmlFilePath, or, when that is empty, XmlFileContents, which the parse may change. False on a
	// document that is not well-formed or a callback that stopped the parse, with the reason and its line.
	static bool ParseXmlFile(IFastXmlCallback* Callback, const TCHAR* XmlFilePath, TCHAR* XmlFileContents,
	                         FFeedbackContext* FeedbackContext, const bool bShowSlowTaskDialog,
	                         const bool bShowCancelButton, FText& OutErrorMessage, int32& OutErrorLineNumber);
};
