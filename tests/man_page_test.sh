#!/bin/sh
# SPDX-License-Identifier: MIT
# The manual page must render with every groff warning enabled and none given.
# usage: man_page_test.sh GROFF PAGE
set -u
warnings=$("$1" -ww -mandoc -Tutf8 "$2" 2>&1 >/dev/null) || { echo "man page: $1 failed: $warnings"; exit 1; }
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
