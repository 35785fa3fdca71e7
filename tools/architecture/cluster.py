#!/usr/bin/env python3
"""Groups the targets of a `cmake --graphviz` file by the folder that defines
them (from the CMake file API reply in the build folder) and writes a new
dot graph: folders as boxes, programs as bold ellipses, libraries as boxes."""
import json
import pathlib
import re
import sys


def target_folders(build: pathlib.Path) -> dict:
    reply = build / ".cmake/api/v1/reply"
    index = json.loads(max(reply.glob("index-*.json")).read_text())
    codemodel = next(o for o in index["objects"] if o["kind"] == "codemodel")
    model = json.loads((reply / codemodel["jsonFile"]).read_text())
    folders = {}
    for config in model["configurations"][:1]:
        for target in config["targets"]:
            data = json.loads((reply / target["jsonFile"]).read_text())
            folders[data["name"]] = (data["paths"]["source"], data["type"])
    return folders


def main() -> None:
    build, links = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]).read_text()
    folders = target_folders(build)
    names = dict(re.findall(r'"(node\d+)" \[ label = "([^"]+)"', links))
    edges = set(re.findall(r'"(node\d+)" -> "(node\d+)"', links))
    shown = {n for n, name in names.items() if name in folders}
    by_folder = {}
    for node in sorted(shown, key=lambda n: names[n]):
        by_folder.setdefault(folders[names[node]][0], []).append(node)
    print('digraph Kelvane {\n  rankdir=LR; compound=true; fontname="Helvetica"; node [fontname="Helvetica", fontsize=11];')
    for i, (folder, nodes) in enumerate(sorted(by_folder.items())):
        print(f'  subgraph cluster_{i} {{ label="{folder}/"; style=rounded; color=gray50;')
        for node in nodes:
            name, kind = names[node], folders[names[node]][1]
            shape = 'shape=ellipse, style=bold' if kind == "EXECUTABLE" else 'shape=box'
            print(f'    {node} [label="{name}", {shape}];')
        print('  }')
    for a, b in sorted(edges):
        if a in shown and b in shown:
            print(f'  {a} -> {b};')
    print('}')


if __name__ == "__main__":
    main()
