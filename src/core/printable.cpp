#include "core/printable.h"

#include <cstdio>

namespace {

// The length of the well-formed UTF-8 sequence at text[i] (1 to 4), or 0
// where the bytes there are no such sequence: a stray continuation byte, a
// cut or overlong sequence, a surrogate or a value beyond U+10FFFF.
size_t sequence_length(const std::string& text, size_t i) {
  const auto byte = [&](size_t at) {
    return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
  };
  const unsigned char lead = byte(i);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xbf;  // the second byte's range
  if (lead < 0x80) return 1;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    if (lead == 0xe0) low = 0xa0;
    if (lead == 0xed) high = 0x9f;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    if (lead == 0xf0) low = 0x90;
    if (lead == 0xf4) high = 0x8f;
  } else {
    return 0;
  }
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xbf) return 0;
  }
  return length;
}

}  // namespace

std::string printable(const std::string& text, size_t longest) {
  std::string shown;
  size_t characters = 0;
  char escape[8];
  for (size_t i = 0; i < text.size();) {
    if (++characters > longest) return shown + "…";
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t length = sequence_length(text, i);
    if (length == 0 || c < 0x20 || c == 0x7f) {
      std::snprintf(escape, sizeof escape, "\\x%02x", c);  // a control, or no UTF-8
      shown += escape;
      i += 1;
    } else if (c == 0xc2 && static_cast<unsigned char>(text[i + 1]) <= 0x9f) {  // U+0080 to U+009F
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(text[i + 1]));
      shown += escape;
      i += 2;
    } else {
      shown.append(text, i, length);
      i += length;
    }
  }
  return shown;
}
