#!/usr/bin/env python3
"""How often the haplotype tables give the right call, on simulated profiles
the table builder never saw.

    python3 tools/haplotables/misura_tabelle.py [phylotree17.xml] [--data-dir data]

Draws a test set with its own seed (every haplogroup twice, as the builder
does, see simulazione.py) and scores, per region (HV1, HV2, whole control
region) and at three levels (top-level haplogroup, first two characters,
lineage):
  - the starting tables (each haplogroup's motif cut HV1-first, the content
    the builder starts from; genera_tabelle.py --iniziali writes them);
  - the tables in data/;
  - the best call the simulation's model allows without a table (the
    ceiling), and the same ceiling when a profile with no position gets no
    call, as it does with any table.
Prints the figures as a Markdown table, the share of the gap between the
starting tables and the ceiling that the tables in data/ close, and how
often a haplogroup of the table, given its whole control-region motif as a
sample, comes back as itself or within its lineage.
"""

import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True      # no __pycache__ beside the tools
sys.path.insert(0, HERE)
import genera_tabelle as gen  # noqa: E402
import simulazione as sim  # noqa: E402
import verifica_tabelle as ver  # noqa: E402

SEME_PROVA = 2026           # never used by the builder
LIVELLI = ["top level", "first two", "lineage"]


def leggi_conti(testo):
    """region -> (n, right top level, right first two, right lineage, empty)."""
    conti = {}
    for linea in testo.splitlines():
        campi = linea.split()
        if campi and campi[0] != "richiesto":
            conti.setdefault(int(campi[0]), tuple(map(int, campi[1:])))
    return conti


def tabella_da_file(percorso):
    errori = ver.Errori()
    righe = ver.leggi_tabella(percorso, errori)
    if errori.lista:
        raise SystemExit("\n".join(errori.lista))
    return [(nome, tuple((int(t), None) for t in tokens)) for nome, tokens, _n, _d in righe]


def percento(x, n):
    return 100.0 * x / n


def ritrovate(righe, nodi):
    """Rows whose haplogroup, given its whole control-region motif as a sample,
    is called itself, or a call within its lineage."""
    tabella = [(nome, [str(p) for p, _ in motivo], "", "") for nome, motivo in righe]
    stessa = lignaggio = 0
    for nome, _motivo in righe:
        campione = [str(p) for p in sim.motivo_completo(nodi[nome])]
        trovato, _ = ver.cerca(tabella, campione)
        chiamata = tabella[trovato][0] if trovato is not None else None
        stessa += chiamata == nome
        lignaggio += chiamata is not None and sim.parenti(nodi, chiamata, nome)
    return stessa, lignaggio, len(righe)


def main(argv=None):
    args = gen.argomenti_verifica(__doc__, argv)
    rcrs_path = args.rcrs

    nodi, perdita, peso = gen.prepara(args.xml, rcrs_path)
    iniziali = gen.tabelle_iniziali(nodi)
    profili = sim.simulati(nodi, perdita, peso, SEME_PROVA, gen.VOLTE)
    figure = {}
    with tempfile.TemporaryDirectory() as cartella:
        dati = os.path.join(cartella, "dati.txt")
        ordinati = gen.scrivi_dati(dati, nodi, perdita, peso, profili)
        numero = {n: i for i, n in enumerate(ordinati)}
        ott = gen.Ottimizzatore(cartella)
        for nome, _r, _p in (gen.FIRST_TABLE, gen.MOTIF_TABLE):
            spedita = tabella_da_file(os.path.join(args.data_dir, nome))
            for quale, righe in (("start", iniziali[nome]), ("shipped", spedita)):
                file_righe = os.path.join(cartella, f"{nome}.{quale}")
                gen.scrivi_righe_numeri(file_righe, righe, numero)
                figure[(nome, quale)] = leggi_conti(ott.esegui("valuta", dati, file_righe))
            s, l, n = ritrovate(spedita, nodi)
            print(f"{nome}: whole motif of a row's haplogroup called as itself "
                  f"{s}/{n} ({percento(s, n):.1f}%), within its lineage {l}/{n} "
                  f"({percento(l, n):.1f}%)")
        tetto = ott.esegui("tetto", dati).splitlines()
        figure["ceiling"] = leggi_conti("\n".join(tetto[:3]))
        figure["ceiling, no call on empty"] = leggi_conti("\n".join(tetto[3:]))

    colonne = [("first table, start", (gen.FIRST_TABLE[0], "start")),
               ("first table, shipped", (gen.FIRST_TABLE[0], "shipped")),
               ("motif table, start", (gen.MOTIF_TABLE[0], "start")),
               ("motif table, shipped", (gen.MOTIF_TABLE[0], "shipped")),
               ("ceiling", "ceiling"),
               ("ceiling, no call on empty", "ceiling, no call on empty")]
    print()
    print(f"Test set: seed {SEME_PROVA}, {len(profili)} profiles ({gen.VOLTE} per haplogroup).")
    print()
    print("| region | level | " + " | ".join(c for c, _ in colonne) + " |")
    print("|---|---|" + "---:|" * len(colonne))
    for r, (regione, _pezzi) in enumerate(sim.REGIONI):
        for k, livello in enumerate(LIVELLI):
            celle = []
            for _c, chiave in colonne:
                n, *giusti, _vuoti = figure[chiave][r]
                celle.append(f"{percento(giusti[k], n):.1f}")
            print(f"| {regione} | {livello} | " + " | ".join(celle) + " |")
    print()
    for tetto in ("ceiling", "ceiling, no call on empty"):
        quote = []
        for nome, _r, _p in (gen.FIRST_TABLE, gen.MOTIF_TABLE):
            for r, (regione, _pezzi) in enumerate(sim.REGIONI):
                prima = figure[(nome, "start")][r][1]
                dopo = figure[(nome, "shipped")][r][1]
                cima = figure[tetto][r][1]
                quote.append((dopo - prima) / (cima - prima))
        print(f"Share of the top-level gap to the {tetto} closed: "
              + " ".join(f"{q:.2f}" for q in quote) + f"; mean {sum(quote) / len(quote):.2f}")
    vuoti = figure["ceiling"][0][4]
    print(f"Profiles with no position: HV1 {vuoti}, HV2 {figure['ceiling'][1][4]}, "
          f"control region {figure['ceiling'][2][4]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
