#!/usr/bin/env bash
# Golden outputs of humbrook-render that every change must keep byte for byte (or pixel for
# pixel): the sound of every example and test song, a played session's sound, the window and
# each of its panels, and the text a song saves. HUMBROOK_UPDATE_GOLDEN=1 rewrites the stored
# goldens of the part instead of checking them (look at the difference before committing).
# Usage: check_golden.sh SOURCE_DIR PATH_OF_HUMBROOK_RENDER PART
# PART: audio-examples, audio-test-songs, session, pictures or text
set -uo pipefail

source_dir=$(cd "$1" && pwd)
render=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
part=$3
golden=$source_dir/tests/golden
update=0
[ "${HUMBROOK_UPDATE_GOLDEN:-}" = 1 ] && update=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Runs humbrook-render in the work folder; a message or a non-zero exit is a failure.
run_render() {
    local events
    events=$(cd "$work" && "$render" "$@") || fail "humbrook-render $* exited with $?"
    if grep -q '^message' <<<"$events"; then fail "humbrook-render $*: $events"; fi
}

# Writes the list ACTUAL over the stored golden list STORED, or compares them line by line.
check_list() {
    local actual=$1 stored=$2
    if [ $update = 1 ]; then
        cp "$actual" "$stored"
    elif ! diff -u "$stored" "$actual"; then
        fail "$(basename "$stored") differs from what humbrook-render gives now (lines + above)"
    fi
}

# Song paths in the source tree of the examples and of the test songs.
example_songs=("$source_dir"/examples/*.zwv)
example_songs=("${example_songs[@]#"$source_dir"/}")
test_songs=("$golden"/songs/*.zwv)
test_songs=("${test_songs[@]#"$source_dir"/}")

# The sound of each song at both rates and two latencies, into the golden list NAME.sha256
# (two lists, so that ctest can check them side by side).
audio() {
    local name=$1 list=$work/$1.sha256 steps=256 song
    shift
    echo "# song rate latency steps sha256 of the WAV file humbrook-render -o writes" >"$list"
    for song in "$@"; do
        for rate in 22050 44100; do
            for latency in 1 3; do
                rm -f "$work/out.wav"
                run_render "$source_dir/$song" -n $steps -r $rate -l $latency -o out.wav
                echo "$song $rate $latency $steps $(sha256sum <"$work/out.wav" | cut -d' ' -f1)" >>"$list"
            done
        done
    done
    check_list "$list" "$golden/$name.sha256"
}

# A session on a song while it plays: knob and delay automation, a mute toggle, an import and a
# recording, each captured as the output plays it.
session() {
    local list=$work/session.sha256
    cp "$golden"/songs/mono.wav "$golden"/songs/stereo.wav "$work"
    echo "# song rate latency file sha256 of the WAV files of session.txt" >"$list"
    for song in tests/golden/songs/sound_files.zwv examples/night_drive.zwv; do
        for setting in "22050 1" "44100 3"; do
            read -r rate latency <<<"$setting"
            rm -f "$work"/*.out.wav
            run_render "$source_dir/$song" -r "$rate" -l "$latency" --script "$golden/session.txt"
            for wav in capture record; do
                if [ -s "$work/$wav.out.wav" ]; then
                    echo "$song $rate $latency $wav $(sha256sum <"$work/$wav.out.wav" | cut -d' ' -f1)" >>"$list"
                else
                    fail "$song: session.txt wrote no $wav.out.wav"
                fi
            done
        done
    done
    check_list "$list" "$golden/session.sha256"
}

# Pictures that differ from their goldens are kept here for a look.
keep=${TMPDIR:-/tmp}/humbrook-golden-actual

# Compares two PNG files pixel for pixel, or copies the actual one over the stored one.
check_png() {
    local actual=$1 stored=$2 what=$3 differing
    if [ $update = 1 ]; then
        mkdir -p "$(dirname "$stored")"
        cp "$actual" "$stored"
        return
    fi
    [ -f "$stored" ] || { fail "$what: no golden ${stored#"$source_dir"/}"; return; }
    if ! differing=$(compare -metric AE "$actual" "$stored" null: 2>&1); then
        local kept=$keep/${stored#"$golden"/pictures/}
        mkdir -p "$(dirname "$kept")" && cp "$actual" "$kept"
        fail "$what: $differing pixels differ from ${stored#"$source_dir"/} (this run's picture: $kept)"
    fi
}

# The window after each step of pictures.txt on three songs, and each panel of the opened song
# cut out of the window by the rectangles of panels.txt.
pictures() {
    local song name crops
    for song in examples/bright_morning.zwv examples/night_drive.zwv tests/golden/songs/sound_files.zwv; do
        name=$(basename "$song" .zwv)
        rm -f "$work"/*.png
        run_render "$source_dir/$song" --script "$golden/pictures.txt"
        crops=()
        mkdir -p "$work/$name"
        while read -r panel left top right bottom; do
            [[ -z $panel || $panel == \#* ]] && continue
            crops+=(\( +clone -crop "$((right - left))x$((bottom - top))+$left+$top" +repage
                -define png:exclude-chunks=date,time -write "PNG24:$work/$name/$panel.png" +delete \))
        done <"$golden/panels.txt"
        convert "$work/opened.png" "${crops[@]}" null: || fail "$name: panels not cut out"
        for window in "$work"/*.png; do
            check_png "$window" "$golden/pictures/$name/$(basename "$window")" "$name $(basename "$window")"
        done
        for panel in "$work/$name"/*.png; do
            check_png "$panel" "$golden/pictures/$name/panels/$(basename "$panel")" \
                "$name panel $(basename "$panel" .png)"
        done
    done
}

# Opening a song and saving it gives the same bytes. The songs themselves are the goldens, so
# there is nothing to rewrite here.
text() {
    for song in "${example_songs[@]}" "${test_songs[@]}"; do
        run_render "$source_dir/$song" --save saved.zwv
        cmp "$source_dir/$song" "$work/saved.zwv" || fail "$song: saving it after opening changes it"
    done
}

case $part in
audio-examples) audio audio_examples "${example_songs[@]}" ;;
audio-test-songs) audio audio_test_songs "${test_songs[@]}" ;;
session | pictures | text) "$part" ;;
*)
    echo "unknown part $part" >&2
    exit 2
    ;;
esac

[ $failures -eq 0 ] && echo "golden $part: all match$([ $update = 1 ] && echo ' (rewritten)')"
[ $failures -eq 0 ]
