#include "AppMain.h"
#include "PreviewOptions.h"
#include "PreviewRun.h"

int main(int ArgumentCount, char** Arguments)
{
	return RunApp<FPreviewOptions, FPreviewRun>(TEXT("DanmakuPreview"), ArgumentCount, Arguments, {TEXT("Skorvane")});
}
