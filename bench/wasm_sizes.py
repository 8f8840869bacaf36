#!/usr/bin/python3
# Where the bytes of a .wasm go: its sections' sizes and its largest
# functions, as wabt's wasm-objdump reads them. The functions have names
# where the program keeps them: `tools/web.sh zorvane_names` links the
# browser build's program again with emcc --profiling-funcs into
# build/web-build/names/ (the same code, with a name section).
#   bench/wasm_sizes.py [--top N] program.wasm
import argparse
import re
import subprocess


def objdump(*args):
    return subprocess.run(["wasm-objdump", *args], capture_output=True, text=True, check=True).stdout


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--top", type=int, default=10)
    parser.add_argument("wasm")
    args = parser.parse_args()
    sections = re.findall(r"^\s*(\w+) start=\S+ end=\S+ \(size=(0x[0-9a-f]+)\)", objdump("-h", args.wasm), re.M)
    print("| section | bytes |\n| --- | --- |")
    for name, size in sections:
        print(f"| {name} | {int(size, 16)} |")
    functions = re.findall(r"^ - func\[\d+\] size=(\d+)(?: <(.*)>)?$", objdump("-x", "-j", "Code", args.wasm), re.M)
    print(f"\n| the {args.top} largest functions | bytes |\n| --- | --- |")
    for size, name in sorted(functions, key=lambda function: -int(function[0]))[:args.top]:
        print(f"| {name or '(no name)'} | {size} |")


if __name__ == "__main__":
    main()
