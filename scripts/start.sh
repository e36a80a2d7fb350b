#!/usr/bin/env bash
# Builds the program, installs its default data folder (schedule and blank form)
# under the working directory ./run and starts it there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
workdir=${CS42_WORKDIR:-$PWD/run}
scripts/install-data.sh "$workdir"
cd "$workdir"
exec "$OLDPWD/build/cs42" "$@"
