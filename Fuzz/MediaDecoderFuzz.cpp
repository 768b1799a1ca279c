// The headless media player's decoder: any file is refused with a reason or opens with a length, a frame rate and
// a picture size in range, and seeking to any time and playing to the end neither crash, hang nor read out of
// bounds; whenever there is a current frame it converts to a picture of the stated size.
#include "FuzzSupport.h"
#include "Headless/HeadlessMediaDecoder.h"

namespace
{
// Each input is written to a file of the process's own, removed when the process ends.
struct FInputFile
{
	FInputFile()
	    : Path(std::filesystem::temp_directory_path() / ("PravellaFuzz-" + std::to_string(getpid()) + ".media")),
	      Name(FromUtf8(Path.string()))
	{
		SilenceLog();
	}
	~FInputFile() { std::filesystem::remove(Path); }

	std::filesystem::path Path;
	FString Name;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static const FInputFile Input;
	const FString& File = Input.Name;
	FFileHelper::SaveArrayToFile(TArray<uint8>(Data, int32(Size)), *File);
	FString Error;
	const std::unique_ptr<FHeadlessMediaDecoder> Decoder = FHeadlessMediaDecoder::Open(File, Error);
	if (!Decoder)
	{
		check(!Error.IsEmpty());
		return 0;
	}
	const double Duration = Decoder->GetDuration();
	check(Duration > 0.0 && Duration <= FHeadlessMediaDecoder::MaxDurationSeconds);
	check(Decoder->GetFrameRate() > 0.0f);
	const FIntPoint Dimensions = Decoder->GetDimensions();
	check(Dimensions.X > 0 && Dimensions.Y > 0 && Dimensions.X <= FHeadlessMediaDecoder::MaxDimension &&
	      Dimensions.Y <= FHeadlessMediaDecoder::MaxDimension);

	// Seek targets from the input's last bytes, as fractions of the length.
	for (size_t Index = 0; Index < 3 && Index < Size; ++Index)
	{
		const double Target = Duration * Data[Size - 1 - Index] / 255.0;
		Decoder->SeekTo(Target);
		TArray<FColor> Pixels;
		FIntPoint Shown;
		const bool bFrame = Decoder->GetFrame(Pixels, Shown);
		check(bFrame == (Decoder->GetFrameTime() >= 0.0));
		check(!bFrame || (Shown == Dimensions && Pixels.Num() == Dimensions.X * Dimensions.Y));
		check(Decoder->GetAudioEnd() >= Decoder->GetAudioStart());
	}
	Decoder->AdvanceTo(Duration);
	return 0;
}
