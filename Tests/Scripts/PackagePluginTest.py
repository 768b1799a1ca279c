"""Packages the plugin into a temporary folder and checks what a game developer receives: every header, source and
Build.cs of both modules, the icon and the docs, no headless stand-in, the zip holding the same files, and the layout
the README lists. Then breaks copies of the repository to see the script refuse."""

import os
import shutil
import struct
import subprocess
import tempfile
import unittest
import zipfile

REPO = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SCRIPT = os.path.join("Scripts", "package_plugin.sh")
README_MARK = "<!-- package_plugin.sh output -->"


def files_under(root):
    found = set()
    for folder, _, names in os.walk(root):
        for name in names:
            found.add(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    return found


def readme_layout():
    with open(os.path.join(REPO, "README.md"), encoding="utf-8") as handle:
        text = handle.read()
    start = text.index("```\n", text.index(README_MARK)) + 4
    return text[start : text.index("```", start)]


class PackagePluginTest(unittest.TestCase):
    def package(self, repo=REPO):
        output = tempfile.mkdtemp()
        result = subprocess.run(["bash", os.path.join(repo, SCRIPT), output], capture_output=True, text=True)
        return result, output

    def test_ships_both_modules_and_no_stand_ins_as_the_readme_lists(self):
        result, output = self.package()
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stdout, readme_layout(), "the README's package layout differs from the script's output")

        plugin = os.path.join(output, "Pravella")
        shipped = files_under(plugin)
        sources = {
            f"Source/{path}"
            for path in files_under(os.path.join(REPO, "Source"))
            if path.endswith((".h", ".cpp", ".Build.cs"))
        }
        self.assertTrue({"Source/Skorvane/Skorvane.Build.cs", "Source/Pravella/Pravella.Build.cs"} <= sources)
        self.assertEqual(sources - shipped, set())
        self.assertEqual({p for p in shipped if p.startswith("Source/")}, sources)
        for required in ("Pravella.uplugin", "README.md", "docs/Widgets.md", "docs/HostRecipe.md",
                         "Examples/LessonHost/Public/UI_LessonHost.h", "Examples/LessonHost/LessonHost.Build.cs"):
            self.assertIn(required, shipped)
        for path in shipped:
            self.assertFalse(path.endswith((".uasset", ".media", "CMakeLists.txt")), path)
            self.assertFalse(path.startswith(("Content/", "EngineSurface/", "Tests/", "Apps/")), path)

        with open(os.path.join(plugin, "Resources", "Icon128.png"), "rb") as handle:
            header = handle.read(24)
        self.assertEqual(header[:8], b"\x89PNG\r\n\x1a\n")
        self.assertEqual(struct.unpack(">II", header[16:24]), (128, 128))

        with zipfile.ZipFile(os.path.join(output, "Pravella-0.1.zip")) as archive:
            zipped = {name[len("Pravella/"):] for name in archive.namelist() if not name.endswith("/")}
            self.assertEqual(zipped, shipped)
            self.assertEqual(archive.read("Pravella/Pravella.uplugin"),
                             open(os.path.join(REPO, "Pravella.uplugin"), "rb").read())

    def test_refuses_a_package_without_a_module_file_or_with_a_stand_in(self):
        def copy_repo():
            root = tempfile.mkdtemp()
            for item in ("Pravella.uplugin", "README.md", "Source", "Resources", "docs", "Examples", "Scripts"):
                source = os.path.join(REPO, item)
                (shutil.copytree if os.path.isdir(source) else shutil.copy)(source, os.path.join(root, item))
            return root

        no_build_cs = copy_repo()
        os.remove(os.path.join(no_build_cs, "Source", "Skorvane", "Skorvane.Build.cs"))
        result, _ = self.package(no_build_cs)
        self.assertEqual(result.returncode, 1)
        self.assertIn("module Skorvane has no Skorvane.Build.cs", result.stderr)

        stand_in = copy_repo()
        shutil.copy(os.path.join(REPO, "Content", "UI", "WBP_LessonPlayer.uasset"), os.path.join(stand_in, "docs"))
        result, _ = self.package(stand_in)
        self.assertEqual(result.returncode, 1)
        self.assertIn("headless stand-ins or build files in the package", result.stderr)
        self.assertIn("WBP_LessonPlayer.uasset", result.stderr)


if __name__ == "__main__":
    unittest.main()
