// Text from outside the program (a file's name, a file's contents, a
// driver's string) as a message or a table shows it.
#pragma once

#include <cstddef>
#include <string>

// `text` as shown to the user: each control character (C0, DEL and C1)
// written as an escape, "\x1b" or "\u009b", so that it cannot break a
// message's line or steer a terminal, each byte that is no part of
// well-formed UTF-8 as "\xff", and cut after `longest` characters (UTF-8
// sequences or escaped bytes) with "…" added. Other text stays as it is.
std::string printable(const std::string& text, size_t longest = std::string::npos);
