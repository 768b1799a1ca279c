#include "Engine/Engine.h"

UEngine* GEngine = nullptr;

void UEngine::AddOnScreenDebugMessage(int32 Key, float TimeToDisplay, FColor DisplayColor, const FString& DebugMessage,
                                      bool bNewerOnTop, const FVector2D& TextScale)
{
	RemoveExpiredMessages();
	FOnScreenDebugMessage Message;
	Message.Key = Key;
	Message.Text = DebugMessage;
	Message.DisplayColor = DisplayColor;
	Message.TextScale = TextScale;
	Message.ExpireTime = GetCurrentTime() + TimeToDisplay;
	if (Key != -1)
	{
		if (FOnScreenDebugMessage* Existing =
		        Messages.FindByPredicate([Key](const FOnScreenDebugMessage& Line) { return Line.Key == Key; }))
		{
			*Existing = Message;
			return;
		}
	}
	if (bNewerOnTop)
	{
		Messages.Insert(Message, 0);
	}
	else
	{
		Messages.Add(Message);
	}
}

TArray<FOnScreenDebugMessage> UEngine::GetOnScreenDebugMessages() const
{
	const double Now = GetCurrentTime();
	TArray<FOnScreenDebugMessage> Showing;
	for (const FOnScreenDebugMessage& Message : Messages)
	{
		if (Now <= Message.ExpireTime)
		{
			Showing.Add(Message);
		}
	}
	return Showing;
}

double UEngine::GetCurrentTime() const
{
	return GameWorld ? GameWorld->GetTimeSeconds() : 0.0;
}

void UEngine::RemoveExpiredMessages()
{
	const double Now = GetCurrentTime();
	Messages.RemoveAll([Now](const FOnScreenDebugMessage& Message) { return Now > Message.ExpireTime; });
}
