#pragma once

#include "HAL/Platform.h"

// The reflection markers. The header tool reads them; to the compiler they are empty, except the body macros,
// which name the code that the tool generated for the class ("<File>.generated.h", included last).
#define UCLASS(...)
#define USTRUCT(...)
#define UENUM(...)
#define UPROPERTY(...)
#define UFUNCTION(...)
#define UMETA(...)
#define UPARAM(...)
#define UINTERFACE(...)

#define BODY_MACRO_COMBINE_INNER(A, B, C, D) A##B##C##D
#define BODY_MACRO_COMBINE(A, B, C, D) BODY_MACRO_COMBINE_INNER(A, B, C, D)
#define GENERATED_BODY(...) BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _GENERATED_BODY)
#define GENERATED_UCLASS_BODY(...) GENERATED_BODY()
#define GENERATED_USTRUCT_BODY(...) GENERATED_BODY()

#define NO_API

enum EObjectFlags : uint32
{
	RF_NoFlags = 0,
	RF_Public = 1u << 0,
	RF_Standalone = 1u << 1,
	RF_Transient = 1u << 3,
	RF_ClassDefaultObject = 1u << 4,
	RF_ArchetypeObject = 1u << 5,
	RF_BeginDestroyed = 1u << 15,
	RF_FinishDestroyed = 1u << 16,
	RF_MirroredGarbage = 1u << 30,
};
inline EObjectFlags operator|(EObjectFlags A, EObjectFlags B)
{
	return EObjectFlags(uint32(A) | uint32(B));
}

enum EClassFlags : uint32
{
	CLASS_None = 0,
	CLASS_Abstract = 1u << 0,
	CLASS_Native = 1u << 1,
	CLASS_Transient = 1u << 2,
	CLASS_CompiledFromBlueprint = 1u << 3,
};
inline EClassFlags operator|(EClassFlags A, EClassFlags B)
{
	return EClassFlags(uint32(A) | uint32(B));
}

// Property flags, from the specifiers of UPROPERTY.
enum EPropertyFlags : uint64
{
	CPF_None = 0,
	CPF_Edit = 1ull << 0,
	CPF_BlueprintVisible = 1ull << 2,
	CPF_BlueprintReadOnly = 1ull << 4,
	CPF_Transient = 1ull << 13,
	CPF_Config = 1ull << 14,
	CPF_DisableEditOnInstance = 1ull << 16,
	CPF_EditConst = 1ull << 17,
	CPF_DisableEditOnTemplate = 1ull << 18,
	CPF_SaveGame = 1ull << 24,
	CPF_BlueprintAssignable = 1ull << 28,
	CPF_ExportObject = 1ull << 3,
};

enum EFunctionFlags : uint32
{
	FUNC_None = 0,
	FUNC_Native = 1u << 10,
	FUNC_BlueprintCallable = 1u << 26,
	FUNC_BlueprintEvent = 1u << 27,
	FUNC_BlueprintPure = 1u << 28,
};
