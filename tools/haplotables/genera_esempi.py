#!/usr/bin/env python3
"""Write the example sample files shipped in data/esporta/.

    python3 tools/haplotables/genera_esempi.py [--rcrs rCRS.fasta]

Builds about 25 HV1 samples (positions 16001-16400, the program's default
interval: character k of a sequence is the base at 16000 + k) of well-known
haplogroups of PhyloTree Build 17. Each sample is the rCRS with the
haplogroup's HV1 motif applied (hot spots out, as in the tables), plus up to
two private transitions; two samples carry one "N". Both files hold
the same samples:

  campioni_esempio.FASTA  ">name" line, then the sequence on one line
  campioni_esempio.ARL    name TAB frequency TAB sequence, data lines only
  campioni_esempio.hsd    the same samples as HaploGrep profiles: name, range
                          (the N cuts it), "?", the variants

Lines end in CR LF. The random choices come from a small fixed-seed generator
of our own, so the output is byte-for-byte the same on every run and every
Python version.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True      # no __pycache__ beside the tools
sys.path.insert(0, HERE)
import genera_tabelle as gen  # noqa: E402  (paths, rCRS reader, tree, excluded positions)
from simulazione import Casuale  # noqa: E402

INIZIO, FINE = 16001, 16400
NUMERO_CAMPIONI = 25
SEME = 17

# Preferred haplogroups, alternating regions so that any prefix of the list
# is varied. Names missing from the table, or whose motif shows nothing in
# 16001-16400, are passed over.
PREFERITI = [
    "J", "L2a", "D", "U5a", "T2b", "B4", "K", "L3e", "A2", "H5", "M1", "U5b",
    "C1", "J1c", "L1b", "X2", "T1a", "F1a", "I", "L0a", "HV0", "W", "U4", "N1a",
    "Q", "K1a", "Y", "Z", "E", "U2", "U6", "T", "M", "L3d", "J2a",
]

TRANSIZIONE = {"A": "G", "G": "A", "C": "T", "T": "C"}


def leggi_motivi(xml, rcrs_path):
    """name -> {position: base}: each haplogroup's control-region motif from the
    tree (hot spots and indels out), whatever the shipped tables list."""
    rcrs = gen.leggi_rcrs(rcrs_path)
    _radice, nodi = gen.leggi_albero(xml, rcrs)
    gen.calcola_motivi(nodi)
    return {nome: nodo.motivo for nome, nodo in nodi.items()}


def costruisci_campioni(motivi, rcrs):
    casuale = Casuale(SEME)
    scelti = [n for n in PREFERITI
              if n in motivi and any(INIZIO <= p <= FINE for p in motivi[n])]
    scelti = scelti[:NUMERO_CAMPIONI]
    if len(scelti) < NUMERO_CAMPIONI:
        raise SystemExit(f"only {len(scelti)} of the preferred haplogroups are usable")
    # Two samples, spread apart, get an unreadable base.
    con_n = {4, 17}
    campioni = []
    for i, nome in enumerate(scelti):
        seq = list(rcrs[INIZIO:FINE + 1])
        motivo = {p: b for p, b in motivi[nome].items() if INIZIO <= p <= FINE}
        for p, b in motivo.items():
            seq[p - INIZIO] = b
        # Private mutations go where the motif does not and away from the
        # positions the tables leave out, so they read as ordinary variation.
        libere = [p for p in range(INIZIO, FINE + 1)
                  if p not in motivo and p not in gen.HOT_SPOTS]
        for _ in range(casuale.sotto(3)):
            p = libere.pop(casuale.sotto(len(libere)))
            seq[p - INIZIO] = TRANSIZIONE[seq[p - INIZIO]]
        if i in con_n:
            p = libere.pop(casuale.sotto(len(libere)))
            seq[p - INIZIO] = "N"
        frequenza = 1 + casuale.sotto(5)
        campioni.append((f"campione_{i + 1:02d}_{nome}", frequenza, "".join(seq)))
    return campioni


def profilo(nome, seq, rcrs):
    """The sample as an .hsd line: the range its readable bases cover, the variants in
    the order of the genome."""
    tratti, varianti, primo = [], [], None
    for k, base in enumerate(seq + "N"):
        p = INIZIO + k
        if base == "N":
            if primo is not None:
                tratti.append(f"{primo}-{p - 1}" if p - 1 > primo else str(primo))
            primo = None
            continue
        if primo is None:
            primo = p
        if base != rcrs[p]:
            varianti.append(f"{p}{base}")
    return "\t".join([nome, ";".join(tratti), "?"] + varianti)


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--rcrs", default=os.path.join(os.path.dirname(gen.DEFAULT_XML), "rCRS.fasta"))
    ap.add_argument("--data-dir", default=os.path.join(gen.REPO_ROOT, "data"))
    args = ap.parse_args(argv)

    rcrs = gen.leggi_rcrs(args.rcrs)
    motivi = leggi_motivi(gen.DEFAULT_XML, args.rcrs)
    campioni = costruisci_campioni(motivi, rcrs)
    for _nome, _freq, seq in campioni:
        assert len(seq) == FINE - INIZIO + 1

    cartella = os.path.join(args.data_dir, "esporta")
    os.makedirs(cartella, exist_ok=True)
    fasta = []
    for nome, _freq, seq in campioni:
        fasta += [">" + nome, seq]
    gen.scrivi_righe_crlf(os.path.join(cartella, "campioni_esempio.FASTA"), fasta)
    gen.scrivi_righe_crlf(os.path.join(cartella, "campioni_esempio.ARL"),
           [f"{nome}\t{freq}\t{seq}" for nome, freq, seq in campioni])
    gen.scrivi_righe_crlf(os.path.join(cartella, "campioni_esempio.hsd"),
                          ["SampleId\tRange\tHaplogroup\tPolymorphisms"] +
                          [profilo(nome, seq, rcrs) for nome, _freq, seq in campioni])
    print(f"{len(campioni)} samples written to {cartella}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
