#include "Skorvane.h"

#include "SkorvaneLog.h"

DEFINE_LOG_CATEGORY(LogSkorvane);

void FSkorvaneModule::StartupModule() {}

void FSkorvaneModule::ShutdownModule() {}

IMPLEMENT_MODULE(FSkorvaneModule, Skorvane)
