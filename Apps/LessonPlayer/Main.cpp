#include "AppMain.h"
#include "LessonPlayerOptions.h"
#include "LessonPlayerSession.h"

int main(int ArgumentCount, char** Arguments)
{
	return RunApp<FLessonPlayerOptions, FLessonPlayerSession>(TEXT("LessonPlayer"), ArgumentCount, Arguments,
	                                                          {TEXT("Skorvane"), TEXT("Pravella")});
}
