#!/usr/bin/python3
# Where the bytes of a .wasm come from: its sections' sizes, its largest
# functions, and its code summed by the library and object file that define
# each function. The .wasm must keep its function names: `tools/web.sh
# zorvane_names` links the browser build's program again with
# emcc --profiling-funcs into build/web-build/names/ (the same code, with a
# name section). Reads the file itself; the archives and objects named after
# it are read with llvm-nm, which lists the functions each object defines,
# static ones too (docs/WEB.md, "Figures", has the command line).
#   bench/wasm_sizes.py [--top N] program.wasm [archive.a|object.o ...]
import argparse
import collections
import os
import re
import subprocess
import sys

SECTIONS = ["custom", "type", "import", "function", "table", "memory", "global",
            "export", "start", "elem", "code", "data", "datacount", "tag"]


def leb(data, at):
    value = shift = 0
    while True:
        byte = data[at]
        at += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            return value, at


def name(data, at):
    size, at = leb(data, at)
    return data[at:at + size].decode("utf-8", "replace"), at + size


def read_wasm(path):
    """The sections as (name, size) in file order, the body size of each
    defined function by index, and the names of the name section."""
    data = open(path, "rb").read()
    if data[:4] != b"\0asm":
        sys.exit(f"{path}: not WebAssembly")
    at, sections, bodies, names, imported = 8, [], [], {}, 0
    while at < len(data):
        kind, at = data[at], at + 1
        size, at = leb(data, at)
        start, end = at, at + size
        label = SECTIONS[kind] if kind < len(SECTIONS) else f"section {kind}"
        if kind == 0:
            custom, at = name(data, at)
            label = f'custom "{custom}"'
            if custom == "name":
                while at < end:
                    sub, at = data[at], at + 1
                    sub_size, at = leb(data, at)
                    if sub == 1:
                        count, here = leb(data, at)
                        for _ in range(count):
                            index, here = leb(data, here)
                            names[index], here = name(data, here)
                    at += sub_size
        elif kind == 2:
            count, at = leb(data, at)
            for _ in range(count):
                _, at = name(data, at)
                _, at = name(data, at)
                what, at = data[at], at + 1
                if what == 0:
                    imported += 1
                    _, at = leb(data, at)
                elif what == 1:
                    at += 1
                    flags, at = leb(data, at)
                    _, at = leb(data, at)
                    if flags & 1:
                        _, at = leb(data, at)
                elif what == 2:
                    flags, at = leb(data, at)
                    _, at = leb(data, at)
                    if flags & 1:
                        _, at = leb(data, at)
                elif what == 3:
                    at += 2
                else:
                    sys.exit(f"{path}: import of unknown kind {what}")
        elif kind == 10:
            count, at = leb(data, at)
            for _ in range(count):
                body, after = leb(data, at)
                bodies.append(body)
                at = after + body
        sections.append((label, size))
        at = end
    functions = [(bodies[i], names.get(imported + i, f"function {imported + i}"))
                 for i in range(len(bodies))]
    return sections, functions


def defining_objects(paths):
    """Each function name to 'archive:object' for the objects that define it."""
    where = collections.defaultdict(list)
    for path in paths:
        listing = subprocess.run(["llvm-nm", "-A", "-C", "--defined-only", path], capture_output=True,
                                 text=True, check=True).stdout
        for line in listing.splitlines():
            found = re.match(r"(.*?): (?:[0-9a-f]+|-+) ([tTW]) (.*)$", line)
            if found:
                owner = found.group(1)
                if path.endswith(".a"):
                    owner = os.path.basename(path) + ":" + owner.split(":")[-1]
                else:
                    owner = os.path.basename(owner)
                where[found.group(3)].append(owner)
    return where


def main():
    parser = argparse.ArgumentParser(description="The sizes of a .wasm's sections and functions")
    parser.add_argument("--top", type=int, default=10)
    parser.add_argument("wasm")
    parser.add_argument("libraries", nargs="*")
    arguments = parser.parse_args()
    sections, functions = read_wasm(arguments.wasm)
    print(f"{arguments.wasm}: {os.path.getsize(arguments.wasm)} bytes\n")
    print("| section | bytes |\n| --- | --- |")
    for label, size in sections:
        print(f"| {label} | {size} |")
    where = defining_objects(arguments.libraries)

    def owner(function):
        # Binaryen names the functions it makes itself; ASYNCIFY's start
        # and stop functions are its own too.
        if function.startswith(("asyncify_", "byn$")):
            return "Binaryen (ASYNCIFY's state functions, its helpers)"
        owners = where.get(function)
        if not owners:
            return "(no object named defines it)"
        return owners[0] if len(set(owners)) == 1 else owners[0] + " (or another of that name)"

    print(f"\n{len(functions)} functions, {sum(size for size, _ in functions)} bytes of code.\n")
    print(f"| bytes | function | defined in |\n| --- | --- | --- |")
    for size, function in sorted(functions, reverse=True)[:arguments.top]:
        print(f"| {size} | {function} | {owner(function)} |")
    if arguments.libraries:
        by_owner = collections.Counter()
        for size, function in functions:
            by_owner[owner(function)] += size
        print("\n| bytes | defined in |\n| --- | --- |")
        for who, size in by_owner.most_common():
            print(f"| {size} | {who} |")


if __name__ == "__main__":
    main()
