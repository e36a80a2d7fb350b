#!/usr/bin/env bash
# Configures and builds the project into ./build (Release with debug info, warnings as errors).
set -euo pipefail
cd "$(dirname "$0")/.."
"$(dirname "$0")/install-deps.sh"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWERROR=ON
cmake --build build -j "$(nproc)"
