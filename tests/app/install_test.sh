#!/usr/bin/env bash
# Installs a built tree into a temporary DESTDIR as a Debian system would (prefix /usr), runs the
# installed programs, checks the desktop entry, the manual pages and the bash completion, then builds
# the .deb and checks what it holds.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

for tool in desktop-file-validate groff gzip dpkg-deb dpkg-shlibdeps file cpack appstreamcli; do
  command -v "$tool" >/dev/null || { echo "missing tool $tool: run scripts/setup" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"

DESTDIR="$root" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }

expected=(
  usr/bin/kelvarine usr/bin/kelvarine-cli usr/share/kelvarine/Brisolan.hlp
  usr/share/applications/kelvarine.desktop usr/share/icons/hicolor/scalable/apps/kelvarine.svg
  usr/share/icons/hicolor/{16x16,256x256}/apps/kelvarine.png usr/share/man/man1/kelvarine{,-cli}.1.gz
  usr/share/bash-completion/completions/kelvarine-cli usr/share/metainfo/io.github.kelvarine.metainfo.xml
  usr/share/doc/kelvarine/{copyright,changelog.Debian.gz}
)
for path in "${expected[@]}"; do
  [ -e "$root/$path" ] || fail "not installed: /$path"
done

# The licence: MIT at the top of the source tree and, in Debian's machine-readable format, in the package.
grep -qx "MIT License" "$source_dir/LICENSE" && [ "$(grep -c '^License: MIT$' "$root/usr/share/doc/kelvarine/copyright")" -eq 2 ] &&
  grep -q "^Format: .*copyright-format/1.0/$" "$root/usr/share/doc/kelvarine/copyright" || fail "LICENSE or copyright file"

# The installed command line on the examples: they differ, so exit status 1.
status=0
(cd "$source_dir" && "$root/usr/bin/kelvarine-cli" -q --no-progress examples/new examples/old) \
  2>"$work/cli.err" || status=$?
[ "$status" -eq 1 ] || { cat "$work/cli.err" >&2; fail "kelvarine-cli on examples/: exit $status, expected 1"; }

# The installed desktop program starts and finds the installed help file. Its settings and runtime
# directories are kept inside the work directory; leak reports of Qt's own allocations are not ours.
status=0
help=$(env HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen \
  ASAN_OPTIONS=detect_leaks=0 "$root/usr/bin/kelvarine" --help-file-path 2>"$work/gui.err") || status=$?
if [ "$status" -ne 0 ]; then
  cat "$work/gui.err" >&2
  fail "kelvarine --help-file-path: exit $status"
elif [ "$(realpath "$help")" != "$(realpath "$root/usr/share/kelvarine/Brisolan.hlp")" ]; then
  fail "kelvarine found the help file at \"$help\", not the installed one"
fi

# desktop-file-validate prints hints (two main categories) that are not errors; its status decides.
desktop-file-validate "$root/usr/share/applications/kelvarine.desktop" >"$work/desktop.log" 2>&1 ||
  { cat "$work/desktop.log" >&2; fail "desktop-file-validate kelvarine.desktop"; }

appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.kelvarine.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }

for page in kelvarine kelvarine-cli; do
  warnings=$(gzip -dc "$root/usr/share/man/man1/$page.1.gz" | groff -ww -z -man 2>&1) || true
  [ -z "$warnings" ] || { echo "$warnings" >&2; fail "groff warnings in $page.1"; }
  gzip -dc "$root/usr/share/man/man1/$page.1.gz" | awk '/^\.SH/ { examples = ($2 == "EXAMPLES") }
    examples && previous == ".RE" && $0 != ".PP" { bad = 1 } { previous = $0 } END { exit bad }' ||
    fail "$page.1: two examples run together (no .PP after .RE)"
done

# Every kelvarine-cli option named in --help is offered by the completion, and its word lists work.
completion="$root/usr/share/bash-completion/completions/kelvarine-cli"
complete_words() {  # complete_words WORD... : the completions of the last word
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1));
           _kelvarine_cli kelvarine-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}";
           printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" kelvarine-cli "$@"
}
offered=$(complete_words -)
for option in $("$root/usr/bin/kelvarine-cli" --help | grep -oE -- '--[a-z][a-z-]+' | sort -u); do
  grep -qxF -- "$option" <<<"$offered" || fail "completion lacks $option"
done
[ "$(complete_words -l D)" = "Delta" ] || fail "completion of -l D"
[ "$(complete_words -o "Dcpp Fm")" = "Dcpp Fmvl" ] || fail "completion of -o \"Dcpp Fm\""

# The Debian package: built with cpack, dependencies from dpkg-shlibdeps, every installed file inside.
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack -G DEB"
else
  deb=$(find "$work/package" -maxdepth 1 -name 'kelvarine_*.deb' | head -n 1)
  if [ -z "$deb" ]; then
    fail "cpack made no kelvarine_*.deb"
  else
    dpkg-deb -c "$deb" >"$work/contents"
    for path in "${expected[@]}"; do
      grep -q " \./$path\$" "$work/contents" || fail "not in the package: /$path"
    done
    [ "$(dpkg-deb -f "$deb" Package)" = kelvarine ] || fail "package name"
    depends=$(dpkg-deb -f "$deb" Depends)
    grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks the Qt 6 widgets library: \"$depends\""
    grep -q 'libc6' <<<"$depends" || fail "Depends lacks libc6: \"$depends\""
    # Debian's package checker finds no error (its warnings are shown, not failed on).
    ! command -v lintian >/dev/null || lintian --fail-on error --tag-display-limit 0 "$deb" >&2 ||
      fail "lintian reports errors"
  fi
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install and package: all checks passed"
