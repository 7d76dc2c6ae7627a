#pragma once
// An X server of the test's own (Xvfb on a free display) and the desktop program on it, with the
// few things a user does: find a window, click, type, close a window with its close box, and take
// a screenshot of the screen.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::e2e {

using namespace std::chrono_literals;

// Whether a Unix socket at `path` takes a connection: an X server is ready once its socket does.
bool socketAccepts(const std::string& path);

class XSession {
 public:
  // Starts Xvfb; the screenshots go to `shots`.
  explicit XSession(std::filesystem::path shots);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  const std::string& display() const { return display_; }

  // Starts the desktop program with `args`, a configuration folder of its own and the silent sound
  // device (or, with `soundFile`, a device that writes what it plays into that WAVE file); its
  // stderr goes to `stderrFile`.
  void startProgram(const std::vector<std::string>& args, const std::filesystem::path& configHome,
                    const std::filesystem::path& stderrFile, const std::filesystem::path& soundFile = {});
  // The program's exit status once it has ended within `timeout`; nullopt while it runs.
  std::optional<int> waitForExit(std::chrono::milliseconds timeout);

  // A visible window whose name matches `pattern` (xdotool's regular expression).
  std::optional<unsigned long> findWindow(const std::string& pattern,
                                          std::chrono::milliseconds timeout = 10s);
  struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Geometry geometry(unsigned long window);
  // For a failed wait: the names of the visible windows, whether the program still runs, and a
  // screenshot named `shotName`.
  std::string describeScreen(const std::string& shotName);
  std::string name(unsigned long window);

  // Button 1 left, 3 right.
  void click(unsigned long window, int x, int y, int button = 1);
  // xdotool key names, to the window after giving it the focus.
  void keys(unsigned long window, const std::string& names);
  // Text typed into the window after giving it the focus.
  void type(unsigned long window, const std::string& text);
  // The close box: WM_DELETE_WINDOW, as a window manager sends it.
  void closeWindow(unsigned long window);
  // A screenshot of the whole screen; returns its path, which is also printed for the test log.
  std::filesystem::path screenshot(const std::string& name);

  // Runs `probe` until it holds, at most `timeout`.
  static bool waitUntil(const std::function<bool()>& probe, std::chrono::milliseconds timeout);

 private:
  std::string xdotool(const std::string& args);

  std::filesystem::path shots_;
  std::string display_;
  pid_t xvfb_ = -1;
  int xvfbPipe_ = -1;  // kept open while the server runs: it may write its number in pieces
  pid_t program_ = -1;
  std::optional<int> programStatus_;
};

}  // namespace kestrel::e2e
