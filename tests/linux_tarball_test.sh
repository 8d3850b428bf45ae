#!/bin/sh
# SPDX-License-Identifier: MIT
# A Linux release tarball: one folder holding the game, its manual page, the README, the licence, the
# notices of musl and the changelog; a game that needs no interpreter and no library, stripped, and
# linked with musl; and one that plays the castle's roads from where it was unpacked, as the game of
# this machine's own build plays them.
# usage: linux_tarball_test.sh TARBALL REFERENCE_GAME [EMULATOR]
set -eu
tarball=$1 reference=$2 emulator=${3-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "linux tarball: $*"; exit 1; }

name=$(basename "$tarball" .tar.xz)
listed=$(tar -tJf "$tarball" | sort | tr '\n' ' ')
expected=$(printf "$name/%s " CHANGELOG.md LICENSE NOTICES.txt README.md stickquest stickquest.6)
[ "$listed" = "$expected" ] || fail "it holds $listed"
tar -xJf "$tarball" -C "$work"
game=$work/$name/stickquest
headers=$(readelf -lW "$game")
! echo "$headers" | grep -q INTERP || fail "the game needs an interpreter: $(echo "$headers" | grep -A1 INTERP)"
! readelf -dW "$game" | grep -q NEEDED || fail "the game needs libraries"
! readelf -SW "$game" | grep -q '[.]symtab' || fail "the game is not stripped"
# Linked with musl, the game is some tens of KiB; with glibc it was over 600.
[ "$(stat -c %s "$game")" -lt 131072 ] || fail "the game is $(stat -c %s "$game") bytes: is it linked with musl?"

# Its README's commands are those of the unpacked folder.
! grep -q 'build/' "$work/$name/README.md" && grep -q '^\./stickquest x ' "$work/$name/README.md" ||
  fail "its README does not tell how to play from where it lies"

# Back from the castle, to the castle from the return journey twice, back, and away.
road='2\n1\n2\n2\n1\nq\nx\n'
printf "$road" | (cd "$work/$name" && $emulator ./stickquest) >"$work/played" || fail "the game exited with status $?"
printf "$road" | "$reference" >"$work/reference"
cmp -s "$work/played" "$work/reference" || fail "the unpacked game does not play like $reference"
echo "linux tarball: $name is static, stripped, and plays $(wc -c <"$work/played") bytes as it should"
