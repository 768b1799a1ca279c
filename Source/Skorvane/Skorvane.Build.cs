using UnrealBuildTool;

public class Skorvane : ModuleRules
{
	public Skorvane(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = ModuleRules.PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
			"SlateCore",
			"UMG",
			"Json",
			"XmlParser",
			"MediaAssets",
		});
	}
}
