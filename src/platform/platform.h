// The desktop services the benchmark needs, over FLTK, GLX and X11, and
// off-screen drawing through EGL. This is the only interface through which
// the rest of the program reaches the window system; no FLTK, Xlib or EGL
// type appears here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// Connects to the X display named by DISPLAY. False when there is none.
bool open_display();
bool display_open();

// In batch mode message boxes become one line "Caption: text" on stderr.
void set_batch_mode(bool on);

// A modal box with one OK button; returns when the user dismissed it.
// In batch mode it becomes one line on stderr, "Caption: text", the text's
// lines joined by " / "; without a display, "Caption: text" on stderr with
// the text's lines as they stand.
void message_box(const char* caption, const char* text);

// Nanoseconds of a monotonic clock (CLOCK_MONOTONIC), unaffected by changes
// of the wall-clock time.
uint64_t clock_ns();
// Nanoseconds of the raw hardware clock (CLOCK_MONOTONIC_RAW), which no
// adjustment of the time slews; 0 where there is none.
uint64_t raw_clock_ns();

// True when the file can be opened for reading.
bool read_access(const char* path);

// Shows a text file in the desktop's viewer without waiting for it; the
// viewer is started directly, never through a shell.
void open_in_viewer(const char* path);

// The short alert sound.
void beep();

// Keeps the X screen saver from starting until resume_screen_saver or the
// end of the process, whichever way it ends; the user's settings are never
// changed. Does nothing where the server lacks the screen-saver extension.
void suspend_screen_saver();
// Lets the saver start again; does nothing unless suspended.
void resume_screen_saver();

struct Size {
  int32_t width = 0;
  int32_t height = 0;
};
Size screen_size();

// The client rectangle of a window, in screen coordinates.
struct WindowRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

enum class GlWindowKind {
  double_buffered,  // 3D: double buffer and depth buffer
  single_buffered,  // 2D: single buffer, no depth buffer
};

enum class WindowOutcome {
  ran,          // the suite ran and the window closed itself
  not_created,  // the window could not be created
  no_visual,    // no GL visual of the requested kind
  no_context,   // the window exists but its GL context could not be had
};

// What a window asks of the GL beyond its kind: the buffers it prefers, only
// the plain ones, or (for trying the failure) nothing that can be had.
enum class BufferChoice { preferred, plain, impossible };

struct GlWindowRequest {
  GlWindowKind kind = GlWindowKind::double_buffered;
  int depth_bits = 0;  // the depth-buffer size asked for (double-buffered only)
  BufferChoice buffers = BufferChoice::preferred;
  // Double-buffered only: leave the swap interval to the driver (which may
  // wait for the display's refresh at every swap) instead of setting it to 0.
  bool driver_swap_interval = false;
};

// Every test surface, window or pbuffer, is this large.
constexpr int TEST_SURFACE_WIDTH = 512;
constexpr int TEST_SURFACE_HEIGHT = 384;
constexpr int TEST_PICTURE_BYTES = TEST_SURFACE_WIDTH * TEST_SURFACE_HEIGHT * 3;

// What the window whose suite runs offers the suite; handed to it by
// run_gl_window and valid while the suite runs.
class GlSurface {
 public:
  virtual ~GlSurface() = default;
  // Sets the window's title and shows it at once (off-screen nobody sees
  // it).
  virtual void set_title(const char* title) = 0;
  // Shows the back buffer of a double-buffered window; a surface with one
  // colour buffer has nothing to swap.
  virtual void swap_buffers() = 0;
  // What the window shows, once the GL has finished drawing it: the buffer
  // it shows (the back buffer of a double-buffered window, where the last
  // frame waits for its swap; else the front buffer) read back as 8-bit RGB,
  // rows bottom first as GL gives them, 512 x 384 pixels
  // (TEST_PICTURE_BYTES), at unit colour scales whatever a test has set.
  // Called between tests, never inside a timed section; the read buffer,
  // the scales and the pack alignment are put back afterwards.
  void read_back(uint8_t rgb[TEST_PICTURE_BYTES]) const;

 protected:
  virtual bool double_buffered() const = 0;
};

// Opens a GL window with a 512 x 384 client area at rect and the given
// title, runs suite(window) once inside its first draw with the context
// current, then closes the window and returns after its event loop has
// ended. Once start_offscreen has succeeded, the window is a 512 x 384 EGL
// pbuffer instead, with one colour buffer, no accumulation buffer and a GL
// context of its own, and rect and title are not used.
WindowOutcome run_gl_window(const GlWindowRequest& request, const WindowRect& rect,
                            const char* title, const std::function<void(GlSurface&)>& suite);

// What became of the swap interval of the running double-buffered window.
enum class SwapInterval {
  not_set,            // no double-buffered window has run yet
  zero,               // 0: swaps never wait for the display's refresh
  driver_by_request,  // left to the driver, as the request asked
  driver_no_control,  // left to the driver: the server offers no swap control
};
SwapInterval test_window_swap_interval();

// Whether the window system says the current GL context draws on graphics
// hardware or in software, independently of the renderer string (which a
// driver's settings can make say anything): on X, Mesa's renderer query
// (GLX_MESA_query_renderer); off-screen, the EGL device's software
// extension (EGL_MESA_device_software). Unknown where neither is offered.
enum class Acceleration { unknown, hardware, software };
Acceleration current_gl_acceleration();

// The X error that kept the last X window's GL context from being made
// current (an X server that refuses indirect rendering answers BadMatch),
// as one line; empty when there was none.
std::string last_context_error();

// --- Off-screen drawing through EGL: no X connection, no window ---

// A device as EGL enumerates it.
struct GlDevice {
  std::string drm_file;   // its DRM device file; empty when it names none
  bool software = false;  // Mesa's software renderer rather than a GPU
  std::string renderer;   // GL_RENDERER of a context on it; empty when none could be had
};

// Every device EGL enumerates, in its order (the numbers -device takes).
// Empty where EGL cannot enumerate devices. Without `with_renderers` no GL
// context is made and every renderer is left empty.
std::vector<GlDevice> list_gl_devices(bool with_renderers = true);

enum class OffscreenKind {
  device,       // an EGL device (EGL_EXT_platform_device)
  surfaceless,  // Mesa's surfaceless platform: its software renderer
};

struct OffscreenPlace {
  OffscreenKind kind = OffscreenKind::surfaceless;
  int device = -1;       // the device's number; -1 for surfaceless
  std::string drm_file;  // the device's DRM file; empty when it names none
};

// Makes every later run_gl_window draw off-screen: on EGL device `device`
// of list_gl_devices(), or, for a negative `device`, on the first device
// that is not a software renderer, else on Mesa's surfaceless platform.
// Tries a GL context there first: false, with `error` saying which place
// failed and how, when the device does not exist or gives no context.
bool start_offscreen(int device, OffscreenPlace* place, std::string* error);

// The start panel. It keeps no settings of its own: it asks its rules what
// to show and tells them every action of the user, then shows again what
// they answer. Boxes are numbered from the top: quarter time, auto check,
// environment status, test loop, stop screen saver.
constexpr int PANEL_BOX_COUNT = 5;
constexpr int PANEL_TEXT_SIZE = 256;  // a field holds 255 characters
constexpr int PANEL_LOGO_SIZE = 128;

enum class PanelField { loops, report_file, pass_file };

enum class FieldEvent {
  edited,      // the user changed the text (every keystroke)
  focus_lost,  // the field lost the keyboard focus
};

class PanelRules {
 public:
  virtual ~PanelRules() = default;
  virtual bool box_checked(int box) const = 0;
  virtual void box_clicked(int box) = 0;
  // The text a field shows when the panel opens.
  virtual void field_text(PanelField field, char text[PANEL_TEXT_SIZE]) const = 0;
  // text holds the field's text; true when the rules overwrote it with what
  // the field must show instead.
  virtual bool field_changed(PanelField field, FieldEvent event, char text[PANEL_TEXT_SIZE]) = 0;
  // Writes the warning line and returns true, or returns false when none
  // shows.
  virtual bool warning_line(char* text, int size) const = 0;
  // START was pressed; client is the panel's client rectangle at that
  // moment. Every field's focus-loss rule has run before this call.
  virtual void start(const WindowRect& client) = 0;
};

// Opens the panel with its client area at rect, runs its event loop until it
// closes and returns whether START closed it. logo is PANEL_LOGO_SIZE
// squared RGB pixels, top row first, or nullptr for none; the panel makes
// its own copy as it opens.
bool run_start_panel(const WindowRect& rect, const char* title, const uint8_t* logo,
                     PanelRules& rules);

// --- The results window, at the end of a timed run on the desktop ---

// What the window's buttons do; the window itself asks where to save.
class ResultsActions {
 public:
  virtual ~ResultsActions() = default;
  // Opens the report in the desktop's viewer.
  virtual void open_report() = 0;
  // Saves the chart as `path`, in the format its extension names; empty,
  // or one line saying why it could not be saved.
  virtual std::string save_chart(const std::string& path) = 0;
};

struct ResultsView {
  std::string text;  // the lines above the chart
  // The chart: 8-bit RGB, rows top first; shown scrolled where it is
  // larger than the window.
  int32_t chart_width = 0;
  int32_t chart_height = 0;
  const uint8_t* chart_rgb = nullptr;
  std::string chart_name;   // the name the save dialog proposes
  bool has_report = false;  // a report was written, so "Open report" is offered
};

constexpr const char* RESULTS_TITLE = "Tarvelin results";

// Opens the window RESULTS_TITLE in the middle of the screen, at most
// 1000 x 700 so that it fits a 1024 x 768 screen, and runs its event loop
// until it closes: Close, Escape or the close box. Enter saves the chart:
// a file dialog asks for the name, a file that exists is replaced only when
// the user says so, and a failure is shown in a box.
void run_results_window(const ResultsView& view, ResultsActions& actions);

}  // namespace platform
