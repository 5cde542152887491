#!/usr/bin/env bash
# Runs every operation of the benchmark with two vorlane-batch programs, and the second again on
# a single processor (taskset -c 0), each in a fresh copy of the same working folder, and compares
# every file they leave with cmp, dates and times replaced by a mark (the log's clock lines, the
# reports' dates). The folder is one kept by `bench_vorlane --conserva`.
#   bench/confronta_uscite.sh VORLANE_BATCH_A VORLANE_BATCH_B CARTELLA
set -euo pipefail
a=$(realpath "$1")
b=$(realpath "$2")
sorgente=$(realpath "$3")
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT

posizioni=$(seq -s, 16010 13 16387)
operazioni=(
  "--posizioni $posizioni controllo campioni_fa.FASTA"
  "--posizioni $posizioni --arlequin controllo campioni_ar.ARL"
  "--sovrascrivi converti campioni_fa.FASTA"
  "--sovrascrivi --arlequin converti campioni_ar.ARL"
  "normalizza norm_fa.txt"
  "--arlequin normalizza norm_ar.txt"
  "confronta-multiplo campioni_fa.FASTA"
  "confronta-multiplo-motivi campioni_fa.FASTA"
)

prepara() {
  rm -rf "$1"
  mkdir -p "$1"/{log,html,dati,esporta}
  cp "$sorgente"/{messaggi.txt,tabella_mutazioni_OLD.csv,tabella_mutazioni_Motifs.csv} "$1"/
  cp "$sorgente"/esporta/campioni_fa.FASTA "$sorgente"/esporta/campioni_ar.ARL "$1"/esporta/
  cp "$sorgente"/dati/campioni_fa.txt "$1"/dati/norm_fa.txt
  cp "$sorgente"/dati/campioni_ar.txt "$1"/dati/norm_ar.txt
}

# Every file of a folder, dates and times replaced, into a folder beside it.
normalizza() {
  (cd "$1" && find . -type f | sort) | while read -r f; do
    mkdir -p "$(dirname "$2/$f")"
    sed -E 's#[0-9]{2}/[0-9]{2}/[0-9]{4}( [0-9]{2}:[0-9]{2}:[0-9]{2})?#DATA#g' "$1/$f" >"$2/$f"
  done
}

diversi=0
for i in "${!operazioni[@]}"; do
  read -r -a argomenti <<<"${operazioni[$i]}"
  # Each run in the same folder, whose path the messages and reports name.
  for corsa in a b b1; do
    prepara "$lavoro/w"
    case $corsa in
      a) (cd "$lavoro/w" && "$a" "${argomenti[@]}" >"$lavoro/uscita.txt" 2>&1) || true ;;
      b) (cd "$lavoro/w" && "$b" "${argomenti[@]}" >"$lavoro/uscita.txt" 2>&1) || true ;;
      b1) (cd "$lavoro/w" && taskset -c 0 "$b" "${argomenti[@]}" >"$lavoro/uscita.txt" 2>&1) || true ;;
    esac
    mv "$lavoro/uscita.txt" "$lavoro/w/uscita.txt"
    mv "$lavoro/w" "$lavoro/$corsa"
    normalizza "$lavoro/$corsa" "$lavoro/$corsa.n"
  done
  for corsa in b b1; do
    elenco_a=$(cd "$lavoro/a.n" && find . -type f | sort)
    elenco_b=$(cd "$lavoro/$corsa.n" && find . -type f | sort)
    if [ "$elenco_a" != "$elenco_b" ]; then
      echo "DIVERSI (file) $corsa: ${operazioni[$i]}"
      diversi=1
    fi
    while read -r f; do
      if ! cmp -s "$lavoro/a.n/$f" "$lavoro/$corsa.n/$f"; then
        echo "DIVERSO $corsa $f: ${operazioni[$i]}"
        diversi=1
      fi
    done <<<"$elenco_a"
  done
  echo "confrontato: ${argomenti[*]: -2} ($(cd "$lavoro/a" && find . -type f | wc -l) file)"
  rm -rf "$lavoro"/a* "$lavoro"/b*
done
exit $diversi
