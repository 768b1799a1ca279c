#include "Headless/MediaUrl.h"

#include "Misc/Paths.h"

FString FMediaUrl::GetScheme(const FString& Url)
{
	const int32 Separator = Url.Find(TEXT("://"));
	if (Separator <= 0)
	{
		return FString();
	}
	const FString Scheme = Url.Left(Separator);
	for (const TCHAR C : Scheme)
	{
		const bool bSchemeChar = (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') ||
		                         C == '+' || C == '-' || C == '.';
		if (!bSchemeChar)
		{
			// "C:/x://y" or "dir/a://b": the separator belongs to a path, not to a scheme.
			return FString();
		}
	}
	return Scheme.ToLower();
}

bool FMediaUrl::IsLocal(const FString& Url)
{
	const FString Scheme = GetScheme(Url);
	return Scheme.IsEmpty() || Scheme == TEXT("file");
}

bool FMediaUrl::IsPlayable(const FString& Url)
{
	if (Url.IsEmpty())
	{
		return false;
	}
	const FString Scheme = GetScheme(Url);
	return Scheme.IsEmpty() || Scheme == TEXT("file") || Scheme == TEXT("http") || Scheme == TEXT("https") ||
	       Scheme == TEXT("rtsp");
}

FString FMediaUrl::ToFilePath(const FString& Url)
{
	FString Path = Url;
	if (GetScheme(Url) == TEXT("file"))
	{
		Path = Url.Mid(7);
	}
	FPaths::NormalizeFilename(Path);
	if (FPaths::IsRelative(Path))
	{
		return FPaths::ConvertRelativePathToFull(FPaths::ProjectContentDir(), Path);
	}
	return FPaths::ConvertRelativePathToFull(Path);
}

FString FMediaUrl::FromFilePath(const FString& Path)
{
	return TEXT("file://") + ToFilePath(Path);
}
