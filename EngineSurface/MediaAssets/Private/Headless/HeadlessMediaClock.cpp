#include "Headless/HeadlessMediaClock.h"

#include "Headless/HeadlessApplication.h"
#include "MediaPlayer.h"

namespace
{
const bool bMediaPhaseRegistered = []
{
	FHeadlessApplication::RegisterPhaseHandler(EHeadlessTickPhase::Media, [](FHeadlessApplication&, float DeltaSeconds)
	                                           { FHeadlessMediaClock::Tick(DeltaSeconds); });
	return true;
}();
} // namespace

TArray<TWeakObjectPtr<UMediaPlayer>>& FHeadlessMediaClock::GetPlayers()
{
	static TArray<TWeakObjectPtr<UMediaPlayer>> Players;
	return Players;
}

void FHeadlessMediaClock::AddPlayer(UMediaPlayer* Player)
{
	GetPlayers().Add(TWeakObjectPtr<UMediaPlayer>(Player));
}

void FHeadlessMediaClock::Tick(float DeltaSeconds)
{
	TArray<TWeakObjectPtr<UMediaPlayer>>& Players = GetPlayers();
	Players.RemoveAll([](const TWeakObjectPtr<UMediaPlayer>& Player) { return !Player.IsValid(); });
	// A copy: a handler may make new players while this frame's are ticked; they start next frame.
	const TArray<TWeakObjectPtr<UMediaPlayer>> ThisFrame = Players;
	for (const TWeakObjectPtr<UMediaPlayer>& Player : ThisFrame)
	{
		if (UMediaPlayer* Live = Player.Get())
		{
			Live->TickPlayer(DeltaSeconds);
		}
	}
}
