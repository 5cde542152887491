#!/usr/bin/env python3
"""Check the two haplotype tables in data/ against the loader's limits and the
search's scoring rule.

    python3 tools/haplotables/verifica_tabelle.py [phylotree17.xml] [--data-dir data]

Exits with status 1 and lists every failure if anything is wrong. The tree is
read only to know who descends from whom (for the HV1 checks and the row
order); the tables themselves are checked as the program will read them.
"""

import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True      # no __pycache__ beside the tools
sys.path.insert(0, HERE)
import genera_tabelle as gen  # noqa: E402  (tree reading and the shared constants)

TABLES = [
    # file, rows, positions per row
    ("tabella_mutazioni_OLD.csv", 69, 10),
    ("tabella_mutazioni_Motifs.csv", 469, 15),
]

# Classic HV1 motifs (interval 16001-16400) and the haplogroup they must lead
# to: the builder holds them as constraints.
HV1_SAMPLES = gen.RICHIESTI

TOKEN = re.compile(r"^[1-9][0-9]*$")


class Errori:
    def __init__(self):
        self.lista = []

    def __call__(self, testo):
        self.lista.append(testo)


def leggi_tabella(percorso, errore):
    """Read a table the way the program does, checking the file format on the way.
    Returns [(name, [tokens], remark)] in file order."""
    with open(percorso, "rb") as f:
        dati = f.read()
    if not dati:
        errore(f"{percorso}: empty file")
        return []
    try:
        testo = dati.decode("ascii")
    except UnicodeDecodeError as e:
        errore(f"{percorso}: not ASCII ({e})")
        return []
    if not testo.endswith("\r\n"):
        errore(f"{percorso}: last line not ended by CR LF")
    linee = testo.split("\r\n")
    if linee and linee[-1] == "":
        linee.pop()
    righe = []
    visto_dato = False
    for n, linea in enumerate(linee, 1):
        dove = f"{os.path.basename(percorso)} line {n}"
        if "\r" in linea or "\n" in linea:
            errore(f"{dove}: lone CR or LF")
        if linea != linea.rstrip():
            errore(f"{dove}: trailing blank")
        if linea == "":
            errore(f"{dove}: empty line")
            continue
        if linea[0] in "#/":
            if visto_dato:
                errore(f"{dove}: comment after the data lines")
            continue
        visto_dato = True
        campi = linea.split(";")
        if len(campi) != 3:
            errore(f"{dove}: expected name;positions;remark, found {len(campi)} fields")
            continue
        nome, posizioni, nota = campi
        if not nome or nome != nome.strip():
            errore(f"{dove}: empty or padded name {nome!r}")
        tokens = posizioni.split("-") if posizioni else []
        righe.append((nome, tokens, nota, dove))
    return righe


def controlla_righe(righe, max_righe, max_pos, rcrs, errore):
    if len(righe) > max_righe:
        errore(f"{len(righe)} data lines, the grid holds {max_righe}")
    nomi = set()
    for nome, tokens, nota, dove in righe:
        if nome in nomi:
            errore(f"{dove}: {nome} appears twice")
        nomi.add(nome)
        if not tokens:
            errore(f"{dove}: {nome} has no positions and could never be chosen")
        if len(tokens) > max_pos:
            errore(f"{dove}: {len(tokens)} positions, at most {max_pos}")
        posizioni = []
        for t in tokens:
            if not TOKEN.match(t):
                errore(f"{dove}: token {t!r} is not a bare decimal position")
                continue
            p = int(t)
            if not gen.nel_controllo(p):
                errore(f"{dove}: {p} is outside the control region")
            if p in gen.HOT_SPOTS:
                errore(f"{dove}: {p} is an excluded hot spot")
            posizioni.append(p)
        if len(set(posizioni)) != len(posizioni):
            errore(f"{dove}: repeated position")
        if posizioni != sorted(posizioni, key=gen.chiave_posizione):
            errore(f"{dove}: positions not in HV1-then-HV2 ascending order")
        voci, _parte = dividi_nota(nota)
        if [re.sub(r"[ACGT]$", "", v) for v in voci] != tokens:
            errore(f"{dove}: remark {nota!r} does not list the same positions")
            continue
        for v in voci:
            m = re.fullmatch(r"(\d+)([ACGT])", v)
            if not m:
                errore(f"{dove}: remark entry {v!r} is not position+base")
            elif rcrs[int(m.group(1))] == m.group(2):
                errore(f"{dove}: remark {v} is the rCRS base, not a difference")


# A row that lists only part of its haplogroup's motif ends its remark with this.
PARTE = re.compile(r" \(part of the motif: (\d+) of (\d+) positions\)$")


def dividi_nota(nota):
    """The remark's position+base entries, and (listed, whole motif) when the
    row says it lists only part of its motif (None when it says nothing)."""
    m = PARTE.search(nota)
    parte = (int(m.group(1)), int(m.group(2))) if m else None
    if m:
        nota = nota[:m.start()]
    return (nota.split(" ") if nota else []), parte


def cerca(righe, campione):
    """The program's search: score = sample tokens the row lists; strictly
    higher score replaces; a row with an empty name ends the table."""
    migliore, trovato = 0, None
    for i, (nome, tokens, _nota, _dove) in enumerate(righe):
        if nome == "":
            break
        celle = []
        for t in tokens:
            if t == "":
                break
            celle.append(t)
        punti = sum(1 for s in campione if s in celle)
        if punti > migliore:
            migliore, trovato = punti, i
    return trovato, migliore


def antenati(nodi, nome):
    visti = []
    if nome not in nodi:
        return visti
    p = nodi[nome].padre
    while p is not None:
        visti.append(p)
        p = nodi[p].padre
    return visti


def discende_da(nodi, nome, antenato):
    return nome == antenato or antenato in antenati(nodi, nome)


def controlla_ricerca(righe, nodi, errore, titolo):
    for nome, tokens, nota, dove in righe:
        if nome not in nodi:
            errore(f"{dove}: {nome} is not a haplogroup of the tree")
            continue
        motivo = nodi[nome].motivo
        if any(t.isdigit() and int(t) not in motivo for t in tokens):
            errore(f"{dove}: {nome} lists a position outside its own motif")
        parte = dividi_nota(nota)[1]
        atteso = (len(tokens), len(motivo)) if len(tokens) < len(motivo) else None
        if parte != atteso:
            errore(f"{dove}: the remark's note on a partial motif should be {atteso}, is {parte}")

    # Each row, taken as a sample, comes back as itself unless an earlier row
    # lists all its positions: not a failure (the rows are chosen for real
    # profiles, not for themselves), but reported.
    da_prima = [nome for i, (nome, tokens, _n, _d) in enumerate(righe)
                if cerca(righe, sorted(tokens, key=int))[0] != i]
    print(f"  {titolo}: {len(righe) - len(da_prima)} of {len(righe)} rows, taken as a sample, "
          f"come back as themselves")

    # HV1-only samples of the classic motifs.
    for atteso, posizioni in HV1_SAMPLES:
        campione = [str(p) for p in sorted(posizioni)]
        trovato, punti = cerca(righe, campione)
        nome = righe[trovato][0] if trovato is not None else ""
        esito = nome if nome else "(nothing)"
        print(f"  {titolo}: HV1 {','.join(campione)} -> {esito} (score {punti})")
        if not nome or nome not in nodi or not discende_da(nodi, nome, atteso):
            errore(f"{titolo}: HV1 sample {','.join(campione)} gives {esito}, "
                   f"not {atteso} or a daughter of it")


def statistica_hv1(righe, nodi, titolo):
    """Not a pass/fail check: how each row's HV1 part alone (16001-16400, the
    program's default interval) is classified. HV1 cannot tell every row
    apart, but the answer should stay within the row's own lineage."""
    conta = {"itself": 0, "ancestor": 0, "daughter": 0, "other lineage": 0, "no HV1": 0}
    altri = []
    for nome, tokens, _n, _d in righe:
        hv1 = [t for t in tokens if 16001 <= int(t) <= 16400]
        if not hv1:
            conta["no HV1"] += 1
            continue
        trovato, _ = cerca(righe, sorted(hv1, key=int))
        scelto = righe[trovato][0]
        if scelto == nome:
            conta["itself"] += 1
        elif discende_da(nodi, nome, scelto):
            conta["ancestor"] += 1
        elif discende_da(nodi, scelto, nome):
            conta["daughter"] += 1
        else:
            conta["other lineage"] += 1
            altri.append(f"{nome}->{scelto}")
    print(f"  {titolo}: HV1 part of each row classified as " +
          ", ".join(f"{k} {v}" for k, v in conta.items()))
    if altri:
        print("    other lineage: " + " ".join(altri[:40]) + (" ..." if len(altri) > 40 else ""))


def main(argv=None):
    args = gen.argomenti_verifica(__doc__, argv)
    rcrs_path = args.rcrs

    rcrs = gen.leggi_rcrs(rcrs_path)
    _radice, nodi = gen.leggi_albero(args.xml, rcrs)
    gen.radica_su_mrca(nodi)
    gen.calcola_motivi(nodi)

    errori = Errori()
    for nome_file, max_righe, max_pos in TABLES:
        percorso = os.path.join(args.data_dir, nome_file)
        righe = leggi_tabella(percorso, errori)
        n_tok = max((len(r[1]) for r in righe), default=0)
        print(f"{nome_file}: {len(righe)} rows (max {max_righe}), "
              f"longest row {n_tok} positions (max {max_pos})")
        controlla_righe(righe, max_righe, max_pos, rcrs, errori)
        controlla_ricerca(righe, nodi, errori, nome_file)
        statistica_hv1(righe, nodi, nome_file)

    if errori.lista:
        print(f"FAILED: {len(errori.lista)} problem(s)")
        for e in errori.lista:
            print("  " + e)
        return 1
    print("OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
