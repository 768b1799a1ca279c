#pragma once

#include "CoreMinimal.h"
#include "BulletChat/BulletChatData.h"

// Reads legacy bullet chat JSON token by token into records, without building the JSON object model. Fields are
// taken as the object model's getters take them: a missing field or one of another type gives 0 or an empty
// string, a number given as text is read, numbers are truncated toward zero and clamped to int32. A date or time
// text that does not parse leaves the field at zero.
class FBulletChatDocumentReader
{
public:
	// A full document ({"datas": [{...}, ...]}). False, with no records, when the text is not one valid JSON
	// value, the root is not an object or it has no "datas" array. Elements that are not objects are skipped.
	static bool ReadDocument(FStringView JsonText, TArray<FBulletChatData>& OutRecords);

	// One record whose keys are at the top level of one JSON object. False when the text is not such an object.
	static bool ReadRecord(FStringView JsonText, FBulletChatData& OutRecord);
};
