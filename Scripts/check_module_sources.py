#!/usr/bin/env python3
"""Fails when plugin module code leans on what only the headless build has, or on the C++ standard library where
the engine has its own facility: a Headless/ include, a headless-only member of an engine class, std::, or a
standard library header; and animation names written where they are looked up instead of in the class header.

Usage: check_module_sources.py [SOURCE_DIR]   (default: Source/ of the repository)
"""
import os
import re
import sys

SOURCE_SUFFIXES = (".h", ".cpp", ".inl")
HEADLESS_INCLUDE = re.compile(r'#\s*include\s*[<"](?:[^>"]*/)?Headless/')
STD_USE = re.compile(r"\bstd\s*::")
STD_INCLUDE = re.compile(r"#\s*include\s*<(?!gtest|gmock)[a-z_]+(?:\.h)?>")
# Members the surface's engine classes carry for the headless layout, painting, input and tests; none is engine API.
HEADLESS_MEMBERS = re.compile(
    r"\b(GetOnScreenDebugMessages|GetNumTimers|ClearAllTimers|SetFontFiles|Utf8ToUtf16|Utf16ToUtf8|WidenAscii"
    r"|NarrowAscii|GetLogicalParent"
    r"|GetPaintGeometry|AddToScreen|RemoveFromScreen|OnAddedToScreen|OnRemovedFromScreen|HandleMouseEnter"
    r"|HandleMouseLeave|HandleMouseMove|HandleMouseButtonDown|HandleMouseButtonUp|HandleFocusLost|HandleTypedText"
    r"|HandleEnter|HandleBackspace)\s*\(|\bFHeadless[A-Za-z]*"
)
# Members an earlier surface offered that the engine's classes do not have: the buffered span of a media player.
NOT_IN_ENGINE = re.compile(r"\b(GetCachedBehind|GetCachedTimeRange)\s*\(")
# An animation looked up by a name written where it is used: the designer's guide (docs/Widgets.md) reads the names
# from the class headers, so they are declared there (static constexpr const TCHAR* ...AnimationName).
ANIMATION_LITERAL = re.compile(r"\b(\w*Animation\w*)\s*\(\s*(?:TEXT\s*\(\s*)?\"\"")


def strip_comments_and_strings(text):
    """Blanks out comments and string literals, keeping line breaks, so that prose never trips a rule."""
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)

    def blank(match):
        token = match.group(0)
        if token.startswith('"'):
            return '""'
        return re.sub(r"[^\n]", " ", token)

    return pattern.sub(blank, text)


def check_file(path):
    with open(path, encoding="utf-8") as handle:
        raw_lines = handle.read().split("\n")
    code_lines = strip_comments_and_strings("\n".join(raw_lines)).split("\n")
    problems = []
    for number, (raw, code) in enumerate(zip(raw_lines, code_lines), start=1):
        if HEADLESS_INCLUDE.search(raw) and raw.lstrip().startswith("#"):
            problems.append((number, "includes a Headless/ header, which the engine does not have"))
        elif STD_INCLUDE.search(raw) and raw.lstrip().startswith("#"):
            problems.append((number, "includes a standard library header; use the engine's own facility"))
        missing = NOT_IN_ENGINE.search(code)
        if missing:
            problems.append((number, f"calls {missing.group(1)}, which the engine's class does not have"))
        literal = ANIMATION_LITERAL.search(code)
        if literal:
            problems.append(
                (number, f"names an animation by a literal in {literal.group(1)}; declare it in the class header")
            )
        headless = HEADLESS_MEMBERS.search(code)
        if headless:
            name = headless.group(1) or headless.group(0)
            problems.append((number, f"uses {name}, which only the headless build has, not the engine"))
        if STD_USE.search(code):
            problems.append((number, "uses std::; use the engine's own facility (FString, TArray, MoveTemp, ...)"))
    return problems


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "Source")
    count = 0
    for folder, _, files in sorted(os.walk(root)):
        for name in sorted(files):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(folder, name)
            for number, message in check_file(path):
                print(f"{os.path.relpath(path)}:{number}: {message}")
                count += 1
    if count:
        print(f"{count} problem(s) in module code")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
