#include "Pravella.h"

void FPravellaModule::StartupModule() {}

void FPravellaModule::ShutdownModule() {}

IMPLEMENT_MODULE(FPravellaModule, Pravella)
