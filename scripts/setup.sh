#!/usr/bin/env bash
# Installs the Debian packages Brelvan builds, runs and tests with. Safe to run again.
set -euo pipefail
packages=(
    g++ cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-svg-dev libqt6sql6-sqlite libqt6sql6-psql libgl-dev
    libxlsxwriter-dev
    fonts-liberation fonts-dejavu-core
    sqlite3 postgresql-15 postgresql-client-15
    poppler-utils python3-openpyxl xvfb xauth locales
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "setup: installing ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# Tests and the money format pin the Australian English locale.
if ! locale -a 2>/dev/null | grep -qi '^en_AU\.utf-\?8$'; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo sed -i 's/^# *en_AU.UTF-8/en_AU.UTF-8/' /etc/locale.gen
    $sudo locale-gen >/dev/null
fi
