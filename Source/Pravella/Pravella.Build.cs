using UnrealBuildTool;

public class Pravella : ModuleRules
{
	public Pravella(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = ModuleRules.PCHUsageMode.UseExplicitOrSharedPCHs;

		// What the public headers include: widgets and their animations (MovieScene), the media player and its
		// sound component (AudioMixer), and the danmaku overlay.
		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
			"SlateCore",
			"UMG",
			"MovieScene",
			"MediaAssets",
			"AudioMixer",
			"Skorvane",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"Json",
			"AssetRegistry",
		});
	}
}
