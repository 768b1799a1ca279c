#include "Headless/MediaSourceRegistry.h"

#include "Headless/MediaUrl.h"
#include "Misc/FileHelper.h"
#include "UObject/PropertyTypes.h"

DEFINE_LOG_CATEGORY_STATIC(LogMediaSourceRegistry, Log, All);

namespace
{
TMap<FString, FMediaSourceDescription>& GetDescriptions()
{
	static TMap<FString, FMediaSourceDescription> Descriptions;
	return Descriptions;
}

bool ParseBool(const FString& Text, bool& Out)
{
	if (Text.Equals(TEXT("true"), ESearchCase::IgnoreCase))
	{
		Out = true;
		return true;
	}
	if (Text.Equals(TEXT("false"), ESearchCase::IgnoreCase))
	{
		Out = false;
		return true;
	}
	return false;
}

bool ParseSeconds(const FString& Text, double& Out)
{
	return UE::Reflection::ParseDouble(Text, Out) && Out >= 0.0 && Out < 1.0e9;
}

bool ApplyKey(FMediaSourceDescription& Description, const FString& Key, const FString& Value)
{
	double Number = 0.0;
	if (Key == TEXT("Duration"))
	{
		if (!ParseSeconds(Value, Number))
		{
			return false;
		}
		Description.Duration = FTimespan::FromSeconds(Number);
		return true;
	}
	if (Key == TEXT("CanSeek"))
	{
		return ParseBool(Value, Description.bCanSeek);
	}
	if (Key == TEXT("SeekCompletesInCall"))
	{
		return ParseBool(Value, Description.bSeekCompletesInCall);
	}
	if (Key == TEXT("FailsToOpen"))
	{
		return ParseBool(Value, Description.bFailsToOpen);
	}
	if (Key == TEXT("CacheRate"))
	{
		return UE::Reflection::ParseDouble(Value, Description.CacheRate);
	}
	if (Key == TEXT("OpenSeconds"))
	{
		return ParseSeconds(Value, Description.OpenSeconds);
	}
	if (Key == TEXT("SeekSeconds"))
	{
		return ParseSeconds(Value, Description.SeekSeconds);
	}
	return false;
}
} // namespace

FString FMediaSourceRegistry::NormalizeUrl(const FString& Url)
{
	return FMediaUrl::IsLocal(Url) ? FMediaUrl::FromFilePath(Url) : Url;
}

void FMediaSourceRegistry::Register(const FString& Url, const FMediaSourceDescription& Description)
{
	GetDescriptions().Add(NormalizeUrl(Url), Description);
}

void FMediaSourceRegistry::Unregister(const FString& Url)
{
	GetDescriptions().Remove(NormalizeUrl(Url));
}

void FMediaSourceRegistry::UnregisterAll()
{
	GetDescriptions().Empty();
}

const FMediaSourceDescription* FMediaSourceRegistry::Find(const FString& Url)
{
	return Url.IsEmpty() ? nullptr : GetDescriptions().Find(NormalizeUrl(Url));
}

bool FMediaSourceRegistry::LoadFromString(const FString& Text)
{
	TArray<FString> Lines;
	Text.ParseIntoArray(Lines, TEXT("\n"), false);
	TArray<TPair<FString, FMediaSourceDescription>> Sections;
	for (int32 LineIndex = 0; LineIndex < Lines.Num(); ++LineIndex)
	{
		const FString Line = Lines[LineIndex].TrimStartAndEnd();
		if (Line.IsEmpty() || Line.StartsWith(TEXT("#")))
		{
			continue;
		}
		if (Line.StartsWith(TEXT("[")) && Line.EndsWith(TEXT("]")) && Line.Len() > 2)
		{
			Sections.Add(TPair<FString, FMediaSourceDescription>{Line.Mid(1, Line.Len() - 2).TrimStartAndEnd(),
			                                                     FMediaSourceDescription()});
			continue;
		}
		int32 Equals = INDEX_NONE;
		if (Sections.IsEmpty() || !Line.FindChar('=', Equals) ||
		    !ApplyKey(Sections.Last().Value, Line.Left(Equals).TrimStartAndEnd(),
		              Line.Mid(Equals + 1).TrimStartAndEnd()))
		{
			// Quoted short and with control characters escaped: the file may be anything a script named.
			FString Excerpt;
			for (int32 Index = 0; Index < Line.Len() && Index < 60; ++Index)
			{
				const TCHAR C = Line[Index];
				Excerpt +=
				    C < 0x20 || (C >= 0x7F && C <= 0x9F) ? FString::Printf(TEXT("\\x%02x"), int32(C)) : FString::Chr(C);
			}
			UE_LOG(LogMediaSourceRegistry, Warning, TEXT("Media description line %d cannot be read: '%s'%s"),
			       LineIndex + 1, *Excerpt, Line.Len() > 60 ? TEXT("…") : TEXT(""));
			return false;
		}
	}
	for (const TPair<FString, FMediaSourceDescription>& Section : Sections)
	{
		Register(Section.Key, Section.Value);
	}
	return true;
}

bool FMediaSourceRegistry::LoadFromFile(const FString& Filename)
{
	FString Text;
	if (!FFileHelper::LoadFileToString(Text, *Filename))
	{
		UE_LOG(LogMediaSourceRegistry, Warning, TEXT("Media description file %s cannot be read"), *Filename);
		return false;
	}
	return LoadFromString(Text);
}
