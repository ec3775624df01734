#!/bin/sh
# Another reader of compiled help files (chmlib's extract_chmLib) takes the program's help file
# apart and finds every page of the manual in it.
#   HelpFileInAnotherReaderTest.sh HELP_FILE
help_file=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

extract_chmLib "$help_file" "$out" >/dev/null || exit 1
for page in quillon quil3x2q quil5n02 letters chains corenums chart yletter print links keys cmdline helpfile; do
    test -s "$out/html/$page.htm" || { echo "missing: html/$page.htm"; exit 1; }
done
