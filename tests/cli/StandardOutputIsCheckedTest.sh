#!/bin/sh
# Whatever a command writes to standard output must get there. With standard output on a full
# device every command that prints fails with exit code 1 and the reason, whatever it printed
# before; a closed standard output fails the same way. (Run with CUPS_SERVER pointing nowhere, so
# that "printers" answers at once.)
#   StandardOutputIsCheckedTest.sh QUILLON TEMPLATE_FILE
set -u
quillon=$1
template=$2

for command in 'prepare print --json X' 'analyse X' 'analyse --json X' 'template show $template' \
    'help --text html/quil5n02.htm' 'help --list' 'calc 1+1=' 'links' 'links --json' 'printers --json' \
    '--help' '--version' 'analyse --help' 'batch --help'; do
    message=$(eval "\"\$quillon\" $command" 2>&1 >/dev/full)
    code=$?
    if [ $code -ne 1 ] || [ "$message" != 'quillon: write error: No space left on device' ]; then
        echo "$command: $code $message"
        exit 1
    fi
done

# A closed standard output: the write fails, and export, which opens "-" as its file, says so at once.
message=$("$quillon" analyse X 2>&1 >&-)
[ $? -eq 1 ] && [ "$message" = 'quillon: write error: standard output is closed' ] || {
    echo "analyse, output closed: $message"
    exit 1
}
message=$("$quillon" export -o - X 2>&1 >&-)
[ $? -eq 1 ] && [ "$message" = 'quillon: standard output is closed' ] || {
    echo "export -o -, output closed: $message"
    exit 1
}

# The same command succeeds where its output can be written.
"$quillon" analyse X >/dev/null
