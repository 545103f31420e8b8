#!/usr/bin/env bash
# Checks the example songs: each opens without a message, plays non-silent audio that does not
# clip all the time, every one of its four instruments sounds on its own, and the song is what
# its script in examples/scripts makes when replayed.
# Usage: check_examples.sh SOURCE_DIR PATH_OF_HUMBROOK_RENDER
set -uo pipefail

source_dir=$(cd "$1" && pwd)
render=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Prints "LOUD CLIPPED TOTAL" for a 16-bit WAV file: the samples above a quiet level, the
# samples at the clipping limit and all samples. The few header words read as samples cannot
# reach the thresholds below.
sample_counts() {
    od -An -v -t d2 -w2 "$1" | awk '
        { v = $1 < 0 ? -$1 : $1; total++ }
        v >= 1000 { loud++ }
        v >= 32512 { clipped++ }
        END { printf "%d %d %d\n", loud, clipped, total }'
}

# Checks a rendered song: at least 1 % of its samples loud, at most 0.1 % clipped.
check_audio() {
    local wav=$1 what=$2
    [ -s "$wav" ] || { fail "$what: no WAV written"; return; }
    read -r loud clipped total < <(sample_counts "$wav")
    [ $((loud * 100)) -ge "$total" ] || fail "$what is (nearly) silent: $loud of $total samples loud"
    [ $((clipped * 1000)) -le "$total" ] || fail "$what clips: $clipped of $total samples"
}

songs=("$source_dir"/examples/*.zwv)
[ "${#songs[@]}" -ge 3 ] && [ -e "${songs[0]}" ] || fail "fewer than three example songs"

for song in "${songs[@]}"; do
    [ -e "$song" ] || continue
    name=$(basename "$song" .zwv)

    events=$("$render" "$song" -o "$work/$name.wav" -n 64)
    rc=$?
    [ $rc -eq 0 ] || fail "$name: humbrook-render exit code $rc"
    grep -q '^message' <<<"$events" && fail "$name: opening it shows a message: $events"
    check_audio "$work/$name.wav" "$name"

    # Each instrument alone: the others muted in a copy of the song.
    for solo in 0 1 2 3; do
        sed -E "s/^Mute ([0-3]) [01]/Mute \\1 1/; s/^Mute $solo 1/Mute $solo 0/" "$song" \
            >"$work/solo.zwv"
        "$render" "$work/solo.zwv" -o "$work/solo.wav" -n 64 >/dev/null
        check_audio "$work/solo.wav" "$name, instrument $((solo + 1)) alone"
    done

    # Replaying the script that made the song saves the same file.
    script=$source_dir/examples/scripts/$name.txt
    if [ -f "$script" ]; then
        mkdir -p "$work/replay/examples"
        (cd "$work/replay" && "$render" --script "$script" >/dev/null) ||
            fail "$name: its script does not run cleanly"
        cmp -s "$song" "$work/replay/examples/$name.zwv" ||
            fail "$name: examples/$name.zwv is not what examples/scripts/$name.txt makes (replay the scripts, see examples/scripts/make_scripts.py)"
    else
        fail "$name: no script examples/scripts/$name.txt"
    fi
done

[ $failures -eq 0 ] && echo "all ${#songs[@]} example songs check out"
[ $failures -eq 0 ]
