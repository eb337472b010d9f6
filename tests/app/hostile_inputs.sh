#!/usr/bin/env bash
# Runs the built kelvarine-cli on hostile and odd inputs: special files, vanishing, growing, huge and
# oddly named files, one-bucket lines, a very long line and a very large directory. Each run must end
# by itself with the status a user would want, and must leave every input unwritten and untouched.
# Usage: hostile_inputs.sh path/to/kelvarine-cli
set -u
cli="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
work="$(mktemp -d)"
writer=""
sock=""
cleanup() {
  [ -n "$writer" ] && kill "$writer" 2>/dev/null
  [ -n "$sock" ] && kill "$sock" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work" || exit 1

open_error="ERROR: Brisolan encountered an I/O problem opening an Input File."
equal="INFORM: The processed files compare as equivalent files. "
different="INFORM: The processed files have differences."
too_large="ERROR: File GT 2 GB. Use Quentabrix for partial 2GB compare"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# fingerprint PATH...: content checksum, size and modification time (nanoseconds) of every file
# below the given paths; special files by their type and time only, so nothing here opens them.
fingerprint() {
  find "$@" -printf '%p %y %s %T@\n' | sort
  find "$@" -type f -size -128M -print0 | sort -z | xargs -0r md5sum
}

# run NAME LIMIT_SECONDS WANT_STATUS WANT_LAST_LINE ARGS...: runs the program with a time limit
# (status 124 on a hang), checks its status and the last line of standard output (or, when
# WANT_LAST_LINE is empty, that standard output is empty), checks that the inputs in INPUTS are
# unchanged, and prints the case's time.
INPUTS=()
run() {
  local name="$1" limit="$2" want="$3" last="$4" out="$work/out" err="$work/err"
  shift 4
  local before after start end got
  before="$(fingerprint "${INPUTS[@]}")"
  start=$(date +%s%N)
  timeout -k 5 "$limit" "$cli" --no-progress "$@" >"$work/out" 2>"$work/err" </dev/null
  got=$?
  end=$(date +%s%N)
  printf '%-44s status %3d  %6d ms\n' "$name" "$got" $(((end - start) / 1000000))
  [ "$got" -ne 124 ] || fail "$name: no end within $limit s"
  [ "$got" -eq "$want" ] || fail "$name: exit status $got, expected $want; stderr: $(head -c 300 "$err")"
  if [ -z "$last" ]; then
    [ ! -s "$out" ] || fail "$name: standard output is not empty"
  else
    [ "$(tail -n 1 "$out")" = "$last" ] || fail "$name: last line of standard output is '$(tail -n 1 "$out")'"
  fi
  grep -q "AddressSanitizer\|runtime error" "$err" && fail "$name: sanitizer report: $(head -c 300 "$err")"
  after="$(fingerprint "${INPUTS[@]}")"
  [ "$before" = "$after" ] || fail "$name: an input was written or touched"
}

# --- Special files: a FIFO, a socket and devices, named or inside a compared directory -------------
mkdir -p new old
printf 'alpha\nbeta\n' >new/a.txt
printf 'alpha\nBETA\n' >old/a.txt
mkfifo new/pipe old/pipe
python3 -c 'import socket,sys,time; s=socket.socket(socket.AF_UNIX); s.bind(sys.argv[1]); s.listen(); time.sleep(120)' new/sock &
sock=$!
for _ in $(seq 50); do [ -S new/sock ] && break; sleep 0.1; done
[ -S new/sock ] || fail "could not make a socket"
ln -s /dev/zero new/zero
ln -s /dev/null old/zero
INPUTS=(new old)
run "socket as NEW" 10 2 "" new/sock old/a.txt
grep -q 'Invalid New Input File Name' err || fail "socket as NEW: no message: $(cat err)"
# Character devices named on the command line read as empty files: /dev/zero is never read.
run "/dev/zero as NEW reads as empty" 10 1 "$different" /dev/zero old/a.txt
grep -q '^D - alpha' out || fail "/dev/zero as NEW: the Old lines are not deleted"
run "FIFO, socket, devices in directories" 10 1 "$different" new old
grep -q "pipe\|sock\|zero" out && fail "special files in directories: listed: $(grep 'pipe\|sock\|zero' out)"
run "FIFO selected by name, type 3" 10 2 "" -t 3 --select pipe new old
grep -q '"pipe" is not among the like-named files' err || fail "FIFO selected: no message: $(cat err)"
kill "$sock" 2>/dev/null
wait "$sock" 2>/dev/null
sock=""

# --- A file that cannot be read: a dangling link, and a mode-000 file read as user nobody ----------
mkdir -p unr_new unr_old
printf 'one\n' >unr_new/ok.txt
printf 'two\n' >unr_old/ok.txt
ln -s nowhere unr_new/gone.txt
printf 'x\n' >unr_old/gone.txt
INPUTS=(unr_new unr_old)
run "dangling link as NEW" 10 2 "" unr_new/gone.txt unr_old/gone.txt
# Named once on standard error, the rest compared, and exit status 2 (as diff -r).
mkdir unr_new/sub && ln -s loop_b unr_new/sub/loop_a && ln -s loop_a unr_new/sub/loop_b
run "dangling link, link loop in a tree (-r)" 10 2 "$different" -r unr_new unr_old
[ "$(sort err | head -n 3)" = "File not compared: unr_new/gone.txt: No such file or directory
File not compared: unr_new/sub/loop_a: Too many levels of symbolic links
File not compared: unr_new/sub/loop_b: Too many levels of symbolic links" ] || fail "dangling link, loop: $(cat err)"
rm -r unr_new/sub
if setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
  chmod 755 "$work"
  printf 'secret\n' >unr_new/locked.txt
  printf 'secret\n' >unr_old/locked.txt
  chmod 000 unr_new/locked.txt
  chmod -R a+rX unr_old
  chmod a+rx unr_new
  run_cli="$cli"
  cli="$work/as_nobody"
  printf '#!/bin/sh\nexec setpriv --reuid=65534 --regid=65534 --clear-groups "%s" "$@"\n' "$run_cli" >"$cli"
  chmod 755 "$cli"
  if "$cli" --help >/dev/null 2>&1; then
    run "unreadable file as NEW (user nobody)" 10 2 "$open_error" unr_new/locked.txt unr_old/locked.txt
    grep -q 'Error while trying to open valid New Input File "unr_new/locked.txt"' err ||
      fail "unreadable NEW: no message: $(cat err)"
    [ "$(grep -cx 'unr_new/locked.txt: Permission denied' err)" = 1 ] ||
      fail "unreadable NEW: the reason is not given once, after the message: $(cat err)"
    run "unreadable file in a directory (nobody)" 10 2 "$open_error" unr_new unr_old
    grep -q "^Err=  locked.txt" out || fail "unreadable file in a directory: not marked Err="
    grep -q "^\*     ok.txt" out || fail "unreadable file in a directory: the other pair is not compared"
  else
    echo "skipped: user nobody cannot run $run_cli"
  fi
  cli="$run_cli"
  rm -f "$work/as_nobody"
else
  echo "skipped: setpriv cannot switch to user nobody"
fi

# --- A tree deeper than a path can name: 2,100 nested directories, a differing file at the bottom --
# Made in one process (perl is part of every Debian system): a mkdir and a cd of the shell per level
# take minutes at that depth.
for side in new old; do
  (mkdir deep_$side && cd deep_$side &&
    perl -e 'for (1 .. 2100) { mkdir "d" or die "mkdir: $!"; chdir "d" or die "chdir: $!" }
             open(my $f, ">", "f") or die "f: $!"; print $f "$ARGV[0]\n"' -- $side) ||
    fail "2,100 nested directories could not be made"
done
# (Not through run: find and md5sum cannot name a file that deep.)
timeout -k 5 30 "$cli" --no-progress -r deep_new deep_old >out 2>err </dev/null
[ $? -eq 1 ] && grep -q '^I - new' out || fail "2,100 nested directories: the bottom pair is not compared: $(cat err)"
rm -rf deep_new deep_old

# --- A file that grows while it is compared (by about 9 MB, then the writer stops) ----------------
mkdir -p grow
seq 1 800000 | sed 's/^/line /' >grow/new.txt
cp grow/new.txt grow/old.txt
INPUTS=(grow/old.txt)
(for _ in $(seq 1000); do seq 1 2000 >>grow/new.txt; done) &
writer=$!
sleep 0.2
start=$(date +%s%N)
timeout -k 5 60 "$cli" --no-progress grow/new.txt grow/old.txt >out 2>err </dev/null
got=$?
end=$(date +%s%N)
kill "$writer" 2>/dev/null
wait "$writer" 2>/dev/null
writer=""
printf '%-44s status %3d  %6d ms\n' "growing NEW" "$got" $(((end - start) / 1000000))
[ "$got" -le 2 ] || fail "growing NEW: exit status $got"
tail -n 1 out | grep -q '^INFORM: \|^ERROR: ' || fail "growing NEW: no status line"
tail -n 1 err | grep -q '^INFORM: \|^ERROR: ' || fail "growing NEW: no status text on standard error"
# ... and one that shrinks.
seq 1 800000 | sed 's/^/line /' >grow/new.txt
(sleep 0.1; : >grow/new.txt) &
writer=$!
start=$(date +%s%N)
timeout -k 5 60 "$cli" --no-progress grow/new.txt grow/old.txt >out 2>err </dev/null
got=$?
end=$(date +%s%N)
wait "$writer" 2>/dev/null
writer=""
printf '%-44s status %3d  %6d ms\n' "shrinking NEW (emptied after 0.1 s)" "$got" $(((end - start) / 1000000))
[ "$got" -le 2 ] || fail "shrinking NEW: exit status $got"
tail -n 1 out | grep -q '^INFORM: \|^ERROR: ' || fail "shrinking NEW: no status line"

# --- A 3 GB sparse file: refused at once, nothing read ------------------------------------------
mkdir -p sparse_new sparse_old
truncate -s 3G sparse_new/huge.bin
truncate -s 3G sparse_old/huge.bin
printf 'x\n' >sparse_new/small.txt
printf 'y\n' >sparse_old/small.txt
INPUTS=(sparse_new sparse_old)
run "3 GB sparse pair" 2 2 "$too_large" sparse_new/huge.bin sparse_old/huge.bin
run "3 GB sparse file in a directory" 2 2 "$too_large" sparse_new sparse_old
grep -q "small.txt" out || fail "3 GB sparse in a directory: the other pair is not compared"

# --- 10,000 identical lines against a shuffled copy, with moved-line search ----------------------
mkdir -p bucket
yes 'the same line' | head -n 10000 >bucket/new.txt
awk '{ print ((NR % 7) ? "the same line" : "other " NR) }' bucket/new.txt | shuf --random-source=<(yes) >bucket/old.txt
INPUTS=(bucket)
run "10,000 one-bucket lines, shuffled, Fmvl" 120 1 "$different" -o Fmvl -l long bucket/new.txt bucket/old.txt

# --- One line of 100 MB (taken in pieces of 2048 bytes) ------------------------------------------
mkdir -p long
head -c 100000000 /dev/zero | tr '\0' 'a' >long/new.txt
{ head -c 50000000 /dev/zero | tr '\0' 'a'; printf 'b'; head -c 49999999 /dev/zero | tr '\0' 'a'; } >long/old.txt
INPUTS=(long)
run "one 100 MB line, one byte changed" 120 1 "$different" long/new.txt long/old.txt
run "one 100 MB line against itself" 120 0 "$equal" long/new.txt long/new.txt
rm -rf long

# --- Odd names ---------------------------------------------------------------------------------
mkdir -p names/new names/old
for n in "with  blanks .txt" $'caf\xc3\xa9.txt' $'raw\xff\xfe.txt' "-dash.txt" "--double.txt"; do
  printf 'same\n' >"names/new/$n"
  printf 'same\n' >"names/old/$n"
done
printf 'lower\n' >names/new/case.txt
printf 'upper\n' >names/new/CASE.txt
printf 'lower\n' >names/old/case.txt
INPUTS=(names)
run "names with blanks" 10 0 "$equal" "names/new/with  blanks .txt" "names/old/with  blanks .txt"
run "non-ASCII name" 10 0 "$equal" $'names/new/caf\xc3\xa9.txt' $'names/old/caf\xc3\xa9.txt'
run "invalid UTF-8 name" 10 0 "$equal" $'names/new/raw\xff\xfe.txt' $'names/old/raw\xff\xfe.txt'
cd names/new || exit 1
INPUTS=(. ../old)
run "leading dash after --" 10 0 "$equal" -- -dash.txt ../old/-dash.txt
run "leading double dash after --" 10 0 "$equal" -- --double.txt ../old/--double.txt
cd "$work" || exit 1
INPUTS=(names)
# Names pair by exact spelling first: CASE.txt has no partner, a file on one side only (exit 1).
run "names differing only in case" 10 1 "$equal" -o Inpn names/new names/old
for n in "with  blanks .txt" "-dash.txt" "--double.txt" "case.txt" "CASE.txt"; do
  grep -qF -- "$n" out || fail "odd names in a directory: '$n' not listed"
done

# --- A directory of many empty files against a copy ---------------------------------------------
count=100000
mkdir -p many/new
(cd many/new && seq -f 'f%06g' 1 "$count" | xargs touch)
cp -a many/new many/old
INPUTS=(many)
run "$count empty files, type 2" 60 0 "INFORM: Nothing compared possibly due to filtering or empty files. " many/new many/old

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" && exit 1; }
echo "all hostile-input checks passed"
