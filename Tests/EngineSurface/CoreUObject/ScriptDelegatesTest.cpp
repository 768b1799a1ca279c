#include "ObjectTestTypes.h"

#include "UObject/GarbageCollection.h"

#include "ExpectedEnsures.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

namespace
{
DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FTestSignal, int32, Value);
DECLARE_MULTICAST_DELEGATE_OneParam(FTestNativeSignal, int32);

} // namespace

TEST(DynamicDelegate, SameHandlerAddedTwiceTripsAnEnsureAndIsCalledOnce)
{
	TStrongObjectPtr<UTestNode> Node(NewObject<UTestNode>());
	FTestSignal Signal;
	FLogCapture Spy;
	FExpectedEnsures Ensures;
	Signal.AddDynamic(Node.Get(), &UTestNode::OnSignal);
	Signal.AddUniqueDynamic(Node.Get(), &UTestNode::OnSignal);
	EXPECT_EQ(Ensures.Num(), 0) << "AddUniqueDynamic of a bound handler is no mistake";
	Signal.AddDynamic(Node.Get(), &UTestNode::OnSignal);
	EXPECT_EQ(Ensures.Num(), 1);
	Signal.Broadcast(5);
	EXPECT_EQ(Node->Received, TArray<int32>({5}));
	ASSERT_EQ(Spy.Messages(ELogVerbosity::Warning).Num(), 1);
	EXPECT_TRUE(Spy.Messages(ELogVerbosity::Warning)[0].Contains(TEXT("OnSignal")));
	EXPECT_TRUE(Signal.IsAlreadyBound(Node.Get(), &UTestNode::OnSignal));
}

TEST(DynamicDelegate, RefusesFunctionsThatAreNotReflected)
{
	TStrongObjectPtr<UTestNode> Node(NewObject<UTestNode>());
	FTestSignal Signal;
	FLogCapture Spy;
	Signal.AddDynamic(Node.Get(), &UTestNode::NotReflected);
	Signal.Broadcast(1);
	EXPECT_TRUE(Node->Received.IsEmpty());
	EXPECT_FALSE(Signal.IsBound());
	EXPECT_EQ(Spy.Messages(ELogVerbosity::Warning).Num(), 1);
}

TEST(DynamicDelegate, RemoveAndClearStopDelivery)
{
	TStrongObjectPtr<UTestNode> First(NewObject<UTestNode>());
	TStrongObjectPtr<UTestNode> Second(NewObject<UTestNode>());
	FTestSignal Signal;
	Signal.AddDynamic(First.Get(), &UTestNode::OnSignal);
	Signal.AddDynamic(Second.Get(), &UTestNode::OnSignal);
	Signal.RemoveDynamic(First.Get(), &UTestNode::OnSignal);
	Signal.Broadcast(2);
	Signal.Clear();
	Signal.Broadcast(3);
	EXPECT_TRUE(First->Received.IsEmpty());
	EXPECT_EQ(Second->Received, TArray<int32>({2}));
}

TEST(DynamicDelegate, HandlersOfCollectedObjectsAreSkipped)
{
	FTestSignal Signal;
	TStrongObjectPtr<UTestNode> Survivor(NewObject<UTestNode>());
	Signal.AddDynamic(NewObject<UTestNode>(), &UTestNode::OnSignal);
	Signal.AddDynamic(Survivor.Get(), &UTestNode::OnSignal);
	CollectGarbage();
	Signal.Broadcast(9);
	EXPECT_EQ(Survivor->Received, TArray<int32>({9}));
}

TEST(MulticastDelegate, HandlerRemovingItselfDoesNotSkipItsNeighbour)
{
	FTestNativeSignal Signal;
	TArray<FString> Calls;
	FDelegateHandle Self;
	Signal.AddLambda([&Calls](int32) { Calls.Add(TEXT("first")); });
	Self = Signal.AddLambda(
	    [&](int32)
	    {
		    Calls.Add(TEXT("self"));
		    Signal.Remove(Self);
	    });
	Signal.AddLambda([&Calls](int32) { Calls.Add(TEXT("neighbour")); });
	Signal.Broadcast(1);
	Signal.Broadcast(2);
	EXPECT_EQ(Calls,
	          TArray<FString>({TEXT("first"), TEXT("self"), TEXT("neighbour"), TEXT("first"), TEXT("neighbour")}));
}

TEST(MulticastDelegate, BindingRemovedByAnEarlierHandlerIsNotCalled)
{
	FTestNativeSignal Signal;
	int32 LateCalls = 0;
	FDelegateHandle Late;
	Signal.AddLambda([&](int32) { Signal.Remove(Late); });
	Late = Signal.AddLambda([&LateCalls](int32) { ++LateCalls; });
	Signal.Broadcast(0);
	EXPECT_EQ(LateCalls, 0);
}

TEST(MulticastDelegate, ObjectBindingsAreWeakAndRemovableByObject)
{
	FTestNativeSignal Signal;
	TStrongObjectPtr<UTestNode> Kept(NewObject<UTestNode>());
	Signal.AddUObject(Kept.Get(), &UTestNode::NotReflected);
	Signal.AddUObject(NewObject<UTestNode>(), &UTestNode::NotReflected);
	CollectGarbage();
	Signal.Broadcast(4);
	EXPECT_EQ(Kept->Received, TArray<int32>({-4}));
	Signal.RemoveAll(Kept.Get());
	EXPECT_FALSE(Signal.IsBound());
}

TEST(Delegate, ExecuteIfBoundReportsWhetherItRan)
{
	TDelegate<void(int32)> Delegate;
	EXPECT_FALSE(Delegate.ExecuteIfBound(1));
	int32 Seen = 0;
	Delegate.BindLambda([&Seen](int32 Value) { Seen = Value; });
	EXPECT_TRUE(Delegate.ExecuteIfBound(6));
	EXPECT_EQ(Seen, 6);
}
