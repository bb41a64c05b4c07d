#include "core/run_options.h"

RunOptions run_options;
RunState run_state;
int32_t repeat_counts[REPEAT_COUNT_ENTRIES] = {1000, 1000, 128, 2000, 100, 500,
                                               500,  64,   500, 300,  300};
