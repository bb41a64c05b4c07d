# An unattended test-loop run goes through every pass and ends at once,
# writing no report.
source "$(dirname "$0")/lib.sh"

start=$(date +%s%N)
run_batch -test -loop 3
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
expect_eq "test loop ends with success" 0 "$STATUS"
check "the completion message goes to stderr" contains err.txt "tarvelin: BenchMark complete."
check "no report is written in test-loop mode" test ! -e result.tvl
check "the run takes seconds, not minutes (${elapsed_ms} ms)" test "$elapsed_ms" -lt 30000

run_batch -statusonly -f status.tvl
expect_eq "status-only run ends with success" 0 "$STATUS"
check "on the GL implementation asked for (${GALLIUM_DRIVER:-llvmpipe})" \
  grep -q "^Renderer   : ${GALLIUM_DRIVER:-llvmpipe}" status.tvl
check "no completion box outside test-loop mode" bash -c '! grep -q "BenchMark complete" err.txt'

# Xvfb offers no swap control, so the swap interval is left to the driver; the
# report's header and the batch output (before the first test) say so, and
# say why.
NO_CONTROL='#   swap interval: set by the driver (no control offered)'
write_pass_over_all pass_over_all.def
run_batch -quarter -f swap.tvl -def pass_over_all.def
expect_eq "the swap interval comes first in the batch output" "$NO_CONTROL" "$(head -n 1 out.txt)"
expect_eq "and is the header's last comment line" "$NO_CONTROL" \
  "$(sed -n '1,/^$/p' swap.tvl | grep '^#' | tail -n 1)"
check "no loops line for one pass" bash -c '! grep -q "loops$" swap.tvl'
expect_eq "a run with no test measured ends on two summary lines" \
  'Tarvelin 3D total: n/a|Tarvelin 2D total: n/a' "$(tail -n 2 out.txt | paste -sd'|')"
printf 'enable\nswap_buffer go\n' >swap_only.def
run_batch -test -vsync -def swap_only.def
expect_eq "with -vsync it is left to the driver on request" \
  '#   swap interval: set by the driver (-vsync)|Tarvelin - Swap Buffer  [1/1]' \
  "$(head -n 2 out.txt | paste -sd'|')"
