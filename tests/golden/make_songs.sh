#!/usr/bin/env bash
# Makes the golden test songs in tests/golden/songs from the example songs: each is an example
# with lines changed so that together they use every feature, then opened and saved once so the
# file is exactly what Save writes. Run it only to change the songs on purpose, then regenerate
# the goldens (HUMBROOK_UPDATE_GOLDEN=1 ctest -R '[Gg]olden' in the build folder) and look at
# what changed.
# Usage: make_songs.sh PATH_OF_HUMBROOK_RENDER
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
render=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
examples=$here/../../examples
songs=$here/songs
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two short decaying tones to import: mono at 22050 Hz and stereo at 44100 Hz.
python3 - "$songs" <<'PY'
import math, struct, sys, wave
def tone(path, rate, channels, frames):
    data = bytearray()
    for n in range(frames):
        decay = math.exp(-3.0 * n / frames)
        for c in range(channels):
            f = 220.0 * (1 + 0.5 * c)
            v = 0.6 * math.sin(2 * math.pi * f * n / rate) + 0.3 * math.sin(2 * math.pi * 3.01 * f * n / rate)
            data += struct.pack('<h', int(round(decay * v * 30000)))
    with wave.open(path, 'wb') as w:
        w.setnchannels(channels); w.setsampwidth(2); w.setframerate(rate); w.writeframes(bytes(data))
tone(sys.argv[1] + '/mono.wav', 22050, 1, 1500)
tone(sys.argv[1] + '/stereo.wav', 44100, 2, 1500)
PY

# Opens FILE (after the edits) and saves it as songs/NAME.zwv.
normalise() {
    (cd "$work" && "$render" "$1" --save "$songs/$2.zwv" >/dev/null)
}

# sound_files: instruments 1 and 2 play imported sounds (mono and stereo) looping between
# markers; the noise knob acts on the stereo one.
(cd "$work" && "$render" "$examples/night_drive.zwv" --script - >/dev/null) <<SCRIPT
dialog $songs/mono.wav
menu 40057
key Space
dialog $songs/stereo.wav
menu 40057
save imported.zwv
SCRIPT
sed -E -e 's/^SoundFileLoop 6 .*/SoundFileLoop 6 40 300/' \
    -e 's/^SoundFileLoop 7 .*/SoundFileLoop 7 120 210/' \
    -e 's/^SoundEffect 7 3 .*/SoundEffect 7 3 0.500000 0.000000 0.300000/' \
    "$work/imported.zwv" >"$work/sound_files.zwv"
normalise "$work/sound_files.zwv" sound_files

# effects: a resonant distorted lead with random pitch, frequency and attack, a reverb of three
# short delays (feedback, low pass, pan, fine tune), a muted instrument, an echo two octaves
# up, a stretched sustain, and all three play-order modes.
sed -E \
    -e 's/^Effect 0 16 .*/Effect 0 16 0.350 0.850 0.900 0.700 0.500 0.300 0.200 0.000 0.400 0.300 0.600 0.550 0.100 0.200 0.300 0.400/' \
    -e 's/^DelayParams 1 3 6 .*/DelayParams 1 3 6 0.080000 4.100000 0.700000 0.300000 0.900000 0.400000 0.130000 4.100000 0.650000 0.800000 0.100000 0.600000 0.210000 4.100000 0.600000 0.500000 0.500000 0.550000/' \
    -e 's/^PatternStack 1 8 .*/PatternStack 1 8 1 0 1 0 1 -1 -1 -1 -1/' \
    -e 's/^Mute 2 0/Mute 2 1/' \
    -e 's/^PatternStack 2 8 .*/PatternStack 2 8 2 1 0 -1 -1 -1 -1 -1 -1/' \
    -e 's/^Oct 3 0/Oct 3 3/' \
    -e 's/^BPMsr 3 16/BPMsr 3 10/' \
    -e 's/^DelayParams 3 3 6 .*/DelayParams 3 3 6 2.000000 4.100000 0.500000 0.600000 0.000000 0.500000 3.000000 4.100000 0.300000 0.200000 1.000000 0.450000 1.000000 4.100000 0.000000 0.500000 0.000000 0.500000/' \
    -e 's/^EnvelopeParams 2 .*/EnvelopeParams 2 40 120 250 1/' \
    "$examples/bright_morning.zwv" >"$work/effects.zwv"
normalise "$work/effects.zwv" effects

# stacks: every octave, short banks, play orders that consume and that hold, chorus and the
# unnamed knobs on the 2D controller's axes.
sed -E \
    -e 's/^Oct 0 1/Oct 0 0/' -e 's/^Oct 1 1/Oct 1 2/' -e 's/^Oct 2 0/Oct 2 1/' \
    -e 's/^BPMsr 0 16/BPMsr 0 7/' \
    -e 's/^PatternStack 0 8 .*/PatternStack 0 8 1 1 0 1 -1 -1 -1 -1 -1/' \
    -e 's/^PatternStack 1 8 .*/PatternStack 1 8 7 0 1 -1 -1 -1 -1 -1 -1/' \
    -e 's/^EffectDim 2 0 1/EffectDim 2 13 15/' \
    -e 's/^Effect 2 16 .*/Effect 2 16 0.800 0.400 0.200 0.300 0.900 0.000 0.000 0.600 0.000 0.700 0.250 0.500 0.900 0.100 0.500 0.700/' \
    "$examples/slow_tide.zwv" >"$work/stacks.zwv"
normalise "$work/stacks.zwv" stacks
