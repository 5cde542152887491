#!/usr/bin/env python3
"""How often the whole-tree classifier of the core gives the right call, on the
simulated profiles the tables are measured on.

    python3 tools/haplotables/misura_albero.py [phylotree17.xml] [--rcrs rCRS.fasta]
        [--programma build/bench/misura_albero] [--seme 2026] [--salva CARTELLA]

Draws the test set of misura_tabelle.py (seed 2026, never used for any choice
of the classifier or of the tables; --seme 17 gives the tables' training set),
hands each profile, read over HV1, HV2 and the whole control region, to the
C++ classifier (bench/misura_albero.cpp, built with the project) and judges the
calls at the levels of simulazione.py, plus exact (the call is the true
haplogroup). A profile is positions only: a position of the haplogroup's motif
is given the haplogroup's base, a private change the transition of the rCRS
base. Prints a Markdown table, then for each region the share of samples whose
call is reliable (margin >= 0.1) and how often those are right at top level,
and the classifier's time per sample. --salva also writes each region's
profiles to CARTELLA/REGION.txt, the input of `misura_albero --esatto` for
checking that a change to the classifier leaves every call as it was.
"""

import argparse
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
import genera_tabelle as gen  # noqa: E402
import simulazione as sim  # noqa: E402

SEME_PROVA = 2026
MARGINE_AFFIDABILE = 0.1
INTERVALLI = {"HV1": ["16024-16400"], "HV2": ["1-576"], "CR": ["16024-576"]}
LIVELLI = ["top level", "first two", "lineage", "exact"]


def argomenti(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("xml", nargs="?", default=gen.DEFAULT_XML)
    ap.add_argument("--rcrs")
    ap.add_argument("--programma",
                    default=os.path.join(gen.REPO_ROOT, "build", "bench", "misura_albero"))
    ap.add_argument("--seme", type=int, default=SEME_PROVA)
    ap.add_argument("--salva")
    args = ap.parse_args(argv)
    args.rcrs = args.rcrs or os.path.join(os.path.dirname(os.path.abspath(args.xml)), "rCRS.fasta")
    return args


def varianti(posizioni, nodo, rcrs):
    def base(p):
        b = nodo.stato.get(p, gen.GAP)
        return b if b != gen.GAP else gen.TRANSITION[rcrs[p]]
    return " ".join(f"{p}{base(p)}" for p in posizioni)


def chiama(programma, righe, intervalli):
    """[(call, quality, margin)] and the classifier's time line."""
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
        f.write("\n".join(righe) + "\n")
    try:
        uscita = subprocess.run([programma, f.name, *intervalli], check=True,
                                capture_output=True, text=True)
    finally:
        os.unlink(f.name)
    chiamate = []
    for linea in uscita.stdout.splitlines():
        nome, q, m = linea.rsplit(" ", 2)
        chiamate.append((nome, float(q), float(m)))
    return chiamate, uscita.stderr.strip()


def giudica(nodi, chiamata, vero):
    return (sim.livello_alto(chiamata) == sim.livello_alto(vero),
            sim.primi_due(chiamata) == sim.primi_due(vero),
            sim.parenti(nodi, chiamata, vero),
            chiamata == vero)


def main(argv=None):
    args = argomenti(argv)
    nodi, perdita, peso = gen.prepara(args.xml, args.rcrs)
    rcrs = gen.leggi_rcrs(args.rcrs)
    profili = sim.simulati(nodi, perdita, peso, args.seme, gen.VOLTE)
    print(f"Seed {args.seme}, {len(profili)} profiles ({gen.VOLTE} per haplogroup).\n")
    print("| region | " + " | ".join(LIVELLI) + " |")
    print("|---|" + "---:|" * len(LIVELLI))
    note = []
    for regione, _pezzi in sim.REGIONI:
        righe = [varianti(prof[regione], nodi[vero], rcrs) for vero, prof in profili]
        if args.salva:
            os.makedirs(args.salva, exist_ok=True)
            with open(os.path.join(args.salva, f"{regione}.txt"), "w") as f:
                f.write("\n".join(righe) + "\n")
        chiamate, tempo = chiama(args.programma, righe, INTERVALLI[regione])
        giusti = [0] * len(LIVELLI)
        sicuri = sicuri_giusti = 0
        for (vero, _prof), (chiamata, _q, margine) in zip(profili, chiamate):
            esito = giudica(nodi, chiamata, vero)
            giusti = [g + e for g, e in zip(giusti, esito)]
            if margine >= MARGINE_AFFIDABILE:
                sicuri += 1
                sicuri_giusti += esito[0]
        n = len(profili)
        print(f"| {regione} | " + " | ".join(f"{100 * g / n:.1f}" for g in giusti) + " |")
        note.append(f"{regione}: top level right for {giusti[0]} of {n}; "
                    f"margin >= {MARGINE_AFFIDABILE} for {100 * sicuri / n:.1f}% of "
                    f"samples, right at top level for {100 * sicuri_giusti / max(sicuri, 1):.1f}% "
                    f"of them; classifier: {tempo}")
    print()
    print("\n".join(note))
    return 0


if __name__ == "__main__":
    sys.exit(main())
