#!/bin/sh
# File names that are no UTF-8 name their own files, byte for byte, for every command that reads
# or writes one (export, batch, print --pdf, template save and show, the screenshots); no file
# gets a replacement character in its name instead, and a message shows such a byte as \xFF.
#   NamesThatAreNoUtf8Test.sh QUILLON
set -u
quillon=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1

# The file name with its escapes (\377 is the byte 0xFF) turned into bytes.
name() { printf "$1"; }

# Two names that differ only in a byte that is no UTF-8 are two files.
"$quillon" export -o "$(name 'a\377.rtf')" X && "$quillon" export -o "$(name 'a\376.rtf')" MARY &&
    ! cmp -s "$(name 'a\377.rtf')" "$(name 'a\376.rtf')" || { echo export; exit 1; }
name 'MARY\n' >"$(name '\377.csv')"
"$quillon" batch "$(name '\377.csv')" -o "$(name 'o\377.csv')" && grep -q MARY "$(name 'o\377.csv')" || {
    echo batch
    exit 1
}
"$quillon" print --pdf "$(name 'p\377.pdf')" X && test -s "$(name 'p\377.pdf')" || { echo print; exit 1; }
"$quillon" template save print -o "$(name 't\377.frf')" && "$quillon" template show "$(name 't\377.frf')" >/dev/null || {
    echo template
    exit 1
}
"$quillon" --screenshot "$(name 's\377')" --data X 2>/dev/null
test -s "$(name 's\377')/analysis.png" || { echo screenshot; exit 1; }

message=$("$quillon" template show "$(name 'n\377')" 2>&1)
[ "$message" = 'quillon: cannot read n\xFF: No such file or directory' ] || { echo "message: $message"; exit 1; }
# No name was "repaired" into U+FFFD.
ls -A | grep -q "$(name '\357\277\275')" && { echo replaced; ls -A; exit 1; }
exit 0
