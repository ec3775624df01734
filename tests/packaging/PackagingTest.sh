#!/usr/bin/env bash
# Checks what a user installs.
#   PackagingTest.sh install BUILD   installs BUILD into a staging folder (DESTDIR, prefix /usr)
#   PackagingTest.sh deb BUILD       makes the Debian package of BUILD and unpacks it
# Either way the tree must hold exactly the files of installed-files.txt, the menu entry and the
# AppStream file must pass their validators, the icons must have the sizes their folders name, and
# the installed program must run and find its help file without the build tree.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
mode="$1"
build="$(cd "$2" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# The regular files and links below ROOT, relative to it, sorted.
files_of() {
  (cd "$1" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
}

check_tree() {
  local root="$1"
  local expected
  expected="$(LC_ALL=C sort "$here/installed-files.txt")"
  if ! diff -u <(echo "$expected") <(files_of "$root") >"$work/files.diff"; then
    fail "the installed files differ from installed-files.txt:"
    cat "$work/files.diff" >&2
  fi

  desktop-file-validate "$root"/usr/share/applications/*.desktop || fail "desktop-file-validate"
  # Errors and warnings fail the validation; notes (an id under a reserved domain) do not.
  appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml >"$work/appstream" 2>&1 ||
    { fail "appstreamcli validate"; cat "$work/appstream" >&2; }
  local version
  version="$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$root"/usr/share/metainfo/*.metainfo.xml)"
  [ "$version" = "$(expected_version)" ] || fail "the AppStream release is '$version'"
  local exec
  exec="$(sed -n 's/^Exec=//p' "$root"/usr/share/applications/*.desktop)"
  [ -x "$root/usr/bin/$exec" ] || fail "the menu entry starts '$exec', which is not in usr/bin"

  local png size
  for png in "$root"/usr/share/icons/hicolor/*x*/apps/quillon.png; do
    size="$(basename "$(dirname "$(dirname "$png")")")"
    file -b "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not a ${size} PNG: $(file -b "$png")"
  done
  zcat "$root/usr/share/man/man1/quillon.1.gz" | grep -q '^\.TH QUILLON 1' || fail "the manual page has no .TH QUILLON 1"
  bash -n "$root/usr/share/bash-completion/completions/quillon" || fail "the bash completion does not parse"

  check_program "$root/usr/bin/quillon"
}

expected_version() {
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt"
}

# The installed program answers commands from a folder of its own and finds the installed help
# file (share/quillon beside its bin folder), not the one of the build tree.
check_program() {
  local program="$1" out
  mkdir -p "$work/elsewhere"
  cd "$work/elsewhere"
  out="$("$program" --version)" || fail "quillon --version failed"
  [ "$out" = "Quillon Ver. $(expected_version)" ] || fail "quillon --version printed '$out'"
  out="$("$program" analyse --json MARY)" || fail "quillon analyse failed"
  echo "$out" | grep -q '"Total": "21 / 3"' || fail "quillon analyse MARY printed: $out"
  out="$(QT_QPA_PLATFORM=offscreen "$program" help --text html/quil5n02.htm 2>&1)" ||
    fail "quillon help --text failed: $out"
  echo "$out" | grep -qi "calculator" || fail "the calculator's help page reads: $out"
  cd "$work"
}

case "$mode" in
  install)
    DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null
    check_tree "$work/stage"
    ;;
  deb)
    cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
      { cat "$work/cpack.log" >&2; exit 1; }
    deb="$work/package/quillon_$(expected_version)_amd64.deb"
    [ -f "$deb" ] || { ls "$work/package" >&2; fail "no $(basename "$deb")"; exit 1; }
    info="$(dpkg-deb --info "$deb")"
    for field in "Package: quillon" "Version: $(expected_version)" "Architecture: amd64"; do
      echo "$info" | grep -q "^ $field\$" || fail "the control file has no '$field'"
    done
    depends="$(echo "$info" | sed -n 's/^ Depends: //p')"
    for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libchm1 libcups2 fonts-liberation; do
      echo "$depends" | tr ',' '\n' | awk '{print $1}' | grep -Fxq "$package" || fail "Depends lacks $package: $depends"
    done
    # The package's file list is the installation's.
    dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print substr($6, 3)}' | LC_ALL=C sort >"$work/contents"
    diff -u <(LC_ALL=C sort "$here/installed-files.txt") "$work/contents" >&2 || fail "the package's files differ"
    dpkg-deb -x "$deb" "$work/root"
    check_tree "$work/root"
    ;;
  *)
    echo "usage: PackagingTest.sh install|deb BUILD" >&2
    exit 2
    ;;
esac

[ "$failures" -eq 0 ]
