#!/usr/bin/env bash
# Installs what is needed, builds, creates the demo database (once) and starts
# the program on it. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
mkdir -p demo
db=demo/incassi-demo.sqlite
if [ ! -e "$db" ]; then
  build/bin/incassi-db demo "$db"
fi
exec build/bin/torvane --db "$db" "$@"
