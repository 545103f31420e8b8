#!/usr/bin/env bash
# Checks that scripts/install-deps.sh installs everything the build and the tests use: every
# file CMake found (compilers, libraries, headers, programs, package files) and every program a
# test or the CI calls belongs to a Debian package that the script lists, that one of them
# depends on (Depends or Pre-Depends, not a mere recommendation), or that every Debian system
# has (Essential or Priority required). A file no Debian package installed fails too: a fresh
# machine would not have it.
# Usage: check_packages.sh SOURCE_DIR BUILD_DIR
set -uo pipefail

source_dir=$1
build_dir=$2
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

command -v dpkg-query >/dev/null || { echo "SKIP: not a Debian system" >&2; exit 77; }

# The script's two package lists.
eval "$(grep -E '^(build|test)_packages=\(' "$source_dir/scripts/install-deps.sh")"
listed=("${build_packages[@]}" "${test_packages[@]}")
[ ${#listed[@]} -gt 0 ] || fail "no package lists found in scripts/install-deps.sh"

# Every installed package with what it depends on; then the packages a fresh system gets from
# the lists: the base system, the listed packages and, following Depends and Pre-Depends, what
# they pull in (an alternative or a virtual package counts by its installed providers).
status=$(dpkg-query -W -f='${db:Status-Abbrev}\t${Package}\t${Essential}\t${Priority}\t${Provides}\t${Pre-Depends}, ${Depends}\n')
pulled=$(awk -F'\t' -v roots="${listed[*]}" '
    function names(field, out,    parts, n, k, alt, m, j, name) {
        n = split(field, parts, ",")
        for (k = 1; k <= n; k++) {
            m = split(parts[k], alt, "|")
            for (j = 1; j <= m; j++) {
                name = alt[j]
                sub(/^[ ]+/, "", name); sub(/[ (:].*$/, "", name)
                if (name != "") out[name] = 1
            }
        }
    }
    $1 ~ /^ii/ {
        installed[$2] = 1
        deps[$2] = $6
        if ($3 == "yes" || $4 == "required") base[$2] = 1
        delete provided; names($5, provided)
        for (p in provided) providers[p] = providers[p] " " $2
    }
    function add(name,    n, k, list, wanted) {
        if (name in seen) return
        seen[name] = 1
        if (name in installed) {
            print name
            delete wanted; names(deps[name], wanted)
            for (w in wanted) queue[++tail] = w
        }
        n = split(providers[name], list, " ")
        for (k = 1; k <= n; k++) queue[++tail] = list[k]
    }
    END {
        n = split(roots, r, " ")
        for (k = 1; k <= n; k++) queue[++tail] = r[k]
        for (b in base) queue[++tail] = b
        while (head < tail) add(queue[++head])
    }' <<<"$status" | sort -u)
for package in "${listed[@]}"; do
    grep -qx "$package" <<<"$pulled" || fail "the listed package $package is not installed here"
done

# Which package installed each file, from dpkg's file lists: "PATH<TAB>PACKAGE" lines.
index=$(mktemp)
trap 'rm -f "$index"' EXIT
awk 'FNR == 1 { package = FILENAME; sub(/.*\//, "", package); sub(/(:[a-z0-9_]+)?\.list$/, "", package) }
     { print $0 "\t" package }' /var/lib/dpkg/info/*.list >"$index"

# The packages that own `path` (a file, link or folder), one a line; empty when none does. A
# link no package owns (an alternative) is followed; dpkg records some of what /usr/bin, /usr/sbin
# and /usr/lib hold under /bin, /sbin and /lib.
owners() {
    local path=$1 resolved
    resolved=$(readlink -f "$path")
    awk -F'\t' -v a="$resolved" -v b="${resolved#/usr}" -v c="$path" -v d="${path#/usr}" '
        $1 == c { first[$2] = 1 } $1 == d { second[$2] = 1 }
        $1 == a { third[$2] = 1 } $1 == b { fourth[$2] = 1 }
        END {
            if (length(first)) for (p in first) print p
            else if (length(second)) for (p in second) print p
            else if (length(third)) for (p in third) print p
            else for (p in fourth) print p
        }' "$index"
}

# Whether one of the packages (one a line) is installed by the script's lists.
any_pulled() {
    local package
    while IFS= read -r package; do
        grep -qx "$package" <<<"$pulled" && return 0
    done <<<"$1"
    return 1
}

check_path() {
    local what=$1 path=$2 packages
    packages=$(owners "$path")
    if [ -z "$packages" ]; then
        fail "$what ($path) comes from no Debian package"
    elif ! any_pulled "$packages"; then
        fail "$what ($path) comes from $(echo $packages), which scripts/install-deps.sh does not install"
    fi
}

# What CMake found: every cached absolute path outside the source and build folders.
count=0
while IFS='=' read -r key value; do
    [[ $value == /* && -e $value ]] || continue
    [[ $value == "$source_dir"* || $value == "$build_dir"* || $key == CMAKE_INSTALL_* ]] && continue
    count=$((count + 1))
    check_path "CMake's ${key%%:*}" "$value"
done < <(grep -E '^[A-Za-z0-9_]+:(FILEPATH|PATH|STRING)=' "$build_dir/CMakeCache.txt")
[ "$count" -gt 0 ] || fail "no found files in $build_dir/CMakeCache.txt"
echo "files CMake found, checked: $count"

# Programs: those the test scripts check for before they run (their "for tool in", "need_tool"
# and "command -v" lines), those that stand where a command does in a test script and are
# installed here, and those the Makefile's targets and the CI call.
scripts=$(find "$source_dir/tests" -name '*.sh' ! -name "$(basename "$0")")
checked=$(cat $scripts | grep -oE '^ *(for tool in [a-z0-9 +-]*;|need_tool [^ ]+|command -v [a-z0-9+-]+ )' |
    sed -E 's/^ *(for tool in|need_tool|command -v) //; s/;$//')
called=$(cat $scripts | sed -E 's/^[[:space:]]*#.*//' |
    grep -oE '(^|[|;&(`]|\$\(|\bthen |\bdo |\bexec |\btimeout [0-9]+ )[[:space:]]*[a-z][a-z0-9_.+-]*' |
    sed -E 's/.*[[:space:]|;&(`]//')
tools="$checked"$'\n'"bash cmake make c++ pkg-config git clang clang++ clang-format xvfb-run"
for word in $(sort -u <<<"$called"); do
    [[ $(command -v "$word") == /* ]] && tools+=$'\n'"$word"
done
count=0
for tool in $(tr " " "\n" <<<"$tools" | sort -u); do
    count=$((count + 1))
    found=
    for path in "$(command -v "$tool")" /usr/sbin/"$tool" /usr/bin/"$tool" /sbin/"$tool" /bin/"$tool"; do
        [ -n "$path" ] && [ -e "$path" ] && [ -n "$(owners "$path")" ] && { found=$path; break; }
    done
    if [ -z "$found" ]; then
        fail "the program $tool is not installed from a Debian package"
    else
        check_path "the program $tool" "$found"
    fi
done
echo "programs checked: $count"

[ "$failures" -eq 0 ] || exit 1
echo "every package the build and the tests use is installed by scripts/install-deps.sh"
