#pragma once

#include "CoreMinimal.h"
#include "Misc/DateTime.h"
#include "Misc/Timespan.h"

// One comment of the legacy bullet chat, copied by value into the overlay's time index and into its node.
struct PRAVELLA_API FBulletChatData
{
	// The track manager shows no two records with the same ID at once.
	int32 ID = 0;
	int32 PostID = 0;
	int32 AuthorID = 0;
	FString Author;
	FDateTime Date;
	// Video time at which the comment is shown; the index key.
	FTimespan Time;
	FString Content;
	int32 Fabulous = 0;

	// False when the record's document gave no "id". Such records would all share ID 0 and block one another,
	// so they are told apart by LocalKey instead.
	bool bHasID = true;
	// Handed out by the overlay's index to each record without an ID; 0 means the record is never blocked.
	int32 LocalKey = 0;
};
