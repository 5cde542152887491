#!/usr/bin/env python3
"""Build the two human haplotype tables shipped in data/ from PhyloTree.

    python3 tools/haplotables/genera_tabelle.py [phylotree17.xml] [--rcrs rCRS.fasta]
                                                [--out-dir data] [--iniziali]

Writes data/tabella_mutazioni_OLD.csv (69 rows of at most 10 positions) and
data/tabella_mutazioni_Motifs.csv (469 rows of at most 15 positions). The two
limits are the sizes of the grids the program loads the tables into; a longer
file would stop the program at start-up. Needs g++ (C++20): the local search
runs in ottimizza_tabelle.cpp, built in a scratch folder at every run. The two
tables are optimised at the same time, one process each; the run takes a few
minutes on two cores and gives the same files byte for byte every time.

What the tables are for
-----------------------
The program's search is fixed: a row scores the number of the sample's mutated
positions it lists, the first row with the strictly highest score wins, and
positions the row lists but the sample lacks cost nothing. A row is therefore
not a haplogroup's description but a bet on which samples it should catch.
The tables are built for that rule:
  1. start from each haplogroup's control-region motif cut HV1-first to the
     row's length (the rules below, "Which haplogroups get a row" and "Row
     order"; --iniziali writes these starting tables);
  2. simulate profiles of every haplogroup of the tree (simulazione.py) and
     cut them to HV1, HV2 and the whole control region;
  3. improve the table by local search with annealing (ottimizza_tabelle.cpp)
     on the number of right calls of the program's exact search: right
     top-level haplogroup (weight 3), right lineage (the call is the true
     haplogroup, an ancestor or a descendant: weight 2), right first two
     characters (weight 1). A step drops, adds or swaps a position taken from
     the row's own motif, moves a row, renames a row to its parent or a
     daughter whose motif still holds its positions, or puts a haplogroup not
     yet in the table in its place with a few positions of its motif. The
     classic HV1 motifs of J, T, U5 and K (RICHIESTI) are constraints: they
     weigh more than all profiles together.
Every row stays a PhyloTree haplogroup with a plain name listing only
positions of its own motif (hot spots and indels out, below); a row that
lists part of its motif says so in its remark field. misura_tabelle.py
reports the accuracy on a test set drawn with another seed.

Source and how motifs are obtained
----------------------------------
PhyloTree Build 17 (van Oven 2016) as an XML tree rooted on the rCRS haplogroup
H2a2a1. Each <haplogroup> carries the mutations (<poly>) of the branch leading
to it from its parent element. We walk the XML from the root keeping, for every
position, the current base (starting from the rCRS base); a haplogroup's motif
is the set of control-region positions whose current base differs from the
rCRS. Walking states instead of toggling positions is what makes back mutations
come out right, including those on the inverted stretch near the root (H2a2a,
H2a2, ... mt-MRCA are nested inside H2a2a1 in the XML).

Mutation notations found in Build 17 and how each is treated:
  16069T, 73G      substitution: the position takes that base.
  16311C!, 182T!   back mutation to the named base: the same as a substitution
                   (the state walk already knows where the position stands).
                   Repeated marks ("!!") are accepted the same way.
  249d             deletion: the position becomes a gap. A gap is never written
                   as a motif position (an aligned sample cannot show it), but it
                   stays in the state so a later mutation can restore the base.
  573.XC, 44.1C,   insertion (any length, including "8289.1CCCCCTCTA" and the
  5899.1C!         back-mutated "5899.1C!"): ignored, a sequence aligned to
                   the reference has no column for it.
Handled although Build 17 does not use them, so a newer tree does not slip
through silently:
  152!, 152        position without a base: a transition from the current base.
  249DEL, 8281-8289d  deletion written out / as a range.
  (16093C)         parenthesised = recurrent or unstable in the clade: not
                   applied at all, since members of the clade may or may not
                   carry it.
Any other notation stops the generator with an error.

What a row may hold
-------------------
Control region only: 16024-16569 (HV1 side, written first) and 1-576 (HV2
side). Left out besides indels, because a call there depends on how a length
variant was aligned or the site mutates too often to classify by (PhyloTree
disregards them too):
  16182, 16183, 16193  in and next to the HV1 C tract 16184-16193, which
                       turns into a length-heteroplasmic run with 16189C;
  309, 310, 315        the HV2 C tract 303-315;
  523, 524             the AC repeat 514-524;
  16519                the most recurrent site of the control region.
We keep the fast but still diagnostic sites (152, 146, 195, 16189, 16129,
16311, 16362, ...): each of them is part of the motif of major clades (K by
16224+16311, I by 16129+16391, B4 by 16189+16217, ...), and since the search
only counts shared positions an extra hit on a fast site adds one point to
every row that has it rather than deciding alone.

When a motif is longer than the row allows, HV1 positions go first and HV2
ones fill the rest. Within each side the positions that changed most recently
on the way from mt-MRCA to the haplogroup are preferred: those are the ones
that set it apart from its parent, while the older ones are shared with a
whole tree of relatives. The row then lists HV1 ascending, then HV2
ascending.

Which haplogroups get a row in the starting tables
--------------------------------------------------
Candidates are taken in order of how widely the name is used:
  1. a hand-written list of the major haplogroups (L0-L6, M, N, R and their
     main Eurasian, African, Asian and Native American daughters); the first
     table uses this list only;
  2. (motif table) a hand-written list of well-known sub-haplogroups
     (U5a, U5b, J1c, T2b, K1a, H5, ...);
  3. (motif table) every other haplogroup with a plain name, by depth of the
     name (U5 before U5a before U5a1), then by size of its subtree in the tree
     (a larger clade is reported more often), then by tree order.
Paragroups and provisional labels ("H1+16189", "V+@72", "H8+(114)"), merged
labels ("R2'JT", "L3'4") and mt-MRCA are not taken, except where a list
names them (B4'5 is the classic haplogroup B).
A candidate is skipped when its motif (after the cuts above) is empty, equals
the motif of its parent (merged labels and mt-MRCA are looked through when
finding the parent) - it adds nothing, the parent names that motif - or equals
the motif of a row already taken. So for example H, HV and H1 have no row: in
the control region they look exactly like R0 (only 263G), and R0 stands for
them all; N looks like L3.

Row order of the starting tables
--------------------------------
The search gives a sample the row that lists most of its positions, ties
going to the earlier row, and it mostly runs on HV1 stretches (16001-16400 by
default). Rows are therefore sorted by how many HV1 positions they list, then
by the candidate order above: a tie goes to the row that leaves fewer of the
sample's HV1 region unexplained, then to the more widely used name. On top of
that, a row whose positions are all listed by another row is always written
before it; otherwise it could never be chosen. This also puts a parent before
every daughter that carries the parent's whole motif. For the same reason a
less used haplogroup whose motif is a row already taken minus some HV2
positions is not taken: it would have to come first and would catch all that
row's HV1-only samples (HV18, 16189 263, against B4'5, 16189 73 263).
"""

import argparse
import heapq
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
REPO_ROOT = os.path.dirname(os.path.dirname(HERE))
DEFAULT_XML = os.path.normpath(os.path.join(REPO_ROOT, "..", "shared", "data", "phylotree17.xml"))

HV1_FIRST, HV1_LAST = 16024, 16569
HV2_FIRST, HV2_LAST = 1, 576
HOT_SPOTS = frozenset({16182, 16183, 16193, 16519, 309, 310, 315, 523, 524})

TRUE_ROOT = "mt-MRCA"
GAP = "-"
TRANSITION = {"A": "G", "G": "A", "C": "T", "T": "C"}

FIRST_TABLE = ("tabella_mutazioni_OLD.csv", 69, 10)
MOTIF_TABLE = ("tabella_mutazioni_Motifs.csv", 469, 15)

# Major haplogroups, most widely used first. The first table is made of these
# alone; when a name adds nothing (same motif as its parent or as a row
# already taken) the next one moves up.
MAJOR = [
    # the African root lineages
    "L0", "L1", "L2", "L3", "L4", "L5", "L6",
    # the out-of-Africa trunk
    "M", "N", "R",
    # Asian and Native American M
    "M1", "C", "D", "E", "G", "Q", "Z",
    # N outside R
    "A", "I", "W", "X", "Y",
    # R
    "R0", "HV", "H", "V", "JT", "J", "T", "U", "U5", "K", "B4'5", "F",
    # main African daughters
    "L0a", "L0d", "L0k", "L1b", "L1c", "L2a", "L2b", "L2c",
    "L3b", "L3d", "L3e", "L3f", "L3h",
    # main Asian, Oceanian and Native American daughters
    "M7", "M8", "M9", "D4", "D5", "C1", "A2", "B4", "B5", "B2", "D1", "X2",
    "N1", "N9", "S", "O", "P", "R9", "HV0",
    # main West Eurasian daughters
    "U1", "U2", "U3", "U4", "U6", "U7", "U8", "U5a", "U5b",
    "K1", "K2", "J1", "J2", "T1", "T2", "H1", "H5",
    # further down the list, used only when names above drop out
    "M2", "M3", "M4", "M5", "M6", "N1a", "N1b", "X2a", "R5", "R6", "R7", "R8",
    "I1", "W1", "L3x", "L4b", "L2d",
]

# Well-known sub-haplogroups: the usual names in population and forensic
# studies, after the major ones and before the systematic fill.
WELL_KNOWN = [
    # H and HV
    "H1", "H2", "H3", "H4", "H5", "H6", "H7", "H8", "H10", "H11", "H13", "H15", "H16", "H20",
    "H1a", "H1b", "H1c", "H1e", "H2a", "H5a", "H6a", "H6b", "H7a", "H11a",
    "HV1", "HV2", "HV4", "HV0a", "V1", "V2", "V7",
    # J and T
    "J1", "J1b", "J1c", "J1d", "J2", "J2a", "J2b", "J1c1", "J1c2", "J1c3", "J1b1", "J2a1", "J2b1",
    "T1", "T1a", "T1b", "T2", "T2a", "T2b", "T2c", "T2d", "T2e", "T2f", "T2a1", "T2b2",
    # U and K
    "U1a", "U1b", "U2a", "U2b", "U2c", "U2d", "U2e", "U3a", "U3b", "U4a", "U4b", "U4c",
    "U5a", "U5b", "U5a1", "U5a2", "U5b1", "U5b2", "U5b3", "U6a", "U6b", "U6d", "U7a", "U7b",
    "U8a", "U8b", "U9", "K1", "K1a", "K1b", "K1c", "K2", "K2a", "K2b",
    # other West Eurasian N
    "I1", "I2", "I3", "I4", "I5", "W1", "W3", "W4", "W5", "W6", "X1", "X2", "X2a", "X2b",
    "X2c", "X2d", "X2e", "N1a", "N1b", "N2", "R1", "R2",
    # East Asia, Oceania, the Americas
    "A2", "A5", "B2", "B4a", "B4b", "B4c", "B4d", "B5a", "B5b", "B6",
    "C1", "C1b", "C1c", "C1d", "C4", "C5", "C7", "D1", "D4a", "D4b", "D4e", "D4g", "D4h",
    "D4h3a", "D5a", "D5b", "D6", "E1", "E2", "F1", "F1a", "F1b", "F2", "F3", "F4",
    "G1", "G2", "G3", "G2a", "M7a", "M7b", "M7c", "M8a", "M9a", "M10", "M11", "M12", "M13",
    "N9a", "N9b", "Y1", "Y2", "Z1", "Z3", "Q1", "Q2", "P1", "P2", "P3", "P4", "S1", "R9b",
    "R21", "R22", "M21", "M22", "M42", "M74",
    # South Asia
    "M2a", "M2b", "M3a", "M4a", "M5a", "M6a", "M18", "M30", "M33", "M35", "M39", "R5a",
    "R6a", "R7a", "R8a", "R30", "R31", "U7a", "W3a",
    # Africa
    "M1a", "M1b", "L0a1", "L0a2", "L0b", "L0d1", "L0d2", "L0d3", "L0f", "L0g", "L0k1",
    "L1b1", "L1c1", "L1c2", "L1c3", "L1c4", "L1c5", "L1c6", "L2a1", "L2a2", "L2a3", "L2a4",
    "L2b1", "L2c1", "L2c2", "L2d", "L2e", "L3a", "L3b1", "L3c", "L3d1", "L3d2", "L3d3",
    "L3e1", "L3e2", "L3e3", "L3e4", "L3e5", "L3f1", "L3f2", "L3f3", "L3h1", "L3h2", "L3i",
    "L3k", "L3x", "L4a", "L4b", "L5a", "L5b", "L6a", "L6b",
]

# A plain haplogroup name: a capital letter group (or L0..L6) followed by
# alternating digit and letter groups, e.g. "U5a1b".
PLAIN_NAME = re.compile(r"^(L[0-6]|[A-Z]+)((?:[0-9]+|[a-z]+)*)$")


class Nodo:
    __slots__ = ("nome", "padre_xml", "figli_xml", "stato", "padre", "figli",
                 "profondita", "ordine", "sottoalbero", "motivo")

    def __init__(self, nome, padre_xml):
        self.nome = nome
        self.padre_xml = padre_xml
        self.figli_xml = []
        self.stato = None        # position -> base, only where it differs from the rCRS
        self.padre = None        # parent in the real tree (rooted on mt-MRCA)
        self.figli = []
        self.profondita = 0
        self.ordine = 0          # pre-order index in the real tree
        self.sottoalbero = 1     # nodes in the real subtree, itself included
        self.motivo = {}         # control-region position -> base, after exclusions


def leggi_rcrs(percorso):
    with open(percorso, "r", encoding="ascii") as f:
        righe = [r.strip() for r in f if r.strip()]
    if not righe or not righe[0].startswith(">"):
        raise SystemExit(f"{percorso}: not a FASTA file")
    seq = "".join(righe[1:]).upper()
    if len(seq) != 16569:
        raise SystemExit(f"{percorso}: expected 16569 bases, found {len(seq)}")
    return " " + seq        # 1-based: seq[p] is the base at position p


def interpreta_poly(testo, percorso):
    """Return a list of (position, new base or None for transition or GAP)."""
    t = testo.strip()
    if t.startswith("(") and t.endswith(")"):
        return []
    m = re.fullmatch(r"(\d+)\.(\d+|X)[ACGT]+!*", t)
    if m:
        return []
    m = re.fullmatch(r"(\d+)([ACGT])!*", t)
    if m:
        return [(int(m.group(1)), m.group(2))]
    m = re.fullmatch(r"(\d+)(?:-(\d+))?(?:d|DEL)!*", t)
    if m:
        primo = int(m.group(1))
        ultimo = int(m.group(2)) if m.group(2) else primo
        return [(p, GAP) for p in range(primo, ultimo + 1)]
    m = re.fullmatch(r"(\d+)!*", t)
    if m:
        return [(int(m.group(1)), None)]
    raise SystemExit(f"{percorso}: mutation notation not understood: {testo!r}")


def nel_controllo(p):
    return HV1_FIRST <= p <= HV1_LAST or HV2_FIRST <= p <= HV2_LAST


def chiave_posizione(p):
    """HV1 side first, then HV2, each ascending."""
    return (0 if p >= HV1_FIRST else 1, p)


def leggi_albero(percorso_xml, rcrs):
    radice_xml = ET.parse(percorso_xml).getroot()
    primo = radice_xml.find("haplogroup")
    if primo is None:
        raise SystemExit(f"{percorso_xml}: no <haplogroup> element")
    nodi = {}
    # Each element's state is its parent's plus the branch; the walk keeps
    # one copy per haplogroup, which the motifs and the truncation read later.
    pila = [(primo, None, {})]
    while pila:
        elem, padre, stato_padre = pila.pop()
        nome = elem.get("name")
        if not nome:
            raise SystemExit(f"{percorso_xml}: haplogroup without a name")
        if nome in nodi:
            raise SystemExit(f"{percorso_xml}: haplogroup {nome} appears twice")
        stato = dict(stato_padre)
        dettagli = elem.find("details")
        polys = dettagli.findall("poly") if dettagli is not None else []
        for poly in polys:
            for pos, base in interpreta_poly(poly.text or "", percorso_xml):
                if not 1 <= pos <= 16569:
                    raise SystemExit(f"{percorso_xml}: position out of range in {poly.text!r}")
                attuale = stato.get(pos, rcrs[pos])
                if base is None:
                    if attuale not in TRANSITION:
                        raise SystemExit(f"{percorso_xml}: transition at {pos} from {attuale!r}")
                    base = TRANSITION[attuale]
                if base == rcrs[pos]:
                    stato.pop(pos, None)
                else:
                    stato[pos] = base
        nodo = Nodo(nome, padre)
        nodo.stato = stato
        nodi[nome] = nodo
        if padre is not None:
            nodi[padre].figli_xml.append(nome)
        for figlio in reversed(elem.findall("haplogroup")):
            pila.append((figlio, nome, stato))
    return primo.get("name"), nodi


def radica_su_mrca(nodi):
    """Turn the rCRS-rooted XML into the real tree, rooted on mt-MRCA.

    The XML path from the root down to mt-MRCA (H2a2a1, H2a2a, H2a2, ..., L3,
    L3'4, ..., mt-MRCA) is the real path read backwards, so along it each
    node's real parent is its XML child on that path.
    """
    if TRUE_ROOT not in nodi:
        raise SystemExit(f"no {TRUE_ROOT} in the tree")
    cammino = [TRUE_ROOT]
    while nodi[cammino[-1]].padre_xml is not None:
        cammino.append(nodi[cammino[-1]].padre_xml)
    # cammino: mt-MRCA, L1'2'3'4'5'6, ..., H2a2a, H2a2a1
    sul_cammino = set(cammino)
    for nome, nodo in nodi.items():
        if nome not in sul_cammino:
            nodo.padre = nodo.padre_xml
    for i, nome in enumerate(cammino):
        nodi[nome].padre = cammino[i - 1] if i > 0 else None
    # Children keep the XML order; a node on the path gets its former XML
    # parent (the way towards the rCRS) as its last child, which puts R after
    # the other N branches and N after M, as the tree is usually drawn.
    for nome, nodo in nodi.items():
        figli = [f for f in nodo.figli_xml if f not in sul_cammino or nodi[f].padre == nome]
        if nome in sul_cammino and nodo.padre_xml is not None:
            figli.append(nodo.padre_xml)
        nodo.figli = figli
    ordine = 0
    pila = [TRUE_ROOT]
    visita = []
    while pila:
        nome = pila.pop()
        nodo = nodi[nome]
        nodo.ordine = ordine
        ordine += 1
        visita.append(nome)
        for f in reversed(nodo.figli):
            nodi[f].profondita = nodo.profondita + 1
            pila.append(f)
    if ordine != len(nodi):
        raise SystemExit("re-rooting lost some haplogroups")
    for nome in reversed(visita):
        nodo = nodi[nome]
        if nodo.padre is not None:
            nodi[nodo.padre].sottoalbero += nodo.sottoalbero


def calcola_motivi(nodi):
    for nodo in nodi.values():
        nodo.motivo = {p: b for p, b in nodo.stato.items()
                       if nel_controllo(p) and b != GAP and p not in HOT_SPOTS}


def eta_posizione(nodi, nome, pos):
    """Depth of the node where the haplogroup's base at pos was last set,
    going down the real tree from mt-MRCA (0 if already so at mt-MRCA)."""
    nodo = nodi[nome]
    base = nodo.motivo[pos]
    while nodo.padre is not None and nodi[nodo.padre].stato.get(pos) == base:
        nodo = nodi[nodo.padre]
    return nodo.profondita


def tronca(nodi, nome, massimo):
    motivo = nodi[nome].motivo
    if len(motivo) <= massimo:
        scelte = list(motivo)
    else:
        def priorita(p):
            return (-eta_posizione(nodi, nome, p), p)
        hv1 = sorted((p for p in motivo if p >= HV1_FIRST), key=priorita)
        hv2 = sorted((p for p in motivo if p < HV1_FIRST), key=priorita)
        scelte = (hv1 + hv2)[:massimo]
    scelte.sort(key=chiave_posizione)
    return tuple((p, motivo[p]) for p in scelte)


def nome_semplice(nome):
    return PLAIN_NAME.match(nome) is not None


def livello_nome(nome):
    m = PLAIN_NAME.match(nome)
    return 1 + len(re.findall(r"[0-9]+|[a-z]+", m.group(2)))


def padre_con_nome(nodi, nome):
    """Nearest real ancestor with a plain name: merged labels (R2'JT) and
    mt-MRCA are looked through, they are never rows of their own."""
    p = nodi[nome].padre
    while p is not None and not nome_semplice(p):
        p = nodi[p].padre
    return p


def candidati(nodi, liste, riempi):
    visti = set()
    for lista in liste:
        for nome in lista:
            if nome not in nodi:
                raise SystemExit(f"haplogroup {nome} listed but not in the tree")
            if nome not in visti:
                visti.add(nome)
                yield nome
    if riempi:
        resto = [n for n in nodi if n not in visti and nome_semplice(n)]
        resto.sort(key=lambda n: (livello_nome(n), -nodi[n].sottoalbero, nodi[n].ordine))
        yield from resto


def scegli_righe(nodi, liste, riempi, max_righe, max_posizioni):
    righe = []              # (name, truncated motif)
    motivi_presi = set()
    rango = {}
    for nome in candidati(nodi, liste, riempi):
        if len(righe) == max_righe:
            break
        motivo = tronca(nodi, nome, max_posizioni)
        if not motivo:
            continue
        padre = padre_con_nome(nodi, nome)
        if padre is not None and tronca(nodi, padre, max_posizioni) == motivo:
            continue
        posizioni = frozenset(p for p, _ in motivo)
        if posizioni in motivi_presi:
            continue
        # A less used haplogroup whose motif is a row already taken minus some
        # HV2 positions would have to be written before that row and would then
        # take all of its HV1-only samples (HV18 = 16189 263 against
        # B4'5 = 16189 73 263). Such a row tells apart only what HV2 shows.
        # Without HV1 positions there is nothing to take, and R0 (263 alone)
        # must stay before R (73 263) for the H samples read over HV2.
        hv1 = frozenset(p for p in posizioni if p >= HV1_FIRST)
        if hv1 and any(posizioni < altro and hv1 == frozenset(p for p in altro if p >= HV1_FIRST)
               for altro in motivi_presi):
            continue
        motivi_presi.add(posizioni)
        rango[nome] = len(rango)
        righe.append((nome, motivo))
    return ordina_righe(righe, rango)


def ordina_righe(righe, rango):
    """Fewest HV1 positions first, then the candidate order; but a row whose
    positions are all in another row's always comes before that row.

    The search is mostly run on HV1 stretches (16001-16400 by default), where
    a tie between two rows goes best to the one that leaves fewer HV1
    positions unexplained, and after that to the more widely used name. The
    subset rule keeps every row reachable and puts parents before daughters;
    it only ever reorders rows with the same HV1 count, since a subset
    cannot have more HV1 positions than its superset.
    """
    insiemi = [frozenset(p for p, _ in m) for _, m in righe]

    def chiave(i):
        hv1 = sum(1 for p in insiemi[i] if p >= HV1_FIRST)
        return (hv1, rango[righe[i][0]], i)

    prima_di = [[] for _ in righe]      # i -> rows that must wait for i
    attese = [0] * len(righe)
    for i, a in enumerate(insiemi):
        for j, b in enumerate(insiemi):
            if i != j and a < b:
                prima_di[i].append(j)
                attese[j] += 1
    pronte = [chiave(i) for i in range(len(righe)) if attese[i] == 0]
    heapq.heapify(pronte)
    ordinate = []
    while pronte:
        i = heapq.heappop(pronte)[-1]
        ordinate.append(righe[i])
        for j in prima_di[i]:
            attese[j] -= 1
            if attese[j] == 0:
                heapq.heappush(pronte, chiave(j))
    return ordinate


def intestazione(max_righe, max_posizioni):
    testo = [
        "Human mtDNA haplogroups for the program's haplotype search, control region (16024-16569,",
        "1-576). Source: PhyloTree Build 17 (van Oven M. 2016, www.phylotree.org), tree rooted on the",
        "rCRS (haplogroup H2a2a1); a motif is a haplogroup's differences from the rCRS, back mutations",
        "included.",
        "What the rows are for: the search scores a row by how many of the sample's mutated positions",
        "it lists and takes the first row with the highest score. So a row is not a full motif: it",
        "lists the positions of its haplogroup's motif that, in this order of rows, lead samples of",
        "that part of the tree to it, and leaves out those that would draw in other lineages (fast",
        "sites such as 16129, 16189, 16311, 146, 152 only where they bring more right calls than",
        "wrong ones).",
        f"How they were built: {max_righe} rows of at most {max_posizioni} positions, optimised by local search on",
        f"simulated profiles of every PhyloTree haplogroup ({VOLTE} each, seed {SEME_SIMULAZIONE}; variants dropped",
        "more often at fast sites, 0-3 private changes drawn towards fast sites) read over HV1",
        "(16024-16400), HV2 (1-576) and the whole control region, for the most right calls at the",
        "top-level haplogroup, the lineage and the first two characters of the name.",
        "Every row is a PhyloTree haplogroup listing only positions of its own motif; never listed:",
        "insertions, deletions, length variants and the unstable positions 16182 16183 16193 309 310",
        "315 523 524 16519. Accuracy on a simulated test set: docs/tabelle.md.",
        "Fields: name;positions (HV1 then HV2, ascending);the same positions with bases, and for a row",
        "that lists only part of its motif \"(part of the motif: listed of all positions)\".",
        f"Generated by tools/haplotables/genera_tabelle.py (search seed {SEME_RICERCA}); edit that, not this file.",
    ]
    return ["# " + t for t in testo]


def scrivi_tabella(percorso, commenti, righe, nodi):
    linee = list(commenti)
    for nome, motivo in righe:
        if not nome or ";" in nome or nome != nome.strip() or nome[0] in "#/":
            raise SystemExit(f"unusable haplogroup name {nome!r}")
        posizioni = "-".join(str(p) for p, _ in motivo)
        nota = " ".join(f"{p}{b}" for p, b in motivo)
        intero = len(nodi[nome].motivo)
        if len(motivo) < intero:
            nota += f" (part of the motif: {len(motivo)} of {intero} positions)"
        linee.append(f"{nome};{posizioni};{nota}")
    scrivi_righe_crlf(percorso, linee)


def scrivi_righe_crlf(percorso, linee):
    """ASCII lines ended by CR LF, put in place only once complete."""
    dati = "".join(l + "\r\n" for l in linee).encode("ascii")
    os.makedirs(os.path.dirname(percorso), exist_ok=True)
    provvisorio = percorso + ".tmp"
    with open(provvisorio, "wb") as f:
        f.write(dati)
    os.replace(provvisorio, percorso)


# Classic HV1 motifs (interval 16001-16400) that must land in their haplogroup or a daughter of
# it, whatever the optimisation finds: they weigh far more than all the drawn profiles together.
RICHIESTI = [
    ("J", [16069, 16126]),
    ("T", [16126, 16294]),
    ("U5", [16192, 16270]),
    ("K", [16224, 16311]),
]
PESO_RICHIESTO = 10_000_000

SEME_SIMULAZIONE = 17       # the profiles the tables are optimised on
SEME_RICERCA = 1            # the local search's own draws
VOLTE = 2                   # draws per haplogroup
PASSI = {"tabella_mutazioni_OLD.csv": 300_000, "tabella_mutazioni_Motifs.csv": 300_000}
SORGENTE_CPP = os.path.join(HERE, "ottimizza_tabelle.cpp")


def argomenti_verifica(descrizione, argv):
    """The command line of the tools that read the tree and the tables in data/."""
    ap = argparse.ArgumentParser(description=descrizione.split("\n\n")[0])
    ap.add_argument("xml", nargs="?", default=DEFAULT_XML, help="PhyloTree Build 17 XML")
    ap.add_argument("--rcrs", help="rCRS FASTA (default: rCRS.fasta beside the XML)")
    ap.add_argument("--data-dir", default=os.path.join(REPO_ROOT, "data"))
    args = ap.parse_args(argv)
    args.rcrs = args.rcrs or os.path.join(os.path.dirname(os.path.abspath(args.xml)), "rCRS.fasta")
    return args


def prepara(xml, rcrs_path):
    """The tree, rooted and with motifs, and the simulation model."""
    import simulazione as sim
    rcrs = leggi_rcrs(rcrs_path)
    radice, nodi = leggi_albero(xml, rcrs)
    if nodi[radice].stato:
        raise SystemExit(f"the XML root {radice} is not the rCRS")
    radica_su_mrca(nodi)
    calcola_motivi(nodi)
    perdita, peso = sim.modello(sim.cambi_per_posizione(xml))
    return nodi, perdita, peso


def tabelle_iniziali(nodi):
    """The starting point of the search: every haplogroup's motif, cut HV1-first."""
    nome_f, righe_f, pos_f = FIRST_TABLE
    nome_m, righe_m, pos_m = MOTIF_TABLE
    return {nome_f: scegli_righe(nodi, [MAJOR], False, righe_f, pos_f),
            nome_m: scegli_righe(nodi, [MAJOR, WELL_KNOWN], True, righe_m, pos_m)}


def scrivi_dati(percorso, nodi, perdita, peso, profili):
    """The input of ottimizza_tabelle: tree, model, profiles, required samples. A haplogroup's
    number is its place in the tree's pre-order."""
    import simulazione as sim
    ordinati = sorted(nodi, key=lambda n: nodi[n].ordine)
    numero = {n: i for i, n in enumerate(ordinati)}
    alti, due = {}, {}
    linee = [f"nodi {len(ordinati)}"]
    for n in ordinati:
        nodo = nodi[n]
        riga = sorted(nodo.motivo)
        tutto = sim.motivo_completo(nodo)
        padre = numero[nodo.padre] if nodo.padre is not None else -1
        ammesso = int(n != TRUE_ROOT and nome_semplice(n))
        a = alti.setdefault(sim.livello_alto(n), len(alti))
        b = due.setdefault(sim.primi_due(n), len(due))
        linee.append(f"{'_'.join(n.split())} {padre} {nodo.ordine} {nodo.sottoalbero} {ammesso} {a} {b} "
                     f"{len(riga)} {' '.join(map(str, riga))} {len(tutto)} {' '.join(map(str, tutto))}")
    linee.append(f"modello {len(perdita)}")
    linee += [f"{p} {perdita[p]} {peso[p]}" for p in sorted(perdita)]
    linee.append(f"profili {len(profili) * len(sim.REGIONI)}")
    for nome, per_regione in profili:
        for r, (regione, _pezzi) in enumerate(sim.REGIONI):
            pos = per_regione[regione]
            linee.append(f"{numero[nome]} {r} {len(pos)} {' '.join(map(str, pos))}")
    linee.append(f"richiesti {len(RICHIESTI)}")
    for nome, pos in RICHIESTI:
        linee.append(f"{numero[nome]} {PESO_RICHIESTO} {len(pos)} {' '.join(map(str, pos))}")
    with open(percorso, "w") as f:
        f.write("\n".join(linee) + "\n")
    return ordinati


def scrivi_righe_numeri(percorso, righe, numero):
    with open(percorso, "w") as f:
        for nome, motivo in righe:
            f.write(f"{numero[nome]} {len(motivo)} {' '.join(str(p) for p, _ in motivo)}\n")


class Ottimizzatore:
    """ottimizza_tabelle built with g++ in a scratch folder and run on one data file."""

    def __init__(self, cartella):
        self.cartella = cartella
        self.programma = os.path.join(cartella, "ottimizza_tabelle")
        subprocess.run(["g++", "-std=c++20", "-O2", "-Wall", "-Wextra", "-Werror",
                        "-o", self.programma, SORGENTE_CPP], check=True)

    def avvia(self, *argomenti, resoconto=None):
        return subprocess.Popen([self.programma, *map(str, argomenti)], stdout=subprocess.PIPE,
                                stderr=resoconto, text=True)

    def esegui(self, *argomenti, resoconto=None):
        p = self.avvia(*argomenti, resoconto=resoconto)
        uscita, errori = p.communicate()
        if p.returncode != 0:
            raise SystemExit(f"ottimizza_tabelle {argomenti[0]} failed")
        return (uscita, errori) if resoconto else uscita


def righe_da_numeri(testo, ordinati, nodi):
    righe = []
    for linea in testo.splitlines():
        campi = list(map(int, linea.split()))
        nome = ordinati[campi[0]]
        posizioni = sorted(campi[2:], key=chiave_posizione)
        righe.append((nome, tuple((p, nodi[nome].motivo[p]) for p in posizioni)))
    return righe


def main(argv=None):
    import simulazione as sim
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("xml", nargs="?", default=DEFAULT_XML, help="PhyloTree Build 17 XML")
    ap.add_argument("--rcrs", help="rCRS FASTA (default: rCRS.fasta beside the XML)")
    ap.add_argument("--out-dir", default=os.path.join(REPO_ROOT, "data"))
    ap.add_argument("--iniziali", action="store_true",
                    help="write the starting tables (each motif cut HV1-first), not optimised")
    args = ap.parse_args(argv)
    rcrs_path = args.rcrs or os.path.join(os.path.dirname(os.path.abspath(args.xml)), "rCRS.fasta")

    nodi, perdita, peso = prepara(args.xml, rcrs_path)
    iniziali = tabelle_iniziali(nodi)
    if args.iniziali:
        for nome, righe in iniziali.items():
            scrivi_tabella(os.path.join(args.out_dir, nome), [], righe, nodi)
        return 0
    profili = sim.simulati(nodi, perdita, peso, SEME_SIMULAZIONE, VOLTE)
    with tempfile.TemporaryDirectory() as cartella:
        dati = os.path.join(cartella, "dati.txt")
        ordinati = scrivi_dati(dati, nodi, perdita, peso, profili)
        numero = {n: i for i, n in enumerate(ordinati)}
        ott = Ottimizzatore(cartella)
        lanciati = {}
        for nome, max_righe, max_pos in (FIRST_TABLE, MOTIF_TABLE):
            partenza = os.path.join(cartella, nome + ".inizio")
            scrivi_righe_numeri(partenza, iniziali[nome], numero)
            lanciati[nome] = ott.avvia("ottimizza", dati, partenza, max_righe, max_pos,
                                       SEME_RICERCA, PASSI[nome])
        for nome, max_righe, max_pos in (FIRST_TABLE, MOTIF_TABLE):
            processo = lanciati[nome]
            uscita, _ = processo.communicate()
            if processo.returncode != 0:
                raise SystemExit(f"optimising {nome} failed")
            righe = righe_da_numeri(uscita, ordinati, nodi)
            scrivi_tabella(os.path.join(args.out_dir, nome), intestazione(max_righe, max_pos),
                           righe, nodi)
            print(f"{nome}: {len(righe)} rows")
    return 0


if __name__ == "__main__":
    sys.exit(main())
