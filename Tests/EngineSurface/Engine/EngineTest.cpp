#include "Engine/Engine.h"

#include "Headless/HeadlessApplication.h"

#include <gtest/gtest.h>

namespace
{
TArray<FString> Texts(const TArray<FOnScreenDebugMessage>& Messages)
{
	TArray<FString> Result;
	for (const FOnScreenDebugMessage& Message : Messages)
	{
		Result.Add(Message.Text);
	}
	return Result;
}
} // namespace

TEST(Engine, MessagesShowNewestFirstAndExpireWithTheWorldClock)
{
	FHeadlessApplication App;
	GEngine->AddOnScreenDebugMessage(-1, 10.0f, FColor::Red, TEXT("first"));
	App.Advance(4.0f, 0.5f);
	GEngine->AddOnScreenDebugMessage(-1, 10.0f, FColor::Green, TEXT("second"));
	GEngine->AddOnScreenDebugMessage(-1, 2.0f, FColor::Blue, TEXT("below"), false);

	const TArray<FOnScreenDebugMessage> Shown = GEngine->GetOnScreenDebugMessages();
	EXPECT_EQ(Texts(Shown), (TArray<FString>{TEXT("second"), TEXT("first"), TEXT("below")}));
	EXPECT_EQ(Shown[0].DisplayColor, FColor::Green);

	App.Advance(3.0f, 0.5f);
	EXPECT_EQ(Texts(GEngine->GetOnScreenDebugMessages()), (TArray<FString>{TEXT("second"), TEXT("first")}));
	App.Advance(3.5f, 0.5f);
	EXPECT_EQ(Texts(GEngine->GetOnScreenDebugMessages()), (TArray<FString>{TEXT("second")}));
	App.Advance(4.0f, 0.5f);
	EXPECT_TRUE(GEngine->GetOnScreenDebugMessages().IsEmpty());
}

TEST(Engine, KeyedMessageReplacesItsLineAndKeyMinusOneAlwaysAdds)
{
	FHeadlessApplication App;
	GEngine->AddOnScreenDebugMessage(7, 1.0f, FColor::White, TEXT("loading 1"));
	GEngine->AddOnScreenDebugMessage(-1, 5.0f, FColor::Red, TEXT("error"));
	GEngine->AddOnScreenDebugMessage(-1, 5.0f, FColor::Red, TEXT("error"));
	App.Advance(0.5f, 0.5f);
	GEngine->AddOnScreenDebugMessage(7, 1.0f, FColor::Yellow, TEXT("loading 2"));

	const TArray<FOnScreenDebugMessage> Shown = GEngine->GetOnScreenDebugMessages();
	EXPECT_EQ(Texts(Shown), (TArray<FString>{TEXT("error"), TEXT("error"), TEXT("loading 2")}));
	EXPECT_EQ(Shown[2].DisplayColor, FColor::Yellow);
	// The replaced line runs on its new display time, not the old one.
	App.Advance(0.9f, 0.5f);
	EXPECT_EQ(GEngine->GetOnScreenDebugMessages().Num(), 3);

	GEngine->ClearOnScreenDebugMessages();
	EXPECT_TRUE(GEngine->GetOnScreenDebugMessages().IsEmpty());
}

TEST(Engine, GlobalEngineExistsOnlyWhileAnApplicationRuns)
{
	EXPECT_EQ(GEngine, nullptr);
	{
		FHeadlessApplication App;
		ASSERT_NE(GEngine, nullptr);
		EXPECT_EQ(GEngine->GetGameWorld(), App.GetWorld());
	}
	EXPECT_EQ(GEngine, nullptr);
}
