#!/usr/bin/env python3
"""Compares what the sound device played (raw 16-bit stereo from SDL's disk driver) with the
offline render of the same song (a WAV file from humbrook-render), chunk by chunk.

Usage: compare_played_chunks.py PLAYED.raw OFFLINE.wav CHUNK_BYTES MIN_CHUNKS

The played stream starts with the silence the device plays while stopped. Playback starts at
the beginning of the offline render, so the played stream is aligned with it by its first
sound. From there on every played chunk must equal the offline chunk of the same number, byte
for byte; the last one may be cut short where playback stopped, after which only silence may
follow. A chunk that differs is described: the offline chunk it equals instead (repeated or
stale) or where it starts to differ (torn).
Prints one line "played N chunks" and exits 0 when everything matches and at least MIN_CHUNKS
whole chunks were played; else prints the faults and exits 1.
"""
import sys


def first_nonzero(data):
    stripped = data.lstrip(b"\0")
    return len(data) - len(stripped) if stripped else None


def wave_samples(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:16] != b"WAVEfmt " or data[36:40] != b"data":
        sys.exit(f"{path}: not the plain 44-byte-header WAV file humbrook-render writes")
    return data[44:]


def describe(chunk, index, offline, chunk_bytes, count):
    """Names the offline chunk that a wrong played chunk equals, or where it starts to differ."""
    for other in range(count):
        if other != index and chunk == offline[other * chunk_bytes:(other + 1) * chunk_bytes]:
            return f"equals offline chunk {other} ({other - index:+d})"
    expected = offline[index * chunk_bytes:(index + 1) * chunk_bytes]
    first = next(i for i in range(len(chunk)) if chunk[i] != expected[i])
    return f"torn: equal for its first {first} bytes only"


def main():
    played_path, offline_path, chunk_arg, min_arg = sys.argv[1:5]
    chunk_bytes, min_chunks = int(chunk_arg), int(min_arg)
    with open(played_path, "rb") as f:
        raw = f.read()
    offline = wave_samples(offline_path)
    offline_chunks = len(offline) // chunk_bytes

    start_raw, start_offline = first_nonzero(raw), first_nonzero(offline)
    if start_offline is None:
        sys.exit("FAIL: the offline render is silent; the test song plays nothing")
    if start_raw is None:
        sys.exit("FAIL: the device played only silence")
    start_raw -= start_raw % 4
    start_offline -= start_offline % 4
    start = start_raw - start_offline
    if start < 0:
        sys.exit("FAIL: the played sound starts earlier than playback can have started")
    played = raw[start:]
    end = len(played.rstrip(b"\0"))  # after the last sound only the silence of a stop follows

    faults = []
    whole = 0
    index = 0
    while index * chunk_bytes < end:
        chunk = played[index * chunk_bytes:(index + 1) * chunk_bytes]
        if index >= offline_chunks:
            faults.append(f"played beyond the {offline_chunks} offline chunks; render more steps")
            break
        expected = offline[index * chunk_bytes:(index + 1) * chunk_bytes]
        if chunk == expected:
            whole += 1
            index += 1
            continue
        # Cut short by the stop: a prefix of the offline chunk, then silence to the end.
        prefix = next((i for i in range(len(chunk)) if chunk[i] != expected[i]), len(chunk))
        if prefix >= end - index * chunk_bytes:
            break
        faults.append(f"chunk {index}: {describe(chunk, index, offline, chunk_bytes, offline_chunks)}")
        index += 1

    print(f"played {whole} chunks equal to the offline render "
          f"(sound starts at byte {start_raw} of the device output)")
    for fault in faults:
        print(f"FAIL: {fault}")
    if not faults and whole < min_chunks:
        print(f"FAIL: only {whole} whole chunks were played, fewer than {min_chunks}")
        return 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
