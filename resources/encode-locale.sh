#!/usr/bin/env bash
# encode-locale.sh SOURCE TARGET: a language file as the profile functions read it whole, UTF-16LE with a
# byte-order mark and CRLF line ends, from its UTF-8 source.
set -euo pipefail
tmp="$2.tmp"
printf '\xff\xfe' > "$tmp"
sed 's/\r$//; s/$/\r/' "$1" | iconv -f UTF-8 -t UTF-16LE >> "$tmp"
mv "$tmp" "$2"
