// The window a suite draws in: its size, and what a suite may do to it
// (title, swap, read-back). The application opens it and hands it to the
// suite in its SuiteContext; nothing reaches it any other way.
#pragma once

#include "platform/platform.h"

constexpr int TEST_WINDOW_WIDTH = 512;
constexpr int TEST_WINDOW_HEIGHT = 384;
constexpr int TEST_PICTURE_BYTES = platform::TEST_PICTURE_BYTES;
static_assert(TEST_PICTURE_BYTES == TEST_WINDOW_WIDTH * TEST_WINDOW_HEIGHT * 3);

using TestWindow = platform::GlSurface;
