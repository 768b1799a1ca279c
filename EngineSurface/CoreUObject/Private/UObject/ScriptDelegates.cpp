#include "UObject/ScriptDelegates.h"

#include "UObject/Class.h"

namespace UE::Delegates
{
FName TrimFunctionName(const TCHAR* QualifiedName)
{
	FString Name(QualifiedName);
	int32 Separator = Name.Find(TEXT("::"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	if (Separator != INDEX_NONE)
	{
		Name = Name.Mid(Separator + 2);
	}
	Name.RemoveFromStart(TEXT("&"));
	return FName(Name.TrimStartAndEnd());
}

bool CanBindToFunction(const UObject* Object, const FName& FunctionName)
{
	if (!IsValid(Object) || !Object->GetClass() || !Object->GetClass()->FindFunctionByName(FunctionName))
	{
		UE_LOG(LogCore, Warning,
		       TEXT("Unable to bind delegate to '%s' (function might not be marked as a UFUNCTION or object may be "
		            "pending kill)"),
		       *FunctionName.ToString());
		return false;
	}
	return true;
}

void WarnAlreadyBound(const UObject* Object, const FName& FunctionName)
{
	UE_LOG(LogCore, Warning, TEXT("Delegate already bound to %s::%s; not adding it twice"), *Object->GetName(),
	       *FunctionName.ToString());
}
} // namespace UE::Delegates
