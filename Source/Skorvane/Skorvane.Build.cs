using UnrealBuildTool;

public class Skorvane : ModuleRules
{
	public Skorvane(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = ModuleRules.PCHUsageMode.UseExplicitOrSharedPCHs;

		// What the public headers include.
		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
			"SlateCore",
			"UMG",
			"Json",
			"MediaAssets",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"XmlParser",
		});
	}
}
