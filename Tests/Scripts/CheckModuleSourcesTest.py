#!/usr/bin/env python3
"""The module source check passes the real Source/ folder and fails on each kind of fault."""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(HERE, "..", "..", "Scripts", "check_module_sources.py")


def run(folder=None):
    args = [sys.executable, SCRIPT] + ([folder] if folder else [])
    return subprocess.run(args, capture_output=True, text=True)


def expect(condition, message):
    if not condition:
        print("FAILED:", message)
        sys.exit(1)


result = run()
expect(result.returncode == 0, "Source/ should pass:\n" + result.stdout)

faults = {
    "Headless.cpp": '#include "Headless/HeadlessApplication.h"\n',
    "StdMove.cpp": "void F(FString& A) { FString B = std::move(A); }\n",
    "StdHeader.h": "#include <vector>\n",
    "HeadlessMember.cpp": "int32 Count = World->GetTimerManager().GetNumTimers();\n",
    "HeadlessType.cpp": "void Draw(FHeadlessPainter& Painter);\n",
    "CachedBehind.cpp": "const FTimespan Behind = MediaPlayer->GetCachedBehind();\n",
    "AnimationLiteral.cpp": 'OpenBarAnimation = GetNameWidgetAnimation(TEXT("OpenBar"));\n',
}
clean = (
    '// std::move is mentioned here only in prose\nconst TCHAR* Text = TEXT("std::swap GetNumTimers()");\n'
    '#include "TimerManager.h"\nTimers.ClearAllTimersForObject(this);\n'
    "PlayAnimation(GetNameWidgetAnimation(OpenBarAnimationName));\n"
)
for name, text in faults.items():
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "Clean.cpp"), "w") as handle:
            handle.write(clean)
        result = run(folder)
        expect(result.returncode == 0, "comments and strings are not code:\n" + result.stdout)
        with open(os.path.join(folder, name), "w") as handle:
            handle.write(text)
        result = run(folder)
        expect(result.returncode == 1 and name + ":1:" in result.stdout, f"{name} should be refused:\n{result.stdout}")
print("1 passed, 0 failed")
