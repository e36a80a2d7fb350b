#!/usr/bin/env bash
# Installs the default data folder under a working directory: <workdir>/VTRForms with the
# schedule database, the blank CS-42 template and the two reference documents.
# An installed schedule is kept; an office's own edition is installed with
# `cs42-admin schedule import FILE.csv`.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
workdir="$(mkdir -p "${1:?usage: install-data.sh WORKDIR}" && cd "$1" && pwd)"
admin="$repo/build/cs42-admin"
schedule_csv="${CS42_SCHEDULE_CSV:-$repo/../shared/data/alabama-schedule-2022-05-01.csv}"

mkdir -p "$workdir/VTRForms"
cd "$workdir"
rows=$("$admin" schedule export | tail -n +2 | wc -l)
if [ "$rows" -eq 0 ]; then
    if [ -f "$schedule_csv" ]; then
        "$admin" schedule import "$schedule_csv"
    else
        echo "warning: no schedule at $schedule_csv; install one with cs42-admin schedule import FILE.csv" >&2
    fi
fi
for doc in QUON42.PDF QUONSchedule.pdf QUONRule32.pdf; do
    [ -f "$repo/build/forms/$doc" ] && cp -f "$repo/build/forms/$doc" "$workdir/VTRForms/$doc"
done
echo "Data folder: $workdir/VTRForms"
