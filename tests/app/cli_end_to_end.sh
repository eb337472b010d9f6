#!/usr/bin/env bash
# Runs the built kelvarine-cli on files written to a temporary directory and checks its exit statuses,
# that standard output ends with the status line and that standard error shows the status text.
# Usage: cli_end_to_end.sh path/to/kelvarine-cli
set -u
cli="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

equal="INFORM: The processed files compare as equivalent files. "
filtered="INFORM: The processed files compare as filtered equivalent files. "
nothing="INFORM: Nothing compared possibly due to filtering or empty files. "
different="INFORM: The processed files have differences."
ccol_error="ERROR: User error. Invalid CCol limits specified."
halted="INFORM: The User requested a premature program stop. "
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect NAME EXIT_STATUS LAST_STDOUT_LINE ARGS...: runs the program (stdout to out, stderr to err);
# an empty LAST_STDOUT_LINE means standard output must be empty.
expect() {
  local name="$1" want="$2" last="$3"
  shift 3
  "$cli" --no-progress "$@" >out 2>err
  local got=$?
  [ "$got" -eq "$want" ] || fail "$name: exit status $got, expected $want; stderr: $(cat err)"
  if [ -z "$last" ]; then
    [ ! -s out ] || fail "$name: standard output is not empty"
  else
    [ "$(tail -n 1 out)" = "$last" ] || fail "$name: last line of standard output is '$(tail -n 1 out)'"
    [ "$(tail -c 1 out | od -An -c | tr -d ' ')" = '\n' ] || fail "$name: standard output does not end in \\n"
    [ "$(tail -n 1 err)" = "${last:0:70}" ] || fail "$name: standard error ends with '$(tail -n 1 err)'"
  fi
}

stderr_has() {
  grep -qF -- "$2" err || fail "$1: standard error lacks '$2': $(cat err)"
}

mkdir -p new old Mixed/Case empty_new empty_old lonely
printf 'alpha\nbeta\ngamma\n' >new/same.txt
cp new/same.txt old/same.txt
printf 'alpha\nbeta\ngamma\n' >new/changed.txt
printf 'alpha\ngamma\ndelta\n' >old/changed.txt
printf 'Hello World\n' >new/case.txt
printf 'hello world\n' >old/case.txt
printf 'only new\n' >new/only_new.txt
: >empty_new/e.txt
: >empty_old/e.txt
printf 'x\n' >lonely/x.txt
cp new/same.txt Mixed/Case/File.TXT

expect "identical files" 0 "$equal" new/same.txt old/same.txt
expect "different files" 1 "$different" new/changed.txt old/changed.txt
expect "letter case ignored" 0 "$filtered" -o icas new/case.txt old/case.txt
expect "letter case counts" 1 "$different" new/case.txt old/case.txt
expect "empty files" 0 "$nothing" empty_new/e.txt empty_old/e.txt
expect "quiet" 1 "" -q new/changed.txt old/changed.txt
[ "$(cat err)" = "$different" ] || fail "quiet: standard error is '$(cat err)'"
expect "names found ignoring case" 0 "$equal" MIXED/case/file.txt old/SAME.txt
expect "directories pair like names" 1 "$different" new old
expect "directories, listing Long, Sbsl" 1 "$different" -l long -o "Sbsl Fmvl" --old-list old_side.txt new old
[ -f old_side.txt ] || fail "--old-list wrote no file"
expect "invalid compare columns" 2 "$ccol_error" -o Ccol --ccol-new 0:5 new/same.txt old/same.txt
expect "compare columns unused without Ccol" 0 "$equal" --ccol-new 0:5 new/same.txt old/same.txt

expect "missing Old file" 2 "" new/same.txt old/missing.txt
stderr_has "missing Old file" 'Invalid Old Input File Name "old/missing.txt" specified.'
expect "no like-named files" 2 "" new lonely
stderr_has "no like-named files" "No paired (same name) new/old filenames are found."
expect "two files, type 2, answered No" 2 "" -t 2 new/same.txt old/same.txt
stderr_has "two files, type 2, answered No" "Answered No"
expect "two files, type 2, answered Yes" 0 "$equal" -t 2 --yes new/same.txt old/same.txt
expect "directory with type 1" 2 "" -t 1 new old/same.txt
stderr_has "directory with type 1" "requires a File Name not a Path Name."
expect "bad usage" 2 "" --xtab 9 new/same.txt old/same.txt
expect "missing OLD" 2 "" new/same.txt
expect "not yet supported" 2 "" --select same.txt new old
stderr_has "not yet supported" "--select is not yet supported"
"$cli" --help >out 2>err && grep -q -- "--listing" out || fail "help: no option list on standard output"

# Ctrl-C halts the run: the report written so far ends with the halted status; exit status 130.
mkdir -p big_new big_old
seq 1 400000 | sed 's/^/line number /' >big_new/f0.txt
seq 1 400000 | sed 's/^/line number /; 0~50s/$/ changed/' >big_old/f0.txt
for i in $(seq 1 39); do
  ln big_new/f0.txt "big_new/f$i.txt"
  ln big_old/f0.txt "big_old/f$i.txt"
done
# One SIGINT to the program alone (timeout would also signal the process group: a second Ctrl-C).
# Job control on, so that the background program does not start with SIGINT ignored.
set -m
"$cli" --no-progress big_new big_old >out 2>err &
pid=$!
sleep 1.5
kill -INT "$pid"
wait "$pid"
got=$?
set +m
[ "$got" -eq 130 ] || fail "interrupted: exit status $got, expected 130"
[ "$(tail -n 1 out)" = "$halted" ] || fail "interrupted: last line of standard output is '$(tail -n 1 out)'"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all kelvarine-cli checks passed"
