#pragma once

#include "UObject/Object.h"

// What the code written by the header tool calls to register a module's classes, structs and enums.
namespace UE::Reflection
{
struct FClassRegistration
{
	const TCHAR* PackageName;
	const TCHAR* ClassName;
	UClass* (*SuperStaticClass)();
	uint32 ClassFlags;
	FClassConstructor Constructor;
	FAddReferencedObjects AddReferencedObjects;
	void (*RegisterMembers)(UClass*);
};
COREUOBJECT_API UClass* RegisterNativeClass(const FClassRegistration& Registration);

struct FStructRegistration
{
	const TCHAR* PackageName;
	const TCHAR* StructName;
	UScriptStruct* (*SuperStaticStruct)();
	void (*RegisterMembers)(UScriptStruct*);
};
COREUOBJECT_API UScriptStruct* RegisterNativeStruct(const FStructRegistration& Registration);

COREUOBJECT_API UEnum* RegisterNativeEnum(const TCHAR* PackageName, const TCHAR* EnumName,
                                          const TArray<TPair<FName, int64>>& Names);

// Registers at library load, so that classes are found by path before anyone asked for them.
struct FRegisterOnLoad
{
	template <typename FunctionType>
	explicit FRegisterOnLoad(FunctionType Function)
	{
		Function();
	}
};
} // namespace UE::Reflection
