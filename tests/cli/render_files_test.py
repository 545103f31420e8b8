#!/usr/bin/env python3
"""humbrook-render's sound files: formats, --once, --tail, --stems, flat memory on long renders.

Usage: render_files_test.py RENDER SONGS_DIR WORK_DIR
SONGS_DIR holds effects.zwv (every delay, play orders of different lengths). Exits 0 when every
check passes, else prints the failures and exits 1.
"""
import os
import struct
import subprocess
import sys

render, songs, work = sys.argv[1:4]
song = os.path.join(songs, "effects.zwv")
failures = []
os.makedirs(work, exist_ok=True)


def check(condition, message):
    if not condition:
        failures.append(message)


def run(*args):
    return subprocess.run([render, *args], capture_output=True, text=True)


def rendered(name, *args):
    path = os.path.join(work, name)
    result = run("-o", path, *args)
    check(result.returncode == 0, f"{name}: exit {result.returncode}: {result.stderr}")
    return path


def chunks(data):
    """The chunks of a RIFF or RF64 file: {id: bytes}."""
    found, at = {}, 12
    while at + 8 <= len(data):
        tag, size = data[at:at + 4], struct.unpack_from("<I", data, at + 4)[0]
        found[tag] = data[at + 8:at + 8 + size]
        at += 8 + size + (size & 1)
    return found


def wave(path):
    """(format tag, bits, samples) of a WAV file; PCM samples as integers, float as floats."""
    with open(path, "rb") as f:
        data = f.read()
    parts = chunks(data)
    tag, channels, rate, _, _, bits = struct.unpack_from("<HHIIHH", parts[b"fmt "])
    if tag == 0xFFFE:  # extensible: the real tag opens the subformat
        tag = struct.unpack_from("<H", parts[b"fmt "], 24)[0]
    body = parts[b"data"]
    if tag == 3:
        return tag, bits, list(struct.unpack(f"<{len(body) // 4}f", body))
    if bits == 16:
        return tag, bits, list(struct.unpack(f"<{len(body) // 2}h", body))
    samples = [int.from_bytes(body[k:k + 3], "little", signed=True) for k in range(0, len(body), 3)]
    return tag, bits, samples


def trunc_div(a, b):
    return int(a / b)


# Memory stays flat: ten times the steps, about the same peak, far below 100 MB. Measured first:
# a child's peak counts what this script held when it forked.
def peak_kb(n):
    process = subprocess.Popen([render, "-n", str(n), "-o", os.path.join(work, "long.wav")])
    _, status, usage = os.wait4(process.pid, 0)
    check(status == 0, f"-n {n}: exit status {status}")
    return usage.ru_maxrss


short, long = peak_kb(400), peak_kb(4000)
check(long < 100 * 1024, f"-n 4000 peaks at {long} KB")
check(long - short < 4 * 1024, f"the peak grows with the length: {short} KB, then {long} KB")
print(f"peak memory: {short} KB at 400 steps, {long} KB at 4000 steps")

# The default format is the 16-bit WAV of old; the others hold the same mix, finer.
steps = 24
base = rendered("mix16.wav", "-n", str(steps), song)
_, _, mix16 = wave(base)
chunk_samples = len(mix16) // steps
for fmt, magic in (("wav16", b"RIFF"), ("flac16", b"fLaC"), ("flac24", b"fLaC"), ("ogg", b"OggS")):
    ext = "wav" if fmt.startswith("wav") else fmt[:4] if fmt != "ogg" else "ogg"
    path = rendered(f"mix-{fmt}.{ext}", "-n", str(steps), "--format", fmt, song)
    with open(path, "rb") as f:
        check(f.read(4) == magic, f"{fmt}: the file does not start with {magic}")
with open(base, "rb") as a, open(os.path.join(work, "mix-wav16.wav"), "rb") as b:
    check(a.read() == b.read(), "--format wav16 differs from the default output")
tag, bits, mix24 = wave(rendered("mix24.wav", "-n", str(steps), "--format", "wav24", song))
check((tag, bits) == (1, 24), f"wav24: tag {tag}, {bits} bits")
check([trunc_div(s, 256) for s in mix24] == mix16, "wav24 is not the 16-bit mix, finer")
check(any(s % 256 for s in mix24), "wav24 holds no more than 16 bits")
tag, bits, mixf = wave(rendered("mixf.wav", "-n", str(steps), "--format", "wavf32", song))
check((tag, bits) == (3, 32), f"wavf32: tag {tag}, {bits} bits")
check([int(s * 32768) for s in mixf] == mix16, "wavf32 is not the 16-bit mix, finer")

# Stems: four files that add up to the mix before its clip.
rendered("stem.wav", "-n", str(steps), "--format", "wavf32", "--stems", song)
stems = [wave(os.path.join(work, f"stem-{n}.wav"))[2] for n in range(1, 5)]
check(not os.path.exists(os.path.join(work, "stem.wav")), "--stems also wrote the mix")
check(all(len(s) == len(mixf) for s in stems), "a stem's length differs from the mix")
compared = 0
for k, m in enumerate(mixf):
    if abs(m) < 127 / 128:
        total = stems[0][k] + stems[1][k] + stems[2][k] + stems[3][k]
        compared += 1
        if abs(total - m) > 1e-6:
            check(False, f"sample {k}: the stems add up to {total}, the mix is {m}")
            break
check(compared > 0 and any(abs(s) > 0.01 for s in stems[1]), "the stems are silent")

# --once: once through the longest play order (PatternStack: instrument, count, mode, banks).
longest = 0
measure = {}
orders = {}
with open(song) as f:
    for line in f:
        words = line.split()
        if words[:1] == ["BPMsr"]:
            measure[int(words[1])] = min(max(int(words[2]), 1), 16)
        if words[:1] == ["PatternStack"]:
            orders[int(words[1])] = (int(words[3]), [int(w) for w in words[4:]])
for i, (mode, banks) in orders.items():
    banks = banks if mode in (0, 1) else banks[:1]
    played = [k for k, b in enumerate(banks) if b >= 0]
    if played:
        longest = max(longest, sum(measure[i] if b >= 0 else 1 for b in banks[:played[-1] + 1]))
_, _, once = wave(rendered("once.wav", "--once", song))
check(len(once) == longest * chunk_samples, f"--once: {len(once) / chunk_samples} steps, expected {longest}")
_, _, plain = wave(rendered("plain.wav", "-n", str(longest), song))
check(once == plain, "--once differs from -n of the same steps")

# --tail: the steps as without it, then the notes sounding at the end play out and the delays
# ring until a step is below -90 dBFS, ten seconds at most.
_, _, tail = wave(rendered("tail.wav", "-n", str(steps), "--tail", "--format", "wavf32", song))
tail_steps = len(tail) // chunk_samples - steps
most = -(-10 * 22050 // (chunk_samples // 2))
check(tail[:len(mixf)] == mixf, "--tail changed the steps before the tail")
check(1 <= tail_steps <= most, f"--tail added {tail_steps} steps, at most {most} allowed")
def peak(n): return max(abs(s) for s in tail[n * chunk_samples:(n + 1) * chunk_samples])
check(peak(steps) > 0, "the delays do not ring after the last step")
quiet = 10 ** (-90 / 20)
check(peak(steps + tail_steps - 1) < quiet, "the last step of the tail is not below -90 dBFS")
check(all(peak(n) >= quiet for n in range(steps, steps + tail_steps - 1)),
      "the tail went on after a quiet step")
# Instrument 1's note of steps 12 to 15 goes on sounding when the render ends at step 14: its
# first tail step is what it plays when the render goes on.
rendered("cut.wav", "-n", "14", "--tail", "--stems", "--format", "wavf32", song)
rendered("whole.wav", "-n", "16", "--stems", "--format", "wavf32", song)
cut, whole = (wave(os.path.join(work, f"{name}-1.wav"))[2] for name in ("cut", "whole"))
step14 = slice(14 * chunk_samples, 15 * chunk_samples)
check(max(abs(s) for s in whole[step14]) > 0.01, "instrument 1 is silent at step 14")
check(cut[step14] == whole[step14], "a note sounding at the end of the render is cut off")

# Usage errors (exit 2) and a file that cannot be written (exit 1, nothing left).
for args in (["--format", "mp3", "-o", "x.wav"], ["--once", "-n", "4", "-o", "x.wav"],
             ["--tail", song], ["--stems", "--format", "ogg", song]):
    result = run(*args)
    check(result.returncode == 2, f"{args}: exit {result.returncode}, expected 2")
result = run("-o", os.path.join(work, "missing", "x.flac"), "--format", "flac16", "-n", "2")
check(result.returncode == 1 and "cannot create" in result.stderr,
      f"an unwritable file: exit {result.returncode}: {result.stderr}")


for message in failures:
    print("FAIL:", message)
sys.exit(1 if failures else 0)
