#!/usr/bin/env python3
"""Checks every #include "..." of the project's code against the layer table.

Usage: check_layers.py TABLE ROOT...   (each ROOT's files are named as the
includes name them: src/ files without the "src/" prefix, sim/ files with it)
       check_layers.py --self-test TABLE
Exits 1 and names each offending line when a folder reaches outside its row.
"""
import os
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)


def read_table(path):
    rows = {}
    for line in open(path, encoding="utf-8"):
        line = line.split("#", 1)[0].split()
        if not line:
            continue
        folder, target, kind, *uses = line
        rows[folder] = {"target": target, "kind": kind,
                        "uses": set() if uses == ["-"] else set(uses)}
    return rows


def owner(name, rows):
    """The table row a file or include belongs to: its nearest folder."""
    parts = name.split("/")[:-1]
    while parts:
        folder = "/".join(parts)
        if folder in rows:
            return folder
        parts.pop()
    return None


def files_under(root, prefix):
    for directory, _, names in os.walk(root):
        for name in sorted(names):
            if name.endswith((".h", ".cpp")):
                path = os.path.join(directory, name)
                yield path, prefix + os.path.relpath(path, root).replace(os.sep, "/")


def faults_in(path, name, rows):
    folder = owner(name, rows)
    if folder is None:
        return [f"{name}: lies in no folder of the table"]
    row = rows[folder]
    faults = []
    text = open(path, encoding="utf-8", errors="replace").read()
    for match in INCLUDE.finditer(text):
        bracket, included = match.groups()
        line = text.count("\n", 0, match.start()) + 1
        if bracket == "<":
            if row["kind"] == "plain" and re.match(r"Qt|Q[A-Z]", included):
                faults.append(f"{name}:{line}: {folder} is plain C++ but includes <{included}>")
            continue
        used = owner(included, rows)
        if used is None or used == folder:
            continue
        if used not in row["uses"]:
            faults.append(f"{name}:{line}: {folder} may not use {used} (\"{included}\")")
    return faults


LINK = re.compile(r"target_link_libraries\(\s*([\w-]+)([^)]*)\)", re.DOTALL)
# Targets every layer may link: the shared build options, and the name that
# stands for the four plain image libraries together.
SHARED = {"vexilon_options"}
UMBRELLAS = {"vexilon_image": {"image/bmp", "image/decode", "image/bitmap", "image/pipeline"}}


def link_faults(root, rows):
    """The CMake side: a target links only the targets of the folders it may use."""
    by_target = {row["target"]: folder for folder, row in rows.items()}
    faults = []
    for directory, _, names in os.walk(root):
        if "CMakeLists.txt" not in names:
            continue
        path = os.path.join(directory, "CMakeLists.txt")
        for match in LINK.finditer(open(path, encoding="utf-8").read()):
            target, linked = match.group(1), re.findall(r"vexilon[\w-]*", match.group(2))
            folder = by_target.get(target)
            if folder is None:
                continue
            allowed = rows[folder]["uses"] | {folder}
            for name in linked:
                if name in SHARED or name == target:
                    continue
                if name in UMBRELLAS and UMBRELLAS[name] <= allowed:
                    continue
                if by_target.get(name) not in allowed:
                    faults.append(f"{path}: {target} ({folder}) may not link {name}")
    return faults


def check(table, roots):
    rows = read_table(table)
    faults = []
    for root in roots:
        faults.extend(link_faults(root, rows))
    for root in roots:
        prefix = "" if os.path.basename(os.path.normpath(root)) == "src" else \
            os.path.basename(os.path.normpath(root)) + "/"
        for path, name in files_under(root, prefix):
            faults.extend(faults_in(path, name, rows))
    return faults


def self_test(table):
    """A tree that breaks two rules must fail; the same tree mended passes."""
    with tempfile.TemporaryDirectory() as scratch:
        src = os.path.join(scratch, "src")
        os.makedirs(os.path.join(src, "ui"))
        os.makedirs(os.path.join(src, "image", "bmp"))
        bad = os.path.join(src, "ui", "panel.cpp")
        with open(bad, "w") as out:
            out.write('#include "ui/panel.h"\n#include "image/bmp/bmp_headers.h"\n')
        with open(os.path.join(src, "image", "bmp", "bmp_headers.h"), "w") as out:
            out.write("#pragma once\n#include <QByteArray>\n")
        faults = check(table, [src])
        if len(faults) != 2:
            print("self-test: expected 2 faults, got", faults)
            return 1
        with open(bad, "w") as out:
            out.write('#include "ui/panel.h"\n')
        with open(os.path.join(src, "image", "bmp", "bmp_headers.h"), "w") as out:
            out.write("#pragma once\n#include <cstdint>\n")
        if check(table, [src]):
            print("self-test: the mended tree still fails")
            return 1
    print("self-test: a broken layer fails, the mended tree passes")
    return 0


def main(argv):
    if len(argv) == 3 and argv[1] == "--self-test":
        return self_test(argv[2])
    if len(argv) < 3:
        print(__doc__)
        return 2
    faults = check(argv[1], argv[2:])
    for fault in faults:
        print(fault)
    print(f"{len(faults)} layer faults" if faults else "every include keeps to its layer")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
