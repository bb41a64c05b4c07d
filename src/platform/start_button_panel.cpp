// The start panel reduced to its START button.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>

#include "platform/platform.h"

namespace platform {
namespace {

struct PanelState {
  Fl_Window* window = nullptr;
  bool pressed = false;
  WindowRect at_start;
};

void start_clicked(Fl_Widget*, void* data) {
  auto* state = static_cast<PanelState*>(data);
  Fl_Window* w = state->window;
  state->at_start = {w->x(), w->y(), w->x() + w->w(), w->y() + w->h()};
  state->pressed = true;
  w->hide();
}

}  // namespace

bool run_start_button_panel(const WindowRect& rect, const char* title, WindowRect* at_start) {
  PanelState state;
  Fl_Window window(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  window.copy_label(title);
  state.window = &window;
  Fl_Button start(5, 229, 502, 150, "Press Here to START");
  start.callback(start_clicked, &state);
  window.end();
  window.show();
  while (window.shown()) Fl::wait();
  if (state.pressed && at_start != nullptr) *at_start = state.at_start;
  return state.pressed;
}

}  // namespace platform
