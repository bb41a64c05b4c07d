# The results window a desktop run ends in, the history of runs that it and
# -history keep, and `tarvelin-compare -last`.
source "$(dirname "$0")/lib.sh"

install_fake_opener
COMPARE=$(dirname "$PROGRAM")/tarvelin-compare
RUNS=$XDG_DATA_HOME/tarvelin/runs
# The plain lines and the plain put: a quick run with a test of each window.
LINES=$(first_test stage=lines state=none)
ONLY=(-quarter -only "$LINES,$(first_test kernel=put probed=unprobed)")

run_batch "${ONLY[@]}"
check "a batch run keeps nothing without -history" test ! -e "$RUNS"
run_batch "${ONLY[@]}" -history
expect_eq "a batch run with -history completes" 0 "$STATUS"
expect_eq "and keeps its results, named by its start" 1 \
  "$(find "$RUNS" -name '????-??-??T??-??-??Z.json' | wc -l)"
PREVIOUS=$(ls "$RUNS")
run_batch -test -history
expect_eq "-history with a test loop is a usage error" 2 "$STATUS"
check "which says why" contains err.txt "-history cannot be combined with -test: a test loop has no scores to keep"

# Pixels of one colour in a picture, within a few percent.
pixels_of() {  # pixels_of PICTURE COLOUR
  convert "$1" -alpha off -fuzz 3% -fill black +opaque "$2" -fill white -opaque "$2" \
    -format '%[fx:int(mean*w*h)]' info:
}

start_desktop_run() {  # the run's status goes to $STATUS once it ends
  PATH="$WORK/bin:$PATH" "$PROGRAM" "$@" >out.txt 2>err.txt &
  RUN_PID=$!
  BACKGROUND_PIDS+=("$RUN_PID")
  local panel
  panel=$(wait_for_window '^Tarvelin version') || fail "the start panel appears"
  retry_x xdotool mousemove --window "$panel" 256 300 click 1
  RESULTS=$(wait_for_window '^Tarvelin results$' 60) || fail "the results window appears"
}
end_desktop_run() {
  retry_x xdotool mousemove --window "$RESULTS" 500 300 key Escape
  STATUS=0
  wait "$RUN_PID" || STATUS=$?
}

start_desktop_run "${ONLY[@]}" -f r.tvl
sleep 0.5
retry_x import -window "$RESULTS" window.png
check "the chart shows this run's bars" test "$(pixels_of window.png 'rgb(230,158,0)')" -gt 100
check "beside the previous run's" test "$(pixels_of window.png 'rgb(0,115,178)')" -gt 100

retry_x xdotool mousemove --window "$RESULTS" 500 300 key Return
CHOOSER=$(wait_for_window '^Save the chart$') || fail "Enter asks where to save the chart"
# The dialog proposes a name in the current folder; Enter takes it.
sleep 0.5
retry_x xdotool mousemove --window "$CHOOSER" 200 320 key Return
for _ in $(seq 50); do [ -s tarvelin-results.png ] && break; sleep 0.1; done
check "the chart is saved as PNG" grep -q 'PNG image data' <(file tarvelin-results.png)
retry_x xdotool mousemove --window "$RESULTS" 75 675 click 1
for _ in $(seq 50); do [ -s opener.log ] && break; sleep 0.1; done
expect_eq "Open report opens the report" "$(realpath "$WORK")/r.tvl" "$(tail -n1 opener.log)"
end_desktop_run
expect_eq "Escape closes the window and the run exits with 1" 1 "$STATUS"
expect_eq "the desktop run is kept too" 2 "$(ls "$RUNS" | wc -l)"

"$COMPARE" -last 2 >table.txt || fail "tarvelin-compare -last 2: $(cat table.txt)"
check "-last 2 compares the kept runs, oldest first" contains table.txt "run 1: $RUNS/$PREVIOUS,"
check "and the later one second" grep -q "^run 2: $RUNS/[^,]*Z\.json, " table.txt
check "scores side by side" grep -qE "^$LINES +[0-9.]+ +[0-9.]+ x" table.txt
check "two runs of one pass each: what their ratios cannot claim, and why" \
  grep -qE "^$LINES +[0-9.]+ +[0-9.]+ x[0-9.]+ cannot tell: one pass each$" table.txt

# A history that cannot be written is a warning, never a failed run.
touch blocked
XDG_DATA_HOME=$WORK/blocked run_batch "${ONLY[@]}" -history -f b.tvl
expect_eq "a batch run whose history cannot be written completes" 0 "$STATUS"
check "and warns" contains err.txt \
  "tarvelin: warning: cannot keep the run in $WORK/blocked/tarvelin/runs: Not a directory; this run is not kept"
check "its report is written" contains b.tvl '# result'
XDG_DATA_HOME=$WORK/blocked start_desktop_run "${ONLY[@]}"
end_desktop_run
expect_eq "so does a desktop run, through its results window" 1 "$STATUS"
check "which warns on stderr too" contains err.txt "this run is not kept"
