#include "core/test_window.h"

#include "platform/platform.h"

void swap_buffers() { platform::swap_test_window(); }
