"""Runs the header tool on small headers and checks what it writes and how it refuses what it cannot read."""

import os
import subprocess
import sys
import tempfile
import unittest

TOOL = os.path.join(os.path.dirname(__file__), "..", "..", "EngineSurface", "HeaderTool", "HeaderTool.py")

GOOD = """#pragma once
#include "UObject/Object.h"
#include "Sample.generated.h"

UENUM()
enum class ESampleMode : int32
{
	First = 0,
	Second = 5 UMETA(DisplayName = "Two"),
	Third
};

UCLASS(Abstract)
class SAMPLE_API USample : public UObject
{
	GENERATED_BODY()

public:
	// UPROPERTY() in a comment must not count
	UPROPERTY(EditAnywhere, Category = "Look", meta = (BindWidget))
	TMap<FString, TArray<TObjectPtr<UObject>>> Things;

	UPROPERTY()
	int32 Count = 3;

	UFUNCTION()
	void OnThing(const FString& Name, int32 Value);

	UFUNCTION(BlueprintCallable)
	void Reset();
};
"""


class HeaderToolTest(unittest.TestCase):
    def run_tool(self, text, name="Sample.h"):
        directory = tempfile.mkdtemp()
        header = os.path.join(directory, name)
        with open(header, "w", encoding="utf-8") as handle:
            handle.write(text)
        out = os.path.join(directory, "Generated")
        result = subprocess.run(
            [sys.executable, TOOL, "--module", "Sample", "--output", out, header], capture_output=True, text=True
        )
        return result, header, out

    def test_generates_body_macro_and_registration(self):
        result, header, out = self.run_tool(GOOD)
        self.assertEqual(result.returncode, 0, result.stderr)
        generated = open(os.path.join(out, "Sample.generated.h"), encoding="utf-8").read()
        source = open(os.path.join(out, "Sample.gen.cpp"), encoding="utf-8").read()
        body_line = GOOD.split("\n").index("\tGENERATED_BODY()") + 1
        self.assertIn(f"#define FID_Sample_Sample_h_{body_line}_GENERATED_BODY", generated)
        self.assertIn("using Super = UObject;", generated)
        self.assertIn("enum class ESampleMode : int32;", generated)
        self.assertIn('TEXT("ESampleMode::Second")), int64(5)', source)
        self.assertIn('TEXT("ESampleMode::Third")), int64(6)', source)
        self.assertIn('TEXT("/Script/Sample"), TEXT("Sample")', source)
        self.assertIn("uint32(CLASS_Abstract)", source)
        self.assertIn('{FName(TEXT("BindWidget")), FString(TEXT(""))}', source)
        self.assertIn('{FName(TEXT("Category")), FString(TEXT("Look"))}', source)
        self.assertIn("decltype(T::Things)", source)
        self.assertNotIn("comment", source)
        self.assertIn('FName(TEXT("OnThing")), uint32(FUNC_Native), nullptr', source)
        self.assertIn("static_cast<T*>(Object)->Reset();", source)

    def assert_refused(self, text, line, words):
        result, header, _ = self.run_tool(text)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"{header}:{line}: error:", result.stderr)
        self.assertIn(words, result.stderr)

    def test_refuses_declarations_it_cannot_read(self):
        bitfield = GOOD.replace("int32 Count = 3;", "uint8 bFlag : 1;")
        self.assert_refused(bitfield, GOOD.split("\n").index("\tint32 Count = 3;") + 1, "bit-field")
        unknown = GOOD.replace("UPROPERTY()\n\tint32", "UPROPERTY(EditAnywehre)\n\tint32")
        self.assert_refused(unknown, GOOD.split("\n").index("\tint32 Count = 3;"), "EditAnywehre")
        no_body = GOOD.replace("\tGENERATED_BODY()\n", "")
        class_line = GOOD.split("\n").index("class SAMPLE_API USample : public UObject") + 1
        self.assert_refused(no_body, class_line + 1, "GENERATED_BODY")
        no_base = GOOD.replace(" : public UObject", "")
        self.assert_refused(no_base, class_line, "derive")

    def test_refuses_a_header_that_does_not_include_its_generated_header(self):
        self.assert_refused(GOOD.replace('#include "Sample.generated.h"\n', ""), 1, "Sample.generated.h")


if __name__ == "__main__":
    unittest.main()
