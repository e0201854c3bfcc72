#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test incassi.
# Shared by the README's run and test commands and by CI.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6sql6-sqlite libqt6widgets6 libqt6printsupport6 libgl-dev
  libsqlite3-dev sqlite3 libqt6sql6-psql libpq-dev postgresql postgresql-client
  libsodium-dev libxlsxwriter-dev libzip-dev
  poppler-utils python3-openpyxl docx2txt
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  clang-format fonts-dejavu-core
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
