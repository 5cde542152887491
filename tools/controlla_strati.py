#!/usr/bin/env python3
"""Checks the core's layers as src/core/CMakeLists.txt draws them.

A file may include headers of its own layer and of the layers below it, never above; and the
modules (the folders of src/core) include one another without a cycle. Exit 0 when both hold,
1 with the offending includes listed.
"""
import pathlib
import re
import sys

STRATI = [
    ("base", ["base"]),
    ("io", ["text", "io", "log"]),
    ("dominio", ["stato", "sequence", "phylotree", "align", "mutation", "report", "haplotype",
                 "convert"]),
    ("applicazione", ["app"]),
]
LIVELLO = {m: i for i, (_, moduli) in enumerate(STRATI) for m in moduli}
INCLUSIONE = re.compile(r'^\s*#\s*include\s+"([a-z_0-9]+)/[^"]+"', re.M)


def main():
    radice = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src/core")
    errori, archi = [], {}
    for file in sorted(radice.rglob("*")):
        if file.suffix not in (".h", ".cpp", ".inc"):
            continue
        modulo = file.relative_to(radice).parts[0]
        if modulo not in LIVELLO:
            errori.append(f"{file}: the folder {modulo}/ belongs to no layer")
            continue
        for incluso in INCLUSIONE.findall(file.read_text(encoding="utf-8", errors="replace")):
            if incluso not in LIVELLO:
                continue
            if LIVELLO[incluso] > LIVELLO[modulo]:
                errori.append(f"{file}: includes {incluso}/, a layer above "
                              f"({STRATI[LIVELLO[incluso]][0]} over {STRATI[LIVELLO[modulo]][0]})")
            if incluso != modulo:
                archi.setdefault(modulo, set()).add(incluso)
    # A cycle between modules: a depth-first walk that meets a module still on its path.
    stato = {}

    def visita(m, percorso):
        stato[m] = "in corso"
        for n in sorted(archi.get(m, ())):
            if stato.get(n) == "in corso":
                ciclo = percorso[percorso.index(n):] + [n]
                errori.append("include cycle: " + " -> ".join(ciclo))
            elif n not in stato:
                visita(n, percorso + [n])
        stato[m] = "fatto"

    for m in sorted(archi):
        if m not in stato:
            visita(m, [m])
    for e in errori:
        print(e)
    return 1 if errori else 0


if __name__ == "__main__":
    sys.exit(main())
