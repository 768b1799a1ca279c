#include "Kismet/KismetStringLibrary.h"

FString UKismetStringLibrary::GetSubstring(const FString& SourceString, int32 StartIndex, int32 Length)
{
	if (Length <= 0)
	{
		return FString();
	}
	const int64 SourceLength = SourceString.Len();
	// 64-bit, so that StartIndex + Length cannot overflow.
	const int64 Start = FMath::Clamp<int64>(StartIndex, 0, SourceLength);
	const int64 End = FMath::Clamp<int64>(int64(StartIndex) + Length, Start, SourceLength);
	return FString::ConstructFromPtrSize(*SourceString + Start, int32(End - Start));
}
