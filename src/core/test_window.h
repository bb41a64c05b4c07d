// The window a suite draws in: its size, and what a suite may do to it
// (title, swap, read-back). The application opens it and hands it to the
// suite in its SuiteContext; nothing reaches it any other way.
#pragma once

#include "platform/platform.h"

constexpr int TEST_WINDOW_WIDTH = platform::TEST_SURFACE_WIDTH;
constexpr int TEST_WINDOW_HEIGHT = platform::TEST_SURFACE_HEIGHT;
constexpr int TEST_PICTURE_BYTES = platform::TEST_PICTURE_BYTES;

using TestWindow = platform::GlSurface;
