#!/bin/sh
# SPDX-License-Identifier: MIT
# Builds the Debian package in a build tree, where it stays as cpack leaves it (the release checks
# compare it with the release's, which is packed under umask 022 as here), unpacks it, and plays "q" with what it installs. Around it, an install into a
# folder that holds a file of someone else's, and the uninstall after cpack, which must leave only
# that file and the folders that were there.
# usage: package_test.sh CMAKE CPACK BUILD_DIR
set -eu
cmake=$1 cpack=$2 build=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*"; exit 1; }

mkdir -p "$work/prefix/share/doc"
echo "someone else's" >"$work/prefix/share/doc/other"
"$cmake" --install "$build" --prefix "$work/prefix" >/dev/null
(cd "$build" && umask 022 && rm -f ./*.deb ./*.deb.sha256 && "$cpack" -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack failed"; }
! grep -q "CMake Warning" "$work/cpack.log" || { cat "$work/cpack.log"; fail "cpack warned"; }
"$cmake" --build "$build" --target uninstall >/dev/null
[ "$(cd "$work/prefix" && find . | sort | tr '\n' ' ')" = ". ./share ./share/doc ./share/doc/other " ] ||
  fail "the uninstall left: $(cd "$work/prefix" && find . | sort | tr '\n' ' ')"
deb=$(ls "$build"/*.deb)
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"
depends=$(dpkg-deb -f "$deb" Depends)
echo "$depends" | grep -q 'libc6 (>=' || fail "dependencies were not computed from the binary"
# The console keeps to the C library, so that the game needs nothing else at run time.
! echo "$depends" | grep -q 'libstdc++' || fail "the game depends on the C++ library: $depends"

dpkg-deb -x "$deb" "$work/root"
for document in man/man6/stickquest.6.gz doc/stickquest/README.md.gz; do
  gzip -t "$work/root/usr/share/$document" || fail "$document is not gzip-compressed"
done
game=$work/root/usr/games/stickquest
[ -x "$game" ] || fail "no executable in /usr/games"
# It waits with pselect alone, which every POSIX system has: ppoll is missing on macOS and others.
waits=$(nm -D --undefined-only "$game" | sed -n 's/^ *U \(p\{0,1\}poll\)@.*/\1/p')
[ -z "$waits" ] || fail "the game calls $waits, which not every POSIX system has"

printf 'q\n' | "$game" >"$work/played" || fail "unpacked game exited with status $?"
printf 'q\n' | "$build/stickquest" >"$work/built"
cmp -s "$work/played" "$work/built" || fail "unpacked game does not play like the one built"
[ "$(tail -c 7 "$work/played" | od -An -tx1 | tr -d ' \n')" = 1b5b481b5b324a ] || fail "q did not clear"
echo "package: $(basename "$deb") plays"
