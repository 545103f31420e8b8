#!/usr/bin/env bash
# Installs a build into a temporary staging folder and checks what lands there: the programs,
# the desktop entry (validated), the icon, the song file type and the documentation.
# Usage: check_install.sh BUILD_DIR [PROGRAM...]   (the programs this build configured)
set -uo pipefail

build=$1
shift
programs=("$@")

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
prefix=/opt/humbrook
root=$stage$prefix
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

has_program() {
    local program
    for program in "${programs[@]}"; do [ "$program" = "$1" ] && return 0; done
    return 1
}

need_tool() {
    command -v "$1" >/dev/null || {
        echo "FAIL: $1 is missing (Debian package $2; scripts/install-deps.sh test installs it)"
        exit 1
    }
}
need_tool desktop-file-validate desktop-file-utils
need_tool update-mime-database shared-mime-info

# Installing needs the programs built, not only the targets of one folder.
for program in "${programs[@]}"; do
    [ -x "$build/$program" ] || {
        echo "FAIL: $build/$program is not built; build the whole tree first (cmake --build)"
        exit 1
    }
done

# The staging folder stands for the root of the target system: a rule that ignores the prefix
# shows up as a file outside $root.
if ! DESTDIR=$stage cmake --install "$build" --prefix "$prefix" >"$stage.log" 2>&1; then
    cat "$stage.log"
    rm -f "$stage.log"
    echo "FAIL: cmake --install"
    exit 1
fi
rm -f "$stage.log"
outside=$(find "$stage" -type f -not -path "$root/*")
[ -z "$outside" ] || fail "installed outside the prefix: $outside"

echo "Installed:"
(cd "$root" && find . -type f | sort)

# Programs.
for program in "${programs[@]}"; do
    [ -x "$root/bin/$program" ] || fail "bin/$program is missing or not executable"
done

# The installed front end runs on its own, away from the source and build folders.
if has_program humbrook-render; then
    if (cd "$stage" && "$root/bin/humbrook-render" -n 4 -o "$stage/played.wav" >/dev/null); then
        [ "$(head -c 4 "$stage/played.wav" 2>/dev/null)" = RIFF ] ||
            fail "the installed humbrook-render wrote no WAV file"
    else
        fail "the installed humbrook-render failed"
    fi
fi

# Desktop entry and icon, with the windowed program only: the entry is valid and names the
# installed program and an installed icon.
desktop=$root/share/applications/humbrook.desktop
if ! has_program humbrook; then
    [ ! -e "$desktop" ] || fail "a desktop entry was installed without the windowed program"
elif [ ! -f "$desktop" ]; then
    fail "share/applications/humbrook.desktop is missing"
else
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects humbrook.desktop"
    exec_program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -n "$exec_program" ] && [ -x "$root/bin/$exec_program" ] ||
        fail "Exec=$exec_program is not an installed program"
    icon_name=$(sed -n 's/^Icon=//p' "$desktop")
    icons=$(find "$root/share/icons/hicolor" -path "*/apps/$icon_name.png" 2>/dev/null)
    [ -n "$icons" ] || fail "no hicolor icon named '$icon_name'"
    for icon in $icons; do
        # The size folder must match the picture: PNG width and height are at bytes 16..23.
        folder=$(basename "$(dirname "$(dirname "$icon")")")
        size=$(od -An -tu1 -j16 -N8 "$icon" |
            awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
        [ "$folder" = "$size" ] || fail "$icon is $size pixels but sits in $folder"
    done
    # A launcher that offers to open song files must pass the file to the program.
    mime_types=$(sed -n 's/^MimeType=//p' "$desktop")
    if [ -n "$mime_types" ]; then
        [ "$mime_types" = "application/x-humbrook-song;" ] ||
            fail "the desktop entry claims the types '$mime_types'"
        grep -q '^Exec=.* %[fFuU]' "$desktop" ||
            fail "the desktop entry claims song files but its Exec line passes no file"
    fi
fi

# Song file type: the shared MIME database built from the installed package knows *.zwv.
package=$root/share/mime/packages/humbrook-song.xml
if [ ! -f "$package" ]; then
    fail "share/mime/packages/humbrook-song.xml is missing"
else
    # Told that the staged folder is a data folder, the tool reports only problems of the package.
    XDG_DATA_DIRS=$root/share update-mime-database "$root/share/mime" 2>"$stage/mime.err"
    [ ! -s "$stage/mime.err" ] || fail "update-mime-database: $(cat "$stage/mime.err")"
    [ -f "$root/share/mime/application/x-humbrook-song.xml" ] ||
        fail "the MIME database has no application/x-humbrook-song"
    grep -q '^[0-9]*:application/x-humbrook-song:\*\.zwv$' "$root/share/mime/globs2" ||
        fail "the MIME database does not map *.zwv to application/x-humbrook-song"
fi

# Documentation.
for doc in user-guide.md song-file.md humbrook-render.md; do
    [ -s "$root/share/doc/humbrook/$doc" ] || fail "share/doc/humbrook/$doc is missing"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install layout: all checks passed"
