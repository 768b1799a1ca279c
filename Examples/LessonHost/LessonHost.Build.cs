using UnrealBuildTool;

// The host example as a game module: copy LessonHost/ into your project's Source/ (or its classes into your game
// module) and add "Pravella" and "Skorvane" to your module's dependencies as here.
public class LessonHost : ModuleRules
{
	public LessonHost(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = ModuleRules.PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
			"SlateCore",
			"UMG",
			"MediaAssets",
			"Pravella",
			"Skorvane",
		});
	}
}
