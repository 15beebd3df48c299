#!/usr/bin/env bash
# Installs what is missing, builds, starts Xvfb, a PulseAudio null sink,
# Icecast and tinyproxy, and runs every test headless.
#   VIDMO_SANITIZE=1  build into build-asan with AddressSanitizer and UBSan
#   VIDMO_WERROR=1    treat warnings as errors
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test

dir=build
opts=(-DVIDMO_WERROR="${VIDMO_WERROR:-OFF}")
if [ "${VIDMO_SANITIZE:-0}" = 1 ]; then
  dir=build-asan
  opts+=(-DVIDMO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
  # Qt WebEngine 6.4 itself frees a page with a mismatched delete; not ours to mend.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:new_delete_type_mismatch=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake -S . -B "$dir" -G Ninja "${opts[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"

export XDG_RUNTIME_DIR; XDG_RUNTIME_DIR=$(mktemp -d /tmp/vidmo-xdg.XXXXXX)
chmod 700 "$XDG_RUNTIME_DIR"
export QT_LOGGING_RULES="qt.webenginecontext.info=false"
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking --disable-component-update"

source scripts/services.sh
trap stop_services EXIT
start_xvfb
start_pulse
start_tinyproxy
start_icecast

# Qt WebEngine 6.4 now and then deadlocks inside itself (seen once
# under ASan on a loaded machine: the main thread waits on a condition inside
# QtWebEngineCore with no CPU used). A test that fails or hangs gets one more try.
ctest --test-dir "$dir" --output-on-failure -j2 --timeout 240 --repeat until-pass:2
