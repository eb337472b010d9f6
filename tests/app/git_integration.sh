#!/usr/bin/env bash
# Kelvarine with git in a real repository: kelvarine-cli --git-external as GIT_EXTERNAL_DIFF, and git
# difftool with the README's configurations (the desktop program's stood in for by a recorder).
# Usage: git_integration.sh path/to/kelvarine-cli path/to/README.md
set -u
cli="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
readme="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
if ! command -v git >/dev/null; then
  echo "SKIP: git is not installed (scripts/setup installs it)"
  exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
has() { grep -qF -- "$2" "$1" || fail "$1 lacks \"$2\": $(head -c 3000 "$1")"; }

# A home of its own (git's --global settings), kelvarine-cli and a stand-in kelvarine on PATH, and a
# temporary directory that must be empty again after each external diff.
export HOME="$work/home" TMPDIR="$work/tmp" GIT_CONFIG_NOSYSTEM=1 GIT_PAGER=cat LC_ALL=C
mkdir -p "$HOME" "$TMPDIR" "$work/bin"
ln -s "$cli" "$work/bin/kelvarine-cli"
cat >"$work/bin/kelvarine" <<'EOF'
#!/bin/sh
# Records the names the desktop program gets and what they hold.
cat "$1" >"$HOME/desktop-new" && cat "$2" >"$HOME/desktop-old"
EOF
chmod +x "$work/bin/kelvarine"
export PATH="$work/bin:$PATH"
git config --global user.name Tester
git config --global user.email tester@example.org
git config --global init.defaultBranch main
git config --global diff.renames true
# The README's own lines configure the difftools.
grep -E "^ +git config --global difftool\.kelvarine" "$readme" >"$work/difftools"
[ "$(wc -l <"$work/difftools")" -eq 2 ] || fail "README: two difftool lines expected: $(cat "$work/difftools")"
(cd "$HOME" && . "$work/difftools")

repo="$work/repo"
hex=$(printf '%040d' 0)
mkdir -p "$repo/src" && cd "$repo" && git init -q
printf 'one\ntwo\nthree\n' >src/a.txt
printf 'gone\n' >gone.txt
printf 'keep 1\nkeep 2\nkeep 3\nkeep 4\n' >same.txt
git add . && git commit -qm first
printf 'one\nTWO\nthree\nfour\n' >src/a.txt
git rm -q gone.txt
printf 'fresh\n' >new.txt
git mv same.txt moved.txt && printf 'keep 5\n' >>moved.txt
git add . && git commit -qm second

GIT_EXTERNAL_DIFF='kelvarine-cli --git-external' git diff HEAD~1 HEAD >out 2>err
status=$?
[ "$status" -eq 0 ] && [ ! -s err ] || fail "git diff with the external diff: exit status $status: $(cat err)"
for line in "New File(1) = b/src/a.txt" "Old File(1) = a/src/a.txt" "I - TWO" "D - two" \
  "New File(1) = b/new.txt" "Old File(1) = /dev/null" "I - fresh" "New File(1) = /dev/null" "D - gone" \
  "New File(1) = b/moved.txt" "Old File(1) = a/same.txt" "I - keep 5"; do
  has out "$line"
done
[ "$(grep -c '^INFORM: The processed files have differences\.$' out)" -eq 4 ] || fail "one report per file: $(cat out)"
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in TMPDIR: $(ls -A "$TMPDIR")"

# -u: the same hunks as git's own diff, under git's names.
GIT_EXTERNAL_DIFF='kelvarine-cli -u --git-external' git diff HEAD~1 HEAD -- src/a.txt >out 2>err
grep -q "^+++ b/src/a.txt" out || fail "-u: no +++ b/src/a.txt line: $(cat out)"
git diff --no-ext-diff HEAD~1 HEAD -- src/a.txt | sed -n '/^@@/,$p' >git.hunks
sed -n '/^@@/,$p' out | cmp -s - git.hunks || fail "-u hunks differ from git's: $(cat out)"

# The working tree against the index, from a subdirectory: git names the working file relatively.
printf 'one\nTWO\nthree\nfour\nfive\n' >src/a.txt
(cd src && GIT_EXTERNAL_DIFF='kelvarine-cli --options Icas --git-external' git diff >../out 2>../err)
has out "I - five"
has out "OPTIONS = Icas"
git checkout -q -- src/a.txt

# A compare that fails stops git, with the reason on standard error.
GIT_EXTERNAL_DIFF='kelvarine-cli --listing Nope --git-external' git diff HEAD~1 HEAD >out 2>err &&
  fail "a failing external diff: git exited 0"
has err "kelvarine-cli: --listing"
# Arguments git never passes (a path out of the repository, too few) are refused.
refused() { "$cli" --git-external "$@" >out 2>err && fail "--git-external $*: exit status 0"; }
for path in ../x /etc/x a/../../x; do refused "$path" "$readme" "$hex" 100644 "$readme" "$hex" 100644; done
refused one two

# git difftool with the README's configurations: New is the later commit, Old the earlier one.
git difftool -y -t kelvarine HEAD~1 HEAD -- src/a.txt >out 2>err
git show HEAD:src/a.txt | cmp -s - "$HOME/desktop-new" || fail "difftool: New is not the later commit"
git show HEAD~1:src/a.txt | cmp -s - "$HOME/desktop-old" || fail "difftool: Old is not the earlier commit"
git difftool -d -y -t kelvarine-cli HEAD~1 HEAD >out 2>err
has out "right/src/a.txt"
has out "I - TWO"

[ "$failures" -eq 0 ] && echo "PASS: git integration"
exit $((failures > 0))
