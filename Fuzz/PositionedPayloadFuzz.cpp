// libFuzzer target for the payload of positioned comments: any text gives either a refusal with a reason or a
// comment whose numbers are finite and held to the bounds the layout relies on.

#include "DanmakuPositionedComment.h"
#include "FuzzSupport.h"

namespace
{
void Require(bool bCondition)
{
	if (!bCondition)
	{
		__builtin_trap();
	}
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	FDanmakuPositionedComment Comment;
	FString Problem;
	if (!FDanmakuPositionedComment::Parse(FuzzText(Data, Size), Comment, &Problem))
	{
		Require(!Problem.IsEmpty());
		return 0;
	}
	for (const double Coordinate : {Comment.Start.X, Comment.Start.Y, Comment.End.X, Comment.End.Y})
	{
		Require(FMath::IsFinite(Coordinate) && FMath::Abs(Coordinate) <= 1.0e5);
	}
	Require(Comment.AlphaFrom >= 0.0f && Comment.AlphaFrom <= 1.0f && Comment.AlphaTo >= 0.0f &&
	        Comment.AlphaTo <= 1.0f);
	Require(Comment.Life > 0.0f && Comment.Life <= 86400.0f);
	Require(Comment.MoveDelay >= 0.0f && Comment.MoveDuration >= 0.0f);
	Require(FMath::Abs(Comment.RotateZ) < 360.0f && FMath::Abs(Comment.RotateY) < 360.0f);
	// "/n" is the payload's line break; "/N" is text.
	Require(!Comment.Text.Contains(TEXT("/n"), ESearchCase::CaseSensitive));
	for (const float Elapsed : {0.0f, Comment.MoveDelay, Comment.Life})
	{
		const FVector2D Position = Comment.GetPositionAt(Elapsed);
		Require(FMath::IsFinite(Position.X) && FMath::IsFinite(Position.Y));
		const float Alpha = Comment.GetAlphaAt(Elapsed);
		Require(Alpha >= 0.0f && Alpha <= 1.0f);
	}
	return 0;
}
