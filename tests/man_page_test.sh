#!/bin/sh
# SPDX-License-Identifier: MIT
# The manual page must render with every groff warning enabled and none given, and fit the 80
# columns that the game asks for, as man lays it out there (MANWIDTH=80: lines of 78).
# usage: man_page_test.sh GROFF PAGE
set -u
warnings=$("$1" -ww -mandoc -Tutf8 "$2" 2>&1 >/dev/null) || { echo "man page: $1 failed: $warnings"; exit 1; }
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
wide=$("$1" -mandoc -Tascii -P-cbou -rLL=78n "$2" | awk 'length > 80')
[ -z "$wide" ] || { echo "man page: lines wider than 80 columns:"; echo "$wide"; exit 1; }
