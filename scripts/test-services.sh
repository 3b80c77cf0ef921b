# Sourced by scripts/test.sh (or by hand before running ctest): starts and stops what the
# database tests need.
#   services_start: a private PostgreSQL 15 on 127.0.0.1 at a free port, in a temporary
#                   folder, and the ODBC drivers' odbcinst.ini; exports ODBCSYSINI, ODBCINI
#                   and QUERCINO_PG_HOST/PORT/USER/PASSWORD for the tests' fixture.
#   services_stop:  stops the server, removes the folder and unsets what services_start
#                   exported, so that nothing in the shell points into the removed folder.

services_start() {
  local pgbin=/usr/lib/postgresql/15/bin
  local odbclib
  odbclib=$(dirname "$(find /usr/lib -name psqlodbcw.so -print -quit)")
  QUERCINO_SERVICES_DIR=$(mktemp -d /tmp/quercino-services.XXXXXX)
  chmod 755 "$QUERCINO_SERVICES_DIR"
  export QUERCINO_SERVICES_DIR

  # ODBC drivers, registered in our own odbcinst.ini (data sources are written per test).
  mkdir -p "$QUERCINO_SERVICES_DIR/odbc"
  cat >"$QUERCINO_SERVICES_DIR/odbc/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode)
Driver=$odbclib/psqlodbcw.so

[SQLite3]
Description=SQLite3 ODBC driver
Driver=$odbclib/libsqlite3odbc.so
INI
  : >"$QUERCINO_SERVICES_DIR/odbc/odbc.ini"
  export ODBCSYSINI="$QUERCINO_SERVICES_DIR/odbc"
  export ODBCINI="$QUERCINO_SERVICES_DIR/odbc/odbc.ini"

  # PostgreSQL refuses to run as root: as root, run it as the postgres user.
  local as=()
  if [ "$(id -u)" -eq 0 ]; then as=(runuser -u postgres --); fi
  local pgdata="$QUERCINO_SERVICES_DIR/pg"
  mkdir -p "$pgdata" "$QUERCINO_SERVICES_DIR/sock" "$QUERCINO_SERVICES_DIR/log"
  export QUERCINO_PG_USER=quercino
  export QUERCINO_PG_PASSWORD=quercino-test
  printf '%s\n' "$QUERCINO_PG_PASSWORD" >"$QUERCINO_SERVICES_DIR/pwfile"
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$pgdata" "$QUERCINO_SERVICES_DIR/sock" "$QUERCINO_SERVICES_DIR/log" \
      "$QUERCINO_SERVICES_DIR/pwfile"
  fi
  "${as[@]}" "$pgbin/initdb" -D "$pgdata" -U "$QUERCINO_PG_USER" -E UTF8 --locale=C \
    --auth-host=scram-sha-256 --auth-local=trust --pwfile="$QUERCINO_SERVICES_DIR/pwfile" >/dev/null
  export QUERCINO_PG_HOST=127.0.0.1
  QUERCINO_PG_PORT=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  export QUERCINO_PG_PORT
  "${as[@]}" "$pgbin/pg_ctl" -D "$pgdata" -l "$QUERCINO_SERVICES_DIR/log/postgresql.log" -w \
    -o "-c listen_addresses=127.0.0.1 -p $QUERCINO_PG_PORT -k $QUERCINO_SERVICES_DIR/sock -c max_connections=200 -c fsync=off" \
    start >/dev/null
}

services_stop() {
  [ -n "${QUERCINO_SERVICES_DIR:-}" ] || return 0
  local as=()
  if [ "$(id -u)" -eq 0 ]; then as=(runuser -u postgres --); fi
  if [ -f "$QUERCINO_SERVICES_DIR/pg/postmaster.pid" ]; then
    "${as[@]}" /usr/lib/postgresql/15/bin/pg_ctl -D "$QUERCINO_SERVICES_DIR/pg" -m fast -w stop >/dev/null || true
  fi
  rm -rf "$QUERCINO_SERVICES_DIR"
  unset QUERCINO_SERVICES_DIR QUERCINO_PG_HOST QUERCINO_PG_PORT QUERCINO_PG_USER QUERCINO_PG_PASSWORD \
    ODBCSYSINI ODBCINI
}
