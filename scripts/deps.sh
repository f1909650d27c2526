#!/usr/bin/env bash
# Installs the Debian 12 packages that Quorvela needs, only when something is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6opengl6-dev qt6-declarative-dev qt6-charts-dev qt6-datavisualization-dev
  qt6-svg-dev libgl-dev libgl1-mesa-dri libsqlite3-dev sqlite3 libarchive-dev libsodium-dev
  mdbtools mdbtools-dev libgtest-dev libbenchmark-dev clang-format
  xvfb xauth x11-apps imagemagick poppler-utils fonts-dejavu qt6-translations-l10n
  dpkg-dev file desktop-file-utils strace clang-14 libfuzzer-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Instalando paquetes: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
