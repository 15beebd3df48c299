#!/usr/bin/env python3
"""Start-up time and memory of the player against a bare web view.

Runs both programs side by side, alternating, RUNS times each, on the X
display in $DISPLAY (start Xvfb first, see bench/README.md):
  start-up  process start to the first paint of the main window
  memory    PSS of the whole process tree (the program and its WebEngine
            helpers) SETTLE seconds after the first paint
Prints medians and the ratios player / reference.
"""
import http.server
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
RUNS = int(os.environ.get("RUNS", "7"))
SETTLE = float(os.environ.get("SETTLE", "5"))

PAGE = b"<!doctype html><html><head><meta charset='utf-8'><title>start</title></head>" \
       b"<body style='font-family:sans-serif'><h1>Vidmo Player</h1><p>start page</p></body></html>"


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(PAGE)))
        self.end_headers()
        self.wfile.write(PAGE)

    def log_message(self, *args):
        pass


def children(pid):
    kids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            if int(fields[1]) == pid:
                kids.append(int(entry))
        except OSError:
            pass
    return kids


def tree(pid):
    out, todo = [], [pid]
    while todo:
        p = todo.pop()
        out.append(p)
        todo.extend(children(p))
    return out


def pss_kib(pid):
    total = 0
    for p in tree(pid):
        try:
            with open(f"/proc/{p}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def cmdline(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return f.read()
    except OSError:
        return b""


def parent(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return int(f.read().rsplit(")", 1)[1].split()[1])
    except OSError:
        return 0


def renderers(pid):
    # Renderers are forked from a zygote and keep its command line: a zygote
    # process whose parent is a zygote too.
    return sum(1 for p in tree(pid)
               if b"--type=zygote" in cmdline(p) and b"--type=zygote" in cmdline(parent(p)))


def run(cmd, env):
    t0 = time.monotonic()
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    line = proc.stdout.readline()
    t1 = time.monotonic()
    if line.strip() != b"painted":
        proc.kill()
        raise SystemExit(f"{cmd[0]} did not paint")
    time.sleep(SETTLE)  # a benchmark, not a test: let the start page settle
    pss = pss_kib(proc.pid)
    rend = renderers(proc.pid)
    proc.terminate()
    try:
        proc.wait(10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    return (t1 - t0) * 1000.0, pss / 1024.0, rend


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_address[1]}"

    env = dict(os.environ)
    env.setdefault("QT_LOGGING_RULES", "qt.webenginecontext.info=false")
    if os.geteuid() == 0:
        env.setdefault("QTWEBENGINE_DISABLE_SANDBOX", "1")
    work = tempfile.mkdtemp(prefix="vidmo-bench-")
    page = os.path.join(work, "page.html")
    with open(page, "wb") as f:
        f.write(PAGE)
    progdir = os.path.join(BUILD, "vidmo-player") + "/"
    player = [os.path.join(BUILD, "bench", "bench_player_start"), progdir, base]
    reference = [os.path.join(BUILD, "bench", "bench_reference_start"), page]

    results = {"player": [], "reference": []}
    for i in range(RUNS):
        for name, cmd in (("reference", reference), ("player", player)):
            results[name].append(run(cmd, env))
            t, m, r = results[name][-1]
            print(f"run {i + 1} {name:9s} first paint {t:7.1f} ms  PSS {m:7.1f} MiB  renderers {r}",
                  flush=True)
    print()
    med = {}
    for name, rows in results.items():
        med[name] = (statistics.median(r[0] for r in rows), statistics.median(r[1] for r in rows),
                     statistics.median(r[2] for r in rows))
        print(f"median {name:9s} first paint {med[name][0]:7.1f} ms  PSS {med[name][1]:7.1f} MiB"
              f"  renderers {med[name][2]:.0f}")
    print(f"ratio player/reference: start-up {med['player'][0] / med['reference'][0]:.2f}"
          f" (target <= 1.5), memory {med['player'][1] / med['reference'][1]:.2f} (target <= 1.3)")
    server.shutdown()


if __name__ == "__main__":
    main()
