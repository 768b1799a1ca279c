#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

#include "ObjectTestTypes.generated.h"

UENUM()
enum class ETestMood : uint8
{
	Calm = 0,
	Busy = 3 UMETA(DisplayName = "Very busy"),
	Away
};

USTRUCT()
struct FTestPayload
{
	GENERATED_BODY()

	UPROPERTY()
	int32 Count = 0;

	UPROPERTY()
	TObjectPtr<UObject> Held;
};

// A small object with one reference of every kind the collector must follow, and one it must not.
UCLASS()
class UTestNode : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, Category = "Test", meta = (BindWidget, ClampMin = "0"))
	TObjectPtr<UTestNode> Child;

	UPROPERTY()
	UTestNode* RawChild = nullptr;

	UPROPERTY()
	TArray<TObjectPtr<UTestNode>> Children;

	UPROPERTY()
	TMap<int32, TObjectPtr<UTestNode>> ByKey;

	UPROPERTY()
	FTestPayload Payload;

	UPROPERTY()
	TSubclassOf<UTestNode> NodeClass;

	UPROPERTY(EditDefaultsOnly)
	FString Label = TEXT("node");

	UPROPERTY()
	ETestMood Mood = ETestMood::Calm;

	// Not reflected: the collector does not see it.
	UTestNode* Hidden = nullptr;

	int32 BeginDestroyCalls = 0;
	int32* DestroyCounter = nullptr;

	UFUNCTION()
	void OnSignal(int32 Value) { Received.Add(Value); }

	UFUNCTION(BlueprintCallable)
	void Poke() { ++Pokes; }

	void NotReflected(int32 Value) { Received.Add(-Value); }

	void BeginDestroy() override
	{
		++BeginDestroyCalls;
		if (DestroyCounter)
		{
			++*DestroyCounter;
		}
		Super::BeginDestroy();
	}

	TArray<int32> Received;
	int32 Pokes = 0;
};

UCLASS()
class UTestLeaf : public UTestNode
{
	GENERATED_BODY()

public:
	UTestLeaf() { WorldSeenInConstructor = GetOuter() != nullptr; }

	bool WorldSeenInConstructor = false;
};

UCLASS(Abstract)
class UTestAbstract : public UObject
{
	GENERATED_BODY()
};
