#!/bin/sh
# Outputs off the common path: a file name with a control character in it is escaped in the
# message like any text; "print --pdf -" writes the PDF to standard output, not to a file named
# "-"; screenshots that do not fit (a file size limit of one block) fail and leave neither empty
# files nor hidden temporary ones behind.
#   OddOutputsTest.sh QUILLON
set -u
quillon=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder" || exit 1

escape=$(printf 'a\033[31mb')
message=$("$quillon" template show "$escape" 2>&1)
case $message in
    *'\x1B[31mb'*) ;;
    *) echo "template: $message"; exit 1 ;;
esac
message=$("$quillon" batch "$escape" 2>&1)
case $message in
    *'\x1B[31mb'*) ;;
    *) echo "batch: $message"; exit 1 ;;
esac

[ "$("$quillon" print --pdf - X | head -c 5)" = '%PDF-' ] && [ ! -e ./- ] || { echo pdf; exit 1; }

(trap '' XFSZ; ulimit -f 1; "$quillon" --screenshot shots --data X 2>/dev/null)
[ $? -eq 1 ] && [ -z "$(find shots -size 0)" ] && [ -z "$(ls -A shots | grep '^[.]')" ] || {
    echo shots
    ls -la shots
    exit 1
}
