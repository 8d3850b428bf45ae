#!/bin/sh
# The manual page must render with every groff warning enabled and none given.
# usage: man_page_test.sh PAGE
set -eu
warnings=$(groff -ww -mandoc -Tutf8 "$1" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "$warnings"; exit 1; }
