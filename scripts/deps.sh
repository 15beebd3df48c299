#!/usr/bin/env bash
# Installs the Debian packages that are missing. Usage: deps.sh build|run|test
set -euo pipefail

build=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-svg-dev
       qt6-webengine-dev libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev)
run=(gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
     gstreamer1.0-libav gstreamer1.0-pulseaudio lame fonts-wine fonts-wqy-microhei
     xdg-utils libqt6svg6 qt6-image-formats-plugins)
test=(xvfb xauth x11-utils pulseaudio pulseaudio-utils icecast2 tinyproxy ffmpeg
      trayer xdotool desktop-file-utils imagemagick gstreamer1.0-tools procps psmisc
      curl python3)

want=("${build[@]}" "${run[@]}")
[ "${1:-run}" = test ] && want+=("${test[@]}")

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
