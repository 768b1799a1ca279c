#include "DanmakuPositionedComment.h"

#include "Serialization/JsonReader.h"

namespace DanmakuPositionedComment
{
namespace
{
// The payload's fields, in order; those after Outline are not used.
enum class EField : int32
{
	StartX,
	StartY,
	Alpha,
	Life,
	Text,
	RotateZ,
	RotateY,
	EndX,
	EndY,
	MoveMs,
	DelayMs,
	Outline,
	Count
};

constexpr int32 RequiredFields = static_cast<int32>(EField::RotateZ);
// Far beyond any stage, yet small enough that positions and sizes stay ordinary numbers when drawn.
constexpr double MaxCoordinate = 100000.0;
constexpr double MaxSeconds = 86400.0;
// A millisecond: shorter lives, down to those a float cannot hold, would reach the layout as a life of 0.
constexpr double MinSeconds = 0.001;

enum class EValueKind : uint8
{
	Missing,
	Number,
	String,
	Boolean,
	Other
};

struct FValue
{
	EValueKind Kind = EValueKind::Missing;
	// A number's text as written, or the string.
	FString Text;
	double Number = 0.0;
	bool bBoolean = false;
};

bool IsDigit(TCHAR C)
{
	return C >= TEXT('0') && C <= TEXT('9');
}

// A decimal number, optionally signed, with a fraction and an exponent, and nothing else but blanks around it.
bool ParseNumberText(const FString& Raw, double& Out)
{
	const FString Text = Raw.TrimStartAndEnd();
	int32 Index = 0;
	int32 Digits = 0;
	const auto SkipDigits = [&Text, &Index]
	{
		int32 Count = 0;
		while (Index < Text.Len() && IsDigit(Text[Index]))
		{
			++Index;
			++Count;
		}
		return Count;
	};
	if (Index < Text.Len() && (Text[Index] == TEXT('-') || Text[Index] == TEXT('+')))
	{
		++Index;
	}
	Digits += SkipDigits();
	if (Index < Text.Len() && Text[Index] == TEXT('.'))
	{
		++Index;
		Digits += SkipDigits();
	}
	if (Digits == 0)
	{
		return false;
	}
	if (Index < Text.Len() && (Text[Index] == TEXT('e') || Text[Index] == TEXT('E')))
	{
		++Index;
		if (Index < Text.Len() && (Text[Index] == TEXT('-') || Text[Index] == TEXT('+')))
		{
			++Index;
		}
		if (SkipDigits() == 0)
		{
			return false;
		}
	}
	if (Index != Text.Len())
	{
		return false;
	}
	Out = FCString::Atod(*Text);
	return FMath::IsFinite(Out);
}

bool ToNumber(const FValue& Value, double& Out)
{
	if (Value.Kind == EValueKind::Number)
	{
		Out = Value.Number;
		return FMath::IsFinite(Out);
	}
	return Value.Kind == EValueKind::String && ParseNumberText(Value.Text, Out);
}

// Stage pixels of a coordinate: a fraction of Extent when written with a decimal point and not above 1.
bool ToCoordinate(const FValue& Value, double Extent, double& Out)
{
	double Number = 0.0;
	if (!ToNumber(Value, Number))
	{
		return false;
	}
	int32 Point = INDEX_NONE;
	const bool bFraction = Value.Text.FindChar(TEXT('.'), Point) && Number <= 1.0;
	Out = FMath::Clamp(bFraction ? Number * Extent : Number, -MaxCoordinate, MaxCoordinate);
	return true;
}

// "a1-a2", or one opacity for the whole life.
bool ToAlphas(const FValue& Value, float& OutFrom, float& OutTo)
{
	double From = 0.0;
	double To = 0.0;
	if (Value.Kind == EValueKind::Number)
	{
		From = To = Value.Number;
	}
	else if (Value.Kind == EValueKind::String)
	{
		const int32 Dash = Value.Text.Find(TEXT("-"), ESearchCase::CaseSensitive, ESearchDir::FromStart, 1);
		if (Dash == INDEX_NONE)
		{
			if (!ParseNumberText(Value.Text, From))
			{
				return false;
			}
			To = From;
		}
		else if (!ParseNumberText(Value.Text.Left(Dash), From) || !ParseNumberText(Value.Text.Mid(Dash + 1), To))
		{
			return false;
		}
	}
	else
	{
		return false;
	}
	if (!FMath::IsFinite(From) || !FMath::IsFinite(To))
	{
		return false;
	}
	OutFrom = static_cast<float>(FMath::Clamp(From, 0.0, 1.0));
	OutTo = static_cast<float>(FMath::Clamp(To, 0.0, 1.0));
	return true;
}

// An optional number; a field that is missing or does not read keeps the default.
double OptionalNumber(const TArray<FValue>& Values, EField Field, double Default)
{
	const int32 Index = static_cast<int32>(Field);
	double Number = 0.0;
	return Index < Values.Num() && ToNumber(Values[Index], Number) ? Number : Default;
}

bool OptionalOutline(const TArray<FValue>& Values)
{
	const int32 Index = static_cast<int32>(EField::Outline);
	if (Index >= Values.Num())
	{
		return true;
	}
	const FValue& Value = Values[Index];
	if (Value.Kind == EValueKind::Boolean)
	{
		return Value.bBoolean;
	}
	if (Value.Kind == EValueKind::Number)
	{
		return Value.Number != 0.0;
	}
	const FString Text = Value.Text.TrimStartAndEnd();
	return !(Value.Kind == EValueKind::String &&
	         (Text.Equals(TEXT("false"), ESearchCase::IgnoreCase) || Text == TEXT("0")));
}

bool ReadValues(const FString& Payload, TArray<FValue>& OutValues)
{
	const TSharedRef<TJsonReader<TCHAR>> Reader = TJsonReaderFactory<TCHAR>::CreateFromView(FStringView(Payload));
	EJsonNotation Notation = EJsonNotation::Null;
	if (!Reader->ReadNext(Notation) || Notation != EJsonNotation::ArrayStart)
	{
		return false;
	}
	while (Reader->ReadNext(Notation) && Notation != EJsonNotation::ArrayEnd)
	{
		FValue Value;
		switch (Notation)
		{
			case EJsonNotation::String:
				Value.Kind = EValueKind::String;
				Value.Text = Reader->GetValueAsString();
				break;
			case EJsonNotation::Number:
				Value.Kind = EValueKind::Number;
				Value.Text = Reader->GetValueAsNumberString();
				Value.Number = Reader->GetValueAsNumber();
				break;
			case EJsonNotation::Boolean:
				Value.Kind = EValueKind::Boolean;
				Value.bBoolean = Reader->GetValueAsBoolean();
				break;
			case EJsonNotation::Null:
				break;
			case EJsonNotation::ObjectStart:
			case EJsonNotation::ArrayStart:
				Value.Kind = EValueKind::Other;
				if (!(Notation == EJsonNotation::ObjectStart ? Reader->SkipObject() : Reader->SkipArray()))
				{
					return false;
				}
				break;
			default:
				return false;
		}
		if (OutValues.Num() < static_cast<int32>(EField::Count))
		{
			OutValues.Add(MoveTemp(Value));
		}
	}
	if (Notation != EJsonNotation::ArrayEnd)
	{
		return false;
	}
	// Only blanks may follow the array.
	return !Reader->ReadNext(Notation) && Notation != EJsonNotation::Error;
}
} // namespace
} // namespace DanmakuPositionedComment

bool FDanmakuPositionedComment::Parse(const FString& Payload, FDanmakuPositionedComment& Out, FString* OutProblem)
{
	using namespace DanmakuPositionedComment;
	const auto Refuse = [OutProblem](const TCHAR* Problem)
	{
		if (OutProblem)
		{
			*OutProblem = Problem;
		}
		return false;
	};
	TArray<FValue> Values;
	if (!ReadValues(Payload, Values))
	{
		return Refuse(TEXT("not a JSON array"));
	}
	if (Values.Num() < RequiredFields)
	{
		return Refuse(TEXT("fewer than five fields (x, y, opacity, life, text)"));
	}
	const auto At = [&Values](EField Field) -> const FValue& { return Values[static_cast<int32>(Field)]; };

	FDanmakuPositionedComment Comment;
	double X = 0.0;
	double Y = 0.0;
	if (!ToCoordinate(At(EField::StartX), StageWidth, X) || !ToCoordinate(At(EField::StartY), StageHeight, Y))
	{
		return Refuse(TEXT("bad start position"));
	}
	Comment.Start = FVector2D(X, Y);
	if (!ToAlphas(At(EField::Alpha), Comment.AlphaFrom, Comment.AlphaTo))
	{
		return Refuse(TEXT("bad opacity"));
	}
	double Life = 0.0;
	if (!ToNumber(At(EField::Life), Life) || !(Life > 0.0))
	{
		return Refuse(TEXT("bad life"));
	}
	Comment.Life = static_cast<float>(FMath::Clamp(Life, MinSeconds, MaxSeconds));
	const FValue& Text = At(EField::Text);
	if (Text.Kind != EValueKind::String && Text.Kind != EValueKind::Number)
	{
		return Refuse(TEXT("no text"));
	}
	Comment.Text = Text.Text.Replace(TEXT("/n"), TEXT("\n"), ESearchCase::CaseSensitive);

	Comment.RotateZ = static_cast<float>(FMath::Fmod(OptionalNumber(Values, EField::RotateZ, 0.0), 360.0));
	Comment.RotateY = static_cast<float>(FMath::Fmod(OptionalNumber(Values, EField::RotateY, 0.0), 360.0));
	Comment.End = Comment.Start;
	const int32 EndX = static_cast<int32>(EField::EndX);
	const int32 EndY = static_cast<int32>(EField::EndY);
	if (EndX < Values.Num() && ToCoordinate(Values[EndX], StageWidth, X))
	{
		Comment.End.X = X;
	}
	if (EndY < Values.Num() && ToCoordinate(Values[EndY], StageHeight, Y))
	{
		Comment.End.Y = Y;
	}
	const double MoveMs = OptionalNumber(Values, EField::MoveMs, Comment.Life * 1000.0);
	const double DelayMs = OptionalNumber(Values, EField::DelayMs, 0.0);
	Comment.MoveDuration = static_cast<float>(FMath::Clamp(MoveMs / 1000.0, 0.0, MaxSeconds));
	Comment.MoveDelay = static_cast<float>(FMath::Clamp(DelayMs / 1000.0, 0.0, MaxSeconds));
	Comment.bOutline = OptionalOutline(Values);
	Out = MoveTemp(Comment);
	return true;
}

void FDanmakuPositionedComment::FitStage(const FVector2D& CanvasSize, double& OutScale, FVector2D& OutOffset)
{
	OutScale = FMath::Max(0.0, FMath::Min(CanvasSize.X / StageWidth, CanvasSize.Y / StageHeight));
	OutOffset = (CanvasSize - FVector2D(StageWidth, StageHeight) * OutScale) * 0.5;
}

FVector2D FDanmakuPositionedComment::GetPositionAt(float Elapsed) const
{
	float Progress = Elapsed >= MoveDelay ? 1.0f : 0.0f;
	if (MoveDuration > 0.0f)
	{
		Progress = FMath::Clamp((Elapsed - MoveDelay) / MoveDuration, 0.0f, 1.0f);
	}
	return Start + (End - Start) * double(Progress);
}

float FDanmakuPositionedComment::GetAlphaAt(float Elapsed) const
{
	const float Progress = Life > 0.0f ? FMath::Clamp(Elapsed / Life, 0.0f, 1.0f) : 0.0f;
	return AlphaFrom + (AlphaTo - AlphaFrom) * Progress;
}
