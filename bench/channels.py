#!/usr/bin/env python3
"""Channel switching of the player against a bare web view.

On the X display in $DISPLAY (start Xvfb first, see bench/README.md), in one run:
  click to load   the real program clicks the first category, then CLICKS
                  grid buttons; each is timed from the click to the main
                  view's loadFinished. The reference (a bare shown web view of
                  the main view's size) loads the same local pages in the same
                  order, each timed from load() to loadFinished.
  memory          PSS of the player's process tree after switching through
                  every channel of that page and opening the programme window,
                  against the foundation start-up PSS of the player (start,
                  first paint, SETTLE seconds, PSS), measured here too.
Prints every figure, the medians and the ratios.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import startup  # noqa: E402  (loopback server, process-tree PSS, renderer count)

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
CLICKS = int(os.environ.get("CLICKS", "20"))
SETTLE = float(os.environ.get("SETTLE", "5"))
START_RUNS = int(os.environ.get("START_RUNS", "3"))


def stop(proc):
    proc.terminate()
    try:
        proc.wait(10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()


def run_player(cmd, env):
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    clicks, switched = [], 0
    try:
        for raw in proc.stdout:
            words = raw.decode("utf-8", "replace").split()
            if not words:
                continue
            if words[0] == "click":
                clicks.append((float(words[1]), words[2] == "1", words[3]))
                print(f"player    click {len(clicks):2d} {clicks[-1][0]:7.1f} ms  ok {words[2]}  {words[3]}",
                      flush=True)
            elif words[0] == "switched":
                switched = int(words[1])
            elif words[0] == "ready":
                break
            elif words[0] == "error":
                raise SystemExit("player: " + " ".join(words[1:]))
        else:
            raise SystemExit("player ended before it was ready")
        pss = startup.pss_kib(proc.pid) / 1024.0
        rend = startup.renderers(proc.pid)
    finally:
        stop(proc)
    return clicks, switched, pss, rend


def run_reference(cmd, env):
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    loads = []
    try:
        for raw in proc.stdout:
            words = raw.decode("utf-8", "replace").split()
            if words and words[0] == "load":
                loads.append((float(words[1]), words[2] == "1", words[3]))
                print(f"reference load  {len(loads):2d} {loads[-1][0]:7.1f} ms  ok {words[2]}  {words[3]}",
                      flush=True)
        proc.wait(30)
    finally:
        if proc.poll() is None:
            stop(proc)
    return loads


def main():
    server = startup.http.server.ThreadingHTTPServer(("127.0.0.1", 0), startup.Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_address[1]}"

    env = dict(os.environ)
    env.setdefault("QT_LOGGING_RULES", "qt.webenginecontext.info=false")
    if os.geteuid() == 0:
        env.setdefault("QTWEBENGINE_DISABLE_SANDBOX", "1")
    work = tempfile.mkdtemp(prefix="vidmo-bench-")
    progdir = os.path.join(os.path.abspath(BUILD), "vidmo-player") + "/"
    bench = os.path.join(BUILD, "bench")
    settle_ms = str(int(SETTLE * 1000))

    # Foundation start-up PSS of the player, as startup.py measures it.
    startup.SETTLE = SETTLE
    starts = []
    for i in range(START_RUNS):
        starts.append(startup.run([os.path.join(bench, "bench_player_start"), progdir, base], env))
        t, m, r = starts[-1]
        print(f"start-up run {i + 1}: first paint {t:7.1f} ms  PSS {m:7.1f} MiB  renderers {r}", flush=True)
    start_pss = statistics.median(s[1] for s in starts)

    clicks, switched, pss, rend = run_player(
        [os.path.join(bench, "bench_player_channels"), progdir, base, str(CLICKS), settle_ms], env)
    print(f"player after switching through {switched} channels and opening the programme window:"
          f" PSS {pss:7.1f} MiB  renderers {rend}", flush=True)

    pages = os.path.join(work, "pages.txt")
    with open(pages, "w") as f:
        f.write("".join(c[2] + "\n" for c in clicks))
    loads = run_reference([os.path.join(bench, "bench_reference_load"), base, pages, settle_ms], env)
    server.shutdown()

    if len(loads) != len(clicks) or not clicks:
        raise SystemExit(f"reference loaded {len(loads)} of {len(clicks)} pages")
    failed = sum(1 for c in clicks if not c[1]) + sum(1 for l in loads if not l[1])
    print()
    p = statistics.median(c[0] for c in clicks)
    r = statistics.median(l[0] for l in loads)
    print(f"median of {len(clicks)}: player click to loadFinished {p:7.1f} ms,"
          f" reference load() to loadFinished {r:7.1f} ms")
    print(f"ratio player/reference: {p / r:.2f} (target <= 1.2)"
          + (f"  ({failed} loads reported not ok)" if failed else ""))
    print(f"PSS after channels + programme window {pss:7.1f} MiB, start-up PSS (median of {START_RUNS})"
          f" {start_pss:7.1f} MiB, ratio {pss / start_pss:.2f} (target <= 1.5)")


if __name__ == "__main__":
    main()
