#include "XmlNode.h"

const FXmlNode* FXmlNode::FindChildNode(const FString& InTag) const
{
	for (const FXmlNode* Child : Children)
	{
		if (Child->Tag == InTag)
		{
			return Child;
		}
	}
	return nullptr;
}

FXmlNode* FXmlNode::FindChildNode(const FString& InTag)
{
	return const_cast<FXmlNode*>(static_cast<const FXmlNode*>(this)->FindChildNode(InTag));
}

FString FXmlNode::GetAttribute(const FString& InTag) const
{
	for (const FXmlAttribute& Attribute : Attributes)
	{
		if (Attribute.GetTag() == InTag)
		{
			return Attribute.GetValue();
		}
	}
	return FString();
}
