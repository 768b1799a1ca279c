using UnrealBuildTool;

public class Pravella : ModuleRules
{
	public Pravella(ReadOnlyTargetRules Target) : base(Target)
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
			"MediaAssets",
			"AudioMixer",
			"Skorvane",
		});
	}
}
