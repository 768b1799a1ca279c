#pragma once

#include "Modules/ModuleInterface.h"
#include "UObject/NameTypes.h"
#include "Containers/Map.h"

#include <memory>

// Keeps the modules of the process. A module registers itself when its library loads; LoadModule starts it once.
class CORE_API FModuleManager
{
public:
	using FModuleFactory = IModuleInterface* (*)();

	static FModuleManager& Get();
	void RegisterModule(const FName& Name, FModuleFactory Factory);
	IModuleInterface* LoadModule(const FName& Name);
	IModuleInterface* GetModule(const FName& Name) const;
	bool IsModuleLoaded(const FName& Name) const { return GetModule(Name) != nullptr; }
	bool IsModuleRegistered(const FName& Name) const { return Factories.Contains(Name); }
	void ShutdownModule(const FName& Name);

private:
	TMap<FName, FModuleFactory> Factories;
	TMap<FName, std::shared_ptr<IModuleInterface>> Loaded;
};

class FDefaultModuleImpl : public IModuleInterface
{
};

#define IMPLEMENT_MODULE(ModuleImplClass, ModuleName)                                                                  \
	static IModuleInterface* CreateModule_##ModuleName()                                                               \
	{                                                                                                                  \
		return new ModuleImplClass();                                                                                  \
	}                                                                                                                  \
	static const bool GModuleRegistered_##ModuleName = []                                                              \
	{                                                                                                                  \
		FModuleManager::Get().RegisterModule(FName(TEXT(#ModuleName)), &CreateModule_##ModuleName);                    \
		return true;                                                                                                   \
	}();
