#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# bench/table: every verdict at and around its target, numbers compared as
# numbers, figures without a target and benchmarks that did not finish, and
# figures that are not numbers (nothing measured) held short of any target.
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
BENCH nan_value nan ms <= 25 not a number
BENCH na_value n/a ms <= 25 not measured
BENCH dash_value - ms < 10 not measured
BENCH inf_value inf ms > 0 infinite is no measurement
BENCH text_number 12ms ms <= 25 a number run into its unit
BENCH no_value
BENCH shifted  ms <= 25 value left out, the rest shifted along
BENCH bad_target 3 ms <= n/a no number to compare with
BENCH bad_op 3 ms =< 25 an op the table does not know
BENCH info_na n/a ms info - a figure without a target, not measured
BENCH exp_pass 2.5e-3 s <= 0.01 a number in exponent form
BENCH neg_pass -1 gaps <= 0 a negative number
BENCH frac_pass .5 x < 1 a number without its leading zero
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
for key in nan_value na_value dash_value inf_value text_number no_value shifted bad_target bad_op info_na; do
    expect "$key" short
done
expect exp_pass pass
expect neg_pass pass
expect frac_pass pass
grep -q '^noise' <<<"$out" && fail "a line that is not a figure made it into the table"
grep -q '^13 figure(s) short of target$' <<<"$out" || fail "wrong count of figures short of target"
grep -q 'le_equal .* 1.2 x .* <= 1.2 x' <<<"$out" || fail "measured value or target not shown with its unit"
grep -q 'na_value .* n/a ms .* <= 25 ms' <<<"$out" || fail "a figure that is not a number is not shown as it came"
echo "check_bench_table: passed"
