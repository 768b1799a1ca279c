#include "UObject/Object.h"

#include "UObject/ObjectInitializer.h"
#include "UObject/ObjectConstruction.h"

thread_local const FStaticConstructObjectParameters* FObjectConstruction::Pending = nullptr;

UObject::UObject()
{
	if (const FStaticConstructObjectParameters* Params = FObjectConstruction::Pending)
	{
		FObjectConstruction::Pending = nullptr;
		ClassPrivate = const_cast<UClass*>(Params->Class);
		OuterPrivate = Params->Outer;
		NamePrivate = Params->Name;
		ObjectFlags = Params->SetFlags;
	}
	FUObjectArray::Get().Allocate(this);
}

UObject::~UObject()
{
	FUObjectArray::Get().Free(this);
}

FString UObject::GetPathName() const
{
	return OuterPrivate ? OuterPrivate->GetPathName() + TEXT(".") + GetName() : GetName();
}

UWorld* UObject::GetWorld() const
{
	return OuterPrivate ? OuterPrivate->GetWorld() : nullptr;
}

bool UObject::IsA(const UClass* SomeBase) const
{
	return ClassPrivate && SomeBase && ClassPrivate->IsChildOf(SomeBase);
}

bool UObject::IsUnreachable() const
{
	return InternalIndex != INDEX_NONE && !FUObjectArray::Get().GetItem(InternalIndex).bReachable;
}

void UObject::AddToRoot()
{
	FUObjectArray::Get().GetItem(InternalIndex).bRooted = true;
}

void UObject::RemoveFromRoot()
{
	FUObjectArray::Get().GetItem(InternalIndex).bRooted = false;
}

bool UObject::IsRooted() const
{
	return FUObjectArray::Get().GetItem(InternalIndex).bRooted;
}

void UObject::BeginDestroy()
{
	SetFlags(RF_BeginDestroyed);
}

bool UObject::ConditionalBeginDestroy()
{
	if (HasBegunDestroy())
	{
		return false;
	}
	SetFlags(RF_BeginDestroyed);
	BeginDestroy();
	return true;
}

bool UObject::CallFunctionByNameWithArguments(const FName& FunctionName)
{
	const FFunctionInfo* Function = ClassPrivate ? ClassPrivate->FindFunctionByName(FunctionName) : nullptr;
	if (!Function || !Function->Invoke)
	{
		return false;
	}
	Function->Invoke(this);
	return true;
}

bool IsValid(const UObject* Object)
{
	return Object && !Object->IsGarbage();
}

const FObjectInitializer& FObjectInitializer::Get()
{
	static const FObjectInitializer Instance;
	return Instance;
}
