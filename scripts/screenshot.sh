#!/usr/bin/env bash
# Regenerates docs/finestra-incassi.png: a new INC6 collection on the demo
# database, with the first venue that has meter machines and all its machines
# loaded, drawn offscreen at 1366 pixels wide.
#
#   scripts/screenshot.sh [BUILD_DIR]    (default: build; built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
if [ ! -x "$build/bin/torvane" ] || [ ! -x "$build/bin/incassi-db" ]; then
  cmake -S . -B "$build" -G Ninja >/dev/null
  cmake --build "$build" -j "${JOBS:-2}" --target torvane incassi incassi-db
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
"$build/bin/incassi-db" demo "$scratch/demo.sqlite" >/dev/null
mkdir -p docs
# A fresh data folder: the shared grid layouts are installed from the program.
XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" QT_QPA_PLATFORM=offscreen \
  "$build/bin/torvane" --db "$scratch/demo.sqlite" --ini "$scratch/torvane.ini" \
  --operator ADMIN --module Incassi --scenario INC6 --screenshot docs/finestra-incassi.png
echo "docs/finestra-incassi.png"
