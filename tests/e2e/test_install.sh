# What `cmake --install` puts into an empty prefix, and that it works from
# there: the program runs, the manual pages render cleanly, the desktop entry
# is valid and the icon is the built-in picture. The program is built into the
# build root, so its folder is the build to install.
source "$(dirname "$0")/lib.sh"

BUILD=$(cd "$(dirname "$PROGRAM")" && pwd)
PREFIX=$WORK/prefix
cmake --install "$BUILD" --prefix "$PREFIX" >install.log 2>&1 ||
  fail "cmake --install: $(cat install.log)"

installed=(bin/tarvelin bin/tarvelin-compare share/man/man1/tarvelin.1 share/man/man1/tarvelin-compare.1
  share/applications/tarvelin.desktop share/metainfo/org.example.tarvelin.metainfo.xml
  share/icons/hicolor/128x128/apps/tarvelin.png
  share/icons/hicolor/256x256/apps/tarvelin.png share/doc/tarvelin/README.md
  share/doc/tarvelin/docs/results.md share/doc/tarvelin/docs/architecture.md
  share/doc/tarvelin/assets/README.md)
for file in "${installed[@]}"; do
  check "$file is installed" test -s "$PREFIX/$file"
done
check "every test's reference picture is installed" bash -c \
  'for keyword; do test -s "$0/$keyword.png" || exit 1; done' "$PREFIX/share/tarvelin/reference" \
  $(tests_in_run_order | field keyword)
check "the program is executable" test -x "$PREFIX/bin/tarvelin"

STATUS=0
"$PREFIX/bin/tarvelin" -batch -test >out.txt 2>err.txt || STATUS=$?
expect_eq "the installed program runs the test loop" 0 "$STATUS"

for page in tarvelin tarvelin-compare; do
  LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 \
    -l "$PREFIX/share/man/man1/$page.1" >"$page.txt" 2>"$page.warnings"
  expect_eq "$page.1 renders without warnings" "" "$(cat "$page.warnings")"
done
# Every option of the usage has its entry in the manual and the README.
for option in $("$PREFIX/bin/tarvelin" -batch -help | awk '$1 ~ /^-/ {print $1}'); do
  for document in tarvelin.txt "$SOURCE_DIR/README.md"; do
    check "$(basename "$document") documents $option" grep -qE "^ +$option( |$)" "$document"
  done
done

expect_eq "the desktop entry is valid" "" \
  "$(desktop-file-validate "$PREFIX/share/applications/tarvelin.desktop" 2>&1)"
check "the desktop entry starts the panel" \
  grep -qx 'Exec=tarvelin' "$PREFIX/share/applications/tarvelin.desktop"

icons=$PREFIX/share/icons/hicolor
expect_eq "the large icon is the picture, pixel for pixel" 0 \
  "$(pixels_differing "$icons/256x256/apps/tarvelin.png" "$SOURCE_DIR/assets/picture.ppm" 0)"
convert "$SOURCE_DIR/assets/picture.ppm" -scale 128x128 half.png
expect_eq "the small icon is the picture at half size" 0 \
  "$(pixels_differing "$icons/128x128/apps/tarvelin.png" half.png 1)"

profile=$SOURCE_DIR/contrib/phoronix/tarvelin
check "the test profile's XML is well formed" \
  xmllint --noout "$profile/test-definition.xml" "$profile/results-definition.xml"
check "its install script parses" sh -n "$profile/install.sh"
