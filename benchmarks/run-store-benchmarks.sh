#!/usr/bin/env bash
# Runs store_save_benchmark on a database file and on a throw-away local PostgreSQL server, first
# as scripts/pg-test-cluster.sh starts it (fsync, synchronous_commit and full_page_writes off: fast,
# not durable), then with all three on (what an office server runs with), and removes the server.
#
#   benchmarks/run-store-benchmarks.sh BUILD_DIR [OUT_DIR] [-- BENCHMARK OPTIONS...]
#
# BUILD_DIR is a Release build with the target store_save_benchmark built. The JSON results go to
# OUT_DIR (default BUILD_DIR/store-benchmarks): fast-server.json (the database file and the fast
# server) and durable-server.json (the durable server). Options after -- go to every run, for
# example --benchmark_repetitions=3. CS42_BENCH_SAVES sets the saves per writer.
set -euo pipefail

program=$(basename "$0")
die() {
    echo "$program: $*" >&2
    exit 1
}
[ $# -ge 1 ] || die "usage: $program BUILD_DIR [OUT_DIR] [-- BENCHMARK OPTIONS...]"
build=$(realpath -- "$1")
shift
out="$build/store-benchmarks"
if [ $# -ge 1 ] && [ "$1" != "--" ]; then
    out=$1
    shift
fi
[ $# -ge 1 ] && [ "$1" = "--" ] && shift
extra=("$@")

here=$(cd "$(dirname "$0")" && pwd)
cluster_script="$here/../scripts/pg-test-cluster.sh"
bench="$build/benchmarks/store_save_benchmark"
[ -x "$bench" ] || die "$bench is missing: build the target store_save_benchmark first"
command -v psql >/dev/null || die "psql is missing (the postgresql-client package)"
mkdir -p -- "$out"

cluster=$(mktemp -d /tmp/cs42-bench-pg.XXXXXX)
trap 'bash "$cluster_script" stop "$cluster" || true' EXIT
bash "$cluster_script" start "$cluster" >/dev/null
export PGPASSFILE="$cluster/pgpass"
CS42_BENCH_PG_URI=$(cat "$cluster/uri")
export CS42_BENCH_PG_URI

# The server's superuser on its own socket.
superuser_sql() {
    psql -X -q -At -v ON_ERROR_STOP=1 -h "$(cat "$cluster/socket")" -p "$(cat "$cluster/port")" \
        -U postgres -d postgres "$@"
}
durability() {
    superuser_sql -c "SELECT current_setting('fsync') || ' ' || current_setting('synchronous_commit') \
        || ' ' || current_setting('full_page_writes')"
}

echo "== database file, and the server without durability (fsync synchronous_commit" \
    "full_page_writes: $(durability))"
"$bench" --benchmark_counters_tabular=true --benchmark_out="$out/fast-server.json" \
    --benchmark_out_format=json "${extra[@]}"

superuser_sql -c "ALTER SYSTEM SET fsync = on" -c "ALTER SYSTEM SET synchronous_commit = on" \
    -c "ALTER SYSTEM SET full_page_writes = on"
bash "$cluster_script" pause "$cluster"
bash "$cluster_script" resume "$cluster"
[ "$(durability)" = "on on on" ] || die "the server did not take fsync, synchronous_commit and full_page_writes on"

echo "== the server with durability (fsync synchronous_commit full_page_writes: $(durability))"
"$bench" --benchmark_filter=postgresql --benchmark_counters_tabular=true \
    --benchmark_out="$out/durable-server.json" --benchmark_out_format=json "${extra[@]}"
echo "results: $out/fast-server.json, $out/durable-server.json"
