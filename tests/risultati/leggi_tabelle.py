#!/usr/bin/env python3
"""Reads every operation's results table back as R and Python's csv module would.

Runs vorlane-batch (the path is the first argument) in a fresh working folder on samples whose
names hold what breaks naive tables (a slash, blanks, accented letters, an escape character and
a TAB), then checks each table: one header row, no comment line, one row per sample with the
header's columns, no field holding a TAB or a line break, the same differences for a sample in
every operation, and --tsv printing the same table with the header once for two files.
"""
import csv
import io
import os
import shutil
import subprocess
import sys
import tempfile

BATCH = sys.argv[1]
DATI = sys.argv[2]


def esegui(cartella, *argomenti, stdin=None):
    r = subprocess.run([BATCH, "--sovrascrivi", *argomenti], cwd=cartella, input=stdin,
                       capture_output=True)
    if r.returncode != 0:
        sys.exit(f"vorlane-batch {' '.join(argomenti)}: {r.returncode}\n{r.stderr.decode()}")
    return r.stdout.decode("utf-8")


def leggi(percorso):
    with open(percorso, newline="", encoding="utf-8") as f:
        testo = f.read()
    return testo, list(csv.reader(io.StringIO(testo, newline=""), delimiter="\t",
                                  quoting=csv.QUOTE_NONE))


def controlla(nome, testo, righe, campioni, colonne_minime):
    errori = []
    if not righe:
        return [f"{nome}: empty"]
    intestazione = righe[0]
    for c in colonne_minime:
        if c not in intestazione:
            errori.append(f"{nome}: no column {c!r} in {intestazione}")
    if any(r and r[0].startswith("#") for r in righe):
        errori.append(f"{nome}: a comment line")
    if len(righe) - 1 != len(campioni):
        errori.append(f"{nome}: {len(righe) - 1} rows for {len(campioni)} samples")
    for r in righe[1:]:
        if len(r) != len(intestazione):
            errori.append(f"{nome}: {len(r)} fields for {len(intestazione)} columns: {r}")
        for campo in r:
            if any(c in campo for c in "\t\r\n"):
                errori.append(f"{nome}: field {campo!r} holds a TAB or line break")
    if testo.count("\n") != len(righe):
        errori.append(f"{nome}: a line break inside a field")
    nomi = [dict(zip(intestazione, r)).get("campione") for r in righe[1:]]
    if nomi[: len(campioni)] != campioni[: len(nomi)]:
        errori.append(f"{nome}: samples {nomi} instead of {campioni}")
    return errori


def main():
    cartella = tempfile.mkdtemp(prefix="vorlane-tsv-")
    try:
        for f in ("messaggi.txt", "tabella_mutazioni_OLD.csv", "tabella_mutazioni_Motifs.csv"):
            shutil.copy(os.path.join(DATI, f), cartella)
        esegui(cartella)  # prepares the folders
        esempio = os.path.join(DATI, "esporta", "campioni_esempio.FASTA")
        with open(esempio, encoding="latin-1") as f:
            righe = [r.rstrip("\r\n") for r in f]
        sequenze = [r for r in righe if r and not r.startswith(">")]
        nomi = ["LAB/2024/001", "campione con spazi", "città", "esc\x1bape", "con\ttab"]
        attesi = ["LAB/2024/001", "campione con spazi", "città", "esc\u241bape", "con\u2409tab"]
        fasta = "".join(f">{n}\r\n{sequenze[i % len(sequenze)]}\r\n" for i, n in enumerate(nomi))
        with open(os.path.join(cartella, "esporta", "prova.FASTA"), "w", encoding="utf-8",
                  newline="") as f:
            f.write(fasta)
        esegui(cartella, "--posizioni", "16189,16223,16311", "controllo", "prova.FASTA")
        esegui(cartella, "confronta-multiplo", "prova.FASTA")
        esegui(cartella, "confronta", "prova.FASTA")
        esegui(cartella, "converti", "prova.FASTA")
        esegui(cartella, "normalizza", "prova.txt")
        base = ["file", "campione", "frequenza", "intervallo", "numero_differenze", "differenze"]
        confronto = base + ["aplotipo", "aplogruppo", "qualita", "margine"]
        tabelle = {
            "ControlloMutazioni_prova.tsv": (attesi, base + ["16189", "16223", "16311"]),
            "ConfrontoMultiplo_prova.tsv": (attesi, confronto),
            "Conversione_prova.tsv": (attesi, base),
            "ConfrontoSingolo_prova.tsv": (attesi[:1], confronto),
        }
        errori = []
        letti = {}
        for nome, (campioni, colonne) in tabelle.items():
            testo, righe = leggi(os.path.join(cartella, "risultati", nome))
            errori += controlla(nome, testo, righe, campioni, colonne)
            letti[nome] = [dict(zip(righe[0], r)) for r in righe[1:]]
        # The normalisation's rows are named by the table's first field, "prova NAME"; the
        # mutation table ends a name at its TAB.
        testo, righe = leggi(os.path.join(cartella, "risultati", "Normalizzazione_prova.tsv"))
        errori += controlla("Normalizzazione_prova.tsv", testo, righe,
                            ["prova " + a for a in attesi[:-1]] + ["prova con"], base)
        letti["Normalizzazione_prova.tsv"] = [dict(zip(righe[0], r)) for r in righe[1:]]
        # One sample, one list of differences, whichever operation found it (a TAB in a name
        # shifts the fields of the mutation table the normalisation reads).
        for i in range(len(attesi) - 1):
            viste = {n: letti[n][i]["differenze"] for n in
                     ("ConfrontoMultiplo_prova.tsv", "Conversione_prova.tsv",
                      "Normalizzazione_prova.tsv")}
            if len(set(viste.values())) != 1:
                errori.append(f"sample {i}: differences {viste}")
            if not letti["ConfrontoMultiplo_prova.tsv"][i]["differenze"]:
                errori.append(f"sample {i}: no differences found")
        for r in letti["ConfrontoMultiplo_prova.tsv"]:
            if r["aplogruppo"] and not (0 <= float(r["qualita"]) <= 1):
                errori.append(f"quality {r['qualita']!r} is not a number in 0-1")
        # --tsv: the table itself on standard output, LF-ended, the header once for two files.
        shutil.copy(os.path.join(cartella, "esporta", "prova.FASTA"),
                    os.path.join(cartella, "esporta", "seconda.FASTA"))
        uscita = esegui(cartella, "-q", "--tsv", "confronta-multiplo", "prova.FASTA",
                        "seconda.FASTA")
        righe = list(csv.reader(io.StringIO(uscita, newline=""), delimiter="\t",
                                quoting=csv.QUOTE_NONE))
        if "\r" in uscita or len(righe) != 1 + 2 * len(attesi) or righe[0] != confronto:
            errori.append(f"--tsv printed {len(righe)} rows, header {righe[:1]}")
        for e in errori:
            print(e)
        return 1 if errori else 0
    finally:
        shutil.rmtree(cartella)


if __name__ == "__main__":
    sys.exit(main())
