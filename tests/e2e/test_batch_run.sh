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
check "no completion box outside test-loop mode" bash -c '! grep -q "BenchMark complete" err.txt'
