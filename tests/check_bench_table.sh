#!/usr/bin/env bash
# bench/table: every verdict at and around its target, numbers compared as
# numbers, figures without a target and benchmarks that did not finish.
# Usage: check_bench_table.sh /path/to/bench/table
set -euo pipefail
table="$1"

out="$(cat <<'LINES' | bash "$table"
noise that is not a figure
BENCH le_equal 1.2 x <= 1.2 at the target
BENCH le_over 1.21 x <= 1.2 just over
BENCH lt_equal 100 us < 100 at the target
BENCH lt_numeric 9.5 x < 12 shorter text, smaller number
BENCH gt_under 3 x > 20 larger text, smaller number
BENCH ge_equal 4 x >= 4 at the target
BENCH info_only 70.8 ms info - no target
BENCH broken - - fail - did not finish (exit status 2)
LINES
)"

fail() {
    echo "check_bench_table: FAIL: $*" >&2
    echo "$out" >&2
    exit 1
}
verdict() { awk -v k="$1" '$1 == k { for (i = 2; i <= NF; ++i) if ($i ~ /^(pass|short|info|FAILED)$/) { print $i; exit } }' <<<"$out"; }
expect() { [ "$(verdict "$1")" = "$2" ] || fail "$1 should be $2, is '$(verdict "$1")'"; }

expect le_equal pass
expect le_over short
expect lt_equal short
expect lt_numeric pass
expect gt_under short
expect ge_equal pass
expect info_only info
expect broken FAILED
grep -q '^noise' <<<"$out" && fail "a line that is not a figure made it into the table"
grep -q '^3 figure(s) short of target$' <<<"$out" || fail "wrong count of figures short of target"
grep -q 'le_equal .* 1.2 x .* <= 1.2 x' <<<"$out" || fail "measured value or target not shown with its unit"
echo "check_bench_table: passed"
