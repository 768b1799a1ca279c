#include "UObject/PropertyTypes.h"
#include "Headless/Utf8String.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace UE::Reflection
{
FString QuoteString(const FString& Value)
{
	FString Out(TEXT("\""));
	for (TCHAR C : Value)
	{
		switch (C)
		{
			case u'"':
				Out += TEXT("\\\"");
				break;
			case u'\\':
				Out += TEXT("\\\\");
				break;
			case u'\n':
				Out += TEXT("\\n");
				break;
			case u'\r':
				Out += TEXT("\\r");
				break;
			case u'\t':
				Out += TEXT("\\t");
				break;
			default:
				Out.AppendChar(C);
				break;
		}
	}
	Out += TEXT("\"");
	return Out;
}

bool UnquoteString(const FString& Text, FString& Out)
{
	const FString Trimmed = Text.TrimStartAndEnd();
	if (!Trimmed.StartsWith(TEXT("\"")))
	{
		// Unquoted text is taken as it stands, as asset authors write simple values.
		Out = Trimmed;
		return true;
	}
	if (Trimmed.Len() < 2 || !Trimmed.EndsWith(TEXT("\"")))
	{
		return false;
	}
	FString Result;
	for (int32 Index = 1; Index < Trimmed.Len() - 1; ++Index)
	{
		TCHAR C = Trimmed[Index];
		if (C == u'\\')
		{
			if (Index + 1 >= Trimmed.Len() - 1)
			{
				return false;
			}
			const TCHAR Escaped = Trimmed[++Index];
			C = Escaped == u'n' ? u'\n' : Escaped == u'r' ? u'\r' : Escaped == u't' ? u'\t' : Escaped;
		}
		else if (C == u'"')
		{
			return false;
		}
		Result.AppendChar(C);
	}
	Out = Result;
	return true;
}

bool SplitList(const FString& Text, TArray<FString>& OutItems)
{
	OutItems.Reset();
	const FString Trimmed = Text.TrimStartAndEnd();
	if (Trimmed.Len() < 2 || Trimmed[0] != u'(' || Trimmed[Trimmed.Len() - 1] != u')')
	{
		return false;
	}
	int32 Depth = 0;
	bool bInQuotes = false;
	FString Current;
	for (int32 Index = 1; Index < Trimmed.Len() - 1; ++Index)
	{
		const TCHAR C = Trimmed[Index];
		if (bInQuotes)
		{
			Current.AppendChar(C);
			if (C == u'\\' && Index + 1 < Trimmed.Len() - 1)
			{
				Current.AppendChar(Trimmed[++Index]);
			}
			else if (C == u'"')
			{
				bInQuotes = false;
			}
			continue;
		}
		if (C == u'"')
		{
			bInQuotes = true;
		}
		else if (C == u'(')
		{
			++Depth;
		}
		else if (C == u')')
		{
			if (--Depth < 0)
			{
				return false;
			}
		}
		else if (C == u',' && Depth == 0)
		{
			OutItems.Add(Current.TrimStartAndEnd());
			Current.Reset();
			continue;
		}
		Current.AppendChar(C);
	}
	if (Depth != 0 || bInQuotes)
	{
		return false;
	}
	if (!Current.TrimStartAndEnd().IsEmpty() || OutItems.Num() > 0)
	{
		OutItems.Add(Current.TrimStartAndEnd());
	}
	return true;
}

bool SplitAssignment(const FString& Text, FString& OutName, FString& OutValue)
{
	int32 Equals = INDEX_NONE;
	if (!Text.FindChar(u'=', Equals))
	{
		return false;
	}
	OutName = Text.Left(Equals).TrimStartAndEnd();
	OutValue = Text.Mid(Equals + 1).TrimStartAndEnd();
	return !OutName.IsEmpty();
}

bool ParseInteger(const FString& Text, int64& Out)
{
	const std::string Narrow = ToUtf8(Text.TrimStartAndEnd());
	if (Narrow.empty())
	{
		return false;
	}
	char* End = nullptr;
	errno = 0;
	const long long Value = std::strtoll(Narrow.c_str(), &End, 10);
	if (errno == ERANGE || *End != '\0')
	{
		return false;
	}
	Out = Value;
	return true;
}

bool ParseUnsigned(const FString& Text, uint64& Out)
{
	const std::string Narrow = ToUtf8(Text.TrimStartAndEnd());
	if (Narrow.empty() || Narrow[0] == '-')
	{
		return false;
	}
	char* End = nullptr;
	errno = 0;
	const unsigned long long Value = std::strtoull(Narrow.c_str(), &End, 10);
	if (errno == ERANGE || *End != '\0')
	{
		return false;
	}
	Out = Value;
	return true;
}

bool ParseDouble(const FString& Text, double& Out)
{
	const std::string Narrow = ToUtf8(Text.TrimStartAndEnd());
	if (Narrow.empty())
	{
		return false;
	}
	char* End = nullptr;
	const double Value = std::strtod(Narrow.c_str(), &End);
	if (*End != '\0')
	{
		return false;
	}
	Out = Value;
	return true;
}

FString FormatDouble(double Value, int32 SignificantDigits)
{
	char Buffer[64];
	std::snprintf(Buffer, sizeof(Buffer), "%.*g", SignificantDigits, Value);
	return FString(Buffer);
}

UObject* ResolveObjectPath(const UClass* Class, const FString& Path)
{
	if (UObject* Found = StaticFindObject(Class, nullptr, *Path))
	{
		return Found;
	}
	return Path.StartsWith(TEXT("/Script/")) ? nullptr : StaticLoadObject(Class, nullptr, *Path);
}

UClass* ResolveClassPath(const UClass* BaseClass, const FString& Path)
{
	UClass* Class = FindClassByPath(Path);
	if (!Class && !Path.StartsWith(TEXT("/Script/")))
	{
		Class = StaticLoadClass(BaseClass, nullptr, *Path);
	}
	return Class && (!BaseClass || Class->IsChildOf(BaseClass)) ? Class : nullptr;
}

bool ExportStruct(const UStruct* Struct, const void* Value, FString& Out)
{
	Out = TEXT("(");
	bool bFirst = true;
	for (FProperty* Property : Struct->GetAllProperties())
	{
		FString Text;
		if (!Property->ExportText_InContainer(Value, Text))
		{
			continue;
		}
		Out += (bFirst ? FString() : FString(TEXT(","))) + Property->GetName() + TEXT("=") + Text;
		bFirst = false;
	}
	Out += TEXT(")");
	return true;
}

bool ImportStruct(const UStruct* Struct, void* Value, const FString& Text)
{
	TArray<FString> Items;
	if (!SplitList(Text, Items))
	{
		return false;
	}
	for (const FString& Item : Items)
	{
		FString Name;
		FString ValueText;
		FProperty* Property =
		    SplitAssignment(Item, Name, ValueText) ? Struct->FindPropertyByName(FName(Name)) : nullptr;
		if (!Property || !Property->ImportText_InContainer(ValueText, Value))
		{
			return false;
		}
	}
	return true;
}

namespace
{
// Reads "(X=1,Y=2)" style text into the named numeric fields.
template <int32 Count>
bool ImportNumbers(const FString& Text, const TCHAR* const (&Names)[Count], double (&Values)[Count])
{
	TArray<FString> Items;
	if (!SplitList(Text, Items))
	{
		return false;
	}
	for (const FString& Item : Items)
	{
		FString Name;
		FString ValueText;
		if (!SplitAssignment(Item, Name, ValueText))
		{
			return false;
		}
		bool bKnown = false;
		for (int32 Index = 0; Index < Count; ++Index)
		{
			if (Name.Equals(Names[Index], ESearchCase::IgnoreCase))
			{
				bKnown = ParseDouble(ValueText, Values[Index]);
			}
		}
		if (!bKnown)
		{
			return false;
		}
	}
	return true;
}
} // namespace

bool TPropertyTraits<FVector2D>::Export(const FVector2D& Value, FString& Out)
{
	Out = FString::Printf(TEXT("(X=%s,Y=%s)"), *FormatDouble(Value.X, 17), *FormatDouble(Value.Y, 17));
	return true;
}

bool TPropertyTraits<FVector2D>::Import(FVector2D& Value, const FString& Text)
{
	static const TCHAR* const Names[2] = {TEXT("X"), TEXT("Y")};
	double Values[2] = {Value.X, Value.Y};
	if (!ImportNumbers(Text, Names, Values))
	{
		return false;
	}
	Value = FVector2D(Values[0], Values[1]);
	return true;
}

bool TPropertyTraits<FLinearColor>::Export(const FLinearColor& Value, FString& Out)
{
	Out = FString::Printf(TEXT("(R=%s,G=%s,B=%s,A=%s)"), *FormatDouble(Value.R, 9), *FormatDouble(Value.G, 9),
	                      *FormatDouble(Value.B, 9), *FormatDouble(Value.A, 9));
	return true;
}

bool TPropertyTraits<FLinearColor>::Import(FLinearColor& Value, const FString& Text)
{
	const FString Trimmed = Text.TrimStartAndEnd();
	if (Trimmed.StartsWith(TEXT("#")))
	{
		Value = FLinearColor(FColor::FromHex(Trimmed));
		return true;
	}
	static const TCHAR* const Names[4] = {TEXT("R"), TEXT("G"), TEXT("B"), TEXT("A")};
	double Values[4] = {Value.R, Value.G, Value.B, Value.A};
	if (!ImportNumbers(Trimmed, Names, Values))
	{
		return false;
	}
	Value = FLinearColor(float(Values[0]), float(Values[1]), float(Values[2]), float(Values[3]));
	return true;
}

bool TPropertyTraits<FColor>::Export(const FColor& Value, FString& Out)
{
	Out = FString::Printf(TEXT("(R=%d,G=%d,B=%d,A=%d)"), Value.R, Value.G, Value.B, Value.A);
	return true;
}

bool TPropertyTraits<FColor>::Import(FColor& Value, const FString& Text)
{
	const FString Trimmed = Text.TrimStartAndEnd();
	if (Trimmed.StartsWith(TEXT("#")))
	{
		Value = FColor::FromHex(Trimmed);
		return true;
	}
	static const TCHAR* const Names[4] = {TEXT("R"), TEXT("G"), TEXT("B"), TEXT("A")};
	double Values[4] = {double(Value.R), double(Value.G), double(Value.B), double(Value.A)};
	if (!ImportNumbers(Trimmed, Names, Values))
	{
		return false;
	}
	for (double Channel : Values)
	{
		if (!(Channel >= 0.0 && Channel <= 255.0))
		{
			return false;
		}
	}
	Value = FColor(uint8(Values[0]), uint8(Values[1]), uint8(Values[2]), uint8(Values[3]));
	return true;
}

bool TPropertyTraits<FTimespan>::Export(const FTimespan& Value, FString& Out)
{
	Out = FString::Printf(TEXT("%lld"), static_cast<long long>(Value.GetTicks()));
	return true;
}

bool TPropertyTraits<FTimespan>::Import(FTimespan& Value, const FString& Text)
{
	int64 Ticks = 0;
	if (!ParseInteger(Text, Ticks))
	{
		return false;
	}
	Value = FTimespan(Ticks);
	return true;
}
} // namespace UE::Reflection
