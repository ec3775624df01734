#!/bin/sh
# Links that another user planted in a shared folder such as /tmp. Both need root (they act as, or
# hand links to, the user nobody) and pass as skipped without it.
#   SharedFolderLinksTest.sh probe QUILLON    a second user whose temporary folder holds a link
#                                             under the name of the old writability probe: starting
#                                             the program leaves the link's target alone
#   SharedFolderLinksTest.sh writers QUILLON  another user's link in a shared (sticky,
#                                             world-writable) folder is followed by no writer:
#                                             export, batch and the screenshots refuse it, export
#                                             naming its owner
mode=$1
quillon=$2

shared=$(mktemp -d)
victim=$(mktemp -d)
trap 'rm -rf "$shared" "$victim"' EXIT

case $mode in
    probe)
        [ "$(id -u)" -eq 0 ] && command -v runuser >/dev/null || { echo 'needs root and runuser: skipped'; exit 0; }
        chmod 0777 "$shared"
        chmod 0755 "$victim"
        echo precious >"$victim/victim"
        chown nobody "$victim/victim"
        ln -s "$victim/victim" "$shared/\$_Temp_\$.\$\$\$"
        runuser -u nobody -- env TMPDIR="$shared" "$quillon" --version >/dev/null
        code=$?
        [ $code -eq 0 ] && [ "$(cat "$victim/victim")" = precious ]
        ;;
    writers)
        [ "$(id -u)" -eq 0 ] || { echo 'needs root: skipped'; exit 0; }
        chmod 1777 "$shared"
        echo precious >"$victim/victim"
        mkdir "$victim/shots"
        ln -s "$victim/victim" "$shared/report.rtf"
        ln -s "$victim/shots" "$shared/shots"
        chown -h nobody "$shared/report.rtf" "$shared/shots"
        failed=
        message=$("$quillon" export -o "$shared/report.rtf" X 2>&1) && failed=export
        case $message in
            *"the link $shared/report.rtf belongs to nobody"*) ;;
            *) failed="$failed $message" ;;
        esac
        echo MARY | "$quillon" batch -o "$shared/report.rtf" 2>/dev/null && failed="$failed batch"
        "$quillon" --screenshot "$shared/shots" --data X 2>/dev/null && failed="$failed shots"
        [ "$(cat "$victim/victim")" = precious ] && [ -z "$(ls -A "$victim/shots")" ] || failed="$failed written"
        [ -z "$failed" ] || { echo $failed; exit 1; }
        ;;
    *)
        echo "usage: SharedFolderLinksTest.sh probe|writers QUILLON"
        exit 2
        ;;
esac
