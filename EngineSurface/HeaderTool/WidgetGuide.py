#!/usr/bin/env python3
"""Writes the designer's guide (docs/Widgets.md) from the reflection data the header tool reads in the modules' public
headers: for each user widget class, its parent, the children it binds (BindWidget), the animations it plays by name,
its editable properties with their defaults and the assets it references; and which of the widget blueprint stand-ins
in Content/UI gives each class a working layout (every required child there, of the right type).

  WidgetGuide.py                         rewrites docs/Widgets.md of this repository
  WidgetGuide.py --output FILE           writes the guide elsewhere (the build does)
  WidgetGuide.py --compare BUILT FILE    fails, with the difference, when FILE is not BUILT

A stand-in in Content/UI that derives from a class but lacks a required child stops the tool: the guide would
otherwise point a designer at a layout that does not work."""

import argparse
import difflib
import glob
import json
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from HeaderTool import HeaderToolError, blank_preprocessor_lines, parse_header, strip_comments  # noqa: E402

REPO = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

# The engine's widgets that layouts use: C++ class, what the editor's palette calls it, its parent.
UMG_WIDGETS = {
    "UWidget": ("Widget", None),
    "UUserWidget": ("User Widget", "UWidget"),
    "UPanelWidget": ("Panel", "UWidget"),
    "UContentWidget": ("Content Widget", "UPanelWidget"),
    "UCanvasPanel": ("Canvas Panel", "UPanelWidget"),
    "UWrapBox": ("Wrap Box", "UPanelWidget"),
    "UBorder": ("Border", "UContentWidget"),
    "UButton": ("Button", "UContentWidget"),
    "UCheckBox": ("Check Box", "UContentWidget"),
    "UTextBlock": ("Text", "UWidget"),
    "UImage": ("Image", "UWidget"),
    "USlider": ("Slider", "UWidget"),
    "UProgressBar": ("Progress Bar", "UWidget"),
    "UEditableText": ("Editable Text", "UWidget"),
    "UComboBoxString": ("Combo Box (String)", "UWidget"),
}

ANIMATION_CONSTANT = re.compile(
    r"static\s+constexpr\s+const\s+TCHAR\s*\*\s*([A-Za-z_0-9]*AnimationName)\s*=\s*TEXT\s*\(\s*\"([^\"]*)\"\s*\)\s*;"
)
TYPE_HEAD = re.compile(r"\b(?:struct|class)\s+(?:[A-Z_]+_API\s+)?([A-Za-z_][A-Za-z_0-9]*)\b[^;{()]*\{")
CONSTANT = re.compile(r"static\s+constexpr\s+[A-Za-z_0-9:<> ]+?\s+([A-Za-z_][A-Za-z_0-9]*)\s*=\s*([^;{]+);")
EDITABLE = ("EditAnywhere", "EditDefaultsOnly", "EditInstanceOnly")


class GuideError(Exception):
    pass


def inner_type(cpp_type):
    """("TObjectPtr<UButton>" -> ("UButton", "object"); "TSubclassOf<UX>" -> ("UX", "class"); else (type, None))."""
    match = re.fullmatch(r"(?:TObjectPtr\s*<\s*([A-Za-z_0-9]+)\s*>|([A-Za-z_0-9]+)\s*\*)", cpp_type)
    if match:
        return match.group(1) or match.group(2), "object"
    match = re.fullmatch(r"TSubclassOf\s*<\s*([A-Za-z_0-9]+)\s*>", cpp_type)
    if match:
        return match.group(1), "class"
    return cpp_type, None


class Model:
    def __init__(self, repo):
        self.repo = repo
        self.records = {}
        self.module_of = {}
        # "Owner::Name" -> value of every static constexpr member of a struct or class, reflected or not.
        self.constants = {}
        for header in sorted(glob.glob(os.path.join(repo, "Source", "*", "Public", "**", "*.h"), recursive=True)):
            with open(header, encoding="utf-8") as handle:
                if ".generated.h\"" not in handle.read():
                    continue
            records, _ = parse_header(header)
            self.read_constants(header)
            module = os.path.relpath(header, os.path.join(repo, "Source")).split(os.sep)[0]
            for record in records:
                self.records[record.name] = record
                self.module_of[record.name] = module

    def parent_of(self, name):
        if name in self.records:
            return self.records[name].base
        return UMG_WIDGETS.get(name, (None, None))[1]

    def is_a(self, name, ancestor):
        while name:
            if name == ancestor:
                return True
            name = self.parent_of(name)
        return False

    def chain(self, name):
        """The class and its reflected bases of ours, most derived first."""
        out = []
        while name in self.records:
            out.append(self.records[name])
            name = self.records[name].base
        return out

    def widget_classes(self):
        names = [n for n, r in self.records.items() if r.kind == "class" and self.is_a(n, "UUserWidget")]
        return sorted(names, key=lambda n: (self.module_of[n], n))

    def read_constants(self, header):
        with open(header, encoding="utf-8") as handle:
            text = blank_preprocessor_lines(strip_comments(handle.read()))
        for head in TYPE_HEAD.finditer(text):
            depth, end = 0, head.end() - 1
            while end < len(text):
                depth += {"{": 1, "}": -1}.get(text[end], 0)
                if depth == 0:
                    break
                end += 1
            for match in CONSTANT.finditer(text, head.end(), end):
                self.constants.setdefault(f"{head.group(1)}::{match.group(1)}", match.group(2).strip())

    def constant(self, owner, name):
        return self.constants.get(f"{owner}::{name}")

    def default_of(self, prop):
        value = prop.initializer
        seen = 0
        while value and re.fullmatch(r"[A-Za-z_0-9]+::[A-Za-z_0-9]+", value) and seen < 8:
            owner, name = value.split("::")
            resolved = self.constant(owner, name)
            if resolved is None:
                break
            value, seen = resolved, seen + 1
        if value is not None:
            return value
        cpp_type, kind = inner_type(prop.cpp_type)
        if kind:
            return "None"
        if prop.cpp_type == "bool":
            return "false"
        if prop.cpp_type in ("int32", "int64", "uint8", "float", "double"):
            return "0"
        return "(empty)"

    def bindings(self, name):
        out = []
        for record in reversed(self.chain(name)):
            for prop in record.properties:
                if "BindWidget" in prop.meta or "BindWidgetOptional" in prop.meta:
                    optional = "BindWidgetOptional" in prop.meta or prop.meta.get("OptionalWidget", "").lower() == "true"
                    out.append((prop.name, inner_type(prop.cpp_type)[0], optional, record.name))
        return out

    def animations(self, name):
        """(animation name, how the class finds it, required, declaring class)."""
        out = []
        for record in reversed(self.chain(name)):
            for prop in record.properties:
                if "BindWidgetAnim" in prop.meta or "BindWidgetAnimOptional" in prop.meta:
                    optional = "BindWidgetAnimOptional" in prop.meta
                    out.append((prop.name, f"bound to `{prop.name}` (BindWidgetAnim)", not optional, record.name))
            for match in ANIMATION_CONSTANT.finditer(record.body):
                out.append((match.group(2), f"looked up by name (`{match.group(1)}`)", False, record.name))
        return out

    def editables(self, name):
        out = []
        for record in reversed(self.chain(name)):
            for prop in record.properties:
                specifier = next((s for s in EDITABLE if s in self.specifiers_of(prop)), None)
                if specifier:
                    out.append((prop, specifier, record.name))
        return out

    @staticmethod
    def specifiers_of(prop):
        flags = set(prop.flags)
        if "CPF_Edit" not in flags:
            return []
        if "CPF_DisableEditOnInstance" in flags:
            return ["EditDefaultsOnly"]
        if "CPF_DisableEditOnTemplate" in flags:
            return ["EditInstanceOnly"]
        return ["EditAnywhere"]


class StandIns:
    """The widget blueprint stand-ins of Content/UI, resolved to the native classes they derive from."""

    def __init__(self, repo, model):
        self.repo, self.model = repo, model
        self.assets = {}
        for path in sorted(glob.glob(os.path.join(repo, "Content", "UI", "*.uasset"))):
            with open(path, encoding="utf-8") as handle:
                asset = json.load(handle)
            if asset.get("Type") == "WidgetBlueprint":
                package = "/Game/UI/" + os.path.splitext(os.path.basename(path))[0]
                self.assets[package] = (os.path.relpath(path, repo), asset)

    def load(self, package):
        package = package.split(".")[0]
        if package.startswith("/Game/Test/"):
            return None
        if package not in self.assets:
            raise GuideError(f"{package} is named in Content/UI but is not a widget blueprint there")
        return self.assets[package][1]

    def native_class(self, reference):
        """"/Script/Module.Name" -> "UName"; "CanvasPanel" -> "UCanvasPanel"; "/Game/..." -> its native class."""
        for _ in range(16):
            if reference.startswith("/Script/"):
                return "U" + reference.split(".", 1)[1]
            if not reference.startswith("/Game/"):
                return "U" + reference
            asset = self.load(reference)
            if asset is None:
                return None
            reference = asset.get("ParentClass", "")
        raise GuideError(f"{reference}: the chain of blueprint parents does not end")

    def tree(self, asset):
        for _ in range(16):
            if "Root" in asset:
                return asset["Root"]
            parent = asset.get("ParentClass", "")
            if not parent.startswith("/Game/"):
                return None
            asset = self.load(parent)
        return None

    def children(self, asset):
        found = {}
        pending = [self.tree(asset)] if self.tree(asset) else []
        while pending:
            widget = pending.pop()
            found[widget["Name"]] = widget["Class"]
            pending += widget.get("Children", [])
        return found

    def animations(self, asset):
        names = []
        for _ in range(16):
            names += [a["Name"] for a in asset.get("Animations", [])]
            parent = asset.get("ParentClass", "")
            if not parent.startswith("/Game/"):
                break
            asset = self.load(parent)
        return names

    def layouts_for(self, class_name):
        """The stand-ins whose native class is class_name, each checked to hold every required child."""
        out = []
        for package, (path, asset) in sorted(self.assets.items()):
            if self.native_class(asset.get("ParentClass", "")) != class_name:
                continue
            children = self.children(asset)
            for name, type_name, optional, _ in self.model.bindings(class_name):
                if name not in children:
                    if optional:
                        continue
                    raise GuideError(f"{path}: derives from {class_name} but has no {type_name} named {name}")
                actual = self.native_class(children[name])
                if not self.model.is_a(actual, type_name):
                    raise GuideError(f"{path}: {name} is a {actual}, but {class_name} binds a {type_name}")
            out.append((package, path, asset))
        return out


def palette_name(model, type_name):
    if type_name in UMG_WIDGETS:
        return UMG_WIDGETS[type_name][0]
    if type_name in model.records:
        return f"a widget blueprint of {type_name[1:]}"
    return type_name


def guide(repo):
    model = Model(repo)
    stand_ins = StandIns(repo, model)
    lines = [
        "# Widget blueprints for the plugin's classes",
        "",
        "Generated by `EngineSurface/HeaderTool/WidgetGuide.py` from the reflection data of the modules' public headers",
        "and from the stand-ins in `Content/UI`; the build writes it again and a test fails when this copy differs.",
        "Do not edit it: run `python3 EngineSurface/HeaderTool/WidgetGuide.py` after changing a header.",
        "",
        "For each class, make a Widget Blueprint in the editor (Add > User Interface > Widget Blueprint) and pick the",
        "class as its parent (the class picker shows it without the `U`). Then, in the Designer:",
        "",
        "- add every **bound child** with exactly that name and of that type (a subclass will do); a required one",
        "  missing stops the blueprint from compiling, an optional one may be left out;",
        "- add the **animations** under exactly those names; one that is looked up by name and missing simply does",
        "  not play;",
        "- set the **editable properties** in Class Defaults (or on the placed instance where it says so);",
        "- assign the **assets** it references: the engine loads them with the blueprint.",
        "",
        "The stand-in named for each class is the text description of a working layout in this repository (format:",
        "`Content/README.md`); rebuild it in the editor with the same names, classes and nesting.",
        "",
        "## Classes",
        "",
    ]
    classes = model.widget_classes()
    for name in classes:
        lines.append(f"- [{name}](#{name.lower()}) ({model.module_of[name]})")
    lines.append("")
    for name in classes:
        record = model.records[name]
        header = os.path.relpath(record.header, repo).replace(os.sep, "/")
        include = header.split("/Public/", 1)[1]
        lines += [
            f"## {name}",
            "",
            f"Module {model.module_of[name]}, `#include \"{include}\"` ({header}). Parent: `{record.base}`."
            + (" Abstract: derive a blueprint from a subclass." if "Abstract" in record.specifiers else ""),
            "",
        ]
        bindings = model.bindings(name)
        if bindings:
            lines += ["Bound children:", "", "| Name | Type | In the palette | Required | Declared by |", "|---|---|---|---|---|"]
            for child, type_name, optional, owner in bindings:
                lines.append(
                    f"| `{child}` | `{type_name}` | {palette_name(model, type_name)} | {'optional' if optional else 'yes'} | `{owner}` |"
                )
        else:
            lines.append("Bound children: none.")
        lines.append("")
        animations = model.animations(name)
        if animations:
            lines += ["Animations it plays by name:", "", "| Animation | How the class finds it | Required | Declared by |",
                      "|---|---|---|---|"]
            for animation, how, required, owner in animations:
                lines.append(f"| `{animation}` | {how} | {'yes' if required else 'no: without it nothing plays'} | `{owner}` |")
        else:
            lines.append("Animations it plays by name: none.")
        lines.append("")
        editables = model.editables(name)
        if editables:
            lines += ["Editable properties:", "", "| Property | Type | Editable | Category | Default | Declared by |",
                      "|---|---|---|---|---|---|"]
            for prop, specifier, owner in editables:
                category = prop.meta.get("Category", "")
                lines.append(
                    f"| `{prop.name}` | `{prop.cpp_type}` | {specifier} | {category} | `{model.default_of(prop)}` | `{owner}` |"
                )
        else:
            lines.append("Editable properties: none.")
        lines.append("")
        layouts = stand_ins.layouts_for(name)
        assets = [(prop, inner_type(prop.cpp_type)) for prop, _, _ in editables if inner_type(prop.cpp_type)[1]]
        if assets:
            lines += ["Assets it loads (by the path the blueprint stores):", "", "| Property | Asset | Our stand-ins assign |",
                      "|---|---|---|"]
            for prop, (type_name, kind) in assets:
                what = f"a {type_name} asset" if kind == "object" else f"a blueprint class of {type_name}"
                assigned = sorted({a.get("Defaults", {}).get(prop.name) for _, _, a in layouts} - {None})
                shown = ", ".join(f"`{value}`" for value in assigned) or ("nothing" if layouts else "(no stand-in)")
                lines.append(f"| `{prop.name}` | {what} | {shown} |")
            lines.append("")
        if layouts:
            lines.append("Working layouts among the stand-ins:")
            lines.append("")
            for package, path, asset in layouts:
                own = [a for a, _, _, _ in animations if a in stand_ins.animations(asset)]
                extra = f"; animations {', '.join(own)}" if own else ""
                tree = "its own tree" if "Root" in asset else "the tree of its blueprint parent"
                lines.append(f"- `{path}` (`{package}`): {tree}{extra}")
        else:
            lines.append("Working layouts among the stand-ins: none; this class is a base or is made by code.")
        lines.append("")
    return "\n".join(lines)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--repo", default=REPO)
    parser.add_argument("--output")
    parser.add_argument("--compare", nargs=2, metavar=("BUILT", "FILE"))
    args = parser.parse_args(argv)
    if args.compare:
        built, committed = args.compare
        with open(built, encoding="utf-8") as handle:
            expected = handle.read()
        with open(committed, encoding="utf-8") as handle:
            actual = handle.read()
        if expected == actual:
            return 0
        sys.stdout.writelines(difflib.unified_diff(actual.splitlines(True), expected.splitlines(True), committed, built))
        print(f"\n{committed} is stale: run python3 EngineSurface/HeaderTool/WidgetGuide.py")
        return 1
    try:
        text = guide(args.repo)
    except (GuideError, HeaderToolError) as error:
        print(f"WidgetGuide.py: {error}", file=sys.stderr)
        return 1
    output = args.output or os.path.join(args.repo, "docs", "Widgets.md")
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    current = open(output, encoding="utf-8").read() if os.path.exists(output) else None
    if current != text:
        with open(output, "w", encoding="utf-8") as handle:
            handle.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
