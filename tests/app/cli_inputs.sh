#!/usr/bin/env bash
# Runs the built kelvarine-cli on inputs that are not plain named files (standard input, process
# substitution, FIFOs, /dev/null, a directory with a file) and checks colour escapes on standard output.
# Every run uses a fresh TMPDIR that must be empty afterwards, also after Ctrl-C.
# Usage: cli_inputs.sh path/to/kelvarine-cli
set -u
cli="$1"
work="$(mktemp -d)"
writer=""
trap '[ -n "$writer" ] && kill "$writer" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir tmp
export TMPDIR="$work/tmp"

equal="INFORM: The processed files compare as equivalent files. "
different="INFORM: The processed files have differences."
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# check NAME WANT_STATUS GOT_STATUS: the status, and no temporary copy left behind.
check() {
  [ "$3" -eq "$2" ] || fail "$1: exit status $3, expected $2; stderr: $(cat err)"
  [ -z "$(ls -A tmp)" ] || fail "$1: temporary files left: $(ls -A tmp)"
}
has() { grep -qF -- "$2" "$3" || fail "$1: $3 lacks '$2': $(head -c 400 "$3")"; }

mkdir dir
printf 'alpha\nbeta\ngamma\n' >a.txt
printf 'alpha\nBETA\ngamma\n' >b.txt
cp a.txt dir/a.txt

printf 'alpha\nbeta\ngamma\n' | "$cli" --no-progress - a.txt >out 2>err
check "standard input" 0 $?
has "standard input" "New File(1) = -  " out
"$cli" --no-progress a.txt <(cat b.txt) >out 2>err
check "process substitution" 1 $?
grep -q '^Old File(1) = /dev/fd/[0-9]*  ' out || fail "process substitution: not named as given: $(grep File out)"
"$cli" --no-progress a.txt /dev/null >out 2>err
check "/dev/null as OLD" 1 $?
[ "$(grep -c '^I - ' out)" -eq 3 ] || fail "/dev/null as OLD: not every line inserted: $(grep -c '^I - ' out)"
"$cli" --no-progress - - </dev/null >out 2>err
check "standard input twice" 2 $?

# A FIFO whose writer writes once: read once, compared and listed without a hang.
mkfifo fifo
printf 'alpha\nbeta\ngamma\n' >fifo &
writer=$!
timeout -k 2 10 "$cli" --no-progress -l Long fifo a.txt >out 2>err
check "FIFO read once" 0 $?
[ "$(tail -n 1 out)" = "$equal" ] || fail "FIFO read once: last line '$(tail -n 1 out)'"
wait "$writer" 2>/dev/null
writer=""

# A directory and a file: the file is compared with the directory's like-named file, either way round.
"$cli" --no-progress dir a.txt >out 2>err
check "directory and file" 0 $?
has "directory and file" "New File(1) = dir/a.txt  " out
"$cli" --no-progress b.txt dir/ >out 2>err
check "file and directory without its like-named file" 2 $?
has "file and directory without its like-named file" 'Invalid Old Input File Name "dir/b.txt" specified.' err

# Colour: never in a pipe by default, even on a colour terminal; always when asked, but never in --save.
TERM=xterm-256color "$cli" --no-progress a.txt b.txt >out 2>err
check "default colour in a pipe" 1 $?
! grep -q $'\033' out || fail "default colour in a pipe: an escape byte in standard output"
TERM=dumb COLORTERM= "$cli" --no-progress --color --save saved.txt a.txt b.txt >out 2>err
check "--color alone" 1 $?
has "--color alone" $'\033[1;31mD - BETA' out
has "--color alone" $'\033[34mI - beta' out
has "--color alone" $'\033[1m'"$different"$'\033[m' out
! grep -q $'\033' saved.txt || fail "--color: an escape byte in the --save file"
"$cli" --no-progress -u --color=always a.txt b.txt >out 2>err
check "-u --color=always" 1 $?
has "-u --color=always" $'\033[1m--- b.txt' out
has "-u --color=always" $'\033[36m@@ ' out
has "-u --color=always" $'\033[31m-BETA\033[m' out
has "-u --color=always" $'\033[32m+beta\033[m' out
"$cli" --no-progress -u a.txt b.txt | grep -q $'\033' && fail "-u in a pipe: an escape byte"
# What changed inside a paired change line is in reverse video on both of its lines.
printf 'k = 1;\n' >new.c && printf 'k = 2;\n' >old.c && "$cli" --no-progress --color=always new.c old.c >out 2>err
has "--color in-line marks" $'\033[34mI - k = \033[7m1\033[27m;' out
has "--color in-line marks" $'\033[1;31mD - k = \033[7m2\033[27m;' out
if command -v script >/dev/null; then
  TERM=xterm script -qc "'$cli' --no-progress a.txt b.txt" /dev/null >tty.txt 2>&1
  grep -q $'\033\\[34mI - beta' tty.txt || fail "terminal: the report is not coloured"
fi

# No room for the copy: a clear error. Ctrl-C while waiting for a slow pipe: status 130, nothing left.
TMPDIR="$work/missing" "$cli" --no-progress - a.txt <a.txt >out 2>err
[ $? -eq 2 ] || fail "no temporary directory: exit status not 2"
has "no temporary directory" "kelvarine-cli: -: cannot make a temporary copy in $work/missing" err
mkfifo slow
{ echo alpha; exec sleep 30; } >slow 2>/dev/null &
writer=$!
set -m  # so that the background program does not start with SIGINT ignored
"$cli" --no-progress slow a.txt >out 2>err &
pid=$!
sleep 1
kill -INT "$pid"
wait "$pid"
check "interrupted while reading a pipe" 130 $?
set +m

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" && exit 1; }
echo "all kelvarine-cli input checks passed"
