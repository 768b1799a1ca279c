// The lesson player's viewer-script reader: any text either gives steps in time order or is refused with a
// message naming the line at fault.
#include "FuzzSupport.h"
#include "ViewerScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static const bool bReady = (SilenceLog(), true);
	(void)bReady;
	FViewerScript Script;
	Script.Path = TEXT("/fuzz/session.txt");
	FString Error;
	if (!Script.Parse(FuzzText(Data, Size), TEXT("/fuzz"), Error))
	{
		check(!Error.IsEmpty());
		return 0;
	}
	for (const FViewerStep& Step : Script.Steps)
	{
		check(Step.Line > 0 && Step.Seconds >= 0.0 && Step.Count >= 0);
		check(!Script.Where(Step).IsEmpty());
	}
	return 0;
}
