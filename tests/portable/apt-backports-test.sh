#!/usr/bin/env bash
# The backports source that tools/bootstrap.sh adds: taken from the Debian archive that each
# machine's own apt sources name, in their form, never a fixed address.
set -uo pipefail
source "$(dirname "$0")/../../tools/apt-backports.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# check NAME EXPECTED_FILE EXPECTED_CONTENT: runs the function over $work/NAME/apt.
check() {
  local name=$1 file=$2 expected=$3 apt="$work/$1/apt"
  if ! write_backports_source "$apt" bookworm 2>/dev/null; then
    [ "$file" = none ] && return
    echo "FAIL $name: no source found"; failures=$((failures + 1)); return
  fi
  local got
  got=$(cat "$apt/sources.list.d/$file" 2>/dev/null)
  if [ "$got" != "$expected" ]; then
    printf 'FAIL %s: %s holds\n%s\nexpected\n%s\n' "$name" "$file" "$got" "$expected"
    failures=$((failures + 1))
  fi
  local others
  others=$(cd "$apt/sources.list.d" && ls backports.* 2>/dev/null | grep -vx "$file")
  [ -z "$others" ] || { echo "FAIL $name: also $others"; failures=$((failures + 1)); }
}

# deb822 mirror behind a proxy; the security suite comes first; a stale fixed-address list and
# files apt ignores lie beside it.
d="$work/deb822/apt/sources.list.d"; mkdir -p "$d"
cat >"$d/debian.sources" <<'X'
Types: deb
URIs: http://proxy.lan:3142/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb deb-src
# a snapshot once
URIs: http://proxy.lan:3142/debian
Suites: bookworm bookworm-updates
Components: main contrib
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
X
echo 'deb http://deb.debian.org/debian bookworm-backports main' >"$d/backports.list"
echo 'deb http://elsewhere.example/debian bookworm main' >"$d/other.list.disabled"
check deb822 backports.sources 'Types: deb
URIs: http://proxy.lan:3142/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg'

# One-line sources.list: comments, deb-src and other suites are passed over; options are kept.
a="$work/oneline/apt"; mkdir -p "$a"
cat >"$a/sources.list" <<'X'
# deb http://old.example/debian bookworm main
deb-src http://mirror.lan/debian bookworm main
deb [ arch=amd64 signed-by=/etc/apt/keyrings/lan.gpg ] http://mirror.lan/debian bookworm-updates main
deb [ arch=amd64 signed-by=/etc/apt/keyrings/lan.gpg ] http://mirror.lan/debian bookworm main non-free
X
check oneline backports.list \
  'deb [ arch=amd64 signed-by=/etc/apt/keyrings/lan.gpg ] http://mirror.lan/debian bookworm-backports main'

# A disabled stanza is passed over.
d="$work/disabled/apt/sources.list.d"; mkdir -p "$d"
printf 'Types: deb\nURIs: http://off.lan/debian\nSuites: bookworm\nEnabled: no\n\nTypes: deb\nURIs: http://on.lan/debian\nSuites: bookworm\nComponents: main\n' >"$d/debian.sources"
check disabled backports.sources 'Types: deb
URIs: http://on.lan/debian
Suites: bookworm-backports
Components: main'

# No source of the release at all: refused, nothing written.
d="$work/none/apt/sources.list.d"; mkdir -p "$d"
echo 'deb http://mirror.lan/debian bullseye main' >"$d/old.list"
check none none ''
[ -z "$(ls "$d" | grep backports)" ] || { echo "FAIL none: wrote a source"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "apt-backports: all cases passed"
exit "$failures"
