// Reading the user's pass definition file with the desktop's warnings.
#pragma once

#include "core/pass_definition.h"

// Reads the file `pass_file`, each warning shown in a "Warning" message box.
// Only a regular file of at most PASS_FILE_MAX_BYTES is read: anything else
// (a folder, a pipe, a device) gets the warning "Not opened <name>
// (<reason>)" and every test runs. A file that cannot be opened at all gets
// no warning here: the start panel warns of it.
PassSelection read_pass_definition(const char* pass_file);
