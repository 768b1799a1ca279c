#include "AssExport.h"

#include "Dom/JsonObject.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

namespace
{
// Fixed notation with at most three decimals and no trailing zeros: "1920", "45.36", "-12.5".
FString FormatNumber(double Value)
{
	FString Text = FString::Printf(TEXT("%.3f"), FMath::Abs(Value) < 0.0005 ? 0.0 : Value);
	while (Text.EndsWith(TEXT("0")))
	{
		Text = Text.LeftChop(1);
	}
	if (Text.EndsWith(TEXT(".")))
	{
		Text = Text.LeftChop(1);
	}
	return Text;
}

// &HBBGGRR& as ASS writes colours.
FString FormatColour(const FColor& Color)
{
	return FString::Printf(TEXT("&H%02X%02X%02X&"), Color.B, Color.G, Color.R);
}

// Milliseconds as \move and \t take them.
int64 Milliseconds(double Seconds)
{
	return int64(FMath::RoundToDouble(Seconds * 1000.0));
}

// The ASS transparency of a colour's alpha times an opacity: 00 opaque, FF invisible.
int32 Transparency(const FColor& Color, double Opacity)
{
	return 255 - FMath::Clamp(int32(FMath::RoundToDouble(Color.A * FMath::Clamp(Opacity, 0.0, 1.0))), 0, 255);
}

// Bounds of the numbers a trace may hold, wide enough for any run and narrow enough that every number turns into
// the script's whole numbers without overflow: a forged trace is refused rather than written as nonsense.
constexpr double MaxCoordinate = 1e6;
constexpr double MaxSeconds = 1e7;
constexpr double MaxWhole = 2147483647.0;

// Whether Value lies in Min to Max; otherwise OutError names the field and line.
bool CheckRange(const TCHAR* Name, double Value, double Min, double Max, int32 Line, FString& OutError)
{
	if (Value >= Min && Value <= Max)
	{
		return true;
	}
	OutError = FString::Printf(TEXT("line %d: \"%s\" is %g, outside %g to %g"), Line, Name, Value, Min, Max);
	return false;
}

bool ReadNumber(const FJsonObject& Event, const TCHAR* Name, double& Out, FString& OutMissing)
{
	if (!Event.TryGetNumberField(Name, Out))
	{
		OutMissing = Name;
		return false;
	}
	return true;
}
} // namespace

FString FAssExport::FormatTime(double Seconds)
{
	const int64 Hundredths = FMath::Max<int64>(0, int64(FMath::RoundToDouble(Seconds * 100.0)));
	return FString::Printf(TEXT("%lld:%02lld:%02lld.%02lld"), Hundredths / 360000, (Hundredths / 6000) % 60,
	                       (Hundredths / 100) % 60, Hundredths % 100);
}

FString FAssExport::EscapeText(const FString& Text)
{
	FString Out;
	Out.Reserve(Text.Len());
	for (int32 Index = 0; Index < Text.Len(); ++Index)
	{
		const TCHAR Char = Text[Index];
		const TCHAR Next = Index + 1 < Text.Len() ? Text[Index + 1] : 0;
		if (Char == TEXT('\r') || Char == TEXT('\n'))
		{
			Out += TEXT("\\N");
			Index += Char == TEXT('\r') && Next == TEXT('\n') ? 1 : 0;
		}
		else if (Char == TEXT('{') || Char == TEXT('}'))
		{
			Out.AppendChar(TEXT('\\'));
			Out.AppendChar(Char);
		}
		else if (Char == TEXT('\\') && (Next == TEXT('n') || Next == TEXT('N') || Next == TEXT('h')))
		{
			// A zero-width space keeps "\n" of a comment from reading as a line break.
			Out.AppendChar(Char);
			Out.AppendChar(TCHAR(0x200B));
		}
		else
		{
			Out.AppendChar(Char);
		}
	}
	return Out;
}

void FAssExport::BeginTrace()
{
	Placements.Reset();
	PlacementOfNode.Reset();
	Width = 0.0;
	Height = 0.0;
}

bool FAssExport::ReadTrace(const FString& TraceText, FString& OutError)
{
	BeginTrace();
	TArray<FString> Lines;
	TraceText.ParseIntoArray(Lines, TEXT("\n"), false);
	for (int32 LineIndex = 0; LineIndex < Lines.Num(); ++LineIndex)
	{
		if (!ReadTraceLine(Lines[LineIndex], LineIndex + 1, OutError))
		{
			return false;
		}
	}
	return EndTrace(OutError);
}

bool FAssExport::ReadTraceLine(const FString& TraceLine, int32 LineNumber, FString& OutError)
{
	const FString Line = TraceLine.TrimStartAndEnd();
	if (Line.IsEmpty())
	{
		return true;
	}
	TSharedPtr<FJsonObject> Event;
	if (!FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Line), Event) || !Event.IsValid())
	{
		OutError = FString::Printf(TEXT("line %d is not a JSON object"), LineNumber);
		return false;
	}
	FString Kind;
	Event->TryGetStringField(TEXT("event"), Kind);
	if (Kind == TEXT("overlay"))
	{
		return ReadOverlay(*Event, LineNumber, OutError);
	}
	if (Kind == TEXT("placed"))
	{
		return ReadPlacement(*Event, LineNumber, OutError);
	}
	if (Kind == TEXT("ended"))
	{
		return ReadEnd(*Event, LineNumber, OutError);
	}
	return true;
}

bool FAssExport::ReadOverlay(const FJsonObject& Event, int32 LineNumber, FString& OutError)
{
	if (Width > 0.0)
	{
		return true;
	}
	FString Missing;
	if (!ReadNumber(Event, TEXT("width"), Width, Missing) || !ReadNumber(Event, TEXT("height"), Height, Missing))
	{
		OutError = FString::Printf(TEXT("line %d: the overlay line has no size"), LineNumber);
		return false;
	}
	return CheckRange(TEXT("width"), Width, 1.0, 16384.0, LineNumber, OutError) &&
	       CheckRange(TEXT("height"), Height, 1.0, 16384.0, LineNumber, OutError);
}

bool FAssExport::ReadPlacement(const FJsonObject& Event, int32 LineNumber, FString& OutError)
{
	FPlacement Placement;
	double Id = 0.0;
	double Mode = 0.0;
	FString Missing;
	if (!ReadNumber(Event, TEXT("media"), Placement.Start, Missing) ||
	    !ReadNumber(Event, TEXT("life"), Placement.Life, Missing) ||
	    !ReadNumber(Event, TEXT("x"), Placement.X, Missing) || !ReadNumber(Event, TEXT("y"), Placement.Y, Missing) ||
	    !ReadNumber(Event, TEXT("mode"), Mode, Missing) || !ReadNumber(Event, TEXT("id"), Id, Missing) ||
	    !Event.TryGetStringField(TEXT("text"), Placement.Text))
	{
		OutError = FString::Printf(TEXT("line %d: a placement without \"%s\""), LineNumber,
		                           Missing.IsEmpty() ? TEXT("text") : *Missing);
		return false;
	}
	if (!CheckRange(TEXT("id"), Id, -MaxWhole - 1.0, MaxWhole, LineNumber, OutError) ||
	    !CheckRange(TEXT("mode"), Mode, 0.0, 255.0, LineNumber, OutError))
	{
		return false;
	}
	Placement.Id = int32(Id);
	Placement.Mode = int32(Mode);
	ReadPlacementDetails(Event, Placement);
	if (!CheckPlacement(Placement, LineNumber, OutError))
	{
		return false;
	}
	// Opacities beyond 0 to 1 mean fully there or fully gone.
	Placement.AlphaFrom = FMath::Clamp(Placement.AlphaFrom, 0.0, 1.0);
	Placement.AlphaTo = FMath::Clamp(Placement.AlphaTo, 0.0, 1.0);
	double Node = 0.0;
	if (Event.TryGetNumberField(TEXT("node"), Node))
	{
		if (!CheckRange(TEXT("node"), Node, 0.0, MaxWhole, LineNumber, OutError))
		{
			return false;
		}
		Placement.Node = int32(Node);
		PlacementOfNode.Add(Placement.Node, Placements.Num());
	}
	Placements.Add(Placement);
	return true;
}

void FAssExport::ReadPlacementDetails(const FJsonObject& Event, FPlacement& Placement)
{
	// A comment that stands still may trace no speed (null).
	Event.TryGetNumberField(TEXT("speed"), Placement.Speed);
	FString Direction;
	Placement.bLeftToRight = Event.TryGetStringField(TEXT("direction"), Direction) && Direction == TEXT("ltr");
	Placement.bPositioned = Event.TryGetNumberField(TEXT("end_x"), Placement.EndX) &&
	                        Event.TryGetNumberField(TEXT("end_y"), Placement.EndY);
	if (Placement.bPositioned)
	{
		Event.TryGetNumberField(TEXT("move_delay"), Placement.MoveDelay);
		Event.TryGetNumberField(TEXT("move_duration"), Placement.MoveDuration);
		Event.TryGetNumberField(TEXT("alpha_from"), Placement.AlphaFrom);
		Event.TryGetNumberField(TEXT("alpha_to"), Placement.AlphaTo);
		Event.TryGetNumberField(TEXT("rotate_z"), Placement.RotateZ);
		Event.TryGetNumberField(TEXT("rotate_y"), Placement.RotateY);
	}
	Event.TryGetBoolField(TEXT("own"), Placement.bOwn);
	// Traces written before sizes and colours were traced: the node's height per line, and white.
	double NodeHeight = 0.0;
	if (!Event.TryGetNumberField(TEXT("line_height"), Placement.LineHeight) &&
	    Event.TryGetNumberField(TEXT("height"), NodeHeight))
	{
		int32 LineCount = 1;
		for (const TCHAR Char : Placement.Text)
		{
			LineCount += Char == TEXT('\n') ? 1 : 0;
		}
		Placement.LineHeight = NodeHeight / LineCount;
	}
	FString Colour;
	if (Event.TryGetStringField(TEXT("color"), Colour))
	{
		Placement.Color = FColor::FromHex(Colour);
	}
}

bool FAssExport::CheckPlacement(const FPlacement& Placement, int32 LineNumber, FString& OutError)
{
	const auto Check = [LineNumber, &OutError](const TCHAR* Name, double Value, double Min, double Max)
	{ return CheckRange(Name, Value, Min, Max, LineNumber, OutError); };
	return Check(TEXT("media"), Placement.Start, 0.0, MaxSeconds) &&
	       Check(TEXT("life"), Placement.Life, 0.0, MaxSeconds) &&
	       Check(TEXT("x"), Placement.X, -MaxCoordinate, MaxCoordinate) &&
	       Check(TEXT("y"), Placement.Y, -MaxCoordinate, MaxCoordinate) &&
	       Check(TEXT("speed"), Placement.Speed, 0.0, MaxCoordinate) &&
	       Check(TEXT("end_x"), Placement.EndX, -MaxCoordinate, MaxCoordinate) &&
	       Check(TEXT("end_y"), Placement.EndY, -MaxCoordinate, MaxCoordinate) &&
	       Check(TEXT("move_delay"), Placement.MoveDelay, 0.0, MaxSeconds) &&
	       Check(TEXT("move_duration"), Placement.MoveDuration, 0.0, MaxSeconds) &&
	       Check(TEXT("rotate_z"), Placement.RotateZ, -MaxCoordinate, MaxCoordinate) &&
	       Check(TEXT("rotate_y"), Placement.RotateY, -MaxCoordinate, MaxCoordinate) &&
	       Check(TEXT("line_height"), Placement.LineHeight, 0.0, MaxCoordinate);
}

bool FAssExport::ReadEnd(const FJsonObject& Event, int32 LineNumber, FString& OutError)
{
	double Node = 0.0;
	double Media = 0.0;
	if (!Event.TryGetNumberField(TEXT("node"), Node) || !Event.TryGetNumberField(TEXT("media"), Media))
	{
		return true;
	}
	if (!CheckRange(TEXT("node"), Node, 0.0, MaxWhole, LineNumber, OutError) ||
	    !CheckRange(TEXT("media"), Media, 0.0, MaxSeconds, LineNumber, OutError))
	{
		return false;
	}
	if (const int32* Found = PlacementOfNode.Find(int32(Node)))
	{
		Placements[*Found].End = Media;
	}
	return true;
}

bool FAssExport::EndTrace(FString& OutError) const
{
	if (Width <= 0.0)
	{
		OutError = TEXT("no overlay line: this is not a preview trace");
		return false;
	}
	return true;
}

FString FAssExport::WriteDialogue(const FPlacement& Placement) const
{
	const double End = Placement.End >= 0.0 ? Placement.End : Placement.Start + Placement.Life;
	FString Override = TEXT("{\\an7");
	if (Placement.bPositioned)
	{
		Override += FString::Printf(TEXT("\\move(%s,%s,%s,%s,%lld,%lld)"), *FormatNumber(Placement.X),
		                            *FormatNumber(Placement.Y), *FormatNumber(Placement.EndX),
		                            *FormatNumber(Placement.EndY), Milliseconds(Placement.MoveDelay),
		                            Milliseconds(Placement.MoveDelay + Placement.MoveDuration));
	}
	else if (Placement.Mode == 0 || Placement.bLeftToRight)
	{
		// The node moves at its speed for its whole life, cut short or not: left, or right for a reverse comment.
		const double Way = (Placement.bLeftToRight ? 1.0 : -1.0) * Placement.Speed * Placement.Life;
		Override +=
		    FString::Printf(TEXT("\\move(%s,%s,%s,%s,0,%lld)"), *FormatNumber(Placement.X), *FormatNumber(Placement.Y),
		                    *FormatNumber(Placement.X + Way), *FormatNumber(Placement.Y), Milliseconds(Placement.Life));
	}
	else
	{
		Override += FString::Printf(TEXT("\\pos(%s,%s)"), *FormatNumber(Placement.X), *FormatNumber(Placement.Y));
	}
	if (Placement.LineHeight > 0.0)
	{
		Override += FString::Printf(TEXT("\\fs%s"), *FormatNumber(Placement.LineHeight));
	}
	Override += FString::Printf(TEXT("\\c%s\\alpha&H%02X&"), *FormatColour(Placement.Color),
	                            Transparency(Placement.Color, Placement.AlphaFrom));
	if (Placement.AlphaTo != Placement.AlphaFrom)
	{
		// The engine fades the text linearly over its life.
		Override += FString::Printf(TEXT("\\t(0,%lld,\\alpha&H%02X&)"), Milliseconds(Placement.Life),
		                            Transparency(Placement.Color, Placement.AlphaTo));
	}
	// The engine turns clockwise on screen, ASS counter-clockwise; both about the top-left corner here (\an7).
	if (Placement.RotateZ != 0.0)
	{
		Override += FString::Printf(TEXT("\\frz%s"), *FormatNumber(-Placement.RotateZ));
	}
	if (Placement.RotateY != 0.0)
	{
		Override += FString::Printf(TEXT("\\fry%s"), *FormatNumber(Placement.RotateY));
	}
	Override += TEXT("}");
	// Layer 1 keeps the viewer's own comments above the others, as their node class draws them.
	return FString::Printf(TEXT("Dialogue: %d,%s,%s,Danmaku,%d,0,0,0,,%s%s"), Placement.bOwn ? 1 : 0,
	                       *FormatTime(Placement.Start), *FormatTime(End), Placement.Id, *Override,
	                       *EscapeText(Placement.Text));
}

FString FAssExport::WriteAss(const FString& FontName) const
{
	FString Script;
	WriteAss(FontName, [&Script](const FString& Line) { Script += Line + TEXT("\n"); });
	return Script;
}

void FAssExport::WriteAss(const FString& FontName, TFunctionRef<void(const FString&)> WriteLine) const
{
	WriteLine(TEXT("[Script Info]"));
	WriteLine(TEXT("; Danmaku as laid out by the engine in a DanmakuPreview run, written by DanmakuAssExport"));
	WriteLine(TEXT("ScriptType: v4.00+"));
	WriteLine(FString::Printf(TEXT("PlayResX: %d"), int32(FMath::RoundToDouble(Width))));
	WriteLine(FString::Printf(TEXT("PlayResY: %d"), int32(FMath::RoundToDouble(Height))));
	// No automatic wrapping: the engine draws each comment on the lines its text has.
	WriteLine(TEXT("WrapStyle: 2"));
	WriteLine(TEXT("ScaledBorderAndShadow: yes"));
	WriteLine(TEXT("YCbCr Matrix: None"));
	WriteLine(FString());
	WriteLine(TEXT("[V4+ Styles]"));
	WriteLine(TEXT("Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, "
	               "Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, "
	               "Shadow, Alignment, MarginL, MarginR, MarginV, Encoding"));
	// Plain text without outline or shadow, top-left aligned: the node's text block as the engine draws it.
	WriteLine(FString::Printf(TEXT("Style: Danmaku,%s,32,&H00FFFFFF,&H00FFFFFF,&H00000000,&H00000000,0,0,0,0,100,"
	                               "100,0,0,1,0,0,7,0,0,0,1"),
	                          *FontName));
	WriteLine(FString());
	WriteLine(TEXT("[Events]"));
	WriteLine(TEXT("Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text"));
	for (const FPlacement& Placement : Placements)
	{
		WriteLine(WriteDialogue(Placement));
	}
}
