#include "AppMain.h"
#include "PreviewOptions.h"
#include "PreviewSession.h"

int main(int ArgumentCount, char** Arguments)
{
	return RunApp<FPreviewOptions, FPreviewSession>(TEXT("DanmakuPreview"), ArgumentCount, Arguments,
	                                                {TEXT("Skorvane")});
}
