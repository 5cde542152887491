#!/usr/bin/env python3
"""Write the whole PhyloTree, as the haplogroup classifier of the core reads it.

    python3 tools/haplotables/genera_albero.py [phylotree17.xml] [--rcrs rCRS.fasta]
                                              [--out src/core/phylotree/albero17.inc]

The output is C++ source embedded in the library (src/core/phylotree/albero.cpp
includes it), so the program needs no file of its own at run time. It holds:
  - every distinct variant of the tree relative to the rCRS, over the whole
    genome: substitutions (73G), deletions (249d) and insertions (44.1C, one
    variant per inserted base: 8289.1CCCCCTCTA gives 8289.1C ... 8289.9A),
    each with how many branches of the tree change its site;
  - every haplogroup in pre-order of the real tree (rooted on mt-MRCA), with
    its parent, its top-level group (simulazione.livello_alto, the level the
    measurements judge a call at) and the variants in which its expected
    variants differ from its parent's: the classifier rebuilds each
    haplogroup's set by applying them down the tree.

A haplogroup's expected variants are its differences from the rCRS: the
substitution and deletion states come from the same walk that builds the
haplotype tables (genera_tabelle.leggi_albero: back mutations "!" and the
inverted stretch near the rCRS root come out right); insertions are toggled
along the XML path from the root, a repeated or back-mutated insertion
("5899.1C!") taking it away again. An insertion of unstated length (573.XC)
is read as one inserted base, the one every carrier has. Hot spots stay
in the data: which variants the score leaves out is the classifier's rule.

The output is the same byte for byte on every run; `git diff --exit-code src/`
after a run is the check.
"""

import argparse
import os
import re
import sys
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
import genera_tabelle as gen  # noqa: E402
import simulazione as sim  # noqa: E402

DEFAULT_OUT = os.path.join(gen.REPO_ROOT, "src", "core", "phylotree", "albero17.inc")
INSERZIONE = re.compile(r"(\d+)\.(\d+|X)([ACGT]+)!*")
PER_RIGA = 16


def inserzioni(testo):
    """The inserted bases of an insertion notation as (position, index, base)."""
    m = INSERZIONE.fullmatch(testo.strip())
    if not m:
        return []
    primo = 1 if m.group(2) == "X" else int(m.group(2))
    return [(int(m.group(1)), primo + i, b) for i, b in enumerate(m.group(3))]


def polys(elem):
    dettagli = elem.find("details")
    return [p.text or "" for p in dettagli.findall("poly")] if dettagli is not None else []


def inserzioni_per_nodo(radice_xml):
    """Haplogroup -> its insertions relative to the rCRS, toggled from the XML root."""
    esito = {}
    pila = [(radice_xml, frozenset())]
    while pila:
        elem, sopra = pila.pop()
        stato = set(sopra)
        for testo in polys(elem):
            stato ^= set(inserzioni(testo))
        esito[elem.get("name")] = frozenset(stato)
        pila.extend((figlio, frozenset(stato)) for figlio in elem.findall("haplogroup"))
    return esito


def siti_cambiati(testo, percorso):
    """The sites a branch's notation changes: (position, 0) or (position, insertion index)."""
    ins = inserzioni(testo)
    if ins:
        return [(p, k) for p, k, _ in ins]
    return [(p, 0) for p, _ in gen.interpreta_poly(testo, percorso)]


def cambi_per_sito(radice_xml, percorso):
    conta = {}
    for elem in radice_xml.iter("haplogroup"):
        for testo in polys(elem):
            for sito in siti_cambiati(testo, percorso):
                conta[sito] = conta.get(sito, 0) + 1
    return conta


def varianti_attese(nodo, ins):
    """A haplogroup's variants as (position, insertion index, base), "-" a deletion."""
    sost = {(p, 0, "-" if b == gen.GAP else b) for p, b in nodo.stato.items()}
    return sost | set(ins)


def leggi(xml, rcrs_path):
    rcrs = gen.leggi_rcrs(rcrs_path)
    radice, nodi = gen.leggi_albero(xml, rcrs)
    if nodi[radice].stato:
        raise SystemExit(f"the XML root {radice} is not the rCRS")
    gen.radica_su_mrca(nodi)
    radice_xml = ET.parse(xml).getroot().find("haplogroup")
    ins = inserzioni_per_nodo(radice_xml)
    ordine = sorted(nodi, key=lambda n: nodi[n].ordine)
    attese = {n: varianti_attese(nodi[n], ins[n]) for n in ordine}
    return nodi, ordine, attese, cambi_per_sito(radice_xml, xml)


def righe_numeri(numeri):
    for i in range(0, len(numeri), PER_RIGA):
        yield "    " + ", ".join(str(x) for x in numeri[i:i + PER_RIGA]) + ","


def testo_inc(nodi, ordine, attese, cambi):
    varianti = sorted(set().union(*attese.values()))
    indice = {v: i for i, v in enumerate(varianti)}
    gruppi = sorted({sim.livello_alto(n) for n in ordine})
    numero_gruppo = {g: i for i, g in enumerate(gruppi)}
    posto = {n: i for i, n in enumerate(ordine)}
    out = [f"// PhyloTree Build 17 (van Oven 2016): {len(ordine)} haplogroups, {len(varianti)} variants",
           "// relative to the rCRS. Written by tools/haplotables/genera_albero.py; regenerate, do not",
           "// edit.",
           "constexpr VarianteDati kVarianti[] = {"]
    for p, k, b in varianti:
        out.append(f"    {{{p}, {k}, '{b}', {cambi.get((p, k), 0)}}},")
    out.append("};")
    out.append("constexpr const char* kGruppi[] = {")
    out.extend(f'    "{g}",' for g in gruppi)
    out.append("};")
    out.append("constexpr NodoDati kNodi[] = {")
    differenze = []
    for n in ordine:
        padre = nodi[n].padre
        sopra = attese[padre] if padre is not None else frozenset()
        diff = sorted(indice[v] for v in attese[n] ^ sopra)
        out.append(f'    {{"{n}", {posto[padre] if padre is not None else -1}, '
                   f"{numero_gruppo[sim.livello_alto(n)]}, {len(differenze)}, {len(diff)}}},")
        differenze.extend(diff)
    out.append("};")
    out.append("constexpr std::uint16_t kDifferenze[] = {")
    out.extend(righe_numeri(differenze))
    out.append("};")
    return "\n".join(out) + "\n"


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("xml", nargs="?", default=gen.DEFAULT_XML)
    ap.add_argument("--rcrs")
    ap.add_argument("--out", default=DEFAULT_OUT)
    args = ap.parse_args(argv)
    rcrs = args.rcrs or os.path.join(os.path.dirname(os.path.abspath(args.xml)), "rCRS.fasta")
    testo = testo_inc(*leggi(args.xml, rcrs))
    with open(args.out, "w", encoding="ascii", newline="\n") as f:
        f.write(testo)
    return 0


if __name__ == "__main__":
    sys.exit(main())
