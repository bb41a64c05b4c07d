#!/bin/sh
# Builds Tarvelin from the source tree that TARVELIN_SOURCE_DIR names, installs it into
# this test installation and writes the script that runs it. The suite runs this in the
# installation folder, which is also $HOME here.

if [ ! -f "${TARVELIN_SOURCE_DIR:-}/CMakeLists.txt" ]; then
  echo "TARVELIN_SOURCE_DIR must name a Tarvelin source tree" >&2
  echo 1 > ~/install-exit-status
  exit 1
fi

cmake -S "$TARVELIN_SOURCE_DIR" -B build -DCMAKE_BUILD_TYPE=Release -DTARVELIN_TESTS=OFF &&
  cmake --build build -j "${NUM_CPU_CORES:-$(nproc)}" &&
  cmake --install build --prefix "$HOME/prefix"
echo $? > ~/install-exit-status

# One unattended run: its last two lines are the 3D and the 2D total that
# results-definition.xml reads. The report lands in the installation folder.
# On a desktop the tests run in windows; where no display can be opened the
# run draws off-screen through EGL on the machine's GPU.
cat > ~/tarvelin-run <<'RUN'
#!/bin/sh
"$HOME/prefix/bin/tarvelin" -batch "$@" > "$LOG_FILE" 2>&1
echo $? > ~/test-exit-status
RUN
chmod +x ~/tarvelin-run
