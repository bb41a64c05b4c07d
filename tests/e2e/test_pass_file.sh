# The pass definition file as a run reads it: what is left out of an
# over-long line, the line ends it knows, and the files it refuses to read,
# each told in one "Warning" line without hanging or spinning the run.
source "$(dirname "$0")/lib.sh"

# Runs a quick test-loop batch run with the pass file; gives up after 30 s.
run_with() {  # run_with PASS_FILE
  STATUS=0
  timeout 30 "$PROGRAM" -batch -test -def "$1" >out.txt 2>err.txt || STATUS=$?
}
ran() { grep -qF "Tarvelin - $1  [" out.txt; }  # ran TITLE
# Tests to name, by their place in run order: the first few and the last.
mapfile -t FIRST < <(tests_in_run_order | head -n 4 | field keyword)
LAST=$(tests_in_run_order | tail -n 1 | field keyword)
[ "${#FIRST[@]}" = 4 ] && [ "$LAST" != "${FIRST[3]}" ] || fail "the catalogue has five tests or more"

# Text past the 254th character of a line is left out: a comment that runs
# past it stays a comment and switches nothing on.
{
  echo enable
  pass_lines
  printf '# %s %s go\n%s go\n' "$(printf 'x%.0s' {1..251})" "$LAST" "${FIRST[0]}"
} >long.def
run_with long.def
expect_eq "a pass file with an over-long line is read" 0 "$STATUS"
check "the comment's tail switches nothing on" bash -c '! grep -qF "Tarvelin - $1  [" out.txt' _ \
  "$(title_of "$LAST")"
check "the line after it is read" ran "$(title_of "${FIRST[0]}")"
expect_eq "one warning names the line" \
  "Warning: Line $(($(test_count) + 2)) is longer than 254 characters; the rest is ignored" \
  "$(grep '^Warning' err.txt)"

# CR, LF and CR LF all end lines.
printf 'enable\r%s pass\r\n%s pass\r%s pass' "${FIRST[0]}" "${FIRST[1]}" "${FIRST[2]}" >cr.def
run_with cr.def
expect_eq "a pass file with CR line ends is read" 0 "$STATUS"
check "without a warning" bash -c '! grep -q ^Warning err.txt'
check "and each of its lines counts" bash -c '! grep -qF -e "Tarvelin - $1  [" -e "Tarvelin - $2  [" \
  -e "Tarvelin - $3  [" out.txt' _ "$(title_of "${FIRST[0]}")" "$(title_of "${FIRST[1]}")" \
  "$(title_of "${FIRST[2]}")"
check "the other tests run" ran "$(title_of "${FIRST[3]}")"

# Only a regular file of sensible size is read; anything else is refused at
# once, with the reason, and every test runs.
mkdir folder.def
mkfifo fifo.def
head -c 1100000 /dev/zero | tr '\0' '#' >huge.def
for refused in "/dev/zero:not a regular file" "fifo.def:not a regular file" \
  "folder.def:a folder, not a file" "huge.def:larger than 1 MB"; do
  name=${refused%%:*}
  run_with "$name"
  expect_eq "$name: the run ends, and succeeds" 0 "$STATUS"
  expect_eq "$name: is refused with the reason" "Warning: Not opened $name (${refused#*:})" \
    "$(grep '^Warning' err.txt)"
  check "$name: every test runs, to the last" ran "$(title_of "$LAST")"
done

# -only runs just the tests it names, in run order, without reading the
# pass file; a keyword that names no test is a usage error that names it.
# The last test of each window.
LAST_3D=$(tests_where group 3D | tail -n 1 | field keyword)
LAST_2D=$(tests_where group 2D | tail -n 1 | field keyword)
STATUS=0
timeout 30 "$PROGRAM" -batch -test -def huge.def -only "$LAST_3D,$LAST_2D" >out.txt 2>err.txt ||
  STATUS=$?
expect_eq "-only: the run succeeds" 0 "$STATUS"
expect_eq "-only: exactly the two tests run, counted to 2" \
  "Tarvelin - $(title_of "$LAST_3D")  [1/2]|Tarvelin - $(title_of "$LAST_2D")  [2/2]" \
  "$(grep '^Tarvelin - ' out.txt | paste -sd'|')"
check "-only: the pass file is not read" bash -c '! grep -q "^Warning" err.txt'
# A test's keyword with a letter more, beside the test itself.
MISSPELT=${FIRST[0]}z
! tests_in_run_order | field keyword | grep -qxF "$MISSPELT" || fail "$MISSPELT names no test"
STATUS=0
"$PROGRAM" -batch -only "${FIRST[0]},$MISSPELT" >out.txt 2>err.txt || STATUS=$?
expect_eq "-only: an unknown keyword is a usage error" 2 "$STATUS"
check "-only: which is named" grep -qF "Unknown test '$MISSPELT' in -only" err.txt
expect_eq "-list: the same in batch mode" "$("$PROGRAM" -list)" "$("$PROGRAM" -batch -list)"
expect_eq "-version: the project's version" \
  "$(sed -n 's/^project(tarvelin VERSION \([0-9.]*\).*/\1/p' "$SOURCE_DIR/CMakeLists.txt")" \
  "$(program_version)"
