#include "UObject/WeakObjectPtrTemplates.h"

#include "UObject/Object.h"

FWeakObjectPtr& FWeakObjectPtr::operator=(const UObject* Object)
{
	if (Object && Object->GetUniqueID() != INDEX_NONE)
	{
		ObjectIndex = Object->GetUniqueID();
		SerialNumber = Object->GetSerialNumber();
	}
	else
	{
		Reset();
	}
	return *this;
}

UObject* FWeakObjectPtr::Get() const
{
	UObject* Object = FUObjectArray::Get().Resolve(ObjectIndex, SerialNumber);
	return Object && !Object->IsGarbage() ? Object : nullptr;
}
