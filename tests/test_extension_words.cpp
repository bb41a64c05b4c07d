// Finding an extension by its whole name in an extension string.
#include <gtest/gtest.h>

#include "platform/test_surface.h"

namespace {

TEST(ExtensionWords, OnlyAWholeWordCounts) {
  using platform::has_word;
  const char* extensions = "GLX_EXT_swap_control_tear  GLX_ARB_x GLX_MESA_swap_control";
  EXPECT_TRUE(has_word(extensions, "GLX_ARB_x"));
  EXPECT_TRUE(has_word(extensions, "GLX_MESA_swap_control")) << "the last word";
  EXPECT_TRUE(has_word("GLX_EXT_swap_control", "GLX_EXT_swap_control")) << "the only word";
  EXPECT_FALSE(has_word(extensions, "GLX_EXT_swap_control")) << "a longer name's start";
  EXPECT_FALSE(has_word(extensions, "MESA_swap_control")) << "a longer name's end";
  EXPECT_FALSE(has_word(extensions, "GLX_ARB")) << "before an underscore";
  EXPECT_FALSE(has_word("", "GLX_ARB_x"));
  EXPECT_FALSE(has_word(nullptr, "GLX_ARB_x")) << "no extension string at all";
}

}  // namespace
