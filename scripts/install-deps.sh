#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Does nothing when every package is already there.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config ccache
    qt6-base-dev qt6-pdf-dev libqt6sql6-sqlite libqt6sql6-psql libpq-dev libqpdf-dev libsqlite3-dev libgtest-dev
    libbenchmark-dev fonts-liberation xvfb xauth poppler-utils qpdf pdftk-java sqlite3 postgresql imagemagick)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -q
$sudo_cmd apt-get install -y -q --no-install-recommends "${missing[@]}"
