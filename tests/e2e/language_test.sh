#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program's messages on stderr in the language of the run: --language chooses it, placed
# before or after the fault, and without it the remembered one (Japanese on a first start). Each
# message stays one line and names what was typed as it was typed.
# $1: the program.
set -euo pipefail

program=${1:?usage: language_test.sh <halvoran-radiation>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A first start: no language remembered.
export XDG_CONFIG_HOME="$work/config"

run() {  # expected status, then the arguments; sets err
  local want=$1
  shift
  set +e
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 120 "$program" "$@" \
    >/dev/null 2>"$work/err"
  local status=$?
  set -e
  err=$(cat "$work/err")
  [ "$status" -eq "$want" ] || { echo "FAILED: $* gave $status, not $want: $err"; exit 1; }
  [ "$(wc -l <"$work/err")" -eq 1 ] || { echo "FAILED: $*: not one line: $err"; exit 1; }
}

japanese() {  # what the message is about; fails unless err holds kana or kanji
  grep -q -P '[\x{3040}-\x{30ff}\x{4e00}-\x{9fff}]' <<<"$err" ||
    { echo "FAILED: $1 is not in Japanese: $err"; exit 1; }
}

run 2 --language ja --bogus
japanese "a refused option with --language ja"
grep -q -- "'--bogus'" <<<"$err" || { echo "FAILED: the option is not named: $err"; exit 1; }

run 2 --bogus --language=ja
japanese "a refused option with --language=ja after it"

run 2 --render "$work/a.png" --ticks ten
japanese "a refusal on a first start"

run 2 --language en --bogus
[[ "$err" == *"unknown option '--bogus' (see --help)" ]] ||
  { echo "FAILED: not the English message: $err"; exit 1; }

run 1 --language ja --render "$work/missing/a.png" --ticks 1
japanese "a file that cannot be written"
grep -q "$work/missing/a.png" <<<"$err" || { echo "FAILED: the file is not named: $err"; exit 1; }

run 1 --language en --render "$work/missing/a.png" --ticks 1
[[ "$err" == *"Could not save the picture"* ]] || { echo "FAILED: not in English: $err"; exit 1; }
echo "language ok"
