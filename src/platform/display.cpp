// The X connection, message boxes and the small desktop services.
#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/x.H>
#include <X11/Xlib.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/platform.h"
#include "platform/x_connection.h"

extern char** environ;

namespace platform {
namespace {
bool batch_mode = false;
bool connected = false;
}  // namespace

Display* open_x_connection() {
  constexpr int ATTEMPTS = 5;
  constexpr useconds_t PAUSE_US = 100000;
  for (int attempt = 1;; ++attempt) {
    Display* display = XOpenDisplay(nullptr);
    if (display != nullptr) return display;
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0' || attempt == ATTEMPTS) return nullptr;
    usleep(PAUSE_US);
  }
}

bool open_display() {
  if (connected) return true;
  // FLTK's own opener ends the process when there is no display; ask Xlib
  // first so that the caller can say what is wrong.
  Display* display = open_x_connection();
  if (display == nullptr) return false;
  fl_open_display(display);
  connected = true;
  return true;
}

bool display_open() { return connected; }

void set_batch_mode(bool on) { batch_mode = on; }

namespace {

// One line for a box of several: its lines joined by " / ", each without
// the blanks that indent it.
std::string one_line(const char* text) {
  std::string line;
  for (const char* at = text; *at != '\0';) {
    const size_t length = std::strcspn(at, "\n");
    const size_t indent = std::strspn(at, " \t");
    if (length > indent) {
      if (!line.empty()) line += " / ";
      line.append(at + indent, length - indent);
    }
    at += length;
    if (*at == '\n') ++at;
  }
  return line;
}

}  // namespace

void message_box(const char* caption, const char* text) {
  // A batch run's scripts read one line a box; a person at a terminal
  // without a display reads the box's lines as they stand.
  if (batch_mode || !connected) {
    std::fprintf(stderr, "%s: %s\n", caption, batch_mode ? one_line(text).c_str() : text);
    std::fflush(stderr);
    return;
  }
  fl_message_title(caption);
  fl_message("%s", text);
}

uint64_t clock_ns() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

uint64_t raw_clock_ns() {
  timespec now{};
  if (clock_gettime(CLOCK_MONOTONIC_RAW, &now) != 0) return 0;
  return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

bool read_access(const char* path) { return access(path, R_OK) == 0; }

void open_in_viewer(const char* path) {
  // The name goes to the opener as one argument; no shell ever sees it.
  char opener[] = "xdg-open";
  char* argv[] = {opener, const_cast<char*>(path), nullptr};
  pid_t pid = 0;
  posix_spawnp(&pid, opener, nullptr, nullptr, argv, environ);
}

void beep() {
  if (!connected) return;
  XBell(fl_display, 0);
  XFlush(fl_display);
}

Size screen_size() {
  if (!connected) return {};
  return {DisplayWidth(fl_display, fl_screen), DisplayHeight(fl_display, fl_screen)};
}

}  // namespace platform
