#pragma once

#include "CoreMinimal.h"

class FXmlFile;

// One attribute of an element: its name and its value, entities already decoded.
class XMLPARSER_API FXmlAttribute
{
public:
	FXmlAttribute(const FString& InTag, const FString& InValue) : Tag(InTag), Value(InValue) {}

	const FString& GetTag() const { return Tag; }
	const FString& GetValue() const { return Value; }

private:
	FString Tag;
	FString Value;
};

// One element of a parsed document. Nodes belong to their FXmlFile and live as long as it holds the document.
class XMLPARSER_API FXmlNode
{
	friend class FXmlFile;

public:
	FXmlNode(const FXmlNode&) = delete;
	FXmlNode& operator=(const FXmlNode&) = delete;

	// The next sibling in document order; null for the last child.
	const FXmlNode* GetNextNode() const { return NextNode; }
	const TArray<FXmlNode*>& GetChildrenNodes() const { return Children; }
	const FXmlNode* GetFirstChildNode() const { return Children.Num() > 0 ? Children[0] : nullptr; }
	// The first child with this tag; null when there is none.
	const FXmlNode* FindChildNode(const FString& InTag) const;
	FXmlNode* FindChildNode(const FString& InTag);
	const FString& GetTag() const { return Tag; }
	// The element's own text, every entity and character reference decoded.
	const FString& GetContent() const { return Content; }
	void SetContent(const FString& InContent) { Content = InContent; }
	const TArray<FXmlAttribute>& GetAttributes() const { return Attributes; }
	void SetAttributes(const TArray<FXmlAttribute>& InAttributes) { Attributes = InAttributes; }
	// The value of the attribute with this name; empty when the element has none.
	FString GetAttribute(const FString& InTag) const;

private:
	FXmlNode() = default;
	~FXmlNode() = default;

	FString Tag;
	FString Content;
	TArray<FXmlAttribute> Attributes;
	TArray<FXmlNode*> Children;
	FXmlNode* NextNode = nullptr;
};
