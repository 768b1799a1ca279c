"""Writes the designer's guide for a small module and its stand-ins, and checks what a designer reads in it and that a
stand-in which would not work is refused."""

import json
import os
import subprocess
import sys
import tempfile
import unittest

TOOL = os.path.join(os.path.dirname(__file__), "..", "..", "EngineSurface", "HeaderTool", "WidgetGuide.py")

BASE = """#pragma once
#include "Blueprint/UserWidget.h"
#include "UI_SampleBase.generated.h"

UCLASS()
class SAMPLE_API UUI_SampleBase : public UUserWidget
{
	GENERATED_BODY()

protected:
	UPROPERTY(EditAnywhere, Category = "UI")
	TObjectPtr<UMediaPlayer> MediaPlayer;

	static constexpr const TCHAR* FadeAnimationName = TEXT("Fade");
};
"""

PANEL = """#pragma once
#include "UI_SampleBase.h"
#include "UI_SamplePanel.generated.h"

struct FSampleSizes
{
	static constexpr int32 Normal = 24;
};

UCLASS()
class SAMPLE_API UUI_SamplePanel : public UUI_SampleBase
{
	GENERATED_BODY()

private:
	UPROPERTY(meta = (BindWidget))
	TObjectPtr<UCanvasPanel> Stage;
	UPROPERTY(meta = (BindWidgetOptional))
	TObjectPtr<UTextBlock> Caption;
	UPROPERTY(Transient, meta = (BindWidgetAnim))
	TObjectPtr<UWidgetAnimation> Intro;
	UPROPERTY(EditDefaultsOnly, Category = "Look")
	int32 FontSize = FSampleSizes::Normal;
	UPROPERTY(EditDefaultsOnly, Category = "UI")
	TSubclassOf<UUI_SampleBase> NodeClass;
	UPROPERTY()
	int32 Hidden = 3;
};
"""


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as handle:
        handle.write(text)


def stand_in(children, defaults=None, animations=()):
    return json.dumps({
        "Type": "WidgetBlueprint",
        "ParentClass": "/Script/Sample.UI_SamplePanel",
        "Defaults": defaults or {},
        "Root": {"Class": "CanvasPanel", "Name": "Root", "Children": children},
        "Animations": [{"Name": name, "Duration": 1.0, "Tracks": []} for name in animations],
    })


class WidgetGuideTest(unittest.TestCase):
    def make_repo(self, panel_stand_in):
        repo = tempfile.mkdtemp()
        write(os.path.join(repo, "Source", "Sample", "Public", "UI_SampleBase.h"), BASE)
        write(os.path.join(repo, "Source", "Sample", "Public", "Panel", "UI_SamplePanel.h"), PANEL)
        write(os.path.join(repo, "Content", "UI", "WBP_SamplePanel.uasset"), panel_stand_in)
        return repo

    def run_tool(self, *args):
        return subprocess.run([sys.executable, TOOL, *args], capture_output=True, text=True)

    def guide_of(self, repo):
        result = self.run_tool("--repo", repo)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(repo, "docs", "Widgets.md"), encoding="utf-8") as handle:
            return handle.read()

    def section(self, guide, name):
        start = guide.index(f"## {name}\n")
        end = guide.find("\n## ", start + 1)
        return guide[start : end if end >= 0 else len(guide)]

    def test_lists_what_a_designer_builds_for_each_class(self):
        repo = self.make_repo(stand_in(
            [{"Class": "CanvasPanel", "Name": "Stage"}],
            {"MediaPlayer": "/Game/Media/MP_Sample", "NodeClass": "/Game/UI/WBP_SampleNode"},
            ["Intro", "Fade"]))
        panel = self.section(self.guide_of(repo), "UUI_SamplePanel")
        self.assertIn('`#include "Panel/UI_SamplePanel.h"`', panel)
        self.assertIn("Parent: `UUI_SampleBase`.", panel)
        self.assertIn("| `Stage` | `UCanvasPanel` | Canvas Panel | yes | `UUI_SamplePanel` |", panel)
        self.assertIn("| `Caption` | `UTextBlock` | Text | optional | `UUI_SamplePanel` |", panel)
        # Animations: the base's looked up by a declared name, the class's own bound by its property.
        self.assertIn("| `Fade` | looked up by name (`FadeAnimationName`) | no: without it nothing plays | `UUI_SampleBase` |", panel)
        self.assertIn("| `Intro` | bound to `Intro` (BindWidgetAnim) | yes | `UUI_SamplePanel` |", panel)
        # Editable properties, inherited ones first, defaults resolved through the constant they name; others left out.
        self.assertIn("| `MediaPlayer` | `TObjectPtr<UMediaPlayer>` | EditAnywhere | UI | `None` | `UUI_SampleBase` |", panel)
        self.assertIn("| `FontSize` | `int32` | EditDefaultsOnly | Look | `24` | `UUI_SamplePanel` |", panel)
        self.assertNotIn("Hidden", panel)
        self.assertLess(panel.index("`MediaPlayer` | `TObjectPtr"), panel.index("`FontSize`"))
        self.assertIn("| `MediaPlayer` | a UMediaPlayer asset | `/Game/Media/MP_Sample` |", panel)
        self.assertIn("| `NodeClass` | a blueprint class of UUI_SampleBase | `/Game/UI/WBP_SampleNode` |", panel)
        self.assertIn("- `Content/UI/WBP_SamplePanel.uasset` (`/Game/UI/WBP_SamplePanel`): its own tree; animations Fade, Intro",
                      panel)
        base = self.section(self.guide_of(repo), "UUI_SampleBase")
        self.assertIn("| `MediaPlayer` | a UMediaPlayer asset | (no stand-in) |", base)
        self.assertIn("Working layouts among the stand-ins: none", base)

    def test_refuses_a_stand_in_that_would_not_work(self):
        missing = self.make_repo(stand_in([{"Class": "TextBlock", "Name": "Caption"}]))
        result = self.run_tool("--repo", missing)
        self.assertEqual(result.returncode, 1)
        self.assertIn("WBP_SamplePanel.uasset: derives from UUI_SamplePanel but has no UCanvasPanel named Stage", result.stderr)
        wrong = self.make_repo(stand_in([{"Class": "WrapBox", "Name": "Stage"}]))
        result = self.run_tool("--repo", wrong)
        self.assertEqual(result.returncode, 1)
        self.assertIn("Stage is a UWrapBox, but UUI_SamplePanel binds a UCanvasPanel", result.stderr)


if __name__ == "__main__":
    unittest.main()
