#!/usr/bin/env bash
# Drives talvor-sum as a person would: files, pipes, options, bad input.
set -u
bin=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect NAME STATUS STDOUT [STDERR-SUBSTRING] -- COMMAND...
expect() {
  local name=$1 status=$2 out=$3 err=$4
  shift 5
  local got_out got_err got_status
  got_out=$("$@" 2>"$work/err")
  got_status=$?
  got_err=$(cat "$work/err")
  if [[ $got_status != "$status" || $got_out != "$out" || $got_err != *"$err"* ]]; then
    printf 'FAIL %s\n  status %s (want %s)\n  stdout %q (want %q)\n  stderr %q (want ...%q...)\n' \
      "$name" "$got_status" "$status" "$got_out" "$out" "$got_err" "$err"
    failures=$((failures + 1))
  fi
}

printf '1:30\n45\n1.02.03\n' >"$work/a.txt"
printf '30\r\n-1:00' >"$work/b.txt"              # CR LF, and a last line without LF
printf '10\n:30\nEXIT\n' >"$work/bad.txt"
printf 'exit\n90\nEND\n' >"$work/exit.txt"
printf '12\0:::\n3\n' >"$work/nul.txt"            # a NUL ends its line
printf '\xef\xbc\x91:30\n' >"$work/fullwidth.txt" # full-width one, then :30 (UTF-8)
printf '\x82\x50:30\n' >"$work/sjis.txt"          # the same line in CP932
printf '表 3:45\n' >"$work/kanji.txt"

expect "one file" 0 $' 3,858\n 64:18\n 1:04:18' "" -- "$bin" "$work/a.txt"
expect "files in order as one sheet" 0 $' 3,828\n 63:48\n 1:03:48' "" -- "$bin" "$work/a.txt" "$work/b.txt"
expect "stdin" 0 $'-30\n-0:30\n-0:00:30' "" -- "$bin" <"$work/b.txt"
expect "dash is stdin" 0 $' 3,828\n 63:48\n 1:03:48' "" -- "$bin" "$work/a.txt" - <"$work/b.txt"
expect "line not read" 1 $'Error\nError\nError' "bad.txt:2: cannot read \":30\"" -- "$bin" "$work/bad.txt"
expect "keywords count 0 and close nothing" 0 $' 90\n 1:30\n 0:01:30' "" -- "$bin" "$work/exit.txt"
expect "NUL ends the line" 0 $' 15\n 0:15\n 0:00:15' "" -- "$bin" "$work/nul.txt"
expect "UTF-8 input is read as CP932" 1 $'Error\nError\nError' "fullwidth.txt:1:" -- "$bin" "$work/fullwidth.txt"
expect "kanji before the number" 0 $' 225\n 3:45\n 0:03:45' "" -- "$bin" "$work/kanji.txt"
expect "--cp932 takes bytes unchanged" 1 $'Error\nError\nError' "sjis.txt:1:" -- "$bin" --cp932 "$work/sjis.txt"
expect "--cp932 on plain numbers" 0 $' 3,858\n 64:18\n 1:04:18' "" -- "$bin" --cp932 "$work/a.txt"
expect "missing file" 2 "" "$work/none.txt" -- "$bin" "$work/a.txt" "$work/none.txt"
expect "directory" 2 "" "$work" -- "$bin" "$work"
expect "wrong option" 2 "" "--frobnicate" -- "$bin" --frobnicate
expect "help" 0 "" "" -- bash -c "\"$bin\" --help | grep -q '^usage: talvor-sum'"
expect "empty input" 0 $' 0\n 0:00\n 0:00:00' "" -- "$bin" /dev/null

# Lines cut by the reader's block boundary: 1,000,000 lines of 3 bytes plus an LF.
yes 1:0 | head -n 1000000 >"$work/big.txt"
expect "lines across block boundaries" 0 $' 60,000,000\n 1000000:00\n 16666:40:00' "" -- "$bin" "$work/big.txt"
# A line that cannot be read deep inside a large file is still named by its number.
{ yes 1:0 | head -n 299999; printf 'Track: 1:00\r\n'; yes 2 | head -n 10; } >"$work/late.txt"
expect "line number deep in a file" 1 $'Error\nError\nError' "late.txt:300000: cannot read \"Track: 1:00\"" -- "$bin" "$work/late.txt"
# Japanese deep inside a large file takes the converting path for its block.
{ yes 1:0 | head -n 299999; printf '表 0:30\n'; } >"$work/mixed.txt"
expect "non-ASCII inside a large file" 0 $' 17,999,970\n 299999:30\n 4999:59:30' "" -- "$bin" "$work/mixed.txt"
# One line of 3 MB: the number sits at its end, behind the block boundaries.
{ head -c 3000000 /dev/zero | tr '\0' 'x'; printf ' 7\n'; } >"$work/long.txt"
expect "one line longer than a block" 0 $' 7\n 0:07\n 0:00:07' "" -- "$bin" "$work/long.txt"

if ((failures)); then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all talvor-sum cases passed"
