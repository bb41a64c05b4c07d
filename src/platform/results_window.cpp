// The results window: the run's lines, its chart in a scrolled area, and
// buttons to open the report, save the chart and close.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Scroll.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_ask.H>
#include <FL/fl_file_chooser.H>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace platform {
namespace {

// Fits a 1024 x 768 screen with the window's frame and a panel of the
// desktop; smaller where the screen is.
constexpr int WIDTH = 1000;
constexpr int HEIGHT = 700;
constexpr int SCREEN_MARGIN_X = 24;
constexpr int SCREEN_MARGIN_Y = 68;
constexpr int GAP = 10;
constexpr int TEXT_HEIGHT = 150;  // eight lines; more scroll
constexpr int BUTTON_HEIGHT = 30;
constexpr int TEXT_SIZE = 14;
constexpr const char* SAVE_TITLE = "Save the chart";
constexpr const char* CHART_PATTERN = "Charts (*.{png,svg,pdf})";

class ResultsWindow : public Fl_Double_Window {
 public:
  ResultsWindow(int w, int h, const ResultsView& view, ResultsActions& actions)
      : Fl_Double_Window(w, h, RESULTS_TITLE),
        view_(view),
        actions_(actions),
        chart_(view.chart_rgb, view.chart_width, view.chart_height, 3) {
    text_buffer_.text(view.text.c_str());
    auto* text = new Fl_Text_Display(GAP, GAP, w - 2 * GAP, TEXT_HEIGHT);
    text->buffer(&text_buffer_);
    text->textsize(TEXT_SIZE);
    text->wrap_mode(Fl_Text_Display::WRAP_AT_BOUNDS, 0);

    const int chart_top = 2 * GAP + TEXT_HEIGHT;
    const int buttons_top = h - GAP - BUTTON_HEIGHT;
    auto* scroll = new Fl_Scroll(GAP, chart_top, w - 2 * GAP, buttons_top - GAP - chart_top);
    scroll->color(FL_WHITE);
    auto* picture = new Fl_Box(GAP, chart_top, view.chart_width, view.chart_height);
    picture->image(&chart_);
    picture->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT);
    scroll->end();

    auto* open = new Fl_Button(GAP, buttons_top, 130, BUTTON_HEIGHT, "Open report");
    open->callback(open_pressed, this);
    if (!view.has_report) open->deactivate();
    auto* save =
        new Fl_Return_Button(2 * GAP + 130, buttons_top, 160, BUTTON_HEIGHT, "Save chart...");
    save->callback(save_pressed, this);
    auto* close = new Fl_Button(w - GAP - 100, buttons_top, 100, BUTTON_HEIGHT, "Close");
    close->callback(close_pressed, this);
    end();
    resizable(scroll);
    size_range(400, 300);
    // Enter goes to the save button wherever the focus is; the text takes
    // no key but its own selection.
    text->visible_focus(0);
  }
  // The children go first: the text display lets go of its buffer, a
  // member, as it is deleted.
  ~ResultsWindow() override { clear(); }

 private:
  static void open_pressed(Fl_Widget*, void* data) {
    static_cast<ResultsWindow*>(data)->actions_.open_report();
  }

  static void close_pressed(Fl_Widget*, void* data) { static_cast<ResultsWindow*>(data)->hide(); }

  static void save_pressed(Fl_Widget*, void* data) {
    auto* window = static_cast<ResultsWindow*>(data);
    const char* chosen =
        fl_file_chooser(SAVE_TITLE, CHART_PATTERN, window->view_.chart_name.c_str(), 0);
    if (chosen == nullptr) return;
    const std::string path = chosen;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
      fl_message_title(SAVE_TITLE);
      if (fl_choice("%s already exists.\nDo you want to replace it?", "Cancel", "Replace", nullptr,
                    path.c_str()) != 1) {
        return;
      }
    }
    const std::string error = window->actions_.save_chart(path);
    if (!error.empty()) {
      fl_message_title(SAVE_TITLE);
      fl_alert("%s", error.c_str());
    }
  }

  const ResultsView& view_;
  ResultsActions& actions_;
  Fl_RGB_Image chart_;
  Fl_Text_Buffer text_buffer_;
};

}  // namespace

void run_results_window(const ResultsView& view, ResultsActions& actions) {
  const Size screen = screen_size();
  const int w = std::min(WIDTH, std::max(400, screen.width - SCREEN_MARGIN_X));
  const int h = std::min(HEIGHT, std::max(300, screen.height - SCREEN_MARGIN_Y));
  ResultsWindow window(w, h, view, actions);
  window.position((screen.width - w) / 2, (screen.height - h) / 2);
  window.show();
  while (window.shown()) Fl::wait();
}

}  // namespace platform
