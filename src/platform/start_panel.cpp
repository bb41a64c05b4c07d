// The start panel's window: widgets that show what the panel's rules say
// and report every action of the user to them.
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <cstring>
#include <iterator>
#include <string>
#include <utility>

#include "platform/platform.h"

namespace platform {
namespace {

struct Place {
  int x, y, w, h;
  const char* text;
};

struct PaintedText {
  int x, y;  // top left of the text
  const char* text;
};

constexpr Place START_PLACE = {5, 229, 502, 150, "Press Here to START"};

constexpr Place BOX_PLACES[PANEL_BOX_COUNT] = {
    {10, 10, 300, 20, "Quarter time"},
    {10, 30, 300, 20, "Auto check available function"},
    {10, 50, 300, 20, "Get OpenGL environment status"},
    {10, 70, 300, 20, "Test loop"},
    {10, 90, 300, 20, "Stop screen saver"},
};

constexpr int FIELD_COUNT = 3;
constexpr PanelField FIELD_ORDER[FIELD_COUNT] = {PanelField::loops, PanelField::report_file,
                                                 PanelField::pass_file};
constexpr Place FIELD_PLACES[FIELD_COUNT] = {
    {65, 120, 80, 22, nullptr},
    {100, 145, 402, 22, nullptr},
    {100, 170, 402, 22, nullptr},
};

constexpr PaintedText LABELS[] = {
    {10, 120, "Loop:"},
    {10, 145, "Result File:"},
    {10, 170, "Pass File:"},
};

constexpr int WARNING_X = 20;
constexpr int WARNING_Y = 200;
constexpr int WARNING_SIZE = 300;

constexpr int LOGO_X = 376;
constexpr int LOGO_Y = 8;
constexpr const char* LOGO_TITLE = "Tarvelin";
constexpr const char* LOGO_CAPTION = "Benchmark!!";

// The grey of an inactive window border on a classic desktop.
Fl_Color panel_grey() { return fl_rgb_color(192, 192, 192); }
Fl_Color logo_yellow() { return fl_rgb_color(255, 255, 0); }

void use_panel_font() { fl_font(FL_HELVETICA, FL_NORMAL_SIZE); }

// Text placed by its top edge, as the desktop's text calls place it.
void draw_text_at(const char* text, int x, int top) {
  fl_draw(text, x, top + fl_height() - fl_descent());
}

void draw_centred(const char* text, int left, int right, int top) {
  const int width = static_cast<int>(fl_width(text));
  draw_text_at(text, left + (right - left - width) / 2, top);
}

class PanelWindow : public Fl_Double_Window {
 public:
  PanelWindow(const WindowRect& rect, const char* title, PanelRules& rules)
      : Fl_Double_Window(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top),
        rules_(rules) {
    copy_label(title);
    callback(close_requested);
    color(panel_grey());
    start_ =
        new Fl_Button(START_PLACE.x, START_PLACE.y, START_PLACE.w, START_PLACE.h, START_PLACE.text);
    start_->color(panel_grey());
    start_->callback(start_pressed, this);
    for (int i = 0; i < PANEL_BOX_COUNT; ++i) boxes_[i] = make_box(BOX_PLACES[i]);
    for (int i = 0; i < FIELD_COUNT; ++i) fields_[i] = make_field(FIELD_PLACES[i], FIELD_ORDER[i]);
    end();
    show_marks();
    refresh_warning();
  }

  ~PanelWindow() override { release_logo(); }

  // Needs the window shown: the offscreen image is made for its screen.
  void build_logo(const uint8_t* rgb) {
    if (rgb == nullptr || logo_ != 0) return;
    make_current();
    logo_ = fl_create_offscreen(PANEL_LOGO_SIZE, PANEL_LOGO_SIZE);
    if (logo_ == 0) return;
    fl_begin_offscreen(logo_);
    fl_draw_image(rgb, 0, 0, PANEL_LOGO_SIZE, PANEL_LOGO_SIZE, 3);
    use_panel_font();
    fl_color(logo_yellow());
    const int text_height = fl_height();
    draw_centred(LOGO_TITLE, 2, 2 + PANEL_LOGO_SIZE, 2);
    draw_centred(LOGO_CAPTION, 0, PANEL_LOGO_SIZE, PANEL_LOGO_SIZE - 2 - text_height);
    fl_end_offscreen();
  }

  bool started() const { return started_; }

 protected:
  void draw() override {
    if (damage() & ~FL_DAMAGE_CHILD) paint_background();
    draw_children();
  }

 private:
  Fl_Check_Button* make_box(const Place& place) {
    auto* box = new Fl_Check_Button(place.x, place.y, place.w, place.h, place.text);
    // A box of its own colour repaints cleanly when only its mark changes.
    box->box(FL_FLAT_BOX);
    box->color(panel_grey());
    box->when(FL_WHEN_RELEASE_ALWAYS);
    box->callback(box_clicked, this);
    return box;
  }

  Fl_Input* make_field(const Place& place, PanelField field) {
    auto* input = new Fl_Input(place.x, place.y, place.w, place.h);
    input->maximum_size(PANEL_TEXT_SIZE - 1);
    char text[PANEL_TEXT_SIZE];
    rules_.field_text(field, text);
    input->value(text);
    input->when(FL_WHEN_CHANGED | FL_WHEN_RELEASE_ALWAYS);
    input->callback(field_changed, this);
    return input;
  }

  void paint_background() {
    fl_color(panel_grey());
    fl_rectf(0, 0, w(), h());
    use_panel_font();
    fl_color(FL_BLACK);
    for (const PaintedText& label : LABELS) draw_text_at(label.text, label.x, label.y);
    if (logo_ != 0) {
      fl_copy_offscreen(LOGO_X, LOGO_Y, PANEL_LOGO_SIZE, PANEL_LOGO_SIZE, logo_, 0, 0);
    }
    if (!warning_.empty()) draw_text_at(warning_.c_str(), WARNING_X, WARNING_Y);
  }

  void show_marks() {
    for (int i = 0; i < PANEL_BOX_COUNT; ++i) boxes_[i]->value(rules_.box_checked(i) ? 1 : 0);
  }

  // The warning line comes and goes with the pass field's every keystroke.
  void refresh_warning() {
    char line[WARNING_SIZE];
    std::string now;
    if (rules_.warning_line(line, sizeof line)) now = line;
    if (now == warning_) return;
    warning_ = std::move(now);
    redraw();
  }

  void release_logo() {
    if (logo_ == 0) return;
    fl_delete_offscreen(logo_);
    logo_ = 0;
  }

  // The close box, the window menu and the desktop's close key close the
  // panel; Escape, which FLTK would also take as a close request, does not.
  static void close_requested(Fl_Widget* widget, void*) {
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    widget->hide();
  }

  static void box_clicked(Fl_Widget* widget, void* data) {
    auto* panel = static_cast<PanelWindow*>(data);
    for (int i = 0; i < PANEL_BOX_COUNT; ++i) {
      if (panel->boxes_[i] == widget) panel->rules_.box_clicked(i);
    }
    // The widget has toggled its own mark; the rules decide every mark.
    panel->show_marks();
  }

  static void field_changed(Fl_Widget* widget, void* data) {
    auto* panel = static_cast<PanelWindow*>(data);
    const FieldEvent event =
        Fl::event() == FL_UNFOCUS ? FieldEvent::focus_lost : FieldEvent::edited;
    for (int i = 0; i < FIELD_COUNT; ++i) {
      Fl_Input* input = panel->fields_[i];
      if (input != widget) continue;
      char text[PANEL_TEXT_SIZE];
      std::strncpy(text, input->value(), sizeof text - 1);
      text[sizeof text - 1] = '\0';
      // A rewrite by the program calls no callback, so it cannot repeat.
      if (panel->rules_.field_changed(FIELD_ORDER[i], event, text)) input->value(text);
    }
    panel->refresh_warning();
  }

  static void start_pressed(Fl_Widget*, void* data) {
    auto* panel = static_cast<PanelWindow*>(data);
    // The fields' focus-loss rules must have run before START fixes the
    // settings. A click takes the focus from a field on its own; this covers
    // a press that did not.
    if (Fl::focus() != panel->start_) Fl::focus(panel->start_);
    const WindowRect client{panel->x(), panel->y(), panel->x() + panel->w(),
                            panel->y() + panel->h()};
    panel->release_logo();
    panel->rules_.start(client);
    panel->started_ = true;
    panel->hide();
  }

  PanelRules& rules_;
  Fl_Button* start_ = nullptr;
  Fl_Check_Button* boxes_[PANEL_BOX_COUNT] = {};
  Fl_Input* fields_[FIELD_COUNT] = {};
  std::string warning_;  // the line as last painted; empty: none
  Fl_Offscreen logo_ = 0;
  bool started_ = false;
};

static_assert(std::size(BOX_PLACES) == PANEL_BOX_COUNT);

}  // namespace

bool run_start_panel(const WindowRect& rect, const char* title, const uint8_t* logo,
                     PanelRules& rules) {
  PanelWindow panel(rect, title, rules);
  panel.show();
  panel.build_logo(logo);
  while (panel.shown()) Fl::wait();
  return panel.started();
}

}  // namespace platform
