"""Simulated control-region profiles drawn from PhyloTree, and the three levels
at which a haplogroup call is judged right.

A profile is what the program's search sees of a sample: the set of mutated
positions inside the analysed stretch. One draw for a haplogroup starts from
its control-region motif (every substitution that sets it apart from the
rCRS, hot spots included: real samples carry them too), then
  - drops each variant with a probability that grows with how often its site
    changes in the tree (a fast site is often back-mutated, missed or
    recorded differently in a real sample);
  - adds 0-3 private changes (uniformly), at positions outside the motif,
    each drawn with a weight of 1 + the number of times its site changes in
    the tree, so fast sites take most of them;
  - is cut to HV1 (16024-16400), HV2 (1-576) and the whole control region.
Every haplogroup of the tree except mt-MRCA is drawn the same number of times:
the tree's own density (many named H, U and L3 branches) stands in for how
often a lineage is met. Draws come from our own fixed-seed generator, so a
set of profiles is the same on every run and every Python version.
"""

import bisect
import itertools
import re
import xml.etree.ElementTree as ET

import genera_tabelle as gen

REGIONI = [
    # name, first, last (a stretch wrapping the origin is two pieces)
    ("HV1", [(16024, 16400)]),
    ("HV2", [(1, 576)]),
    ("CR", [(16024, 16569), (1, 576)]),
]

# Dropping: 2% at a site that changes once, rising linearly to 22% at the
# fastest site of the tree (152). In parts per million, so that every draw
# is an integer comparison.
PERDITA_MINIMA = 20_000
PERDITA_AGGIUNTA = 200_000
MASSIMO_PRIVATE = 3


class Casuale:
    """64-bit linear congruential generator (Knuth's MMIX constants); only
    the high bits are used, the low ones of an LCG are poor."""

    def __init__(self, seme):
        self.stato = seme & 0xFFFFFFFFFFFFFFFF

    def sotto(self, n):
        """An integer in 0..n-1."""
        self.stato = (self.stato * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return (self.stato >> 33) % n


def nella_regione(p, pezzi):
    return any(a <= p <= b for a, b in pezzi)


def posizioni_controllo():
    return list(range(16024, 16570)) + list(range(1, 577))


def cambi_per_posizione(percorso_xml):
    """How many branches of the tree change each control-region position
    (substitutions and back mutations; parenthesised, unstable calls and
    indels do not count)."""
    conta = {}
    for poly in ET.parse(percorso_xml).getroot().iter("poly"):
        for pos, base in gen.interpreta_poly(poly.text or "", percorso_xml):
            if base != gen.GAP and gen.nel_controllo(pos):
                conta[pos] = conta.get(pos, 0) + 1
    return conta


def modello(cambi):
    """Per control-region position: drop probability in parts per million
    and weight as a site of a private change."""
    massimo = max(cambi.values())
    perdita, peso = {}, {}
    for p in posizioni_controllo():
        c = cambi.get(p, 0)
        perdita[p] = PERDITA_MINIMA + PERDITA_AGGIUNTA * c // massimo
        peso[p] = 1 + c
    return perdita, peso


def motivo_completo(nodo):
    """Every control-region substitution of the haplogroup, hot spots included."""
    return sorted(p for p, b in nodo.stato.items() if gen.nel_controllo(p) and b != gen.GAP)


def simulati(nodi, perdita, peso, seme, volte):
    """[(haplogroup, {region name: sorted positions})], `volte` draws of every
    haplogroup, in the tree's pre-order."""
    casuale = Casuale(seme)
    ordine = sorted((n for n in nodi if n != gen.TRUE_ROOT), key=lambda n: nodi[n].ordine)
    sito = Sito(peso)
    profili = []
    for nome in ordine:
        motivo = motivo_completo(nodi[nome])
        for _ in range(volte):
            tenute = [p for p in motivo if casuale.sotto(1_000_000) >= perdita[p]]
            escluse = set(motivo)
            for _ in range(casuale.sotto(MASSIMO_PRIVATE + 1)):
                escluse.add(sito.estrai(casuale, escluse))
            intero = sorted(set(tenute) | (escluse - set(motivo)))
            profili.append((nome, {r: [p for p in intero if nella_regione(p, pezzi)]
                                   for r, pezzi in REGIONI}))
    return profili


class Sito:
    """Draws a control-region position with its weight, skipping a given set
    (the motif and the changes already drawn) by drawing again."""

    def __init__(self, peso):
        self.posizioni = posizioni_controllo()
        self.cumulati = list(itertools.accumulate(peso[p] for p in self.posizioni))

    def estrai(self, casuale, escluse):
        while True:
            x = casuale.sotto(self.cumulati[-1])
            p = self.posizioni[bisect.bisect_right(self.cumulati, x)]
            if p not in escluse:
                return p


AFRICANO = re.compile(r"^L[0-9][a-z]*")
MAIUSCOLE = re.compile(r"^[A-Z]+")


def livello_alto(nome):
    """Top-level haplogroup: the leading capitals (H, HV, JT, U, ...), or L,
    its digit and the letters after it for the African lineages (L3e, L0k)."""
    m = AFRICANO.match(nome) or MAIUSCOLE.match(nome)
    return m.group(0) if m else nome


def primi_due(nome):
    return nome[:2]


def parenti(nodi, chiamata, vero):
    """The call is the true haplogroup, an ancestor or a descendant of it."""
    a, b = nodi[chiamata], nodi[vero]
    return (a.ordine <= b.ordine < a.ordine + a.sottoalbero
            or b.ordine <= a.ordine < b.ordine + b.sottoalbero)
