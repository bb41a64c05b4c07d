// Text from outside the program as messages and tables show it.
#include <gtest/gtest.h>

#include "core/printable.h"

namespace {

TEST(Printable, EscapesControlsAndWhatIsNoUtf8AndCutsByCharacters) {
  const struct {
    std::string text;
    std::string shown;
  } cases[] = {
      {"plain äö €", "plain äö €"},
      {"a\x1b[31m\nb\x7f", "a\\x1b[31m\\x0ab\\x7f"},
      {"c1 \xc2\x9b \xc2\xa0", "c1 \\u009b \xc2\xa0"},  // U+009B escaped, U+00A0 kept
      {"name\xff.tvl", "name\\xff.tvl"},
      {"\x80 \xc3 \xe2\x82 \xc0\xaf \xed\xa0\x80 \xf4\x90\x80\x80",  // stray, cut, overlong,
       "\\x80 \\xc3 \\xe2\\x82 \\xc0\\xaf \\xed\\xa0\\x80 \\xf4\\x90\\x80\\x80"},  // surrogate, too
                                                                                   // big
      {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
  };
  for (const auto& c : cases) EXPECT_EQ(printable(c.text), c.shown) << c.shown;
  EXPECT_EQ(printable("äöü€x", 4), "äöü€…");
  EXPECT_EQ(printable("\xff\xff\xff", 2), "\\xff\\xff…");
  EXPECT_EQ(printable("abc", 3), "abc");
}

}  // namespace
