#include "LessonTimeline.h"

#include <gtest/gtest.h>

TEST(LessonTimeline, LabelsTheTimeAxisAtMostTwentyTimesOverAnySpan)
{
	for (const double Span : {45.0, 600.0, 7200.0, 7.0 * 86400.0, 2147483648.0, 9.2e18})
	{
		const double Spacing = FLessonTimeline::TickSpacing(Span);
		EXPECT_LE(Span / Spacing, 20.0) << Span;
		EXPECT_GT(Span / Spacing, 1.0) << Span;
	}
	EXPECT_EQ(FLessonTimeline::TickSpacing(7200.0), 600.0);
	EXPECT_GT(FLessonTimeline::TickSpacing(std::numeric_limits<double>::infinity()), 0.0);
}
