#include "core/printable.h"

#include <cstdio>

std::string printable(const std::string& text, size_t longest) {
  std::string shown;
  size_t characters = 0;
  char escape[8];
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if ((c & 0xC0) != 0x80 && ++characters > longest) return shown + "…";
    if (c < 0x20 || c == 0x7f) {
      std::snprintf(escape, sizeof escape, "\\x%02x", c);
    } else if (c == 0xc2 && next >= 0x80 && next <= 0x9f) {  // U+0080 to U+009F in UTF-8
      std::snprintf(escape, sizeof escape, "\\u%04x", next);
      ++i;
    } else {
      shown += text[i];
      continue;
    }
    shown += escape;
  }
  return shown;
}
