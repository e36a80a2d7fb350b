#!/usr/bin/env bash
# Checks that every #include "..." of the program's sources points down the layers below (or into
# the including file's own folder). docs/layers.md says why the order is what it is.
#
# The layers, lowest first. A folder may include its own headers and those of every folder on a
# lower line; folders on one line are independent of each other.
#
#   core                          Logging: the logging categories, used everywhere
#   core/format                   Captions (what the worksheet shows) and the field limits
#   core/store                    files, servers, the schema, settings, backups, case records
#   core/names  core/worksheet    the names directory; the schedule, the editions' lines and the
#                                 computation
#   core/explain  core/produce    the written explanation; the filled court form
#   core/session  core/startup    the worksheet controller; start-up and the installed data
#   ui/common                     the Interaction seam, shared widgets, palette
#   ui/cases  ui/explain  ui/names  ui/produce
#   ui/worksheet                  the worksheet window and its entry dialogs
#   ui/shell                      the main window, splash, location, the real Interaction
#   admin  app                    the two programs' own sources
#
# The core never includes the windows (ui), and the command-line program (admin) reuses the core
# alone: neither includes ui, admin or app.
#
# Usage: scripts/check-layers.sh [SRC_DIR]   (SRC_DIR defaults to this repository's src)
# Prints each include that points up as FILE:LINE with the two folders, and exits 1 when there is
# one; a folder missing from the order above also fails, so that a new folder gets its place.
set -euo pipefail
if [ $# -gt 0 ]; then
    src=${1%/}
else
    cd "$(dirname "$0")/.."
    src=src
fi
if [ ! -d "$src" ]; then
    echo "check-layers: no folder $src" >&2
    exit 2
fi

layers='
core
core/format
core/store
core/names core/worksheet
core/explain core/produce
core/session core/startup
ui/common
ui/cases ui/explain ui/names ui/produce
ui/worksheet
ui/shell
admin app
'

# Every include line as "FILE<TAB>LINE<TAB>INCLUDED PATH", FILE relative to $src.
(cd "$src" && grep -rnE --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' . || true) |
    sed -E 's|^\./||; s|^([^:]*):([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*|\1\t\2\t\3|' |
    awk -F'\t' -v layers="$layers" -v root="$src" '
    BEGIN {
        n = split(layers, rows, "\n")
        rank = 0
        for (i = 1; i <= n; i++) {
            if (rows[i] == "")
                continue
            rank++
            m = split(rows[i], names, " ")
            for (j = 1; j <= m; j++)
                layer[names[j]] = rank
        }
        tops["core"] = tops["ui"] = tops["admin"] = tops["app"] = 1
        bad = 0
    }
    # The folder a path under src belongs to: "core/store" for core/store/Schema.h, "core" for
    # core/Logging.h, "admin" for admin/main.cpp.
    function folder(path,    parts, k) {
        k = split(path, parts, "/")
        if (parts[1] == "core" || parts[1] == "ui")
            return k > 2 ? parts[1] "/" parts[2] : parts[1]
        return parts[1]
    }
    function top(f) { sub(/\/.*/, "", f); return f }
    function fail(message) { print root "/" $1 ":" $2 ": " message; bad = 1 }
    {
        from = folder($1)
        inc = $3
        if (inc ~ /^\.\.?\//) {
            fail("includes \"" inc "\": includes are rooted at src (\"core/store/Schema.h\")")
            next
        }
        if (inc !~ /\//)
            next # a header beside the file, or one the build generates
        to = folder(inc)
        if (!(top(to) in tops))
            next # not one of the program folders (a library header written with quotes)
        if (!(from in layer)) {
            fail(from " has no place in the layers of scripts/check-layers.sh")
            next
        }
        if (!(to in layer)) {
            fail("includes " inc ": " to " has no place in the layers of scripts/check-layers.sh")
            next
        }
        if (from == to)
            next
        if (top(from) == "core" && top(to) != "core") {
            fail(from " includes " to " (" inc "): the core includes nothing of " top(to))
        } else if (from == "admin" && top(to) != "core") {
            fail(from " includes " to " (" inc "): the command-line program uses the core alone")
        } else if (layer[to] > layer[from]) {
            fail(from " includes " to " (" inc "), a higher layer")
        } else if (layer[to] == layer[from]) {
            fail(from " includes " to " (" inc "), which shares its layer")
        }
    }
    END { exit bad }
    '
