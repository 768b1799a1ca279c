#include "ObjectTestTypes.h"

#include <gtest/gtest.h>

namespace
{
// Makes a rooted holder for the test and unroots it at the end, so tests do not leak into each other.
struct FRootedHolder
{
	UTestNode* Holder = NewObject<UTestNode>();
	FRootedHolder() { Holder->AddToRoot(); }
	~FRootedHolder()
	{
		Holder->RemoveFromRoot();
		CollectGarbage();
	}
};
} // namespace

TEST(GarbageCollection, KeepsExactlyWhatReflectedPropertiesReach)
{
	// Declared first: the holder's last collection still counts into it.
	int32 Destroyed = 0;
	FRootedHolder Root;
	auto Make = [&Destroyed]
	{
		UTestNode* Node = NewObject<UTestNode>();
		Node->DestroyCounter = &Destroyed;
		return Node;
	};
	UTestNode* ViaPtr = Make();
	UTestNode* ViaRaw = Make();
	UTestNode* ViaArray = Make();
	UTestNode* ViaMap = Make();
	UTestNode* ViaStruct = Make();
	UTestNode* ViaPlainMember = Make();
	UTestNode* Grandchild = Make();
	Root.Holder->Child = ViaPtr;
	Root.Holder->RawChild = ViaRaw;
	Root.Holder->Children.Add(ViaArray);
	Root.Holder->ByKey.Add(7, ViaMap);
	Root.Holder->Payload.Held = ViaStruct;
	Root.Holder->Hidden = ViaPlainMember;
	ViaArray->Child = Grandchild;
	TWeakObjectPtr<UTestNode> WeakPlain(ViaPlainMember);
	TWeakObjectPtr<UTestNode> WeakGrandchild(Grandchild);

	CollectGarbage();

	EXPECT_EQ(Destroyed, 1);
	EXPECT_FALSE(WeakPlain.IsValid());
	EXPECT_EQ(WeakPlain.Get(), nullptr);
	EXPECT_EQ(WeakGrandchild.Get(), Grandchild);
	EXPECT_EQ(Root.Holder->Children[0]->Child.Get(), Grandchild);
}

TEST(GarbageCollection, BeginDestroyRunsOncePerObject)
{
	int32 Destroyed = 0;
	UTestNode* Node = NewObject<UTestNode>();
	Node->DestroyCounter = &Destroyed;
	Node->ConditionalBeginDestroy();
	Node->ConditionalBeginDestroy();
	EXPECT_EQ(Destroyed, 1);
	CollectGarbage();
	EXPECT_EQ(Destroyed, 1);
}

TEST(GarbageCollection, GarbageIsFreedAndReferencesToItCleared)
{
	FRootedHolder Root;
	UTestNode* Doomed = NewObject<UTestNode>();
	Root.Holder->Child = Doomed;
	Root.Holder->Children.Add(Doomed);
	TWeakObjectPtr<UTestNode> Weak(Doomed);
	Doomed->MarkAsGarbage();
	EXPECT_FALSE(IsValid(Doomed));
	EXPECT_FALSE(Weak.IsValid());
	CollectGarbage();
	EXPECT_EQ(Root.Holder->Child.Get(), nullptr);
	ASSERT_EQ(Root.Holder->Children.Num(), 1);
	EXPECT_EQ(Root.Holder->Children[0].Get(), nullptr);
}

TEST(GarbageCollection, CyclesWithoutARootAreFreed)
{
	const int32 Before = GetNumLiveObjects();
	UTestNode* A = NewObject<UTestNode>();
	UTestNode* B = NewObject<UTestNode>();
	A->Child = B;
	B->Child = A;
	EXPECT_EQ(GetNumLiveObjects(), Before + 2);
	CollectGarbage();
	EXPECT_EQ(GetNumLiveObjects(), Before);
}

TEST(GarbageCollection, InnerObjectsKeepTheirOuterAndStrongPointersKeepObjects)
{
	TStrongObjectPtr<UTestNode> Inner(NewObject<UTestNode>(NewObject<UTestNode>()));
	TWeakObjectPtr<UObject> Outer(Inner->GetOuter());
	CollectGarbage();
	EXPECT_TRUE(Outer.IsValid());
	Inner.Reset();
	CollectGarbage();
	EXPECT_FALSE(Outer.IsValid());
}

TEST(GarbageCollection, AReusedSlotDoesNotReviveAWeakPointer)
{
	TWeakObjectPtr<UTestNode> Weak(NewObject<UTestNode>());
	CollectGarbage();
	TStrongObjectPtr<UTestNode> Fresh(NewObject<UTestNode>());
	EXPECT_FALSE(Weak.IsValid());
}
