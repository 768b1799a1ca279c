#include "AppMain.h"
#include "PlayerSoak.h"
#include "SoakOptions.h"

int main(int ArgumentCount, char** Arguments)
{
	return RunApp<FSoakOptions, FPlayerSoak>(TEXT("PlayerSoak"), ArgumentCount, Arguments,
	                                         {TEXT("Skorvane"), TEXT("Pravella")});
}
