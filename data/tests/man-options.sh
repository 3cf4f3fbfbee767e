#!/usr/bin/env bash
# The OPTIONS section of tintwave-cli's manual page names exactly the options of --help.
#   man-options.sh <tintwave-cli> <tintwave-cli.1>
set -euo pipefail
cli=$1 page=$2

# "  -o, --output FILE" in --help; ".BR \-o \", \" \-\-output" on the line after .TP (a value
# such as ".B mc\-hex" is no option).
from_help=$("$cli" --help | grep -oE '^  (-[a-zA-Z], )?--[a-z][a-z-]*' |
  grep -oE -- '-{1,2}[a-zA-Z][a-z-]*' | sort)
from_page=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$page" | grep -A1 '^\.TP' |
  grep -oE '(^\.B[IR]? |", " )\\-(\\-)?[a-zA-Z]([a-zA-Z]|\\-)*' | sed 's/^[^\\]*//' |
  tr -d '\\' | sort)
if [ "$from_help" != "$from_page" ]; then
  echo "options of --help (<) and of $page (>) differ:"
  diff <(echo "$from_help") <(echo "$from_page")
  exit 1
fi
echo "$(echo "$from_page" | wc -l) options, the same in both"
