#include "Skorvane.h"

void FSkorvaneModule::StartupModule() {}

void FSkorvaneModule::ShutdownModule() {}

IMPLEMENT_MODULE(FSkorvaneModule, Skorvane)
