#include "Modules/ModuleManager.h"

FModuleManager& FModuleManager::Get()
{
	static FModuleManager* Instance = new FModuleManager();
	return *Instance;
}

void FModuleManager::RegisterModule(const FName& Name, FModuleFactory Factory)
{
	Factories.Add(Name, Factory);
}

IModuleInterface* FModuleManager::LoadModule(const FName& Name)
{
	if (IModuleInterface* Existing = GetModule(Name))
	{
		return Existing;
	}
	const FModuleFactory* Factory = Factories.Find(Name);
	if (!Factory)
	{
		return nullptr;
	}
	std::shared_ptr<IModuleInterface> Module((*Factory)());
	Loaded.Add(Name, Module);
	Module->StartupModule();
	return Module.get();
}

IModuleInterface* FModuleManager::GetModule(const FName& Name) const
{
	const std::shared_ptr<IModuleInterface>* Module = Loaded.Find(Name);
	return Module ? Module->get() : nullptr;
}

void FModuleManager::ShutdownModule(const FName& Name)
{
	if (std::shared_ptr<IModuleInterface>* Module = Loaded.Find(Name))
	{
		(*Module)->ShutdownModule();
		Loaded.Remove(Name);
	}
}
