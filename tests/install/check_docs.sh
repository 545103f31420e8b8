#!/usr/bin/env bash
# Checks that the installed documentation says what the program does: every help line text the
# user guide quotes is one the program shows, the menu numbers of the humbrook-render guide are
# those of the menu bar, and its script commands and key names are those the script reader
# knows.
# Usage: check_docs.sh SOURCE_DIR
set -uo pipefail

source_dir=$1
guide=$source_dir/docs/user-guide.md
render_doc=$source_dir/docs/humbrook-render.md
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The program's texts with adjacent string literals joined ("AB " "CD" reads "AB CD").
program_texts=$(cat "$source_dir"/app/*.cpp "$source_dir"/ui/*.cpp | sed -z 's/"[[:space:]]*"//g')

# Code spans of the guide, one per line (a span broken over two lines is joined with a blank).
# Help line texts are the spans that begin with a panel or control name and a colon.
help_texts=$(awk 'BEGIN { RS = "`" } NR % 2 == 0 { gsub(/\n[ ]*/, " "); print }' "$guide" |
    grep -E '^[A-Z0-9/ ,]+:  ' || true)
[ -n "$help_texts" ] || fail "the user guide quotes no help line text"
count=0
while IFS= read -r text; do
    count=$((count + 1))
    grep -qF -- "$text" <<<"$program_texts" || fail "the program shows no help text '$text'"
done <<<"$help_texts"
echo "help line texts checked: $count"

# Messages: every text of the guide's message table is one the program shows (the table's
# "Couldn't read ..." row stands for the song reader's family of messages).
messages=$(sed -n '/^## Messages/,/^## /p' "$guide" | grep -E '^\| [A-Z]' | grep -v '^| Message |' |
    cut -d'|' -f2 | sed 's/^ *//; s/ *$//' | sed 's/, /\n/g' | grep -v '\.\.\.$' || true)
[ -n "$messages" ] || fail "the user guide has no message table"
all_texts=$(cat "$source_dir"/app/*.cpp "$source_dir"/files/*.cpp "$source_dir"/platform/*.cpp | sed -z 's/"[[:space:]]*"//g')
count=0
while IFS= read -r message; do
    count=$((count + 1))
    grep -qF -- "\"$message" <<<"$all_texts" || fail "the program shows no message '$message'"
done <<<"$messages"
echo "messages checked: $count"

# Menu numbers: every item of the menu bar has its row, "| ID | menu | caption |".
menu_header=$source_dir/app/menu_bar.h
items=$(grep -E '^[[:space:]]*\{"&' "$menu_header")
[ -n "$items" ] || fail "no menu items found in app/menu_bar.h"
count=0
while IFS= read -r item; do
    count=$((count + 1))
    caption=$(sed -E 's/^[^,]*,[^,]*, *"([^"]*)".*/\1/; s/&//g; s/\\t//g' <<<"$item")
    name=$(sed -E 's/.*(kMenu[A-Za-z0-9]*)\}.*/\1/' <<<"$item")
    id=$(sed -nE "s/^[[:space:]]*$name = ([0-9]+),.*/\1/p" "$menu_header")
    grep -qE "^\| $id \| [^|]* \| $caption \|$" "$render_doc" ||
        fail "humbrook-render.md has no row '| $id | ... | $caption |'"
done <<<"$items"
rows=$(grep -cE '^\| [0-9]{5} \|' "$render_doc")
[ "$rows" -eq "$count" ] || fail "humbrook-render.md lists $rows menu numbers, the menu bar $count"
echo "menu items checked: $count"

# Script commands: the first word of each row of the command table is a command of the reader.
commands=$(sed -n '/^## Script commands/,/^### /p' "$render_doc" | grep -oE '^\| `[a-z]+' |
    sed 's/^| `//' | sort -u)
[ -n "$commands" ] || fail "humbrook-render.md has no script command table"
for command in $commands; do
    grep -qF "\"$command\"" "$source_dir/app/script_commands.cpp" ||
        fail "the script reader knows no command '$command'"
done
for key in Enter Space Left Right Up Down Delete; do
    grep -qF "\`$key\`" "$render_doc" || fail "humbrook-render.md does not name the key $key"
    grep -qF "{\"$key\"" "$source_dir/app/key_codes.cpp" ||
        fail "the script reader knows no key '$key'"
done

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "documentation: all checks passed"
