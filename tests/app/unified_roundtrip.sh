#!/usr/bin/env bash
# kelvarine-cli -u through patch: generated Old/New pairs (random edits, CR LF, missing final line ends,
# empty sides, TABs, long lines, a file of several chunks) and two trees with -ru must patch Old into
# New byte for byte; so must the diff of the top-level standard library files of the two newest
# Python 3 versions under `pyenv root`, when there are two.
# Usage: unified_roundtrip.sh path/to/kelvarine-cli
set -u
cli="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
if ! command -v patch >/dev/null; then
  echo "SKIP: patch is not installed (scripts/setup installs it)"
  exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# lines N SEED: N lines of a few words, some repeated, some with leading blanks.
lines() {
  awk -v n="$1" -v seed="$2" 'BEGIN { srand(seed); for (i = 1; i <= n; i++) {
    r = int(rand() * 10); if (r == 0) print ""; else if (r == 1) print "  }"; else printf "line %d %d\n", i, int(rand() * 50) } }'
}
# edit SEED RATE < old > new: random deletions, insertions and changed lines.
edit() {
  awk -v seed="$1" -v rate="$2" 'BEGIN { srand(seed) } { r = rand();
    if (r < rate) next; if (r < 2 * rate) print "inserted " NR; if (r < 3 * rate) { print $0 " changed"; next } print }'
}

# roundtrip NAME [OPTIONS...]: new and old in directory NAME; the diff (-u unless OPTIONS say how)
# turns a copy of old into new.
roundtrip() {
  local name="$1"
  shift
  [ $# -gt 0 ] || set -- -u
  "$cli" --no-progress "$@" "$name/new" "$name/old" >"$name/diff" 2>"$name/err"
  local status=$? want=1
  cmp -s "$name/new" "$name/old" && want=0
  [ "$status" -eq "$want" ] || { fail "$name: exit status $status, expected $want: $(cat "$name/err")"; return; }
  [ -s "$name/err" ] && fail "$name: standard error: $(cat "$name/err")"
  cp "$name/old" "$name/patched"
  [ "$want" -eq 0 ] && { [ -s "$name/diff" ] && fail "$name: a diff of equal files"; return; }
  patch -s "$name/patched" <"$name/diff" >"$name/patch.out" 2>&1 || { fail "$name: patch: $(cat "$name/patch.out")"; return; }
  cmp -s "$name/patched" "$name/new" || fail "$name: patched Old differs from New"
}
# pair NAME NEW OLD: the two texts (printf escapes) as NAME/new and NAME/old, then their round trip.
pair() { mkdir -p "$1" && printf '%b' "$2" >"$1/new" && printf '%b' "$3" >"$1/old" && roundtrip "$1"; }

for seed in 1 2 3 4 5 6; do
  mkdir -p "random$seed"
  lines 300 "$seed" >"random$seed/old"
  edit "$seed" 0.05 <"random$seed/old" >"random$seed/new"
  roundtrip "random$seed"
done
roundtrip random1 --unified=0
roundtrip random2 --unified=12
roundtrip random3 -u -o Fmvl

mkdir -p chunks
lines 20000 7 >chunks/old
edit 7 0.002 <chunks/old >chunks/new
roundtrip chunks

mkdir -p crlf mixed
sed 's/$/\r/' random4/old >crlf/old && sed 's/$/\r/' random4/new >crlf/new && roundtrip crlf
sed 's/$/\r/' random5/old >mixed/old && cp random5/old mixed/new && roundtrip mixed
mkdir -p tabs && cp random6/old tabs/old && sed '5,40s/ /\t/' random6/old >tabs/new && roundtrip tabs

pair no_newline_old 'a\nb\nc\n' 'a\nb\nc'
pair no_newline_new 'a\nb\nc' 'a\nb\nc\n'
pair no_newline_both 'a\nB\nc' 'a\nb\nc'
pair empty_old 'a\nb\n' ''
pair empty_new '' 'a\nb\n'
pair lone_cr 'a\rb\nc\r\nd\n' 'a\rx\nc\nd\n'

mkdir -p long
awk 'BEGIN { for (i = 0; i < 5000; i++) s = s "x"; print "head"; print s; print s "y"; print "tail" }' >long/old
awk 'BEGIN { for (i = 0; i < 5000; i++) s = s "x"; print "head"; print s; print s "z"; print "tail" }' >long/new
roundtrip long
[ "$(grep -c '^[-+]x' long/diff)" -eq 2 ] || fail "long: the changed 5001-character line is not one line per side"

# Trees: paired files in subdirectories patched with -p1, "Only in" lines as diff -ru writes them for
# files beside paired ones; a directory on one side only is listed file by file.
mkdir -p tree/old/sub tree/new/sub tree/new/extra
cp random1/old tree/old/a.txt && cp random1/new tree/new/a.txt
cp random2/old tree/old/sub/b.txt && cp random2/new tree/new/sub/b.txt
cp random3/old tree/old/same.txt && cp random3/old tree/new/same.txt
printf '\001\002\003\004\005\006\007\010\016 old' >tree/old/data.bin
printf '\001\002\003\004\005\006\007\010\016 new' >tree/new/data.bin
echo gone >tree/old/sub/gone.txt && echo new >tree/new/added.txt && echo extra >tree/new/extra/e.txt
"$cli" --no-progress -ru tree/new tree/old >tree/diff 2>tree/err
[ $? -eq 1 ] || fail "tree: exit status, expected 1: $(cat tree/err)"
cp -r tree/old tree/patched
(cd tree/patched && patch -s -p2 <../diff >../patch.out 2>&1) || fail "tree: patch: $(cat tree/patch.out)"
for f in a.txt sub/b.txt same.txt; do cmp -s "tree/patched/$f" "tree/new/$f" || fail "tree: $f not patched"; done
grep '^Only in' tree/diff >tree/only
printf 'Only in tree/new: added.txt\nOnly in tree/new/extra: e.txt\nOnly in tree/old/sub: gone.txt\n' >tree/only.want
cmp -s tree/only tree/only.want || fail "tree: Only in lines: $(cat tree/only)"
[ "$(grep -c '^diff -ru tree/old/' tree/diff)" -eq 2 ] || fail "tree: a 'diff -ru' line per differing pair"
grep -qxF 'Binary files tree/old/data.bin and tree/new/data.bin differ' tree/diff || fail "tree: binary pair"
mkdir -p nopairs/new nopairs/old && echo a >nopairs/new/a && echo b >nopairs/old/b
[ "$("$cli" --no-progress -u nopairs/new nopairs/old 2>/dev/null)" = $'Only in nopairs/new: a\nOnly in nopairs/old: b' ] ||
  fail "nopairs: Only in lines of two directories without a like-named pair"

# -N: files on one side only are diffed against /dev/null; patch -p1 -E on Old recreates New, added and
# removed files (and their directories) included.
mkdir -p newfile/old/sub newfile/new/sub newfile/new/added_dir newfile/old/removed_dir
cp random1/old newfile/old/a.txt && cp random1/new newfile/new/a.txt && cp random5/old newfile/new/sub/same.txt
cp random2/new newfile/new/sub/added.txt && cp random3/old newfile/old/sub/removed.txt
printf 'added\nno final line end' >newfile/new/added_dir/x.txt && cp random4/old newfile/old/removed_dir/y.txt
(cd newfile && "$cli" --no-progress -ruN new old >diff 2>err; [ $? -eq 1 ] && cp -r old patched && cd patched &&
  patch -s -p1 -E <../diff >../patch.out 2>&1) || fail "-N: $(cat newfile/err newfile/patch.out)"
grep -qx -- '--- /dev/null' newfile/diff && diff -r newfile/patched newfile/new >/dev/null || fail "-N: patched Old is not New"

# The standard libraries of two Python versions: every differing pair of the top-level files.
if root="$(pyenv root 2>/dev/null)"; then
  libs=$(ls -d "$root"/versions/3.*/lib/python3.* 2>/dev/null | sort -V | tail -n 2)
  old_lib=$(echo "$libs" | head -n 1) new_lib=$(echo "$libs" | tail -n 1)
  if [ -n "$old_lib" ] && [ "$old_lib" != "$new_lib" ]; then
    mkdir -p py/old py/new
    find "$old_lib" -maxdepth 1 -type f -exec cp {} py/old/ \;
    find "$new_lib" -maxdepth 1 -type f -exec cp {} py/new/ \;
    "$cli" --no-progress -u py/new py/old >py/diff 2>py/err
    [ "$(grep -c '^diff -u' py/diff)" -gt 100 ] || fail "python: few differing pairs between $old_lib and $new_lib"
    cp -r py/old py/patched
    (cd py/patched && patch -s -p2 <../diff >../patch.out 2>&1) || fail "python: patch: $(head -5 ../patch.out)"
    for f in py/new/*; do
      b=${f##*/}
      [ -f "py/old/$b" ] && ! cmp -s "py/patched/$b" "$f" && fail "python: $b not patched"
    done
  fi
fi

[ "$failures" -eq 0 ] && echo "unified round trip: all passed"
exit $((failures > 0))
