#include "AppMain.h"
#include "LessonPlayerOptions.h"
#include "LessonPlayerRun.h"

int main(int ArgumentCount, char** Arguments)
{
	return RunApp<FLessonPlayerOptions, FLessonPlayerRun>(TEXT("LessonPlayer"), ArgumentCount, Arguments,
	                                                      {TEXT("Skorvane"), TEXT("Pravella")});
}
