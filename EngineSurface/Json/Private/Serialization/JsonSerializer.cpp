#include "Serialization/JsonSerializer.h"

namespace
{
// An open array or object while the reader works through it.
struct FOpenContainer
{
	// The container's field name in its parent object.
	FString Identifier;
	// Set for an object; an array collects Items instead.
	TSharedPtr<FJsonObject> Object;
	TArray<TSharedPtr<FJsonValue>> Items;
};
} // namespace

bool FJsonSerializer::Deserialize(const TSharedRef<TJsonReader<TCHAR>>& Reader, TSharedPtr<FJsonValue>& OutValue)
{
	OutValue.Reset();
	// Innermost last: nesting costs heap, never stack, and the reader bounds its depth.
	TArray<FOpenContainer> Open;
	TSharedPtr<FJsonValue> Root;
	EJsonNotation Notation = EJsonNotation::Null;
	while (Reader->ReadNext(Notation))
	{
		TSharedPtr<FJsonValue> Value;
		FString ClosedIdentifier;
		switch (Notation)
		{
			case EJsonNotation::ObjectStart:
			case EJsonNotation::ArrayStart:
			{
				FOpenContainer& Container = Open.Emplace_GetRef();
				Container.Identifier = Reader->GetIdentifier();
				if (Notation == EJsonNotation::ObjectStart)
				{
					Container.Object = MakeShared<FJsonObject>();
				}
				continue;
			}
			case EJsonNotation::ObjectEnd:
			case EJsonNotation::ArrayEnd:
			{
				FOpenContainer Closed = std::move(Open.Last());
				Open.Pop();
				ClosedIdentifier = std::move(Closed.Identifier);
				if (Closed.Object.IsValid())
				{
					Value = MakeShared<FJsonValueObject>(std::move(Closed.Object));
				}
				else
				{
					Value = MakeShared<FJsonValueArray>(std::move(Closed.Items));
				}
				break;
			}
			case EJsonNotation::String:
				Value = MakeShared<FJsonValueString>(Reader->GetValueAsString());
				break;
			case EJsonNotation::Number:
				Value = MakeShared<FJsonValueNumber>(Reader->GetValueAsNumber());
				break;
			case EJsonNotation::Boolean:
				Value = MakeShared<FJsonValueBoolean>(Reader->GetValueAsBoolean());
				break;
			case EJsonNotation::Null:
			case EJsonNotation::Error:
				Value = MakeShared<FJsonValueNull>();
				break;
		}

		if (Open.IsEmpty())
		{
			Root = std::move(Value);
		}
		else if (FOpenContainer& Parent = Open.Last(); Parent.Object.IsValid())
		{
			const bool bClosed = Notation == EJsonNotation::ObjectEnd || Notation == EJsonNotation::ArrayEnd;
			// Add replaces, so of two fields with one name the later stays.
			Parent.Object->Values.Add(bClosed ? std::move(ClosedIdentifier) : Reader->GetIdentifier(),
			                          std::move(Value));
		}
		else
		{
			Parent.Items.Add(std::move(Value));
		}
	}
	if (Notation == EJsonNotation::Error || !Open.IsEmpty())
	{
		return false;
	}
	OutValue = std::move(Root);
	return OutValue.IsValid();
}

bool FJsonSerializer::Deserialize(const TSharedRef<TJsonReader<TCHAR>>& Reader, TSharedPtr<FJsonObject>& OutObject)
{
	TSharedPtr<FJsonValue> Value;
	const TSharedPtr<FJsonObject>* Object = nullptr;
	if (!Deserialize(Reader, Value) || !Value->TryGetObject(Object))
	{
		if (Value.IsValid())
		{
			Reader->SetErrorMessage(TEXT("The root is not an object"));
		}
		OutObject.Reset();
		return false;
	}
	OutObject = *Object;
	return true;
}
