#pragma once

#include "HAL/Platform.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "UObject/NameTypes.h"

#include <memory>
#include <type_traits>

namespace ETextComparisonLevel
{
enum Type
{
	Default,
	Primary,
	Secondary,
	Tertiary,
	Quaternary,
	Quinary
};
} // namespace ETextComparisonLevel

class FFormatArgumentValue;
using FFormatOrderedArguments = TArray<FFormatArgumentValue>;

// Text shown to a user: an immutable display string shared between copies, plus the namespace, key and source
// string of a localisable text. There is one culture, invariant English, and no translation tables, so the display
// string of a localisable text is its source string.
class CORE_API FText
{
public:
	FText();

	static const FText& GetEmpty();
	static FText FromString(const FString& String);
	static FText FromString(FString&& String);
	static FText FromName(const FName& Name);
	static FText AsCultureInvariant(const FString& String) { return FromString(String); }
	// What NSLOCTEXT and LOCTEXT expand to.
	static FText AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* Source);

	// Whole numbers with ',' grouping from four digits on ("1,234"); fractions with at most three digits,
	// rounded, trailing zeros dropped ("1.5", "0.333").
	static FText AsNumber(int32 Value);
	static FText AsNumber(int64 Value);
	static FText AsNumber(uint32 Value);
	static FText AsNumber(uint64 Value);
	static FText AsNumber(float Value);
	static FText AsNumber(double Value);

	// Replaces "{0}", "{1}"... with the ordered arguments; a placeholder without an argument stays as written.
	// A backtick makes the following '{', '}' or '`' literal.
	static FText Format(const FText& Pattern, const FFormatOrderedArguments& Arguments);
	template <typename... ArgTypes>
	requires(std::is_constructible_v<FFormatArgumentValue, ArgTypes>&&...) static FText
	    Format(const FText& Pattern, ArgTypes&&... Args);

	const FString& ToString() const { return Data->Display; }
	bool IsEmpty() const { return Data->Display.IsEmpty(); }
	bool IsEmptyOrWhitespace() const;
	// Lower case in a culture-correct way (ICU, the invariant culture): every script's letters, not only A-Z.
	FText ToLower() const;
	FText ToUpper() const;
	// Compares display strings; Primary and Secondary ignore letter case, the other levels do not.
	bool EqualTo(const FText& Other, ETextComparisonLevel::Type Level = ETextComparisonLevel::Default) const;
	bool EqualToCaseIgnored(const FText& Other) const { return EqualTo(Other, ETextComparisonLevel::Secondary); }
	// True when both share the same data: copies of one text, or two empty texts.
	bool IdenticalTo(const FText& Other) const { return Data == Other.Data || (IsEmpty() && Other.IsEmpty()); }

	bool IsLocalized() const { return Data->bLocalized; }
	const FString& GetNamespace() const { return Data->Namespace; }
	const FString& GetKey() const { return Data->Key; }
	const FString& GetSourceString() const { return Data->bLocalized ? Data->Source : Data->Display; }

private:
	struct FTextData
	{
		FString Display;
		FString Namespace;
		FString Key;
		FString Source;
		bool bLocalized = false;
	};
	explicit FText(std::shared_ptr<const FTextData> InData) : Data(std::move(InData)) {}

	std::shared_ptr<const FTextData> Data;
};

// One argument of FText::Format: a number (formatted as by FText::AsNumber) or a text.
class CORE_API FFormatArgumentValue
{
public:
	template <typename T>
	requires(std::is_integral_v<T>&& std::is_signed_v<T>) FFormatArgumentValue(T Value)
	    : Kind(EKind::Signed), Signed(Value)
	{
	}
	template <typename T>
	requires(std::is_integral_v<T> && !std::is_signed_v<T>) FFormatArgumentValue(T Value)
	    : Kind(EKind::Unsigned), Unsigned(Value)
	{
	}
	FFormatArgumentValue(float Value) : Kind(EKind::Float), Double(Value) {}
	FFormatArgumentValue(double Value) : Kind(EKind::Double), Double(Value) {}
	FFormatArgumentValue(const FText& Value) : Kind(EKind::Text), Text(Value) {}
	FFormatArgumentValue(const FString& Value) : Kind(EKind::Text), Text(FText::FromString(Value)) {}
	FFormatArgumentValue(const TCHAR* Value) : Kind(EKind::Text), Text(FText::FromString(FString(Value))) {}

	// The text that replaces the placeholder.
	FString ToFormattedString() const;

private:
	enum class EKind : uint8
	{
		Signed,
		Unsigned,
		Float,
		Double,
		Text
	};
	EKind Kind;
	int64 Signed = 0;
	uint64 Unsigned = 0;
	double Double = 0.0;
	FText Text;
};

template <typename... ArgTypes>
requires(std::is_constructible_v<FFormatArgumentValue, ArgTypes>&&...) FText FText::Format(const FText& Pattern,
                                                                                           ArgTypes&&... Args)
{
	FFormatOrderedArguments Arguments;
	(Arguments.Emplace(std::forward<ArgTypes>(Args)), ...);
	return Format(Pattern, Arguments);
}

#define NSLOCTEXT(InNamespace, InKey, InTextLiteral)                                                                   \
	FText::AsLocalizable_Advanced(TEXT(InNamespace), TEXT(InKey), TEXT(InTextLiteral))
// Needs LOCTEXT_NAMESPACE defined as a string literal by the including source file.
#define LOCTEXT(InKey, InTextLiteral) NSLOCTEXT(LOCTEXT_NAMESPACE, InKey, InTextLiteral)
#define INVTEXT(InTextLiteral) FText::AsCultureInvariant(FString(TEXT(InTextLiteral)))
