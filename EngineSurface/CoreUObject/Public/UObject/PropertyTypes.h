#pragma once

#include "UObject/Class.h"
#include "UObject/GarbageCollection.h"
#include "UObject/ObjectPtr.h"
#include "UObject/ScriptDelegates.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/WeakObjectPtrTemplates.h"
#include "Templates/SubclassOf.h"

#include <memory>
#include <type_traits>

class UScriptStruct;

// How reflected properties of each C++ type are walked by the collector and written and read as text.
// The header tool only names the member; the compiler picks the traits from the member's declared type.
namespace UE::Reflection
{
// Text helpers shared by the traits.
COREUOBJECT_API FString QuoteString(const FString& Value);
COREUOBJECT_API bool UnquoteString(const FString& Text, FString& Out);
// Splits "(a,b,(c,d))" into its top-level items; false when the text is not a parenthesised list.
COREUOBJECT_API bool SplitList(const FString& Text, TArray<FString>& OutItems);
// Splits "Name=Value" at the first '=' outside quotes and parentheses.
COREUOBJECT_API bool SplitAssignment(const FString& Text, FString& OutName, FString& OutValue);
COREUOBJECT_API bool ParseInteger(const FString& Text, int64& Out);
COREUOBJECT_API bool ParseUnsigned(const FString& Text, uint64& Out);
COREUOBJECT_API bool ParseDouble(const FString& Text, double& Out);
COREUOBJECT_API FString FormatDouble(double Value, int32 SignificantDigits);
COREUOBJECT_API UObject* ResolveObjectPath(const UClass* Class, const FString& Path);
COREUOBJECT_API UClass* ResolveClassPath(const UClass* BaseClass, const FString& Path);
COREUOBJECT_API bool ExportStruct(const UStruct* Struct, const void* Value, FString& Out);
COREUOBJECT_API bool ImportStruct(const UStruct* Struct, void* Value, const FString& Text);

template <typename T>
concept CReflectedStruct = requires
{
	T::StaticStruct();
};

template <typename T>
concept CObjectType = std::is_base_of_v<UObject, T>;

template <typename T>
struct TPropertyTraits
{
	static constexpr bool bHasReferences = false;
	static void Collect(T&, FReferenceCollector&) {}
	static bool Export(const T&, FString&) { return false; }
	static bool Import(T&, const FString&) { return false; }
};

template <typename T>
requires std::is_integral_v<T> &&(!std::is_same_v<T, bool>)struct TPropertyTraits<T>
{
	static constexpr bool bHasReferences = false;
	static void Collect(T&, FReferenceCollector&) {}
	static bool Export(const T& Value, FString& Out)
	{
		Out = FString::Printf(TEXT("%lld"), static_cast<long long>(Value));
		if constexpr (std::is_unsigned_v<T>)
		{
			Out = FString::Printf(TEXT("%llu"), static_cast<unsigned long long>(Value));
		}
		return true;
	}
	static bool Import(T& Value, const FString& Text)
	{
		if constexpr (std::is_unsigned_v<T>)
		{
			uint64 Parsed = 0;
			if (!ParseUnsigned(Text, Parsed) || Parsed > uint64(std::numeric_limits<T>::max()))
			{
				return false;
			}
			Value = T(Parsed);
		}
		else
		{
			int64 Parsed = 0;
			if (!ParseInteger(Text, Parsed) || Parsed < int64(std::numeric_limits<T>::min()) ||
			    Parsed > int64(std::numeric_limits<T>::max()))
			{
				return false;
			}
			Value = T(Parsed);
		}
		return true;
	}
};

template <>
struct TPropertyTraits<bool>
{
	static constexpr bool bHasReferences = false;
	static void Collect(bool&, FReferenceCollector&) {}
	static bool Export(const bool& Value, FString& Out)
	{
		Out = Value ? TEXT("True") : TEXT("False");
		return true;
	}
	static bool Import(bool& Value, const FString& Text)
	{
		const FString Trimmed = Text.TrimStartAndEnd();
		if (Trimmed == TEXT("True") || Trimmed == TEXT("1") || Trimmed == TEXT("Yes"))
		{
			Value = true;
			return true;
		}
		if (Trimmed == TEXT("False") || Trimmed == TEXT("0") || Trimmed == TEXT("No"))
		{
			Value = false;
			return true;
		}
		return false;
	}
};

template <typename T>
requires std::is_floating_point_v<T>
struct TPropertyTraits<T>
{
	static constexpr bool bHasReferences = false;
	static void Collect(T&, FReferenceCollector&) {}
	static bool Export(const T& Value, FString& Out)
	{
		Out = FormatDouble(double(Value), std::is_same_v<T, float> ? 9 : 17);
		return true;
	}
	static bool Import(T& Value, const FString& Text)
	{
		double Parsed = 0.0;
		if (!ParseDouble(Text, Parsed))
		{
			return false;
		}
		Value = T(Parsed);
		return true;
	}
};

template <typename T>
requires std::is_enum_v<T>
struct TPropertyTraits<T>
{
	static constexpr bool bHasReferences = false;
	static void Collect(T&, FReferenceCollector&) {}
	static bool Export(const T& Value, FString& Out)
	{
		Out = FString::Printf(TEXT("%lld"), static_cast<long long>(Value));
		return true;
	}
	static bool Import(T& Value, const FString& Text)
	{
		int64 Parsed = 0;
		if (!ParseInteger(Text, Parsed))
		{
			return false;
		}
		Value = static_cast<T>(Parsed);
		return true;
	}
};

template <>
struct TPropertyTraits<FString>
{
	static constexpr bool bHasReferences = false;
	static void Collect(FString&, FReferenceCollector&) {}
	static bool Export(const FString& Value, FString& Out)
	{
		Out = QuoteString(Value);
		return true;
	}
	static bool Import(FString& Value, const FString& Text) { return UnquoteString(Text, Value); }
};

template <>
struct TPropertyTraits<FName>
{
	static constexpr bool bHasReferences = false;
	static void Collect(FName&, FReferenceCollector&) {}
	static bool Export(const FName& Value, FString& Out)
	{
		Out = QuoteString(Value.ToString());
		return true;
	}
	static bool Import(FName& Value, const FString& Text)
	{
		FString Parsed;
		if (!UnquoteString(Text, Parsed))
		{
			return false;
		}
		Value = FName(Parsed);
		return true;
	}
};

template <>
struct TPropertyTraits<FText>
{
	static constexpr bool bHasReferences = false;
	static void Collect(FText&, FReferenceCollector&) {}
	static bool Export(const FText& Value, FString& Out)
	{
		Out = QuoteString(Value.ToString());
		return true;
	}
	static bool Import(FText& Value, const FString& Text)
	{
		FString Parsed;
		if (!UnquoteString(Text, Parsed))
		{
			return false;
		}
		Value = FText::FromString(Parsed);
		return true;
	}
};

template <typename T>
struct TObjectReferenceTraits
{
	static constexpr bool bHasReferences = true;
	static bool ExportObject(const UObject* Object, FString& Out)
	{
		Out = Object ? QuoteString(Object->GetPathName()) : FString(TEXT("None"));
		return true;
	}
	static bool ImportObject(T*& Value, const FString& Text)
	{
		FString Path;
		if (!UnquoteString(Text, Path))
		{
			return false;
		}
		if (Path.IsEmpty() || Path == TEXT("None"))
		{
			Value = nullptr;
			return true;
		}
		UObject* Found = ResolveObjectPath(T::StaticClass(), Path);
		if (!Found)
		{
			return false;
		}
		Value = static_cast<T*>(Found);
		return true;
	}
};

template <CObjectType T>
struct TPropertyTraits<T*> : TObjectReferenceTraits<T>
{
	static void Collect(T*& Value, FReferenceCollector& Collector) { Collector.AddReferencedObject(Value); }
	static bool Export(T* const& Value, FString& Out) { return TObjectReferenceTraits<T>::ExportObject(Value, Out); }
	static bool Import(T*& Value, const FString& Text) { return TObjectReferenceTraits<T>::ImportObject(Value, Text); }
	static UClass* ReferencedClass() { return T::StaticClass(); }
};

template <CObjectType T>
struct TPropertyTraits<TObjectPtr<T>> : TObjectReferenceTraits<T>
{
	static void Collect(TObjectPtr<T>& Value, FReferenceCollector& Collector) { Collector.AddReferencedObject(Value); }
	static bool Export(const TObjectPtr<T>& Value, FString& Out)
	{
		return TObjectReferenceTraits<T>::ExportObject(Value.Get(), Out);
	}
	static bool Import(TObjectPtr<T>& Value, const FString& Text)
	{
		return TObjectReferenceTraits<T>::ImportObject(Value.GetRawRef(), Text);
	}
	static UClass* ReferencedClass() { return T::StaticClass(); }
};

template <typename T>
struct TPropertyTraits<TWeakObjectPtr<T>>
{
	static constexpr bool bHasReferences = false;
	static void Collect(TWeakObjectPtr<T>&, FReferenceCollector&) {}
	static bool Export(const TWeakObjectPtr<T>& Value, FString& Out)
	{
		Out = Value.Get() ? QuoteString(Value.Get()->GetPathName()) : FString(TEXT("None"));
		return true;
	}
	static bool Import(TWeakObjectPtr<T>&, const FString&) { return false; }
};

template <typename T>
struct TPropertyTraits<TSubclassOf<T>>
{
	static constexpr bool bHasReferences = true;
	static constexpr bool bIsClass = true;
	static void Collect(TSubclassOf<T>& Value, FReferenceCollector& Collector)
	{
		Collector.AddReferencedObject(Value.GetRawRef());
	}
	static bool Export(const TSubclassOf<T>& Value, FString& Out)
	{
		Out = Value.Get() ? QuoteString(Value.Get()->GetPathName()) : FString(TEXT("None"));
		return true;
	}
	static bool Import(TSubclassOf<T>& Value, const FString& Text)
	{
		FString Path;
		if (!UnquoteString(Text, Path))
		{
			return false;
		}
		if (Path.IsEmpty() || Path == TEXT("None"))
		{
			Value = nullptr;
			return true;
		}
		UClass* Found = ResolveClassPath(T::StaticClass(), Path);
		if (!Found)
		{
			return false;
		}
		Value = Found;
		return true;
	}
	static UClass* ReferencedClass() { return T::StaticClass(); }
};

template <typename T>
struct TPropertyTraits<TArray<T>>
{
	static constexpr bool bHasReferences = TPropertyTraits<T>::bHasReferences;
	static void Collect(TArray<T>& Value, FReferenceCollector& Collector)
	{
		for (T& Item : Value)
		{
			TPropertyTraits<T>::Collect(Item, Collector);
		}
	}
	static bool Export(const TArray<T>& Value, FString& Out)
	{
		Out = TEXT("(");
		for (int32 Index = 0; Index < Value.Num(); ++Index)
		{
			FString Item;
			if (!TPropertyTraits<T>::Export(Value[Index], Item))
			{
				return false;
			}
			if (Index > 0)
			{
				Out += TEXT(",");
			}
			Out += Item;
		}
		Out += TEXT(")");
		return true;
	}
	static bool Import(TArray<T>& Value, const FString& Text)
	{
		TArray<FString> Items;
		if (!SplitList(Text, Items))
		{
			return false;
		}
		TArray<T> Parsed;
		for (const FString& ItemText : Items)
		{
			T Item{};
			if (!TPropertyTraits<T>::Import(Item, ItemText))
			{
				return false;
			}
			Parsed.Add(std::move(Item));
		}
		Value = std::move(Parsed);
		return true;
	}
};

template <typename K, typename V>
struct TPropertyTraits<TMap<K, V>>
{
	static constexpr bool bHasReferences = TPropertyTraits<K>::bHasReferences || TPropertyTraits<V>::bHasReferences;
	static void Collect(TMap<K, V>& Value, FReferenceCollector& Collector)
	{
		for (auto& Pair : Value)
		{
			// Keys are reported through a copy: a key cleared by the collector would break the map's hashing.
			K Key = Pair.Key;
			TPropertyTraits<K>::Collect(Key, Collector);
			TPropertyTraits<V>::Collect(Pair.Value, Collector);
		}
	}
	static bool Export(const TMap<K, V>& Value, FString& Out)
	{
		Out = TEXT("(");
		bool bFirst = true;
		for (const auto& Pair : Value)
		{
			FString KeyText;
			FString ValueText;
			if (!TPropertyTraits<K>::Export(Pair.Key, KeyText) || !TPropertyTraits<V>::Export(Pair.Value, ValueText))
			{
				return false;
			}
			Out += (bFirst ? TEXT("(") : TEXT(",(")) + KeyText + TEXT(",") + ValueText + TEXT(")");
			bFirst = false;
		}
		Out += TEXT(")");
		return true;
	}
	static bool Import(TMap<K, V>& Value, const FString& Text)
	{
		TArray<FString> Items;
		if (!SplitList(Text, Items))
		{
			return false;
		}
		TMap<K, V> Parsed;
		for (const FString& ItemText : Items)
		{
			TArray<FString> KeyAndValue;
			K Key{};
			V Item{};
			if (!SplitList(ItemText, KeyAndValue) || KeyAndValue.Num() != 2 ||
			    !TPropertyTraits<K>::Import(Key, KeyAndValue[0]) || !TPropertyTraits<V>::Import(Item, KeyAndValue[1]))
			{
				return false;
			}
			Parsed.Add(Key, std::move(Item));
		}
		Value = std::move(Parsed);
		return true;
	}
};

template <CReflectedStruct T>
struct TPropertyTraits<T>
{
	static constexpr bool bHasReferences = true;
	static void Collect(T& Value, FReferenceCollector& Collector)
	{
		T::StaticStruct()->CollectReferences(&Value, Collector);
	}
	static bool Export(const T& Value, FString& Out) { return ExportStruct(T::StaticStruct(), &Value, Out); }
	static bool Import(T& Value, const FString& Text) { return ImportStruct(T::StaticStruct(), &Value, Text); }
};

template <typename... ArgTypes>
struct TPropertyTraits<TDynamicMulticastDelegate<ArgTypes...>>
{
	static constexpr bool bHasReferences = false;
	static void Collect(TDynamicMulticastDelegate<ArgTypes...>&, FReferenceCollector&) {}
	static bool Export(const TDynamicMulticastDelegate<ArgTypes...>&, FString&) { return false; }
	static bool Import(TDynamicMulticastDelegate<ArgTypes...>&, const FString&) { return false; }
};

// Value types from Core with a text form of their own (in PropertyTypes.cpp) and no references.
template <typename T>
struct TValuePropertyTraits
{
	static constexpr bool bHasReferences = false;
	static void Collect(T&, FReferenceCollector&) {}
};
template <>
struct COREUOBJECT_API TPropertyTraits<FVector2D> : TValuePropertyTraits<FVector2D>
{
	static bool Export(const FVector2D& Value, FString& Out);
	static bool Import(FVector2D& Value, const FString& Text);
};
template <>
struct COREUOBJECT_API TPropertyTraits<FLinearColor> : TValuePropertyTraits<FLinearColor>
{
	static bool Export(const FLinearColor& Value, FString& Out);
	static bool Import(FLinearColor& Value, const FString& Text);
};
template <>
struct COREUOBJECT_API TPropertyTraits<FColor> : TValuePropertyTraits<FColor>
{
	static bool Export(const FColor& Value, FString& Out);
	static bool Import(FColor& Value, const FString& Text);
};
template <>
struct COREUOBJECT_API TPropertyTraits<FTimespan> : TValuePropertyTraits<FTimespan>
{
	static bool Export(const FTimespan& Value, FString& Out);
	static bool Import(FTimespan& Value, const FString& Text);
};

template <typename T>
UClass* GetReferencedClassOf()
{
	if constexpr (requires { TPropertyTraits<T>::ReferencedClass(); })
	{
		return TPropertyTraits<T>::ReferencedClass();
	}
	else
	{
		return nullptr;
	}
}

template <typename T>
const FPropertyType& GetPropertyType(const TCHAR* TypeName)
{
	static const FPropertyType Type = [TypeName]
	{
		FPropertyType Result;
		Result.TypeName = TypeName;
		if constexpr (TPropertyTraits<T>::bHasReferences)
		{
			Result.CollectReferences = [](void* Value, FReferenceCollector& Collector)
			{ TPropertyTraits<T>::Collect(*static_cast<T*>(Value), Collector); };
		}
		Result.ExportText = [](const void* Value, FString& Out)
		{ return TPropertyTraits<T>::Export(*static_cast<const T*>(Value), Out); };
		Result.ImportText = [](void* Value, const FString& Text)
		{ return TPropertyTraits<T>::Import(*static_cast<T*>(Value), Text); };
		Result.GetReferencedClass = &GetReferencedClassOf<T>;
		// The referenced class is asked for lazily: a class may refer to itself, and is still registering here.
		if constexpr (requires { TPropertyTraits<T>::bIsClass; })
		{
			Result.bIsClassReference = true;
		}
		else if constexpr (requires { TPropertyTraits<T>::ReferencedClass(); })
		{
			Result.bIsObjectReference = true;
		}
		return Result;
	}();
	return Type;
}

// Used by generated code to describe one member.
template <typename T>
std::unique_ptr<FProperty> MakeProperty(const TCHAR* Name, void* (*Accessor)(void*), uint64 Flags,
                                        TArray<TPair<FName, FString>> Meta, const TCHAR* CppType)
{
	return std::make_unique<FProperty>(Name, &GetPropertyType<T>(CppType), Accessor, Flags, std::move(Meta), CppType);
}
} // namespace UE::Reflection
