#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: on SQLite, and again on
# a throw-away PostgreSQL server that is stopped at the end, even on failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
source scripts/pg-test.sh
trap pg_test_stop EXIT
pg_test_start
ctest --test-dir build --output-on-failure -j "${JOBS:-2}"
