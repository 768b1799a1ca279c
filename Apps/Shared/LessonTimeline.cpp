#include "LessonTimeline.h"

#include "Headless/HeadlessPainter.h"

namespace
{
constexpr int32 Width = 1600;
constexpr int32 Left = 110;
constexpr int32 Right = 20;
constexpr int32 Top = 70;
constexpr int32 BandHeight = 150;
constexpr int32 BandGap = 30;
constexpr int32 Height = Top + 3 * (BandHeight + BandGap) + 40;

const FLinearColor ModeColors[FLessonTimeline::ModeCount] = {
    FLinearColor(0.35f, 0.55f, 1.0f), FLinearColor(1.0f, 0.55f, 0.1f), FLinearColor(0.2f, 0.8f, 0.3f),
    FLinearColor(0.5f, 0.5f, 0.5f)};
const TCHAR* const ModeNames[FLessonTimeline::ModeCount] = {TEXT("scroll"), TEXT("top"), TEXT("bottom"),
                                                            TEXT("never placed")};
const TCHAR* const BandNames[] = {TEXT("due"), TEXT("shown"), TEXT("not shown")};
const FLinearColor TextColor(0.85f, 0.85f, 0.85f);
// Where the bands end and the time axis starts.
constexpr double Bottom = Top + 3 * (BandHeight + BandGap) - BandGap;

FSlateFontInfo LabelFont()
{
	FSlateFontInfo Font;
	Font.Size = 11.0f;
	return Font;
}

FString MinutesSeconds(double Seconds)
{
	const int64 Whole = int64(FMath::Clamp(Seconds, 0.0, 1e15));
	return Whole < 3600 ? FString::Printf(TEXT("%lld:%02lld"), Whole / 60, Whole % 60)
	                    : FString::Printf(TEXT("%lld:%02lld:%02lld"), Whole / 3600, Whole / 60 % 60, Whole % 60);
}

} // namespace

double FLessonTimeline::TickSpacing(double Span)
{
	static const double Steps[] = {10.0, 30.0, 60.0, 300.0, 600.0, 1800.0, 3600.0, 7200.0, 21600.0, 43200.0, 86400.0};
	for (const double Step : Steps)
	{
		if (Span / Step <= 20.0)
		{
			return Step;
		}
	}
	double Step = 86400.0;
	// Bounded, so that a span no lesson has (infinite, from a broken header) cannot keep it going.
	while (Span / Step > 20.0 && Step < 1e18)
	{
		Step *= 10.0;
	}
	return Step;
}

void FLessonTimeline::SetDuration(double InSeconds)
{
	// A broken header can state any length; beyond about thirty years (or no number) the picture means nothing.
	Duration = FMath::Max(Duration, InSeconds <= 1e9 ? InSeconds : 1e9);
}

FLessonTimeline::FSecond& FLessonTimeline::At(double MediaSeconds)
{
	const int32 Second = FMath::Clamp(int32(FMath::Max(MediaSeconds, 0.0)), 0, 24 * 3600);
	if (Seconds.Num() <= Second)
	{
		Seconds.SetNum(Second + 1);
	}
	return Seconds[Second];
}

void FLessonTimeline::Add(ECount What, double MediaSeconds, int32 Mode)
{
	const int32 Column = Mode >= 0 && Mode < ModeCount - 1 ? Mode : ModeCount - 1;
	++At(MediaSeconds).Counts[int32(What)][Column];
}

void FLessonTimeline::AddMark(double MediaSeconds, const FString& Label)
{
	Marks.Add({MediaSeconds, Label});
}

int32 FLessonTimeline::Total(ECount What) const
{
	int32 Sum = 0;
	for (const FSecond& Second : Seconds)
	{
		for (int32 Mode = 0; Mode < ModeCount; ++Mode)
		{
			Sum += Second.Counts[int32(What)][Mode];
		}
	}
	return Sum;
}

bool FLessonTimeline::WritePng(const FString& Path, const FString& Title) const
{
	FHeadlessPainter Painter(Width, Height, FLinearColor(0.01f, 0.012f, 0.016f));
	const double Span = FMath::Max(FMath::Max(Duration, double(Seconds.Num())), 1.0);
	const int32 PlotWidth = Width - Left - Right;
	DrawLegend(Painter, Title, Span / PlotWidth > 1.0);
	DrawBands(Painter, Span);
	DrawTimeAxis(Painter, Span);
	DrawMarks(Painter, Span);
	return Painter.SavePng(Path);
}

void FLessonTimeline::DrawLegend(FHeadlessPainter& Painter, const FString& Title, bool bColumnsOfSeconds)
{
	FSlateFontInfo TitleFont;
	TitleFont.Size = 14.0f;
	Painter.DrawText(Title, TitleFont, FVector2D(Left, 10.0), FLinearColor::White);
	for (int32 Mode = 0; Mode < ModeCount; ++Mode)
	{
		const FVector2D At(Left + 130.0 * Mode, 40.0);
		Painter.FillBox(At + FVector2D(0.0, 3.0), FVector2D(12.0, 12.0), ModeColors[Mode]);
		Painter.DrawText(ModeNames[Mode], LabelFont(), At + FVector2D(18.0, 0.0), TextColor);
	}
	Painter.DrawText(bColumnsOfSeconds ? TEXT("comments per second (the busiest second of each column); "
	                                          "pink lines: the viewer's actions")
	                                   : TEXT("comments per second; pink lines: the viewer's actions"),
	                 LabelFont(), FVector2D(Left + 560.0, 40.0), TextColor);
}

void FLessonTimeline::DrawBands(FHeadlessPainter& Painter, double Span) const
{
	const int32 PlotWidth = Width - Left - Right;
	// A column covers one second or more; a column of several seconds shows the busiest of them per mode.
	TArray<FSecond> Columns;
	Columns.SetNum(PlotWidth);
	for (int32 Second = 0; Second < Seconds.Num(); ++Second)
	{
		const int32 Column = FMath::Min(int32(Second / Span * PlotWidth), PlotWidth - 1);
		for (int32 What = 0; What < int32(ECount::Count); ++What)
		{
			for (int32 Mode = 0; Mode < ModeCount; ++Mode)
			{
				int32& Cell = Columns[Column].Counts[What][Mode];
				Cell = FMath::Max(Cell, Seconds[Second].Counts[What][Mode]);
			}
		}
	}
	int32 Peak = 1;
	for (const FSecond& Column : Columns)
	{
		for (int32 What = 0; What < int32(ECount::Count); ++What)
		{
			int32 Sum = 0;
			for (int32 Mode = 0; Mode < ModeCount; ++Mode)
			{
				Sum += Column.Counts[What][Mode];
			}
			Peak = FMath::Max(Peak, Sum);
		}
	}
	for (int32 Band = 0; Band < 3; ++Band)
	{
		DrawBand(Painter, Columns, Band, Peak, FMath::Max(double(PlotWidth) / Span, 1.0));
	}
}

void FLessonTimeline::DrawBand(FHeadlessPainter& Painter, const TArray<FSecond>& Columns, int32 Band, int32 Peak,
                               double ColumnWidth)
{
	const double Base = Top + Band * (BandHeight + BandGap) + BandHeight;
	Painter.FillBox(FVector2D(Left, Base - BandHeight), FVector2D(Columns.Num(), BandHeight),
	                FLinearColor(0.025f, 0.028f, 0.035f));
	Painter.DrawText(BandNames[Band], LabelFont(), FVector2D(10.0, Base - BandHeight), TextColor);
	Painter.DrawText(FString::Printf(TEXT("%d/s"), Peak), LabelFont(), FVector2D(10.0, Base - BandHeight + 18.0),
	                 TextColor);
	for (int32 Column = 0; Column < Columns.Num(); ++Column)
	{
		double Stack = 0.0;
		for (int32 Mode = 0; Mode < ModeCount; ++Mode)
		{
			const int32 Count = Columns[Column].Counts[Band][Mode];
			if (Count == 0)
			{
				continue;
			}
			const double BarHeight = double(Count) / Peak * BandHeight;
			Painter.FillBox(FVector2D(Left + Column, Base - Stack - BarHeight), FVector2D(ColumnWidth, BarHeight),
			                ModeColors[Mode]);
			Stack += BarHeight;
		}
	}
}

void FLessonTimeline::DrawTimeAxis(FHeadlessPainter& Painter, double Span)
{
	const int32 PlotWidth = Width - Left - Right;
	const double TickSeconds = TickSpacing(Span);
	for (int32 TickIndex = 0; TickIndex * TickSeconds <= Span; ++TickIndex)
	{
		const double Tick = TickIndex * TickSeconds;
		const double X = Left + Tick / Span * PlotWidth;
		Painter.FillBox(FVector2D(X, Bottom), FVector2D(1.0, 6.0), TextColor);
		Painter.DrawText(MinutesSeconds(Tick), LabelFont(), FVector2D(X - 10.0, Bottom + 8.0), TextColor);
	}
}

void FLessonTimeline::DrawMarks(FHeadlessPainter& Painter, double Span) const
{
	const int32 PlotWidth = Width - Left - Right;
	// A label goes on the first of a few rows where it clears the label before it; marks too close for any row
	// keep their line only.
	constexpr int32 LabelRows = 6;
	double RowFreeFrom[LabelRows];
	for (double& Free : RowFreeFrom)
	{
		Free = -1.0;
	}
	const FLinearColor MarkColor(1.0f, 0.3f, 0.8f);
	for (const FMark& Mark : Marks)
	{
		const double X = Left + FMath::Clamp(Mark.Seconds / Span, 0.0, 1.0) * (PlotWidth - 1);
		Painter.FillBox(FVector2D(X, Top), FVector2D(1.0, Bottom - Top), MarkColor, 0.8f);
		for (int32 Row = 0; Row < LabelRows; ++Row)
		{
			if (X >= RowFreeFrom[Row])
			{
				Painter.DrawText(Mark.Label, LabelFont(), FVector2D(X + 3.0, Top + 2.0 + Row * 14.0), MarkColor);
				// About the width of the label's characters at this size.
				RowFreeFrom[Row] = X + 10.0 + 8.0 * Mark.Label.Len();
				break;
			}
		}
	}
}
