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
different="INFORM: The processed files have differences."
halted="INFORM: The User requested a premature program stop. "
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect NAME EXIT_STATUS LAST_STDOUT_LINE [STDERR_PART] ARGS...: runs the program (stdout to out, stderr
# to err). An empty LAST_STDOUT_LINE means an empty standard output, and a STDERR_PART that err must hold.
expect() {
  local name="$1" want="$2" last="$3"
  shift 3
  local part=""
  [ -n "$last" ] || { part="$1" && shift; }
  "$cli" --no-progress "$@" >out 2>err
  local got=$?
  [ "$got" -eq "$want" ] || fail "$name: exit status $got, expected $want; stderr: $(cat err)"
  if [ -z "$last" ]; then
    [ ! -s out ] || fail "$name: standard output is not empty"
    grep -qF -- "$part" err || fail "$name: standard error lacks '$part': $(cat err)"
  else
    [ "$(tail -n 1 out)" = "$last" ] || fail "$name: last line of standard output is '$(tail -n 1 out)'"
    [ "$(tail -c 1 out | od -An -c | tr -d ' ')" = '\n' ] || fail "$name: standard output does not end in \\n"
    [ "$(tail -n 1 err)" = "${last:0:70}" ] || fail "$name: standard error ends with '$(tail -n 1 err)'"
  fi
}

mkdir -p new old Mixed/Case
printf 'alpha\nbeta\ngamma\n' >new/same.txt
cp new/same.txt old/same.txt
cp new/same.txt Mixed/Case/File.TXT
printf 'alpha\nbeta\ngamma\n' >new/changed.txt
printf 'alpha\ngamma\ndelta\n' >old/changed.txt
printf 'Hello World\n' >new/case.txt
printf 'hello world\n' >old/case.txt
printf 'only new\n' >new/only_new.txt

# Without -t: two files are compare type 1, two directories type 2.
expect "identical files" 0 "$equal" new/same.txt old/same.txt
expect "different files" 1 "$different" new/changed.txt old/changed.txt
# -q: nothing at all on either stream (here a difference, a file on one side only), but errors.
"$cli" -q new old >out 2>err
[ $? -eq 1 ] && [ ! -s out ] && [ ! -s err ] || fail "quiet: $(cat out err)"
expect "quiet still names errors" 2 "" "kelvarine-cli: old/missing.txt: No such file or directory" -q new/same.txt old/missing.txt
expect "names found ignoring case" 0 "$equal" MIXED/case/file.txt old/SAME.txt
expect "directories, listing Long, Sbsl" 1 "$different" -l long -o "Sbsl Fmvl" --old-list old_side.txt new old
[ -f old_side.txt ] || fail "--old-list wrote no file"
expect "missing Old file" 2 "" 'Invalid Old Input File Name "old/missing.txt" specified.' new/same.txt old/missing.txt
[ "$(head -n 1 err)" = "kelvarine-cli: old/missing.txt: No such file or directory" ] ||
  fail "missing Old file: not named with its reason first: $(cat err)"
expect "two files, type 2, answered No" 2 "" "Answered No" -t 2 new/same.txt old/same.txt
expect "two files, type 2, answered Yes" 0 "$equal" -t 2 --yes new/same.txt old/same.txt
expect "bad usage" 2 "" "--select and --select-all need compare type 3" -t 2 --select same.txt new old
expect "type 3, selected names" 1 "$different" -t 3 --select SAME.txt --select changed.txt new old
grep -qx "  same.txt" out || fail "type 3: the selected name is not listed in the summary"
expect "type 3, nothing selected" 2 "" "nothing was selected" -t 3 new old
expect "type 4, a free pair" 1 "$different" -t 4 --pair same.txt:changed.txt new old
expect "saved as HTML" 1 "$different" --save report.html new/changed.txt old/changed.txt
[ "$(head -n 1 report.html)" = "<HTML>" ] || fail "--save: report.html does not start with <HTML>"
expect "save that fails says why" 2 "$different" --save no/such/dir.txt new/changed.txt old/changed.txt
grep -qx "kelvarine-cli: no/such/dir.txt: No such file or directory" err || fail "failed save: no reason: $(cat err)"
expect "never saved over an input" 2 "$different" --save old/changed.txt new/changed.txt old/changed.txt
grep -q "is an input file" err || fail "--save over an input file: no message"
cp new/changed.txt stdin.txt && cp stdin.txt before.txt
"$cli" --no-progress --save stdin.txt - old/changed.txt <stdin.txt >out 2>err
[ $? -eq 2 ] && cmp -s before.txt stdin.txt || fail "--save over standard input's file: $(cat err)"
cp old/changed.txt before.txt
expect "Old-side list never over an input" 2 "$different" -o Sbsl --old-list old/changed.txt new/changed.txt old/changed.txt
grep -q "it is an input file" err || fail "--old-list over an input file: no message"
cmp -s before.txt old/changed.txt || fail "--old-list wrote over an input file"
printf '[Other]\nkeep=1\n[Kelvarn]\nNewDirNm=new/case.txt\nOldDirNm=old/case.txt\nOptsUsed=Icas\n' >k.ini
expect "settings give names and options" 0 "$filtered" --settings k.ini
expect "flags override settings" 1 "$different" --settings k.ini -o None
# CompareType as a number, ListType as a listing word, a saved selection without its last ";".
printf '[Kelvarn]\nNewDirNm=new\nOldDirNm=old\nCompareType=3\nListType=long\nSvLList=same.txt;changed.txt\n' >t.ini
expect "settings: types as numbers and words" 1 "$different" --settings t.ini
grep -qx "  changed.txt" out && grep -q "^ID  ----" out || fail "settings: not type 3 with both names, Long"
expect "option library messages" 2 "" "kelvarine-cli: The following argument was not expected" --bogus new old
printf 'ab\nc' >bin_new && printf 'ab\ncd' >bin_old  # where binary files differ, as cmp says it
expect "binary pair" 1 "$different" -o Abin bin_new bin_old
grep -qx "WARN: Binary files differ: EOF on new file after byte 4, line 2." out || fail "binary pair: where"
"$cli" --help >out 2>err && grep -q -- "--listing" out || fail "help: no option list on standard output"
for word in Icas Abin Dcpp Xtab OptsUsed "Exit status"; do grep -q "$word" out || fail "help does not name $word"; done
[ "$("$cli" -V)" = "$("$cli" --version)" ] || fail "-V is not --version"
# On a terminal that is both standard output and standard error, the status line shows once.
if command -v script >/dev/null; then
  script -qc "'$cli' --no-progress -l Ovsum new/changed.txt old/changed.txt" /dev/null >tty.txt
  [ "$(grep -c "$different" tty.txt)" -eq 1 ] || fail "terminal: the status line is not shown once: $(cat tty.txt)"
fi

# Names that differ only in letter case are two files: each is compared or listed, and shown as on disk.
mkdir -p m1 m2 same1 same2 none1 none2 one1 one2
echo A >m1/Makefile && echo B >m2/Makefile && echo s >m1/makefile && echo s >m2/makefile
echo r >m1/README.txt && echo r >m2/readme.TXT
expect "case twins both compared" 1 "$different" -l Long m1 m2
grep -q "m1/Makefile" out && grep -q "m1/makefile" out && grep -q "m2/readme.TXT" out ||
  fail "case twins: names not shown as on disk: $(grep -i -e makefile -e readme out)"
echo s >same1/a && echo s >same2/a && echo x >same1/only_here
expect "a file on one side only is a difference" 1 "$equal" same1 same2
expect "no files at all" 0 "" "No paired (same name)" none1 none2
echo x >one1/a
expect "no pairs, files on one side" 1 "" "No paired (same name)" one1 one2
echo important >keep.txt
expect "--old-list needs Sbsl" 2 "" "--old-list needs Sbsl among the options (-o Sbsl)" --old-list keep.txt new old
[ "$(cat keep.txt)" = important ] || fail "--old-list without Sbsl touched its file"

# Without --save the report goes out as it is made and is dropped; with it, it is kept and written after
# the run. The lines must be the same either way, also where a listed line is completed last (Long
# listing of a pair equal by date and size) and for the Old side of a side-by-side listing.
seq 1 20000 | sed 's/^/row /' >long_new.txt
seq 1 20000 | sed 's/^/row /; 0~7s/$/ changed/' >long_old.txt
cp -p long_new.txt long_same.txt
for args in "-l Long long_new.txt long_old.txt" "-l Long -o Aeqf long_new.txt long_same.txt" \
            "-l Long -o Sbsl --old-list side_streamed.txt long_new.txt long_old.txt"; do
  # shellcheck disable=SC2086  # the arguments are split on purpose
  "$cli" --no-progress $args >streamed 2>/dev/null
  # shellcheck disable=SC2086
  "$cli" --no-progress --save kept.txt ${args/side_streamed/side_kept} >kept 2>/dev/null
  [ "$(wc -l <streamed)" -gt 20000 ] || fail "streamed report too short: $args"
  cmp -s streamed kept || fail "streamed and kept reports differ: $args"
done
cmp -s side_streamed.txt side_kept.txt || fail "streamed and kept Old-side lists differ"
[ "$(wc -l <side_streamed.txt)" -gt 20000 ] || fail "streamed Old-side list too short"

# -r on a generated tree of 3,600 files: every file is once in the report, as a pair or unpaired, and
# the changed pairs are those diff -rq names. A directory on one side only, excluded names.
for d in $(seq 0 29); do
  for s in 0 1 2; do
    mkdir -p "tn/d$d/s$s" "to/d$d/s$s"
    for f in $(seq 0 39); do
      echo "$d $s $f" >"tn/d$d/s$s/f$f.txt"
      if [ $(((d * 120 + s * 40 + f) % 37)) -eq 0 ]; then echo changed >"to/d$d/s$s/f$f.txt"; else echo "$d $s $f" >"to/d$d/s$s/f$f.txt"; fi
    done
  done
done
rm -r to/d29/s2 tn/d28/s1/f7.txt && mkdir -p tn/.git to/.git && echo x >tn/.git/HEAD && echo y >to/.git/HEAD
echo x >tn/d3/skip.o && echo y >to/d3/skip.o
expect "trees" 1 "$different" -r -x .git -x "*.o" -l Ovsum -o Inpn tn to
awk '/^Code  New\/Old-Fi-Name/ {t = 1; next} t && /^ *$/ {t = 0} t {n = substr($0, 7, 20); sub(/ +$/, "", n); print (substr($0, 1, 1) == "*" ? "C " : "P ") n}
     /LIST OF UNPAIRED/ {u = 1; getline; next} /^LISTING-TYPE/ {u = 0}
     u {split($0, p, " : "); gsub(/^ +| +$/, "", p[1]); gsub(/^ +| +$/, "", p[2]);
        if (p[1] != "") print "N " p[1]; if (p[2] != "") print "O " p[2]}' out >listed
(cd tn && find . -type f ! -path './.git/*' ! -name '*.o' | sed 's|^\./||' | sort) >new_files
(cd to && find . -type f ! -path './.git/*' ! -name '*.o' | sed 's|^\./||' | sort) >old_files
grep -E '^[CPN] ' listed | cut -c3- | sort | cmp -s - new_files || fail "trees: New files not each listed once"
grep -E '^[CPO] ' listed | cut -c3- | sort | cmp -s - old_files || fail "trees: Old files not each listed once"
diff -rq -x .git -x '*.o' tn to | sed -n 's|^Files tn/\(.*\) and to/.* differ$|\1|p' | sort >diff_changed
grep '^C ' listed | cut -c3- | sort | cmp -s - diff_changed || fail "trees: changed pairs differ from diff -rq"
[ "$(wc -l <new_files)" -gt 3500 ] || fail "trees: the generated tree is too small"
# The same trees with big files (too big to be read ahead), a file whose lines the helpers prepare,
# binary files and links among them, compared
# with 1, 2 and 3 jobs: the same bytes on both streams, the same exit status.
seq 1 700000 >tn/d1/big.txt && cp tn/d1/big.txt to/d1/big.txt && cp tn/d1/big.txt tn/d2/big.txt
seq 2 700001 >to/d2/big.txt
seq 1 30000 >tn/d6/mid.txt && seq 1 30000 | sed -e '700s/$/ changed/' -e '15000d' >to/d6/mid.txt
printf '\1\2\3\4\5\6\7\10\16\17 binary' >tn/d4/b.bin && printf '\1\2\3\4\5\6\7\10\16\17 binarY' >to/d4/b.bin
ln -s ../s0/f1.txt tn/d5/s1/link.txt && ln -s ../s0/f2.txt to/d5/s1/link.txt
for jobs in 1 2 3; do
  "$cli" --no-progress -j "$jobs" -r -x .git -x "*.o" tn to >"out$jobs" 2>"err$jobs"
  echo "exit $?" >>"out$jobs"
done
cmp -s out1 out2 && cmp -s out1 out3 && cmp -s err1 err2 && cmp -s err1 err3 ||
  fail "trees: -j 1, -j 2 and -j 3 give different output"
grep -qx "exit 1" out1 || fail "trees with -j: exit status $(tail -n 1 out1)"
# -q ends at the first difference; the exit status is that of the whole compare.
"$cli" -q -r tn to >out 2>err
[ $? -eq 1 ] && [ ! -s out ] && [ ! -s err ] || fail "quiet trees: $(cat out err)"

# Ctrl-C halts the run: the report written so far ends with the halted status; exit status 130.
mkdir -p big_new big_old
seq 1 400000 | sed 's/^/line number /' >big_new/f0.txt
seq 1 400000 | sed 's/^/line number /; 0~50s/$/ changed/' >big_old/f0.txt
for i in $(seq 1 39); do ln big_new/f0.txt "big_new/f$i.txt" && ln big_old/f0.txt "big_old/f$i.txt"; done
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

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed" && exit 1; }
echo "all kelvarine-cli checks passed"
