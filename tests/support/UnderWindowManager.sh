#!/bin/sh
# Runs a test program on the X server that xvfb-run has started, under the openbox window manager,
# and ends with the program's exit code. The window manager is waited for (it says when it has
# started), not given a fixed time.
#   UnderWindowManager.sh PROGRAM [ARGUMENT...]
started=$(mktemp -u)
openbox --startup "touch $started" &
manager=$!
for i in $(seq 100); do
    [ -e "$started" ] && break
    sleep 0.05
done
rm -f "$started"

"$@"
code=$?
kill $manager 2>/dev/null
exit $code
