#include "DanmakuCommentFile.h"

#include "DanmakuXmlReader.h"
#include "Dom/JsonObject.h"
#include "HAL/FileManager.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "UI_Danmaku.h"

namespace
{
bool IsPlacedMode(EDanmakuMode Mode)
{
	return Mode == EDanmakuMode::SCROLL || Mode == EDanmakuMode::TOP || Mode == EDanmakuMode::BOTTOM;
}
} // namespace

EDanmakuCommentFormat FDanmakuCommentFile::ChooseFormat(const FString& Path, const FString& Text)
{
	const FString Extension = FPaths::GetExtension(Path).ToLower();
	if (Extension == TEXT("xml"))
	{
		return EDanmakuCommentFormat::Xml;
	}
	if (Extension == TEXT("json"))
	{
		return EDanmakuCommentFormat::Json;
	}
	for (const TCHAR Char : Text)
	{
		if (Char == TEXT(' ') || Char == TEXT('\t') || Char == TEXT('\r') || Char == TEXT('\n') || Char == 0xFEFF)
		{
			continue;
		}
		return Char == TEXT('<') ? EDanmakuCommentFormat::Xml : EDanmakuCommentFormat::Json;
	}
	return EDanmakuCommentFormat::Json;
}

bool FDanmakuCommentFile::Load(const FString& InPath, FString& OutError)
{
	Path = InPath;
	Comments = 0;
	NeverPlacedMode = 0;
	Skipped = 0;
	if (!IFileManager::Get().FileExists(*Path))
	{
		OutError = FString::Printf(TEXT("comment document not found: %s"), *Path);
		return false;
	}
	if (!FFileHelper::LoadFileToString(Text, *Path))
	{
		OutError = FString::Printf(TEXT("cannot read the comment document %s"), *Path);
		return false;
	}
	Format = ChooseFormat(Path, Text);

	// The overlay takes any text silently; a person pointing a program at a file wants to know it is wrong.
	if (Format == EDanmakuCommentFormat::Xml)
	{
		TArray<FDanmakuData> Records;
		if (!FDanmakuXmlReader::Read(Text, Records, &Skipped))
		{
			OutError =
			    FString::Printf(TEXT("%s is not an XML comment document (well-formed XML with an <i> root)"), *Path);
			return false;
		}
		Comments = Records.Num();
		for (const FDanmakuData& Record : Records)
		{
			NeverPlacedMode += IsPlacedMode(Record.Mode) ? 0 : 1;
		}
		return true;
	}

	TSharedPtr<FJsonObject> Root;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Root) || !Root.IsValid())
	{
		OutError = FString::Printf(TEXT("%s is not a JSON object, so it is not a comment document"), *Path);
		return false;
	}
	const TArray<TSharedPtr<FJsonValue>>* Items = nullptr;
	if (!Root->TryGetArrayField(TEXT("datas"), Items))
	{
		OutError = FString::Printf(TEXT("%s has no \"datas\" array, so it is not a comment document"), *Path);
		return false;
	}
	for (const TSharedPtr<FJsonValue>& Item : *Items)
	{
		const TSharedPtr<FJsonObject>* Comment = nullptr;
		if (Item.IsValid() && Item->TryGetObject(Comment))
		{
			++Comments;
			const double Mode = (*Comment)->GetNumberField(TEXT("danmaku_mode"));
			NeverPlacedMode += Mode >= 0.0 && Mode < 3.0 ? 0 : 1;
		}
	}
	return true;
}

void FDanmakuCommentFile::HandTo(UUI_Danmaku& Overlay) const
{
	if (Format == EDanmakuCommentFormat::Xml)
	{
		Overlay.LoadDanmakuXml(Text);
	}
	else
	{
		Overlay.LoadDanmaku(Text);
	}
}
