#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, on the loopback address, in a
# temporary folder. Sourced by test.sh:
#   pg_test_start   starts it and exports INCASSI_TEST_PG (its address)
#   pg_test_stop    stops it and removes the folder (also on failure: trap)

pg_test_bin() {
  ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1
}

# Runs a server program as the postgres user when we are root (the server
# refuses to run as root).
pg_test_as() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

pg_test_start() {
  local bin
  bin="$(pg_test_bin)"
  if [ -z "$bin" ]; then
    echo "PostgreSQL non installato (pacchetto postgresql)" >&2
    return 1
  fi
  PG_TEST_DIR="$(mktemp -d /tmp/incassi-pg.XXXXXX)"
  chmod 755 "$PG_TEST_DIR"
  [ "$(id -u)" -eq 0 ] && chown postgres "$PG_TEST_DIR"
  pg_test_as "$bin/initdb" -D "$PG_TEST_DIR/data" -A trust -U incassi -E UTF8 \
    --locale=C.UTF-8 >"$PG_TEST_DIR/initdb.log" 2>&1 || {
    cat "$PG_TEST_DIR/initdb.log" >&2
    return 1
  }
  local port
  for port in $((50000 + RANDOM % 10000)) $((50000 + RANDOM % 10000)) $((50000 + RANDOM % 10000)); do
    # A server only for tests: nothing needs to survive a crash of the machine
    # (fsync off), but a commit must survive a crash of the server itself, as
    # a test stops it at once (synchronous_commit stays on).
    if pg_test_as "$bin/pg_ctl" -D "$PG_TEST_DIR/data" -w -l "$PG_TEST_DIR/server.log" \
        -o "-k $PG_TEST_DIR -c listen_addresses=127.0.0.1 -p $port -c fsync=off \
            -c full_page_writes=off -c max_connections=200" \
        start >/dev/null; then
      export INCASSI_TEST_PG="postgresql://incassi@127.0.0.1:$port/postgres"
      # How a test stops this server at once and starts it again.
      local as=""
      [ "$(id -u)" -eq 0 ] && as="runuser -u postgres -- "
      export INCASSI_TEST_PG_RIAVVIO="$as$bin/pg_ctl -D $PG_TEST_DIR/data -m immediate -w \
-l $PG_TEST_DIR/server.log restart >/dev/null"
      PG_TEST_BIN="$bin"
      echo "Server PostgreSQL di prova su 127.0.0.1:$port"
      return 0
    fi
  done
  cat "$PG_TEST_DIR/server.log" >&2
  return 1
}

pg_test_stop() {
  if [ -n "${PG_TEST_DIR:-}" ] && [ -d "$PG_TEST_DIR/data" ]; then
    pg_test_as "$PG_TEST_BIN/pg_ctl" -D "$PG_TEST_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  fi
  [ -n "${PG_TEST_DIR:-}" ] && rm -rf "$PG_TEST_DIR"
  PG_TEST_DIR=""
}
