#!/bin/sh
# A device given as the output is written to, never replaced, and a full one fails the command
# with the reason: export with exit code 1, batch with exit code 2.
#   ExportToAFullDeviceTest.sh QUILLON
quillon=$1

test -c /dev/full || { echo "/dev/full is no device"; exit 1; }
message=$("$quillon" export -o /dev/full MARY 2>&1)
code=$?
[ $code -eq 1 ] && [ "$message" = 'quillon: Stream write error: No space left on device' ] || {
    echo "export: $code $message"
    exit 1
}
message=$(echo MARY | "$quillon" batch -o /dev/full 2>&1)
code=$?
[ $code -eq 2 ] && [ "$message" = 'quillon: Stream write error: No space left on device' ] || {
    echo "batch: $code $message"
    exit 1
}
