#!/usr/bin/env bash
# Builds the program and starts it in the working directory ./run (or CS42_WORKDIR). On its first
# start there the program makes its VTRForms folder: the databases, the schedule in force since
# May 1, 2022, the blank CS-42 form and the reference documents, from the build tree's share/cs42.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
repo=$PWD
workdir=${CS42_WORKDIR:-$repo/run}
mkdir -p "$workdir"
cd "$workdir"
exec "$repo/build/bin/cs42" "$@"
