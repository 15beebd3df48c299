#!/usr/bin/env python3
"""Radio: click to first sound, CPU per minute and the station-switch gap.

Needs the PulseAudio null sink ci_null as the default sink and the loopback
Icecast tone of scripts/services.sh (VIDMO_TEST_ICECAST_URL, 440 Hz). A second
mount with an 880 Hz tone is fed here, on the same server, for the switch.
All sound is taken from ci_null.monitor by one parec that runs throughout.

  first sound  ours: from the click line of bench_radio_start (one
               Button1Click on the real audio engine) to the first 10 ms block
               above THRESHOLD; mpv and gst-launch-1.0 playbin: from launch.
               RUNS rounds, alternating, medians.
  CPU          utime+stime of the process tree over CPU_WINDOW seconds of
               steady playback, scaled to a minute; ours against mpv.
  switch       playing one mount, switch to the other (440 Hz <-> 880 Hz),
               SWITCHES times: silence between the last block of the old tone
               and the first of the new one, and any block where both tones
               sound at once. Ours (a second Button1Click) and mpv (loadfile).
"""
import array
import json
import math
import os
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import urllib.request

BUILD = sys.argv[1] if len(sys.argv) > 1 else "build"
RUNS = int(os.environ.get("RUNS", "7"))
CPU_WINDOW = float(os.environ.get("CPU_WINDOW", "20"))
SWITCHES = int(os.environ.get("SWITCHES", "6"))
THRESHOLD = float(os.environ.get("THRESHOLD", "300"))  # RMS of S16 samples, about -40 dBFS
SOURCE_PASSWORD = os.environ.get("VIDMO_BENCH_ICECAST_PASSWORD", "vidmo-source")
MONITOR = os.environ.get("VIDMO_BENCH_MONITOR", "ci_null.monitor")

RATE = 44100
BLOCK = RATE // 100  # 10 ms, mono
TONE_A, TONE_B = 440.0, 880.0
TONE_LEVEL = 300.0     # amplitude at which a tone counts as sounding
BOTH_LEVEL = 1000.0    # both tones at least this loud in one block: two stations at once
TICK = os.sysconf("SC_CLK_TCK")


class Capture:
    """One parec on the monitor; 10 ms mono blocks with the monotonic time of their end."""

    def __init__(self):
        self.proc = subprocess.Popen(
            ["parec", "-d", MONITOR, "--raw", "--format=s16le", f"--rate={RATE}", "--channels=1",
             "--latency-msec=10"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.blocks = []  # (end_ns, samples)
        self.lock = threading.Lock()
        self.cond = threading.Condition(self.lock)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        fd = self.proc.stdout.fileno()
        pending = b""
        total = 0  # samples received
        while True:
            data = os.read(fd, 65536)
            now = time.monotonic_ns()
            if not data:
                return
            pending += data
            total += len(data) // 2  # parec writes whole samples
            out = []
            while len(pending) >= 2 * BLOCK:
                chunk, pending = pending[:2 * BLOCK], pending[2 * BLOCK:]
                end = total - len(pending) // 2
                out.append((now - (total - end) * 1_000_000_000 // RATE, array.array("h", chunk)))
            with self.cond:
                self.blocks.extend(out)
                self.cond.notify_all()

    def mark(self):
        with self.lock:
            return len(self.blocks)

    def since(self, index):
        with self.lock:
            return self.blocks[index:]

    def wait_blocks(self, index, pred, timeout):
        """First block from index on that satisfies pred, or None after timeout seconds."""
        deadline = time.monotonic() + timeout
        i = index
        with self.cond:
            while True:
                while i < len(self.blocks):
                    if pred(self.blocks[i]):
                        return self.blocks[i]
                    i += 1
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.cond.wait(left)

    def wait_silence(self, seconds, timeout=10):
        """Until `seconds` of silence in a row have been captured."""
        need = int(seconds * 100)
        start = self.mark()
        run = [0]

        def quiet(block):
            run[0] = run[0] + 1 if rms(block[1]) < THRESHOLD else 0
            return run[0] >= need
        if self.wait_blocks(start, quiet, timeout) is None:
            raise SystemExit("the sink does not fall silent")

    def stop(self):
        self.proc.terminate()
        self.proc.wait()


def rms(samples):
    return math.sqrt(sum(s * s for s in samples) / len(samples))


HANN = [0.5 - 0.5 * math.cos(2 * math.pi * n / (BLOCK - 1)) for n in range(BLOCK)]
HANN_SUM = sum(HANN)


def tone_amplitude(samples, freq):
    """Goertzel over one Hann-windowed block: amplitude of the tone at freq."""
    coeff = 2 * math.cos(2 * math.pi * freq / RATE)
    s1 = s2 = 0.0
    for x, w in zip(samples, HANN):
        s1, s2 = x * w + coeff * s1 - s2, s1
    power = s1 * s1 + s2 * s2 - coeff * s1 * s2
    return 2 * math.sqrt(max(power, 0.0)) / HANN_SUM


def proc_children(pid):
    kids = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    if int(f.read().rsplit(")", 1)[1].split()[1]) == pid:
                        kids.append(int(entry))
            except OSError:
                pass
    return kids


def cpu_seconds(pid):
    total, todo = 0, [pid]
    while todo:
        p = todo.pop()
        todo.extend(proc_children(p))
        try:
            with open(f"/proc/{p}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])  # utime, stime
        except OSError:
            pass
    return total / TICK


def stop(proc):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class Ours:
    name = "ours"

    def __init__(self, build):
        self.exe = os.path.join(build, "bench", "bench_radio_start")
        self.proc = None

    def launch(self):
        self.proc = subprocess.Popen([self.exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL)
        if self.proc.stdout.readline().strip() != b"ready":
            raise SystemExit("bench_radio_start did not start")

    def play(self, url):
        """Click; the monotonic time of the click in ns."""
        self.proc.stdin.write(f"play {url}\n".encode())
        self.proc.stdin.flush()
        word, ns = self.proc.stdout.readline().split()
        assert word == b"click"
        return int(ns)

    def close(self):
        try:
            self.proc.stdin.write(b"quit\n")
            self.proc.stdin.flush()
            self.proc.wait(5)
        except (BrokenPipeError, subprocess.TimeoutExpired):
            pass
        stop(self.proc)


class Peer:
    def __init__(self, name, cmd):
        self.name, self.cmd, self.proc = name, cmd, None

    def start(self, url):
        """Launch; the monotonic time of the launch in ns."""
        t0 = time.monotonic_ns()
        self.proc = subprocess.Popen(self.cmd(url), stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return t0

    def close(self):
        stop(self.proc)


def mpv_cmd(sock=None):
    def cmd(url):
        c = ["mpv", "--no-video", "--ao=pulse", "--no-terminal", "--no-config"]
        if sock:
            c.append(f"--input-ipc-server={sock}")
        return c + [url]
    return cmd


def gst_cmd(url):
    return ["gst-launch-1.0", "-q", "playbin", f"uri={url}"]


def first_sound(cap, index, timeout=15):
    return cap.wait_blocks(index, lambda b: rms(b[1]) >= THRESHOLD, timeout)


def bench_first_sound(cap, ours, peers, url):
    results = {"ours": []}
    results.update({p.name: [] for p in peers})
    for i in range(RUNS):
        cap.wait_silence(0.3)
        ours.launch()
        cap.wait_silence(0.2)
        index = cap.mark()
        t0 = ours.play(url)
        block = first_sound(cap, index)
        ours.close()
        results["ours"].append((block[0] - t0) / 1e6 if block else float("nan"))
        for p in peers:
            cap.wait_silence(0.3)
            index = cap.mark()
            t0 = p.start(url)
            block = first_sound(cap, index)
            p.close()
            results[p.name].append((block[0] - t0) / 1e6 if block else float("nan"))
        print(f"run {i + 1}  " + "  ".join(f"{k} {v[-1]:7.1f} ms" for k, v in results.items()),
              flush=True)
    return results


def bench_cpu(cap, name, start, close):
    cap.wait_silence(0.3)
    index = cap.mark()
    pid = start()
    if first_sound(cap, index) is None:
        raise SystemExit(f"{name}: no sound")
    time.sleep(2)  # past the start, into steady playback
    c0, t0 = cpu_seconds(pid), time.monotonic()
    time.sleep(CPU_WINDOW)
    c1, t1 = cpu_seconds(pid), time.monotonic()
    close()
    per_min = (c1 - c0) * 60.0 / (t1 - t0)
    print(f"cpu  {name:4s} {c1 - c0:.2f} s over {t1 - t0:.1f} s = {per_min:.2f} s per minute",
          flush=True)
    return per_min


def classify(samples):
    a, b = tone_amplitude(samples, TONE_A), tone_amplitude(samples, TONE_B)
    if a >= BOTH_LEVEL and b >= BOTH_LEVEL:
        return "both"
    if rms(samples) < THRESHOLD:
        return "silent"
    if a >= TONE_LEVEL and a > b:
        return "a"
    if b >= TONE_LEVEL and b > a:
        return "b"
    return "other"


def switch_gap(cap, index, t_switch, old, new, settle=3.0):
    """Silence between the old tone's last block and the new one's first, after t_switch."""
    time.sleep(settle)
    blocks = [(t, classify(s)) for t, s in cap.since(index)]
    first_new = next((t for t, k in blocks if t >= t_switch and k == new), None)
    if first_new is None:
        return None, 0
    last_old = max((t for t, k in blocks if k == old and t < first_new), default=t_switch)
    both = sum(1 for t, k in blocks if k == "both")
    # the last old block ends at last_old; the first new one starts 10 ms before its end
    gap = max(0.0, (first_new - 10_000_000 - last_old) / 1e6)
    return gap, both


def bench_switch(cap, name, play, urls):
    gaps, both = [], 0
    kinds = ("a", "b")
    play(urls[0])
    if first_sound(cap, cap.mark()) is None:
        raise SystemExit(f"{name}: no sound")
    time.sleep(1.5)
    for i in range(SWITCHES):
        old, new = kinds[i % 2], kinds[(i + 1) % 2]
        index = cap.mark()
        t = play(urls[(i + 1) % 2])
        gap, b = switch_gap(cap, index, t, old, new)
        both += b
        gaps.append(gap if gap is not None else float("nan"))
        print(f"switch {name:4s} {i + 1}: {TONE_A if old == 'a' else TONE_B:.0f} -> "
              f"{TONE_A if new == 'a' else TONE_B:.0f} Hz  gap {gaps[-1]:6.1f} ms  "
              f"blocks with both {b}", flush=True)
    return gaps, both


def mpv_ipc(sock_path, command):
    s = socket.socket(socket.AF_UNIX)
    for _ in range(100):
        try:
            s.connect(sock_path)
            break
        except OSError:
            time.sleep(0.05)
    s.sendall((json.dumps({"command": command}) + "\n").encode())
    s.close()


def feed_second_mount(url, work):
    """An 880 Hz tone on a second mount of the same Icecast; the feed process and its URL."""
    u = urllib.parse.urlsplit(url)
    tone = os.path.join(work, "tone880.mp3")
    subprocess.run(["ffmpeg", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                    f"sine=frequency={TONE_B:.0f}:duration=4", "-ac", "2", "-ar", str(RATE),
                    "-c:a", "libmp3lame", "-b:a", "128k", tone], check=True)
    feed = subprocess.Popen(
        ["ffmpeg", "-loglevel", "error", "-re", "-stream_loop", "-1", "-i", tone, "-c", "copy",
         "-f", "mp3", "-content_type", "audio/mpeg",
         f"icecast://source:{SOURCE_PASSWORD}@{u.hostname}:{u.port}/tone880.mp3"],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    url2 = f"http://{u.hostname}:{u.port}/tone880.mp3"
    for _ in range(100):
        try:
            with urllib.request.urlopen(url2, timeout=1) as r:
                if r.status == 200:
                    return feed, url2
        except OSError:
            pass
        time.sleep(0.1)
    feed.kill()
    raise SystemExit("second mount did not come up")


def main():
    url = os.environ.get("VIDMO_TEST_ICECAST_URL")
    if not url:
        raise SystemExit("VIDMO_TEST_ICECAST_URL is not set (source scripts/services.sh; start_icecast)")
    cap = Capture()
    ours = Ours(BUILD)
    mpv = Peer("mpv", mpv_cmd())
    gst = Peer("gst", gst_cmd)
    work = tempfile.mkdtemp(prefix="vidmo-bench-radio-")
    feed = None
    try:
        print(f"stream {url}, {RUNS} runs, threshold RMS {THRESHOLD:.0f}", flush=True)
        res = bench_first_sound(cap, ours, [mpv, gst], url)
        print()
        med = {k: statistics.median(v) for k, v in res.items()}
        for k, v in med.items():
            print(f"median first sound {k:4s} {v:7.1f} ms")
        best = min(("mpv", "gst"), key=lambda k: med[k])
        print(f"ratio ours / {best} {med['ours'] / med[best]:.2f} (target <= 0.80)")
        print()

        def ours_start():
            ours.launch()
            ours.play(url)
            return ours.proc.pid

        def mpv_start():
            mpv.start(url)
            return mpv.proc.pid
        cpu_ours = bench_cpu(cap, "ours", ours_start, ours.close)
        cpu_mpv = bench_cpu(cap, "mpv", mpv_start, mpv.close)
        print(f"ratio CPU ours / mpv {cpu_ours / cpu_mpv:.2f} (target <= 1.20)")
        print()

        feed, url2 = feed_second_mount(url, work)
        urls = (url, url2)
        cap.wait_silence(0.3)
        ours.launch()
        g_ours, b_ours = bench_switch(cap, "ours", ours.play, urls)
        ours.close()

        cap.wait_silence(0.3)
        sock = os.path.join(work, "mpv.sock")
        mpv_ipc_peer = Peer("mpv", mpv_cmd(sock))
        started = [False]

        def mpv_play(u):
            if not started[0]:
                started[0] = True
                return mpv_ipc_peer.start(u)
            t = time.monotonic_ns()
            mpv_ipc(sock, ["loadfile", u, "replace"])
            return t
        g_mpv, b_mpv = bench_switch(cap, "mpv", mpv_play, urls)
        mpv_ipc_peer.close()
        print()
        for name, gaps, both in (("ours", g_ours, b_ours), ("mpv", g_mpv, b_mpv)):
            print(f"switch gap {name:4s} median {statistics.median(gaps):6.1f} ms  max {max(gaps):6.1f} ms"
                  f"  blocks with both stations {both} (of {len(gaps)} switches)")
    finally:
        if feed:
            stop(feed)
        cap.stop()


if __name__ == "__main__":
    main()
