#!/usr/bin/env python3
"""File > Export Song through humbrook-render --script: the files equal humbrook-render -o's.

Usage: export_script_test.py RENDER WORK_DIR SONG.zwv...
Each song is opened, played for a few steps and exported from the menu in every format;
the file must be humbrook-render -o's for the same song and choices: WAV and FLAC byte for byte,
Ogg Vorbis page for page (only the stream's serial number, and so the page checksums, are drawn
anew for every file). Also: stems and the question before replacing them, Cancel, a file that
cannot be written, and the sound played on undisturbed by an export. Exits 0 when every check
passes, else prints the failures and exits 1.
"""
import os
import shutil
import subprocess
import sys

render, work, songs = sys.argv[1], sys.argv[2], sys.argv[3:]
failures = []
shutil.rmtree(work, ignore_errors=True)  # files of an earlier run would be asked about
os.makedirs(work)
EXTENSIONS = {"wav16": "wav", "wav24": "wav", "wavf32": "wav", "flac16": "flac",
              "flac24": "flac", "ogg": "ogg"}


def check(condition, message):
    if not condition:
        failures.append(message)


def run(args, script=None):
    return subprocess.run([render, *args], input=script, capture_output=True, text=True, cwd=work)


def ogg_pages(data):
    """The pages of an Ogg stream with the serial number and checksum blanked."""
    pages, at = [], 0
    while at + 27 <= len(data) and data[at:at + 4] == b"OggS":
        count = data[at + 26]
        size = 27 + count + sum(data[at + 27:at + 27 + count])
        page = bytearray(data[at:at + size])
        page[14:18] = page[22:26] = b"\0\0\0\0"
        pages.append(bytes(page))
        at += size
    return pages if at == len(data) else None


def same_sound(a, b, fmt):
    with open(os.path.join(work, a), "rb") as f, open(os.path.join(work, b), "rb") as g:
        x, y = f.read(), g.read()
    if fmt == "ogg":
        return ogg_pages(x) is not None and ogg_pages(x) == ogg_pages(y)
    return x == y


def export_script(choices, name, played=5):
    return f"key Enter\nsteps {played}\nexport {choices}\ndialog {name}\nmenu 40066\nsteps 2\n"


# Every song in every format, once through with the tail, exported while the song plays (and
# so draws from the random sequence: the export starts it where the song's opening left it).
for song in songs:
    base = os.path.splitext(os.path.basename(song))[0]
    for fmt, ext in EXTENSIONS.items():
        rate = "44100" if fmt == "flac24" else "22050"
        exported, rendered = f"{base}-{fmt}.{ext}", f"{base}-{fmt}-cli.{ext}"
        result = run([song, "--script", "-"], export_script(f"{fmt} {rate} once tail", exported))
        check(result.returncode == 0, f"{base} {fmt}: export exit {result.returncode} {result.stderr}")
        result = run([song, "-r", rate, "--once", "--tail", "--format", fmt, "-o", rendered])
        check(result.returncode == 0, f"{base} {fmt}: render exit {result.returncode} {result.stderr}")
        check(same_sound(exported, rendered, fmt), f"{base} {fmt}: the export differs from -o")

# Stems: the four files of -o --stems; a second export asks before replacing them.
song = songs[0]
run([song, "--script", "-"], export_script("wav24 22050 40 stems", "parts.wav"))
run([song, "-n", "40", "--stems", "--format", "wav24", "-o", "parts-cli.wav"])
check(not os.path.exists(os.path.join(work, "parts.wav")), "stems also wrote the mix")
for n in range(1, 5):
    check(same_sound(f"parts-{n}.wav", f"parts-cli-{n}.wav", "wav24"), f"stem {n} differs")
before = os.stat(os.path.join(work, "parts-1.wav")).st_mtime_ns
result = run([song, "--script", "-"], export_script("wav24 22050 8 stems", "parts.wav"))
check("question\tparts-1.wav, parts-2.wav, parts-3.wav, parts-4.wav already exist.\\n"
      "Do you want to replace them?\tno" in result.stdout, f"no question asked: {result.stdout}")
check(os.stat(os.path.join(work, "parts-1.wav")).st_mtime_ns == before, "No replaced the stems")
result = run([song, "--script", "-"], export_script("wav24 22050 8 stems replace", "parts.wav"))
check("\tyes" in result.stdout, f"replace was not answered Yes: {result.stdout}")
check(os.path.getsize(os.path.join(work, "parts-1.wav")) <
      os.path.getsize(os.path.join(work, "parts-cli-1.wav")), "Yes did not replace the stems")

# Cancel while rendering leaves neither the file nor its temporary file; a dialog cancelled
# exports nothing.
result = run([song, "--script", "-"], export_script("flac16 44100 1000000 cancel", "gone.flac") +
             "export cancel\ndialog never.wav\nmenu 40066\n")
check(result.returncode == 0, f"cancel: exit {result.returncode} {result.stderr}")
left = [name for name in os.listdir(work) if "gone" in name or "never" in name]
check(not left, f"a cancelled export left {left}")

# A file that cannot be written: Save's message, nothing left, exit code 1.
result = run([song, "--script", "-"], export_script("wav16 22050 4", "missing/x.wav"))
check(result.returncode == 1, f"unwritable: exit {result.returncode}")
check("beep\twarning\nmessage\t\tCouldn't Write File \n" in result.stdout,
      f"unwritable: {result.stdout}")
check(not os.path.exists(os.path.join(work, "missing")), "an unwritable export made a folder")

# The sound played goes on undisturbed: the same capture with and without an export under way,
# and the next export from the same song start is the same again.
def capture(name, middle):
    script = f"key Enter\ncapture {name}\nsteps 6\n{middle}steps 6\ncapture end\n"
    run([song, "--script", "-"], script)
    with open(os.path.join(work, name), "rb") as f:
        return f.read()


plain = capture("plain.wav", "")
exporting = capture("exporting.wav", "export wav16 22050 once\ndialog during.wav\nmenu 40066\n")
check(plain == exporting, "an export changed the sound the window plays")
check(len(plain) > 44 + 12 * 4 * 1000, "the capture holds no sound")

for message in failures:
    print("FAIL:", message)
sys.exit(1 if failures else 0)
