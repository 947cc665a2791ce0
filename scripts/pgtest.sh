# Starts and stops a throwaway PostgreSQL 15 cluster on 127.0.0.1 for the tests.
# initdb refuses to run as root, so the cluster belongs to an unprivileged user.
pg_bin=/usr/lib/postgresql/15/bin
pg_start() {
    BRELVAN_PG_DIR=$(mktemp -d /tmp/brelvan-pg.XXXXXX)
    local owner=""
    if [ "$(id -u)" -eq 0 ]; then
        owner=postgres
        id -u "$owner" >/dev/null 2>&1 || useradd --system --no-create-home "$owner"
        chown "$owner" "$BRELVAN_PG_DIR"
    fi
    local port=${BRELVAN_PG_PORT:-55432}
    as_owner() { if [ -n "$owner" ]; then runuser -u "$owner" -- "$@"; else "$@"; fi; }
    as_owner "$pg_bin/initdb" -D "$BRELVAN_PG_DIR/data" -U brelvan --auth=trust \
        -E UTF8 --locale=C >/dev/null
    as_owner "$pg_bin/pg_ctl" -D "$BRELVAN_PG_DIR/data" -l "$BRELVAN_PG_DIR/log" -w \
        -o "-h 127.0.0.1 -p $port -k $BRELVAN_PG_DIR -c fsync=off" start >/dev/null
    export BRELVAN_PG_OWNER=$owner
    export BRELVAN_TEST_PGHOST=127.0.0.1 BRELVAN_TEST_PGPORT=$port PGUSER=brelvan
    echo "test: PostgreSQL 15 running on 127.0.0.1:$port"
}
pg_stop() {
    [ -n "${BRELVAN_PG_DIR:-}" ] || return 0
    if [ -n "${BRELVAN_PG_OWNER:-}" ]; then
        runuser -u "$BRELVAN_PG_OWNER" -- "$pg_bin/pg_ctl" -D "$BRELVAN_PG_DIR/data" -m fast stop >/dev/null 2>&1 || true
    else
        "$pg_bin/pg_ctl" -D "$BRELVAN_PG_DIR/data" -m fast stop >/dev/null 2>&1 || true
    fi
    rm -rf "$BRELVAN_PG_DIR"
}
