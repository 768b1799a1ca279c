#pragma once

#include "CoreMinimal.h"
#include "DanmakuDataStruct.h"
#include "Dom/JsonObject.h"
#include "Serialization/JsonSerializer.h"

// The reference: the document read into the JSON object model, and every element's fields taken with the
// object's getters.
inline bool ReadThroughObjectModel(const FString& Text, TArray<FDanmakuData>& OutRecords)
{
	OutRecords.Reset();
	TSharedPtr<FJsonValue> Root;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Root) || Root->Type != EJson::Object)
	{
		return false;
	}
	const FJsonObject& Object = *Root->AsObject();
	const TArray<TSharedPtr<FJsonValue>>& Datas = Object.GetArrayField(TEXT("datas"));
	for (const TSharedPtr<FJsonValue>& Element : Datas)
	{
		if (Element->Type != EJson::Object)
		{
			continue;
		}
		const FJsonObject& Fields = *Element->AsObject();
		const auto ToInt32 = [](double Value)
		{ return FMath::IsNaN(Value) ? 0 : int32(FMath::Clamp(Value, double(MIN_int32), double(MAX_int32))); };
		FDanmakuData& Data = OutRecords.Emplace_GetRef();
		Data.DanmakuID = ToInt32(Fields.GetNumberField(TEXT("danmaku_id")));
		Data.PostID = ToInt32(Fields.GetNumberField(TEXT("post_id")));
		Data.UserID = ToInt32(Fields.GetNumberField(TEXT("user_id")));
		Data.UserDisplayName = Fields.GetStringField(TEXT("user_display_name"));
		FDateTime::Parse(Fields.GetStringField(TEXT("danmaku_post_date")), Data.PostDate);
		int64 SpawnTime = 0;
		Data.SpawnTime = Fields.TryGetNumberField(TEXT("danmaku_spawn_time"), SpawnTime) ? SpawnTime : 0;
		Data.Content = Fields.GetStringField(TEXT("danmaku_content"));
		Data.Mode = EDanmakuMode(ToInt32(Fields.GetNumberField(TEXT("danmaku_mode"))));
		Data.FontSize = ToInt32(Fields.GetNumberField(TEXT("danmaku_font_size")));
		Data.FontColor = Fields.GetStringField(TEXT("danmaku_font_color"));
	}
	return Object.HasTypedField<EJson::Array>(TEXT("datas"));
}
