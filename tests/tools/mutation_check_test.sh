#!/usr/bin/env bash
# scripts/mutation-check reads its catalogue as written: a fault whose text is once in its
# file is listed plainly, one whose text is there many times or whose file is gone is stale
# (and the listing fails), find+ continues a text on the next line, --only selects by
# pattern, and a block without one of its keys is refused with the line named.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
check() { python3 "$root/scripts/mutation-check" --catalogue "$work" "$@"; }

cat > "$work/a.txt" <<'EOF'
# Faults of the main menu.
id: once
file: src/app/main_menu.cpp
find:     con.print("F for FFT menu\n");
replace:     con.print("F for the FFT menu\n");
why: a changed text

id: two-lines
file: src/app/main_menu.cpp
find:     con.print("T for time waveforms menu\n");
find+:     con.print("F for FFT menu\n");
replace:     con.print("F for FFT menu\n");
why: a line dropped

id: many
file: src/app/main_menu.cpp
find: con.print(
replace: con.print (
why: the text is there many times

id: gone
file: src/no/such_file.cpp
find: x
replace: y
why: no such file
EOF
status=0
out=$(check --list) || status=$?
[ "$status" = 1 ] || fail "a stale catalogue listed with status $status"
for want in "once .*: a changed text$" "two-lines .*: a line dropped$" "many .*\[stale\]$" \
    "gone .*\[stale\]$" "^4 mutants, 2 stale$"; do
  grep -q -- "$want" <<< "$out" || fail "no line '$want' in: $out"
done
out=$(check --list --only 'on*,two-*') || fail "a fresh selection listed with status $?"
[ "$(tail -n 1 <<< "$out")" = "2 mutants, 0 stale" ] || fail "selection: $out"

printf 'id: lacking\nfile: src/app/main_menu.cpp\nfind: a\nreplace: b\n' > "$work/a.txt"
if out=$(check --list 2>&1); then fail "a block without why was taken"; fi
grep -q "a.txt:5: mutant lacks why" <<< "$out" || fail "refusal: $out"
echo "PASS: mutation_check_test.sh"
