#!/usr/bin/env bash
# Regenerates the pictures of the collection window in docs/, drawn offscreen
# on the demo database: a new INC6 collection of the first venue with meter
# machines, all its machines loaded, at the window's own size and at 1024x768;
# a stored document being browsed; every page of each cash wizard; the print
# window and its preview; the first pages of the receipt and of the period
# report as printed; the view editor's pages and the side panel of links.
#
#   scripts/screenshot.sh [BUILD_DIR]    (default: build; built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
if [ ! -x "$build/bin/torvane" ] || [ ! -x "$build/bin/incassi-db" ]; then
  cmake -S . -B "$build" -G Ninja >/dev/null
  cmake --build "$build" -j "${JOBS:-2}" --target torvane incassi incassi-db incassi-run \
    incassi_ui_tests
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$build/bin/incassi-db" demo "$scratch/demo.sqlite" >/dev/null
mkdir -p docs
# A fresh data folder: the shared grid layouts are installed from the program.
foto() {
  modulo="$1"
  shift
  XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" QT_QPA_PLATFORM=offscreen \
    "$build/bin/torvane" --db "$scratch/demo.sqlite" --ini "$scratch/torvane.ini" \
    --operator ADMIN --module "$modulo" "$@"
}
foto Incassi --scenario INC6 --screenshot docs/finestra-incassi.png
foto Incassi --scenario INC6 --size 1024x768 --screenshot docs/finestra-incassi-1024.png
foto Incassi --screenshot docs/finestra-incassi-documento.png
# Each page of each cash wizard: the later ones filled as a person would.
for w in Prestito Rimanenza Giroconto; do
  nome="docs/wizard-$(echo "$w" | tr '[:upper:]' '[:lower:]')"
  foto "$w" --screenshot "$nome.png"
  foto "$w" --scenario Pagina2 --screenshot "$nome-2.png"
  foto "$w" --scenario Pagina3 --screenshot "$nome-3.png"
done
# The print window and its preview, the view editor's pages and the side
# panel of links, as the window tests drive them.
INCASSI_FOTO=docs QT_QPA_PLATFORM=offscreen "$build/bin/incassi_ui_tests" \
  --gtest_filter='StampaFile.TheCollectionWindowPrintsTheDocumentShown:StampaFile.ALink*:StampaFile.TheHall*:Vista.TheViewEditor*:Vista.F2OnAnIsland*:Vista.TheNoteButton*' \
  >/dev/null
# The reports as a venue owner receives them: the receipt of the latest
# collection with machines, and the year's summary of its venue.
id="$(sqlite3 "$scratch/demo.sqlite" "SELECT max(IdTesta) FROM NoteIncassi WHERE IdTesta IN \
  (SELECT id FROM NoteTeste WHERE CodCausale='INC6')")"
locale="$(sqlite3 "$scratch/demo.sqlite" "SELECT CodLocale FROM NoteTeste WHERE id=$id")"
stampa() {
  cat > "$scratch/stampa.json" <<JSON
{"finestra": "FrmStampa", "ingresso": {"CampoRicerca": "$1", "Risposta": "$2"},
 "operatore": "ADMIN", "passi": [$3
   {"azione": "imposta", "controllo": "List1", "valore": "$4"},
   {"azione": "comando", "nome": "CmdPdf"}]}
JSON
  rm -rf "$scratch/cartella"
  "$build/bin/incassi-run" --db "$scratch/demo.sqlite" --cartella "$scratch/cartella" \
    "$scratch/stampa.json" >/dev/null
  pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$scratch/cartella/export/pdf/Incassi1.pdf" "$5"
}
stampa id "$id" "" "Ricevuta di incasso" docs/stampa-ricevuta
stampa CodLocale "$locale" '{"azione": "imposta", "controllo": "ChkPerPeriodo", "valore": true},' \
  "Riepilogo incassi del periodo" docs/stampa-riepilogo
ls docs/finestra-incassi*.png docs/wizard-*.png docs/stampa-*.png docs/configura-*.png docs/contatori-isola.png docs/nota-locale.png
