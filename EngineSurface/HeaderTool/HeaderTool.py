#!/usr/bin/env python3
"""Reflection generator: reads a module's headers for UCLASS, USTRUCT, UENUM, UPROPERTY and UFUNCTION and
writes, for each header, "<Name>.generated.h" (the body macros the header's GENERATED_BODY expands to) and,
for the module, "<Module>.gen.cpp" (class, struct and enum registration with property and function tables).

The tool names members and lets the compiler work out their types (decltype), so it needs to understand a
declaration only far enough to find its name. A declaration it cannot read stops the build with file:line."""

import argparse
import os
import re
import sys

IDENT = re.compile(r"[A-Za-z_][A-Za-z_0-9]*")


class HeaderToolError(Exception):
    def __init__(self, path, line, message):
        super().__init__(f"{path}:{line}: error: {message}")


def strip_comments(text):
    """Blanks out comments, keeping every newline (so line numbers hold) and string literals."""
    out = []
    i = 0
    n = len(text)
    while i < n:
        c = text[i]
        if c == "/" and i + 1 < n and text[i + 1] == "/":
            while i < n and text[i] != "\n":
                out.append(" ")
                i += 1
        elif c == "/" and i + 1 < n and text[i + 1] == "*":
            while i < n and not (text[i] == "*" and i + 1 < n and text[i + 1] == "/"):
                out.append("\n" if text[i] == "\n" else " ")
                i += 1
            out.append("  ")
            i += 2
        elif c == '"' or c == "'":
            quote = c
            out.append(c)
            i += 1
            while i < n and text[i] != quote:
                if text[i] == "\\" and i + 1 < n:
                    out.append(text[i])
                    i += 1
                out.append(text[i])
                i += 1
            out.append(quote)
            i += 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def blank_preprocessor_lines(text):
    lines = text.split("\n")
    result = []
    continued = False
    for line in lines:
        if continued or line.lstrip().startswith("#"):
            continued = line.rstrip().endswith("\\")
            result.append("")
        else:
            result.append(line)
    return "\n".join(result)


class Source:
    def __init__(self, path, text):
        self.path = path
        self.text = text

    def line_of(self, pos):
        return self.text.count("\n", 0, pos) + 1

    def error(self, pos, message):
        return HeaderToolError(self.path, self.line_of(pos), message)

    def match_parens(self, open_pos):
        """Returns the index just past the parenthesis group that opens at open_pos."""
        depth = 0
        i = open_pos
        while i < len(self.text):
            c = self.text[i]
            if c == "(":
                depth += 1
            elif c == ")":
                depth -= 1
                if depth == 0:
                    return i + 1
            elif c == '"':
                i = self.skip_string(i)
                continue
            i += 1
        raise self.error(open_pos, "unbalanced parentheses")

    def skip_string(self, pos):
        i = pos + 1
        while i < len(self.text) and self.text[i] != '"':
            if self.text[i] == "\\":
                i += 1
            i += 1
        return i + 1

    def skip_space(self, pos):
        while pos < len(self.text) and self.text[pos].isspace():
            pos += 1
        return pos

    def macro_args(self, pos, name):
        """pos is at the macro name; returns (argument text, index after the closing parenthesis)."""
        open_pos = self.skip_space(pos + len(name))
        if open_pos >= len(self.text) or self.text[open_pos] != "(":
            raise self.error(pos, f"expected '(' after {name}")
        end = self.match_parens(open_pos)
        return self.text[open_pos + 1 : end - 1], end


def split_top_level(text, separator=","):
    items, depth, current, in_string = [], 0, [], False
    for c in text:
        if in_string:
            current.append(c)
            if c == '"':
                in_string = False
            continue
        if c == '"':
            in_string = True
        elif c in "(<[{":
            depth += 1
        elif c in ")>]}":
            depth -= 1
        elif c == separator and depth == 0:
            items.append("".join(current).strip())
            current = []
            continue
        current.append(c)
    tail = "".join(current).strip()
    if tail:
        items.append(tail)
    return items


def parse_specifiers(text):
    """Returns (list of bare specifiers, dict of key=value specifiers, dict of meta)."""
    flags, values, meta = [], {}, {}
    for item in split_top_level(text):
        if "=" in item:
            key, value = item.split("=", 1)
            key, value = key.strip(), value.strip()
            if key.lower() == "meta":
                value = value.strip()
                if value.startswith("(") and value.endswith(")"):
                    value = value[1:-1]
                for entry in split_top_level(value):
                    if "=" in entry:
                        mkey, mvalue = entry.split("=", 1)
                        meta[mkey.strip()] = mvalue.strip().strip('"')
                    else:
                        meta[entry.strip()] = ""
            else:
                values[key] = value.strip('"')
        elif item:
            flags.append(item)
    return flags, values, meta


PROPERTY_FLAGS = {
    "EditAnywhere": ["CPF_Edit"],
    "EditDefaultsOnly": ["CPF_Edit", "CPF_DisableEditOnInstance"],
    "EditInstanceOnly": ["CPF_Edit", "CPF_DisableEditOnTemplate"],
    "VisibleAnywhere": ["CPF_Edit", "CPF_EditConst"],
    "VisibleDefaultsOnly": ["CPF_Edit", "CPF_EditConst", "CPF_DisableEditOnInstance"],
    "VisibleInstanceOnly": ["CPF_Edit", "CPF_EditConst", "CPF_DisableEditOnTemplate"],
    "BlueprintReadWrite": ["CPF_BlueprintVisible"],
    "BlueprintReadOnly": ["CPF_BlueprintVisible", "CPF_BlueprintReadOnly"],
    "BlueprintAssignable": ["CPF_BlueprintAssignable"],
    "BlueprintCallable": [],
    "Transient": ["CPF_Transient"],
    "SaveGame": ["CPF_SaveGame"],
    "Config": ["CPF_Config"],
    "Instanced": ["CPF_ExportObject"],
    "Export": ["CPF_ExportObject"],
    "NoClear": [],
    "AdvancedDisplay": [],
    "SimpleDisplay": [],
    "Interp": [],
    "NonTransactional": [],
    "DuplicateTransient": [],
    "TextExportTransient": [],
    "NonPIEDuplicateTransient": [],
    "SkipSerialization": [],
}

FUNCTION_FLAGS = {
    "BlueprintCallable": ["FUNC_BlueprintCallable"],
    "BlueprintPure": ["FUNC_BlueprintCallable", "FUNC_BlueprintPure"],
    "BlueprintNativeEvent": ["FUNC_BlueprintEvent"],
    "BlueprintImplementableEvent": ["FUNC_BlueprintEvent"],
    "Exec": [],
    "CallInEditor": [],
    "BlueprintCosmetic": [],
    "BlueprintAuthorityOnly": [],
    "Server": [],
    "Client": [],
    "NetMulticast": [],
    "Reliable": [],
    "Unreliable": [],
}

CLASS_SPECIFIERS_KNOWN = {
    "Abstract", "Blueprintable", "NotBlueprintable", "BlueprintType", "NotBlueprintType", "Transient",
    "NonTransient", "MinimalAPI", "Config", "DefaultToInstanced", "EditInlineNew", "HideDropdown",
    "ClassGroup", "Within", "CollapseCategories", "DontCollapseCategories", "Const", "Deprecated",
    "HideCategories", "ShowCategories", "AutoExpandCategories", "AutoCollapseCategories", "Placeable",
    "NotPlaceable", "Optional", "Experimental", "meta", "DisplayName",
}


class Property:
    def __init__(self, name, cpp_type, flags, meta, line, initializer=None):
        self.name, self.cpp_type, self.flags, self.meta, self.line = name, cpp_type, flags, meta, line
        # The default member initialiser as written ("100", "FDanmakuData::NormalFontSize"), or None.
        self.initializer = initializer


class Function:
    def __init__(self, name, flags, has_parameters, is_static, line):
        self.name, self.flags, self.has_parameters, self.is_static, self.line = name, flags, has_parameters, is_static, line


class Record:
    """A reflected class or struct."""

    def __init__(self, kind, name, base, body_line, specifiers, header):
        self.kind, self.name, self.base, self.body_line = kind, name, base, body_line
        self.specifiers = specifiers
        self.header = header
        self.properties = []
        self.functions = []
        # The body's text between its braces, comments blanked, for readers of what is not reflected (constants).
        self.body = ""


class Enum:
    def __init__(self, name, underlying, is_class, entries, header):
        self.name, self.underlying, self.is_class, self.entries, self.header = name, underlying, is_class, entries, header


def parse_declaration_name(src, start, end, what):
    """Finds the member name in the declaration text src.text[start:end] (without the ';'); returns the name, the type
    and the default member initialiser (None when there is none)."""
    start = src.skip_space(start)
    decl = src.text[start:end]
    # Cut an initialiser at the first '=' or '{' outside template brackets.
    depth = 0
    cut = len(decl)
    for i, c in enumerate(decl):
        if c in "<(":
            depth += 1
        elif c in ">)":
            depth -= 1
        elif depth == 0 and c in "={":
            cut = i
            break
    head = decl[:cut].rstrip()
    initializer = None
    if cut < len(decl):
        initializer = " ".join(decl[cut:].lstrip("=").split())
        if initializer.startswith("{") and initializer.endswith("}"):
            initializer = initializer[1:-1].strip()
    if re.search(r"\[\s*[^\]]*\]\s*$", head):
        raise src.error(start, f"{what}: fixed-size arrays are not supported")
    if re.search(r":\s*\d+\s*$", head):
        raise src.error(start, f"{what}: bit-field members are not supported")
    match = re.search(r"([A-Za-z_][A-Za-z_0-9]*)\s*$", head)
    if not match:
        raise src.error(start, f"cannot read the {what} declaration '{' '.join(decl.split())}'")
    name = match.group(1)
    cpp_type = " ".join(head[: match.start()].split())
    if not cpp_type:
        raise src.error(start, f"{what} '{name}' has no type")
    for keyword in ("static ", "mutable "):
        if cpp_type.startswith(keyword) and keyword == "static ":
            raise src.error(start, f"{what} '{name}' is static; reflected properties must be members")
    return name, cpp_type, initializer


def find_statement_end(src, pos):
    """Index of the ';' that ends the declaration starting at pos (skipping braces and parentheses)."""
    depth = 0
    i = pos
    while i < len(src.text):
        c = src.text[i]
        if c == '"':
            i = src.skip_string(i)
            continue
        if c in "({[":
            depth += 1
        elif c in ")}]":
            depth -= 1
        elif c == ";" and depth == 0:
            return i
        i += 1
    raise src.error(pos, "declaration without ';'")


def parse_record_body(src, record, body_start, body_end):
    pos = body_start
    text = src.text
    found_body = False
    token = re.compile(r"\b(UPROPERTY|UFUNCTION|GENERATED_BODY|GENERATED_UCLASS_BODY|GENERATED_USTRUCT_BODY)\b")
    while True:
        match = token.search(text, pos, body_end)
        if not match:
            break
        word = match.group(1)
        if word.startswith("GENERATED"):
            args, after = src.macro_args(match.start(), word)
            record.body_line = src.line_of(match.start())
            found_body = True
            pos = after
            continue
        args, after = src.macro_args(match.start(), word)
        flags_list, values, meta = parse_specifiers(args)
        if word == "UPROPERTY":
            end = find_statement_end(src, after)
            name, cpp_type, initializer = parse_declaration_name(src, after, end, "UPROPERTY")
            flags = []
            for flag in flags_list:
                if flag not in PROPERTY_FLAGS:
                    raise src.error(match.start(), f"unknown UPROPERTY specifier '{flag}'")
                flags += PROPERTY_FLAGS[flag]
            if "Category" in values:
                meta["Category"] = values["Category"]
            record.properties.append(
                Property(name, cpp_type, flags, meta, src.line_of(src.skip_space(after)), initializer)
            )
            pos = end + 1
        else:
            paren = text.find("(", after)
            if paren < 0 or paren > body_end:
                raise src.error(match.start(), "UFUNCTION without a function declaration")
            head = text[after:paren]
            name_match = re.search(r"([A-Za-z_][A-Za-z_0-9]*)\s*$", head)
            if not name_match or not head[: name_match.start()].strip():
                raise src.error(after, f"cannot read the UFUNCTION declaration '{' '.join(head.split())}'")
            close = src.match_parens(paren)
            params = text[paren + 1 : close - 1].strip()
            flags = []
            for flag in flags_list:
                if flag not in FUNCTION_FLAGS:
                    raise src.error(match.start(), f"unknown UFUNCTION specifier '{flag}'")
                flags += FUNCTION_FLAGS[flag]
            is_static = re.search(r"\bstatic\b", head) is not None
            record.functions.append(
                Function(name_match.group(1), flags, params not in ("", "void"), is_static, src.line_of(after))
            )
            pos = close
    if not found_body:
        raise src.error(body_start, f"{record.name} has no GENERATED_BODY()")


def find_body(src, pos, what):
    brace = src.text.find("{", pos)
    semicolon = src.text.find(";", pos)
    if brace < 0 or (0 <= semicolon < brace):
        raise src.error(pos, f"cannot find the body of this {what}")
    depth = 0
    i = brace
    while i < len(src.text):
        c = src.text[i]
        if c == '"':
            i = src.skip_string(i)
            continue
        if c == "{":
            depth += 1
        elif c == "}":
            depth -= 1
            if depth == 0:
                return brace, i
        i += 1
    raise src.error(brace, f"unbalanced braces in this {what}")


def parse_record(src, macro_pos, macro, header):
    args, after = src.macro_args(macro_pos, macro)
    flags, values, meta = parse_specifiers(args)
    keyword = "class" if macro == "UCLASS" else "struct"
    match = re.compile(r"\b(class|struct)\b").search(src.text, after)
    if not match or src.text[after : match.start()].strip():
        raise src.error(macro_pos, f"{macro} must be followed by a {keyword} declaration")
    brace, end = find_body(src, match.end(), keyword)
    head = src.text[match.end() : brace]
    base = None
    if ":" in head:
        head, bases = head.split(":", 1)
        base_idents = [t for t in IDENT.findall(bases) if t not in ("public", "protected", "private", "virtual")]
        base = base_idents[0] if base_idents else None
    names = [t for t in IDENT.findall(head) if not t.endswith("_API") and t != "final"]
    if len(names) != 1:
        raise src.error(match.start(), f"cannot read the {keyword} name in '{' '.join(head.split())}'")
    name = names[0]
    if macro == "UCLASS":
        for flag in flags:
            if flag not in CLASS_SPECIFIERS_KNOWN:
                raise src.error(macro_pos, f"unknown UCLASS specifier '{flag}'")
        if base is None:
            raise src.error(match.start(), f"reflected class {name} must derive from UObject or a subclass")
    record = Record("class" if macro == "UCLASS" else "struct", name, base, 0, flags, header)
    record.body = src.text[brace + 1 : end]
    parse_record_body(src, record, brace + 1, end)
    return record, end


def parse_enum(src, macro_pos, header):
    args, after = src.macro_args(macro_pos, "UENUM")
    match = re.compile(r"\benum\b").search(src.text, after)
    if not match or src.text[after : match.start()].strip():
        raise src.error(macro_pos, "UENUM must be followed by an enum declaration")
    brace = src.text.find("{", match.end())
    head = src.text[match.end() : brace]
    head_match = re.fullmatch(r"\s*(class\s+)?([A-Za-z_][A-Za-z_0-9]*)\s*(:\s*([A-Za-z_][A-Za-z_0-9]*))?\s*", head)
    if not head_match:
        raise src.error(match.start(), f"cannot read the enum declaration '{' '.join(head.split())}'")
    is_class = head_match.group(1) is not None
    name = head_match.group(2)
    underlying = head_match.group(4)
    if underlying is None:
        raise src.error(match.start(), f"enum {name} needs an explicit underlying type")
    close = src.text.find("}", brace)
    body = src.text[brace + 1 : close]
    body = re.sub(r"UMETA\s*\([^)]*\)", "", body)
    entries = []
    next_value = 0
    for item in split_top_level(body):
        if "=" in item:
            entry_name, value_text = [x.strip() for x in item.split("=", 1)]
            try:
                value = int(value_text, 0)
            except ValueError:
                known = dict(entries)
                if value_text in known:
                    value = known[value_text]
                else:
                    raise src.error(brace, f"enum {name}: cannot read the value of {entry_name}")
        else:
            entry_name, value = item.strip(), next_value
        if not IDENT.fullmatch(entry_name):
            raise src.error(brace, f"enum {name}: cannot read enumerator '{entry_name}'")
        entries.append((entry_name, value))
        next_value = value + 1
    # The engine's header tool appends "<Enum>_MAX", one past the largest value, unless the enum has its own.
    max_name = f"{name}_MAX"
    if not any(entry_name == max_name for entry_name, _ in entries):
        entries.append((max_name, max((value for _, value in entries), default=-1) + 1))
    return Enum(name, underlying, is_class, entries, header), close


def parse_header(path):
    with open(path, encoding="utf-8") as handle:
        raw = handle.read()
    src = Source(path, blank_preprocessor_lines(strip_comments(raw)))
    base = os.path.splitext(os.path.basename(path))[0]
    if f'#include "{base}.generated.h"' not in raw:
        raise HeaderToolError(path, 1, f'reflected header must include "{base}.generated.h" last')
    records, enums = [], []
    token = re.compile(r"\b(UCLASS|USTRUCT|UENUM)\b")
    pos = 0
    while True:
        match = token.search(src.text, pos)
        if not match:
            break
        if match.group(1) == "UENUM":
            enum, pos = parse_enum(src, match.start(), path)
            enums.append(enum)
        else:
            record, pos = parse_record(src, match.start(), match.group(1), path)
            records.append(record)
    return records, enums


def file_id(module, path):
    base = os.path.splitext(os.path.basename(path))[0]
    return "FID_" + re.sub(r"[^A-Za-z0-9_]", "_", f"{module}_{base}_h")


def short_name(record):
    if record.kind == "class" and record.name[:1] in ("U", "A"):
        return record.name[1:]
    if record.kind == "struct" and record.name[:1] == "F":
        return record.name[1:]
    return record.name


def write_if_changed(path, content):
    if os.path.exists(path):
        with open(path, encoding="utf-8") as handle:
            if handle.read() == content:
                return
    with open(path, "w", encoding="utf-8") as handle:
        handle.write(content)


def generate_header(module, path, records, enums):
    api = module.upper() + "_API"
    fid = file_id(module, path)
    lines = [
        "// Generated by the header tool. Do not edit.",
        "#pragma once",
        "",
        '#include "UObject/ObjectMacros.h"',
        "",
        f"#ifndef {api}",
        f"#define {api}",
        "#endif",
        "",
        "#ifdef CURRENT_FILE_ID",
        "#undef CURRENT_FILE_ID",
        "#endif",
        f"#define CURRENT_FILE_ID {fid}",
        "",
        "class UClass;",
        "class UScriptStruct;",
        "class UEnum;",
        "",
    ]
    for record in records:
        macro = f"{fid}_{record.body_line}_GENERATED_BODY"
        if record.kind == "class":
            body = [
                "public:",
                f"using ThisClass = {record.name};",
                f"using Super = {record.base};",
                # The engine's header tool gives every class an object-initializer constructor to chain to.
                "using Super::Super;",
                "static UClass* StaticClass();",
                f"friend struct Z_Construct_UClass_{record.name};",
                "private:",
            ]
        else:
            body = [
                "public:",
                "static UScriptStruct* StaticStruct();",
                f"friend struct Z_Construct_UScriptStruct_{record.name};",
            ]
            if record.base:
                body.insert(1, f"using Super = {record.base};")
        lines.append(f"#define {macro} \\")
        lines += [f"\t{item} \\" for item in body[:-1]]
        lines.append(f"\t{body[-1]}")
        lines.append("")
    for enum in enums:
        keyword = "enum class" if enum.is_class else "enum"
        lines.append(f"{keyword} {enum.name} : {enum.underlying};")
        lines.append("template <typename E> UEnum* StaticEnum();")
        lines.append(f"template <> {api} UEnum* StaticEnum<{enum.name}>();")
        lines.append("")
    return "\n".join(lines)


def cpp_string(text):
    return 'TEXT("' + text.replace("\\", "\\\\").replace('"', '\\"') + '")'


def generate_source(module, headers, parsed):
    package = f"/Script/{module}"
    out = [
        "// Generated by the header tool. Do not edit.",
        '#include "UObject/GeneratedCppIncludes.h"',
    ]
    for path in headers:
        out.append(f'#include "{os.path.abspath(path)}"')
    out.append("")
    for path in headers:
        records, enums = parsed[path]
        for enum in enums:
            names = ", ".join(
                "{FName(" + cpp_string(f"{enum.name}::{n}" if enum.is_class else n) + f"), int64({v})" + "}"
                for n, v in enum.entries
            )
            out += [
                f"template <> UEnum* StaticEnum<{enum.name}>()",
                "{",
                f"\tstatic UEnum* Enum = UE::Reflection::RegisterNativeEnum({cpp_string(package)}, "
                f"{cpp_string(enum.name)}, {{{names}}});",
                "\treturn Enum;",
                "}",
                f"static UE::Reflection::FRegisterOnLoad Z_RegisterOnLoad_{enum.name}([] {{ StaticEnum<{enum.name}>(); }});",
                "",
            ]
        for record in records:
            owner = "UClass" if record.kind == "class" else "UScriptStruct"
            struct_name = (
                f"Z_Construct_UClass_{record.name}" if record.kind == "class" else f"Z_Construct_UScriptStruct_{record.name}"
            )
            out += [f"struct {struct_name}", "{", f"\tusing T = {record.name};"]
            if record.kind == "class":
                out += [
                    "\tstatic UObject* Construct() { return ConstructAs<T>(); }",
                    "\ttemplate <typename U>",
                    "\tstatic UObject* ConstructAs()",
                    "\t{",
                    "\t\tif constexpr (requires { new U(); })",
                    "\t\t{",
                    "\t\t\treturn new U();",
                    "\t\t}",
                    "\t\telse if constexpr (requires { new U(FObjectInitializer::Get()); })",
                    "\t\t{",
                    "\t\t\treturn new U(FObjectInitializer::Get());",
                    "\t\t}",
                    "\t\telse",
                    "\t\t{",
                    "\t\t\treturn nullptr;",
                    "\t\t}",
                    "\t}",
                ]
            out += [f"\tstatic void RegisterMembers({owner}* Owner)", "\t{"]
            for prop in record.properties:
                flags = " | ".join(f"uint64({f})" for f in prop.flags) or "uint64(CPF_None)"
                meta = ", ".join(
                    "{FName(" + cpp_string(k) + "), FString(" + cpp_string(v) + ")}" for k, v in prop.meta.items()
                )
                out.append(
                    f"\t\tOwner->AddProperty(UE::Reflection::MakeProperty<decltype(T::{prop.name})>("
                    f"{cpp_string(prop.name)}, [](void* Object) -> void* {{ return &static_cast<T*>(Object)->{prop.name}; }}, "
                    f"{flags}, {{{meta}}}, {cpp_string(prop.cpp_type)}));"
                )
            if record.kind == "class":
                for function in record.functions:
                    flags = " | ".join(["FUNC_Native"] + function.flags)
                    if function.has_parameters:
                        invoke = "nullptr"
                    elif function.is_static:
                        invoke = f"[](UObject*) {{ T::{function.name}(); }}"
                    else:
                        invoke = f"[](UObject* Object) {{ static_cast<T*>(Object)->{function.name}(); }}"
                    out.append(
                        f"\t\tOwner->AddFunction(FFunctionInfo{{FName({cpp_string(function.name)}), uint32({flags}), {invoke}}});"
                    )
            out += ["\t}", "};", ""]
            if record.kind == "class":
                flags = "uint32(CLASS_Abstract)" if "Abstract" in record.specifiers else "uint32(CLASS_None)"
                out += [
                    f"UClass* {record.name}::StaticClass()",
                    "{",
                    "\tstatic UClass* Class = UE::Reflection::RegisterNativeClass({"
                    f"{cpp_string(package)}, {cpp_string(short_name(record))}, &{record.base}::StaticClass, {flags}, "
                    f"&{struct_name}::Construct, &{record.name}::AddReferencedObjects, &{struct_name}::RegisterMembers}});",
                    "\treturn Class;",
                    "}",
                    f"static UE::Reflection::FRegisterOnLoad Z_RegisterOnLoad_{record.name}([] {{ {record.name}::StaticClass(); }});",
                    "",
                ]
            else:
                super_struct = f"&{record.base}::StaticStruct" if record.base else "nullptr"
                out += [
                    f"UScriptStruct* {record.name}::StaticStruct()",
                    "{",
                    "\tstatic UScriptStruct* Struct = UE::Reflection::RegisterNativeStruct({"
                    f"{cpp_string(package)}, {cpp_string(short_name(record))}, {super_struct}, &{struct_name}::RegisterMembers}});",
                    "\treturn Struct;",
                    "}",
                    f"static UE::Reflection::FRegisterOnLoad Z_RegisterOnLoad_{record.name}([] {{ {record.name}::StaticStruct(); }});",
                    "",
                ]
    return "\n".join(out) + "\n"


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--module", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("headers", nargs="+")
    args = parser.parse_args(argv)
    os.makedirs(args.output, exist_ok=True)
    parsed = {}
    try:
        for path in args.headers:
            parsed[path] = parse_header(path)
    except HeaderToolError as error:
        print(error, file=sys.stderr)
        return 1
    seen = {}
    for path in args.headers:
        base = os.path.splitext(os.path.basename(path))[0]
        if base in seen:
            print(f"{path}:1: error: header name {base} is also used by {seen[base]}", file=sys.stderr)
            return 1
        seen[base] = path
        records, enums = parsed[path]
        write_if_changed(os.path.join(args.output, f"{base}.generated.h"), generate_header(args.module, path, records, enums))
    write_if_changed(os.path.join(args.output, f"{args.module}.gen.cpp"), generate_source(args.module, args.headers, parsed))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
