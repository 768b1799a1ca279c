#pragma once

#include "CoreMinimal.h"

class FHeadlessPainter;

// What happened to the comments of one lesson, second by second and by mode, with the viewer's actions, drawn as a
// PNG: the comments due, shown and not shown (no free lane, overlay paused or off) per second, so that a crowded or
// lossy stretch stands out at a glance.
class FLessonTimeline
{
public:
	// Scroll, top, bottom, and every mode that is never placed.
	static constexpr int32 ModeCount = 4;
	enum class ECount : uint8
	{
		Due,
		Shown,
		Dropped,
		Count
	};

	void SetDuration(double Seconds);
	double GetDuration() const { return Duration; }
	void Add(ECount What, double MediaSeconds, int32 Mode);
	void AddMark(double MediaSeconds, const FString& Label);
	int32 Total(ECount What) const;

	bool WritePng(const FString& Path, const FString& Title) const;

	// Seconds between the time axis's labels: at most twenty labels over a span of any length.
	static double TickSpacing(double Span);

private:
	struct FSecond
	{
		int32 Counts[int32(ECount::Count)][ModeCount] = {};
	};
	struct FMark
	{
		double Seconds = 0.0;
		FString Label;
	};

	FSecond& At(double MediaSeconds);

	// The parts of the picture; Span is the seconds the plot's width stands for.
	static void DrawLegend(FHeadlessPainter& Painter, const FString& Title, bool bColumnsOfSeconds);
	void DrawBands(FHeadlessPainter& Painter, double Span) const;
	static void DrawBand(FHeadlessPainter& Painter, const TArray<FSecond>& Columns, int32 Band, int32 Peak,
	                     double ColumnWidth);
	static void DrawTimeAxis(FHeadlessPainter& Painter, double Span);
	void DrawMarks(FHeadlessPainter& Painter, double Span) const;

	double Duration = 0.0;
	TArray<FSecond> Seconds;
	TArray<FMark> Marks;
};
