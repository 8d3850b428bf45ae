#!/bin/sh
# SPDX-License-Identifier: MIT
# Castle visits nest in constant memory: a million nested visits peak no more than 1 MiB above ten.
# usage: memory_test.sh GNU_TIME GAME
set -eu
time=$1 game=$2
report=$(mktemp)
trap 'rm -f "$report"' EXIT
# Peak resident KiB for DEPTH nested visits: "2" at the castle alternating with "2" on the return
# journey that "1" starts. The game is started by time(1), whose %M is the game's alone. A visit
# draws under 2 KiB: a game that writes on and on is cut off at twice that, rather than at ctest's
# time-out.
peak() { # DEPTH
  most=$(($1 * 4096))
  written=$({ echo 2; yes '2
1
2' | head -n $(($1 / 2 * 3)); } | "$time" -f %M -o "$report" "$game" | head -c "$most" | wc -c)
  [ "$written" -lt "$most" ] || { echo "the game wrote $most bytes and more for $1 visits" >&2; exit 1; }
  tail -n 1 "$report"
}
shallow=$(peak 10)
deep=$(peak 1000000)
echo "peak resident KiB: 10 visits $shallow, a million $deep"
[ "$deep" -le $((shallow + 1024)) ]
