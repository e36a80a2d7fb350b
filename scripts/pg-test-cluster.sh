#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, kept in one folder.
#
#   pg-test-cluster.sh start DIR    new cluster in DIR, started (a cluster already in DIR is removed first)
#   pg-test-cluster.sh pause DIR    stops the server and keeps its data
#   pg-test-cluster.sh resume DIR   starts a paused server again on its port
#   pg-test-cluster.sh stop DIR     stops the server and removes DIR
#
# `start` leaves in DIR:
#   port     the TCP port, on 127.0.0.1 only
#   uri      postgresql://cs42@127.0.0.1:PORT/cs42
#   pgpass   a password file for libpq (PGPASSFILE) with the password of role cs42
#   socket   the folder of the server's Unix socket
#   data     the data folder
# Role cs42 (password cs42-test) may create databases and owns database cs42; it logs in over TCP
# with its password. The server's superuser is postgres, trusted on the Unix socket only.
#
# initdb refuses to run as root, so as root the server runs as the postgres system user (made by
# the postgresql package). It must then reach the data folder and the socket: when DIR or one of
# its parents is closed to it, or DIR's path is too long for a socket's name, the server's files go
# to a folder of their own under /tmp and DIR/data links to it. The files above stay the invoking
# user's. Durability is off (fsync, synchronous commit, full page writes): the data are thrown away.
set -euo pipefail

program=$(basename "$0")
die() {
    echo "$program: $*" >&2
    exit 1
}
usage() {
    echo "usage: $program start|pause|resume|stop DIR" >&2
    exit 2
}
[ $# -eq 2 ] || usage
command=$1
[ -n "$2" ] || usage
dir=$(realpath -m -- "$2")
marker="$dir/.cs42-pg-test-cluster"

# Settings from the caller's environment (PGHOST, PGPORT, PGSSLMODE...) must not steer our tools.
while read -r name; do unset "$name"; done < <(compgen -e | grep '^PG[A-Z]' || true)

find_bindir() {
    local candidate
    if [ -n "${PG_BINDIR:-}" ]; then
        [ -x "$PG_BINDIR/initdb" ] || die "PG_BINDIR=$PG_BINDIR has no initdb"
        echo "$PG_BINDIR"
        return
    fi
    # Debian keeps each major version's programs apart; the newest wins.
    while read -r candidate; do
        [ -x "$candidate/initdb" ] && [ -x "$candidate/pg_ctl" ] && {
            echo "$candidate"
            return
        }
    done < <(printf '%s\n' /usr/lib/postgresql/*/bin | sort -V -r)
    candidate=$(command -v pg_ctl 2>/dev/null || true)
    [ -n "$candidate" ] && [ -x "$(dirname "$candidate")/initdb" ] && {
        dirname "$candidate"
        return
    }
    die "no PostgreSQL server programs (initdb, pg_ctl) found; install the postgresql package" \
        "(scripts/install-deps.sh) or set PG_BINDIR"
}
bindir=$(find_bindir)

# Closes every descriptor of this shell but 0, 1 and 2. The server keeps whatever its starter had
# open for as long as it runs: a `flock /tmp/cs42-build.lock ctest` hands the lock's descriptor to
# the tests, and a server started with it would hold the lock long after the tests end.
close_inherited_fds() {
    local fd
    for fd in /proc/$BASHPID/fd/*; do
        fd=${fd##*/}
        if [ "$fd" -gt 2 ]; then
            exec {fd}>&-
        fi
    done
}

if [ "$(id -u)" -eq 0 ]; then
    server_user=postgres
    id -u "$server_user" >/dev/null 2>&1 ||
        die "as root the server runs as the '$server_user' system user, and there is none" \
            "(the postgresql package makes it)"
    if command -v runuser >/dev/null; then
        as_server() { (cd / && close_inherited_fds && runuser -u "$server_user" -- "$@"); }
    else
        as_server() {
            (cd / && close_inherited_fds && setpriv --reuid="$server_user" --regid="$server_user" --init-groups -- "$@")
        }
    fi
else
    server_user=$(id -un)
    as_server() { (cd / && close_inherited_fds && "$@"); }
fi

# The folder that holds data/ and run/ (socket and server log): DIR, or the /tmp folder recorded
# in the marker.
server_home() {
    local home
    home=$(head -n 1 "$marker")
    [ -n "$home" ] || die "$marker is empty"
    echo "$home"
}

server_running() { as_server "$bindir/pg_ctl" -D "$1/data" status >/dev/null 2>&1; }

stop_server() {
    local home=$1
    [ -f "$home/data/postmaster.pid" ] || return 0
    server_running "$home" || return 0
    as_server "$bindir/pg_ctl" -D "$home/data" -m fast -w -t 30 stop >/dev/null && return 0
    echo "$program: the server in $home/data did not stop in time; stopping it at once" >&2
    as_server "$bindir/pg_ctl" -D "$home/data" -m immediate -w -t 30 stop >/dev/null ||
        die "cannot stop the server in $home/data"
}

# Stops the server, removes its /tmp folder if it had one, and removes DIR.
remove_cluster() {
    local home
    home=$(server_home)
    stop_server "$home"
    case "$home" in
    "$dir") ;;
    /tmp/cs42-pg.*) rm -rf -- "$home" ;;
    *) die "$marker names $home, which is not a folder this script makes; remove it by hand" ;;
    esac
    rm -rf -- "$dir"
}

require_cluster() {
    [ -f "$marker" ] || die "$dir holds no test cluster (run '$program start $dir' first)"
}

print_log_tail() {
    [ -f "$1" ] || return 0
    echo "--- last lines of $1:" >&2
    tail -n 20 "$1" >&2
}

# A port with nobody listening on 127.0.0.1, tried from a random start so that clusters started
# together rarely reach for the same one; `start` tries again should another take it first.
free_port() {
    local base=$((20000 + RANDOM % 30000)) port
    for ((port = base; port < base + 500; ++port)); do
        if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
            echo "$port"
            return 0
        fi
    done
    return 1
}

start_on_free_port() {
    local home=$1 attempt port
    for attempt in 1 2 3 4 5 6 7 8; do
        port=$(free_port) || die "no free TCP port on 127.0.0.1"
        echo "port = $port" >"$home/data/cs42-port.conf"
        if as_server "$bindir/pg_ctl" -D "$home/data" -l "$home/run/server.log" -w -t 30 start >/dev/null; then
            echo "$port"
            return 0
        fi
        stop_server "$home"
        grep -q "could not bind\|could not create any TCP/IP sockets\|already in use" "$home/run/server.log" ||
            break
        echo "$program: port $port was taken; trying another (attempt $attempt)" >&2
    done
    print_log_tail "$home/run/server.log"
    die "the server in $home/data did not start"
}

cmd_start() {
    if [ -f "$marker" ]; then
        remove_cluster
    elif [ -e "$dir" ] && [ -n "$(ls -A -- "$dir" 2>/dev/null)" ]; then
        die "$dir is not empty and holds no test cluster; refusing to use it"
    fi
    mkdir -p -- "$dir" || die "cannot make $dir"

    # Where the server's own files go (see the top of this file).
    local home="$dir" socket_name="$dir/run/.s.PGSQL.65535"
    if [ ${#socket_name} -gt 100 ] || [[ "$dir" =~ [^A-Za-z0-9._/+-] ]] || ! as_server test -x "$dir"; then
        home=$(mktemp -d /tmp/cs42-pg.XXXXXX)
        [ "$server_user" = "$(id -un)" ] || chown "$server_user:" "$home"
    fi
    echo "$home" >"$marker"
    mkdir -p "$home/data" "$home/run"
    chmod 700 "$home/data" "$home/run"
    [ "$server_user" = "$(id -un)" ] || chown "$server_user:" "$home/data" "$home/run"
    [ "$home" = "$dir" ] || ln -s "$home/data" "$dir/data"

    # C.UTF-8 where the C library has it: code-point order, and upper and lower case beyond ASCII.
    local locale=(--no-locale) locales
    locales=$(locale -a 2>/dev/null || true)
    grep -qix 'c\.utf-\?8' <<<"$locales" && locale=(--locale=C.UTF-8)
    as_server "$bindir/initdb" -D "$home/data" -U postgres --encoding=UTF8 "${locale[@]}" \
        --auth-local=trust --auth-host=scram-sha-256 --no-sync --no-instructions \
        >"$dir/initdb.log" 2>&1 || {
        print_log_tail "$dir/initdb.log"
        die "initdb failed in $home/data"
    }
    cat >>"$home/data/postgresql.conf" <<EOF

# A throw-away cluster for the tests: loopback and its own socket only, many clients, no durability.
include 'cs42-port.conf'
listen_addresses = '127.0.0.1'
unix_socket_directories = '$home/run'
unix_socket_permissions = 0700
max_connections = 200
shared_buffers = 64MB
fsync = off
synchronous_commit = off
full_page_writes = off
logging_collector = off
log_line_prefix = '%m [%p] %q%u@%d '
EOF

    local port
    port=$(start_on_free_port "$home")
    "$bindir/psql" -X -q -v ON_ERROR_STOP=1 -h "$home/run" -p "$port" -U postgres -d postgres \
        -c "CREATE ROLE cs42 LOGIN CREATEDB PASSWORD 'cs42-test'" \
        -c "CREATE DATABASE cs42 OWNER cs42" >/dev/null || {
        stop_server "$home"
        die "cannot make role cs42 and its database"
    }

    echo "$port" >"$dir/port"
    echo "postgresql://cs42@127.0.0.1:$port/cs42" >"$dir/uri"
    echo "$home/run" >"$dir/socket"
    (umask 077 && echo "127.0.0.1:$port:*:cs42:cs42-test" >"$dir/pgpass")
    chmod 600 "$dir/pgpass"
    echo "PostgreSQL test cluster in $dir: $(cat "$dir/uri") (PGPASSFILE=$dir/pgpass)"
}

cmd_stop() {
    [ -e "$dir" ] || return 0
    if [ -z "$(ls -A -- "$dir")" ]; then
        rmdir -- "$dir"
        return 0
    fi
    [ -f "$marker" ] || die "$dir holds no test cluster; refusing to remove it"
    remove_cluster
}

cmd_pause() {
    require_cluster
    stop_server "$(server_home)"
}

cmd_resume() {
    require_cluster
    local home
    home=$(server_home)
    server_running "$home" && return 0
    as_server "$bindir/pg_ctl" -D "$home/data" -l "$home/run/server.log" -w -t 30 start >/dev/null || {
        print_log_tail "$home/run/server.log"
        die "the server in $home/data did not start again on port $(cat "$dir/port")"
    }
}

case "$command" in
start) cmd_start ;;
stop) cmd_stop ;;
pause) cmd_pause ;;
resume) cmd_resume ;;
*) usage ;;
esac
