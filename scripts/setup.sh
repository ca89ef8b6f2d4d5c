#!/usr/bin/env bash
# Installs, quietly and idempotently, every Debian package the build, the tests and the program
# need. Safe to run again: packages already present are skipped without touching the network.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev zlib1g-dev libfontconfig-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libpulse-dev
  clang libclang-rt-dev clang-format
  libvterm-dev
  fonts-nanum xfonts-baekmuk xfonts-base xfonts-terminus unifont fonts-dejavu-core
  xvfb xauth xclip tmux tintin++
  pulseaudio pulseaudio-utils x11-utils
  poppler-utils xdg-utils xdotool
  cups printer-driver-cups-pdf fonts-liberation2
  tinymux inetutils-telnetd ucspi-tcp python3 procps
  libacl1-dev nettle-dev libzip-dev libreoffice-calc-nogui libreoffice-writer-nogui bindfs
  desktop-file-utils adwaita-icon-theme shared-mime-info
  locales
  openbox
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
export DEBIAN_FRONTEND=noninteractive
echo "setup: installing ${missing[*]}" >&2
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null 2> >(grep -v "^debconf:" >&2)
