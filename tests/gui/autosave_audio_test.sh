#!/usr/bin/env bash
# Autosave never holds up the sound: a 25 MB song (eight slots of 400000 sound-file samples)
# plays in the real window through SDL's disk driver while autosave writes it every 5 seconds;
# every chunk played must equal humbrook-render's, none lost, late or repeated. Prints how many
# autosaves were written while it played.
# Usage: xvfb-run -a -s "-screen 0 1024x768x24" autosave_audio_test.sh BUILD_DIR [PLAY_SECONDS]
set -euo pipefail

build=${1:?usage: autosave_audio_test.sh BUILD_DIR [PLAY_SECONDS]}
build=$(cd "$build" && pwd)
play_seconds=${2:-14}
here=$(cd "$(dirname "$0")" && pwd)
for tool in xdotool python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done
. "$(dirname "$0")/window_test_setup.sh"

autosaves=$XDG_STATE_HOME/humbrook/autosave
mkdir -p "$XDG_CONFIG_HOME/humbrook"
echo "autosave-seconds 5" >"$XDG_CONFIG_HOME/humbrook/settings"

# The test song with every waveform slot holding a whole sound file of varied samples.
python3 - "$here/chunk_song.zwv" "$work/song.zwv" <<'EOF'
import random, sys
random.seed(7)
with open(sys.argv[1]) as f:
    text = f.read()
parts = [text]
for slot in range(8):
    values = " ".join(f"{random.uniform(-127.9, -100.1):.2f}" for _ in range(400000))
    parts.append(f"SoundType {slot} 1\nSoundFileParams {slot} 22050 1 0\n"
                 f"SoundFileLoop {slot} 0 350\nSoundFileVals {slot} 400000 {values}\n")
with open(sys.argv[2], "w") as f:
    f.write("".join(parts))
EOF
"$build/humbrook-render" "$work/song.zwv" --save "$work/saved.zwv" >/dev/null ||
  fail "humbrook-render could not save the test song"
size=$(stat -c %s "$work/saved.zwv")
[ "$size" -gt 25000000 ] || fail "the test song saves to only $size bytes"

# The song as the window will play it: opened, then Up amplifies the drawn waveform of
# instrument 1 (its slot plays its sound file instead), which marks the song modified.
chunk_bytes=18900
steps=$((play_seconds * 5 + 40))
printf 'key Up\n' |
  "$build/humbrook-render" "$work/song.zwv" --script - -o "$work/offline.wav" -n "$steps" >/dev/null ||
  fail "humbrook-render could not render the test song"

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$work/played.raw"
start_humbrook
xdotool key --window "$wid" ctrl+o
wait_for_window '^Open$' >/dev/null || fail "Ctrl+O showed no Open dialog"
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 20 song.zwv
xdotool key Return
wait_for_window 'song\.zwv' >/dev/null || fail "the song was not opened"
xdotool key --window "$wid" Up
sleep 0.15
xdotool key --window "$wid" Return
# Each autosave renames a new file into place: its inode number counts the writes.
declare -A inodes=()
for _ in $(seq $((play_seconds * 10))); do
  written=$(compgen -G "$autosaves/*/song.zwv" || true)
  [ -n "$written" ] && inodes[$(stat -c %i "$written" 2>/dev/null || echo 0)]=1
  sleep 0.1
done
written=$(compgen -G "$autosaves/*/song.zwv" || true)
[ -n "$written" ] || fail "no autosave was written while the song played"
[ "${#inodes[@]}" -ge 2 ] || fail "only ${#inodes[@]} autosave(s) while the song played"
cmp -s <(tail -c 1000000 "$written") <(tail -c 1000000 "$work/saved.zwv") ||
  fail "the autosave does not end with the song's sound-file samples"
exit_from_file_menu 100

python3 "$here/compare_played_chunks.py" "$work/played.raw" "$work/offline.wav" "$chunk_bytes" \
  $((play_seconds * 3))
echo "${#inodes[@]} autosaves of a $size-byte song while playing: no chunk lost or late"
