// The first half of the report: the header with the run settings, the
// strings that identify the GL implementation and the bit depths of the two
// test windows.
#pragma once

#include <cstdio>
#include <string>

#include "core/environment_info.h"
#include "core/run_options.h"

// Writes the header and environment status to `out`, ending with the empty
// line after the 2D block. Reads loops, quarter and auto_pass of `options`,
// and prints the depth buffer the last 3D window was granted; the header's last comment lines tell
// the swap interval of `info` and, off-screen, where the tests drew. An absent (null) string leaves
// its line out; the empty line after the strings is written only when at least one string is
// present and not empty.
void write_status_text(FILE* out, const RunOptions& options, const EnvironmentInfo& info);

// Writes the extension string one word a line: the first after
// "Extensions : ", every later one indented by 13 spaces to the same
// column. Words end at a space, a line feed or the end; a line feed ends
// the list, two spaces in a row give an empty word, one trailing space adds
// nothing, and an empty string gives the line "Extensions : " alone. Words
// of any length are written whole.
void write_extension_lines(FILE* out, const char* extensions);

// The header's comment line for the 3D window's swap interval, e.g.
// "#   swap interval 0"; null when no 3D window has run.
const char* swap_interval_line(SwapIntervalState state);

// The header's comment line for an off-screen run, e.g.
// "#   off-screen (EGL device /dev/dri/renderD128)" or
// "#   off-screen (EGL, Mesa surfaceless)"; empty for X windows.
std::string offscreen_line(const EnvironmentInfo& info);
