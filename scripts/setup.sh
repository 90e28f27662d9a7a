#!/usr/bin/env bash
# Installs the Debian 12 packages that the build, the program and the tests need. Only what is really missing is
# installed: a machine that has everything runs no apt command at all (and needs neither root nor the network).
set -euo pipefail

# Real package names only: a virtual name is never "installed" and would make every start call apt.
packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libtag1-dev libjpeg62-turbo-dev libasound2-dev libmpdclient-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth dbus-x11 desktop-file-utils
  fonts-dejavu-core
)
# What only the tests use: real players (and a music daemon) for the end-to-end tests, a tag reader to read our tags
# back, ffmpeg to make media files of every format and compare their audio.
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(mpv mpv-mpris audacious mpd python3-mutagen ffmpeg openbox xdotool imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
((${#missing[@]})) || exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
