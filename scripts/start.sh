#!/usr/bin/env bash
# Installs what is missing, builds, and starts the player on the user's display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
bash scripts/build.sh
exec build/vidmo-player/vidmo-player
