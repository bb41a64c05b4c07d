# The Debian package that CPack makes of the program's build: it depends on the packages of
# the libraries the programs link, and what it unpacks runs, from outside the build, with its
# desktop entry and AppStream description valid.
source "$(dirname "$0")/lib.sh"

BUILD=$(cd "$(dirname "$PROGRAM")" && pwd)
cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$WORK/package" >cpack.log 2>&1 ||
  fail "cpack: $(cat cpack.log)"
version=$(program_version)
deb=$WORK/package/tarvelin_${version}_$(dpkg --print-architecture).deb
check "the package is named by the program's version" test -s "$deb"

depends=$(dpkg-deb --field "$deb" Depends)
for library in libfltk1.3 libfltk-gl1.3 libegl1 libglx0 libcairo2 libpng16-16 libxss1; do
  check "it depends on $library" grep -qE "(^|, )$library( |,|$)" <<<"$depends"
done

dpkg-deb -x "$deb" root
STATUS=0
root/usr/bin/tarvelin -version >out.txt 2>err.txt || STATUS=$?
expect_eq "the unpacked program runs" "0 Tarvelin $version" "$STATUS $(cat out.txt)"
STATUS=0
env -u DISPLAY root/usr/bin/tarvelin -offscreen -test -only "$(first_test kernel=animated)" >out.txt 2>err.txt ||
  STATUS=$?
expect_eq "and draws off-screen" 0 "$STATUS"
STATUS=0
root/usr/bin/tarvelin-compare -help >out.txt 2>err.txt || STATUS=$?
expect_eq "the unpacked tarvelin-compare runs" "0 usage: tarvelin-compare" "$STATUS $(head -c 23 out.txt)"

# validate-tree also finds the desktop entry that the description launches.
appstreamcli validate-tree --no-net root >appstream.txt 2>&1 ||
  fail "the AppStream description: $(cat appstream.txt)"
echo "ok - the AppStream description is valid"
metainfo=(root/usr/share/metainfo/*.metainfo.xml)
expect_eq "its newest release is the program's version" "$version" \
  "$(xmllint --xpath 'string(//releases/release[1]/@version)' "${metainfo[@]}")"
expect_eq "the desktop entry is valid" "" \
  "$(desktop-file-validate root/usr/share/applications/tarvelin.desktop 2>&1)"
