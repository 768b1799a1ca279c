// The MP4 movie header reader: any file must give either no duration or a positive one, never a crash, a hang
// or a read out of bounds.
#include "FuzzSupport.h"
#include "Headless/Utf8String.h"
#include "Headless/Mp4MovieHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static const FString File = []
	{
		SilenceLog();
		return FromUtf8(
		    (std::filesystem::temp_directory_path() / ("PravellaFuzz-" + std::to_string(getpid()) + ".mp4")).string());
	}();
	FFileHelper::SaveArrayToFile(TArray<uint8>(Data, int32(Size)), *File);
	FTimespan Duration = FTimespan::FromSeconds(-1.0);
	if (FMp4MovieHeader::ReadDuration(File, Duration))
	{
		check(Duration.GetTicks() > 0);
	}
	else
	{
		check(Duration == FTimespan::FromSeconds(-1.0));
	}
	return 0;
}
