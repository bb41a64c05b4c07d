# The report file on the ways a run can fail to write it: a name the
# folder can barely hold, a folder that is missing, a write that fails, and a
# signal while the report is being written. The run's report is never lost
# and the previous one is never damaged.
source "$(dirname "$0")/lib.sh"

echo "the previous report" >previous.tvl

# A report that cannot be created where asked goes to the temporary folder,
# and the run still counts as failed.
mkdir spare
export TMPDIR=$WORK/spare
run_batch -test -f nowhere/result.tvl
expect_eq "test-loop mode never creates the report" 0 "$STATUS"
run_batch -statusonly -f nowhere/result.tvl
expect_eq "an uncreatable report fails the run" 1 "$STATUS"
saved=$(ls "$WORK"/spare/tarvelin-report-*.tvl)
expect_eq "and says why and where the report went" \
  "Error : file nowhere/result.tvl not created (No such file or directory); the report was written to $saved instead." \
  "$(grep '^Error' err.txt)"
check "the copy is the whole report" grep -qx 'BLUE Bits        : 8' "$saved"
rm -f spare/*
TMPDIR=$WORK/gone run_batch -statusonly -f nowhere/result.tvl
check "a temporary folder that fails too is named" grep -qF \
  "no copy could be written to the temporary folder $WORK/gone either (No such file or directory)" err.txt

# So do result files, told the same way; the report itself is written.
run_batch -statusonly -csv nowhere/run.csv -json run.json
expect_eq "an uncreatable result file fails the run" 1 "$STATUS"
saved=$(ls "$WORK"/spare/tarvelin-report-*.csv)
expect_eq "and says why and where the results went" \
  "Error : file nowhere/run.csv not created (No such file or directory); the results were written to $saved instead." \
  "$(grep '^Error' err.txt)"
expect_eq "the copy is the whole table" $(($(test_count) + 1)) "$(wc -l <"$saved")"
check "the other files are written" test -s run.json -a -s result.tvl
rm -f spare/* result.tvl

# A link whose file does not exist yet makes it; the link stays a link.
mkdir made
ln -s made/later.tvl link.tvl
run_batch -statusonly -f link.tvl
expect_eq "a link to a file not made yet: made through the link" "0 yes" \
  "$STATUS $(test -L link.tvl && grep -qx 'BLUE Bits        : 8' made/later.tvl && echo yes)"

# A result file that is the standard output is written there after the
# run's own lines, not renamed over them; "-" is the standard output.
"$PROGRAM" -batch -statusonly -f /dev/stdout -json both.json >both.txt 2>err.txt
check "-f /dev/stdout > FILE: the run's lines stay, the report follows" \
  bash -c "grep -q '^#   swap interval' both.txt && grep -qx 'BLUE Bits        : 8' both.txt"
"$PROGRAM" -batch -statusonly -csv - >csv.txt 2>err.txt
expect_eq "-csv -: the table on the standard output" $(($(test_count) + 1)) "$(grep -c ',' csv.txt)"
rm -f result.tvl

# A name as long as the folder can hold is written like any other.
long_name=$(printf 'a%.0s' {1..250})
run_batch -statusonly -f "$long_name"
expect_eq "a 250-character report name is written" 0 "$STATUS"
check "under that name" test -s "$long_name"
check "with nothing left beside it" bash -c '! ls -A | grep -q "^\.tarvelin-"'

# A report that cannot be finished keeps the previous one whole.
cp previous.tvl keep.tvl
STATUS=0
(trap '' XFSZ; ulimit -f 1; "$PROGRAM" -batch -statusonly -f keep.tvl >out.txt 2>err.txt) || STATUS=$?
expect_eq "a report that cannot be written fails the run" 1 "$STATUS"
check "it says what failed and why" contains err.txt \
  "Error : file keep.tvl not written (write failed: File too large)"
check "the previous report is untouched" cmp -s previous.tvl keep.tvl
check "no temporary file is left behind" bash -c '! ls -A | grep -q "^\.tarvelin-"'

# Signals: a SIGTERM that lands while the report is being written (here the
# moment it is complete, before it takes the old one's place) ends the run
# and leaves the previous report whole and nothing beside it.
gdb -q -batch -ex 'handle SIGTERM nostop noprint pass' -ex 'break commit_replacement' -ex run \
  -ex 'shell ls -A | grep "^\.tarvelin-" >temp_seen.txt' -ex 'signal SIGTERM' \
  --args "$PROGRAM" -batch -statusonly -f keep.tvl >gdb.txt 2>&1 || true
check "the temporary file existed when the signal came" test -s temp_seen.txt
check "the run was ended by the signal" grep -q 'terminated with signal SIGTERM' gdb.txt
check "the previous report is untouched after SIGTERM" cmp -s previous.tvl keep.tvl
check "and no temporary file is left behind" bash -c '! ls -A | grep -q "^\.tarvelin-"'
