#include "e2e/x_session.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace kestrel::e2e {

namespace {

std::string shellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv, int stdoutFd,
            int stderrFd) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.emplace_back(*e);
  for (const auto& e : extraEnv) env.push_back(e);
  std::vector<char*> a, en;
  for (const auto& s : argv) a.push_back(const_cast<char*>(s.c_str()));
  a.push_back(nullptr);
  for (const auto& s : env) en.push_back(const_cast<char*>(s.c_str()));
  en.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
  if (stderrFd >= 0) posix_spawn_file_actions_adddup2(&actions, stderrFd, 2);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, a[0], &actions, nullptr, a.data(), en.data());
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
  return pid;
}

void stop(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  for (int i = 0; i < 50; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      pid = -1;
      return;
    }
    std::this_thread::sleep_for(20ms);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

}  // namespace

bool socketAccepts(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}


XSession::XSession(std::filesystem::path shots) : shots_(std::move(shots)) {
  // Xvfb picks a free display itself and writes its number to the pipe. Without -noreset it
  // resets whenever its last client leaves (each xdotool call is a client), and a program that
  // connects during the reset finds no display.
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe");
  xvfb_ = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                 "-noreset"},
                {}, -1, open("/dev/null", O_WRONLY));
  close(fds[1]);
  xvfbPipe_ = fds[0];
  std::string number;
  char c;
  while (read(xvfbPipe_, &c, 1) == 1 && c != '\n') number += c;
  if (number.empty()) throw std::runtime_error("Xvfb did not start");
  // The number may come before the server takes connections: a program started at once would
  // find no display. Wait until its socket accepts one.
  const std::string socketPath = "/tmp/.X11-unix/X" + number;
  waitUntil([&] { return socketAccepts(socketPath); }, 5s);
  display_ = ":" + number;
}

XSession::~XSession() {
  stop(program_);
  stop(xvfb_);
  if (xvfbPipe_ >= 0) close(xvfbPipe_);
}

void XSession::startProgram(const std::vector<std::string>& args, const std::filesystem::path& configHome,
                            const std::filesystem::path& stderrFile, const std::filesystem::path& soundFile) {
  std::vector<std::string> argv{KESTREL_DESKTOP};
  argv.insert(argv.end(), args.begin(), args.end());
  const int err = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // The user's data folder (where the drives are recorded) beside the configuration folder.
  std::vector<std::string> env{"DISPLAY=" + display_, "XDG_CONFIG_HOME=" + configHome.string(),
                               "XDG_DATA_HOME=" + (configHome.parent_path() / "data").string(),
                               "QT_QPA_PLATFORM=xcb"};
  if (soundFile.empty()) {
    env.push_back("ALSOFT_DRIVERS=null");
  } else {
    // OpenAL Soft's wave writer: what the program plays, in real time, as 16-bit mono.
    const auto conf = soundFile.parent_path() / "alsoft.conf";
    std::ofstream(conf) << "[general]\ndrivers = wave\nchannels = mono\nsample-type = int16\n[wave]\nfile = "
                        << soundFile.string() << "\n";
    env.push_back("ALSOFT_DRIVERS=wave");
    env.push_back("ALSOFT_CONF=" + conf.string());
  }
  program_ = spawn(argv, env, open("/dev/null", O_WRONLY), err);
  close(err);
  programStatus_.reset();
}

std::optional<int> XSession::waitForExit(std::chrono::milliseconds timeout) {
  if (programStatus_) return programStatus_;
  const auto until = std::chrono::steady_clock::now() + timeout;
  do {
    int status = 0;
    if (program_ > 0 && waitpid(program_, &status, WNOHANG) == program_) {
      program_ = -1;
      programStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return programStatus_;
    }
    std::this_thread::sleep_for(20ms);
  } while (std::chrono::steady_clock::now() < until);
  return std::nullopt;
}

std::string XSession::xdotool(const std::string& args) {
  const std::string command = "DISPLAY=" + display_ + " xdotool " + args + " 2>/dev/null";
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    std::array<char, 256> buf;
    while (fgets(buf.data(), buf.size(), p)) out += buf.data();
    pclose(p);
  }
  return out;
}

bool XSession::waitUntil(const std::function<bool()>& probe, std::chrono::milliseconds timeout) {
  const auto until = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (probe()) return true;
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(50ms);
  }
}

std::optional<unsigned long> XSession::findWindow(const std::string& pattern,
                                                  std::chrono::milliseconds timeout) {
  std::optional<unsigned long> found;
  waitUntil(
      [&] {
        const std::string out = xdotool("search --onlyvisible --name " + shellQuote(pattern));
        if (out.empty()) return false;
        found = std::stoul(out.substr(0, out.find('\n')));
        return true;
      },
      timeout);
  return found;
}

std::string XSession::describeScreen(const std::string& shotName) {
  std::ostringstream out;
  out << "visible windows:";
  std::istringstream ids(xdotool("search --onlyvisible --name " + shellQuote(".")));
  for (std::string id; std::getline(ids, id);)
    if (!id.empty()) out << " [" << name(std::stoul(id)) << "]";
  const auto status = waitForExit(0ms);
  out << "; the program " << (status ? "ended with status " + std::to_string(*status) : "runs");
  out << "; screenshot " << screenshot(shotName).string();
  return out.str();
}

XSession::Geometry XSession::geometry(unsigned long window) {
  const std::string out = xdotool("getwindowgeometry --shell " + std::to_string(window));
  Geometry g;
  const auto value = [&](const char* key) {
    const size_t at = out.find(std::string(key) + "=");
    return at == std::string::npos ? 0 : std::stoi(out.substr(at + std::string(key).size() + 1));
  };
  g.x = value("X");
  g.y = value("Y");
  g.width = value("WIDTH");
  g.height = value("HEIGHT");
  return g;
}

std::string XSession::name(unsigned long window) {
  std::string out = xdotool("getwindowname " + std::to_string(window));
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

void XSession::click(unsigned long window, int x, int y, int button) {
  xdotool("mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " + std::to_string(y) +
          " click " + std::to_string(button));
}

void XSession::keys(unsigned long window, const std::string& names) {
  // No window manager: the focus is given explicitly, or the keys go astray.
  xdotool("windowfocus --sync " + std::to_string(window));
  xdotool("key --delay 60 " + names);
}

void XSession::type(unsigned long window, const std::string& text) {
  xdotool("windowfocus --sync " + std::to_string(window));
  xdotool("type --delay 20 " + shellQuote(text));
}

void XSession::closeWindow(unsigned long window) {
  Display* d = XOpenDisplay(display_.c_str());
  if (!d) throw std::runtime_error("cannot open " + display_);
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, window, False, NoEventMask, &e);
  XFlush(d);
  XCloseDisplay(d);
}

std::filesystem::path XSession::screenshot(const std::string& name) {
  const auto path = shots_ / (name + ".png");
  const std::string command = "DISPLAY=" + display_ + " import -window root " + shellQuote(path.string());
  if (std::system(command.c_str()) != 0) std::cerr << "screenshot failed: " << path << "\n";
  std::cout << "screenshot: " << path.string() << std::endl;
  return path;
}

}  // namespace kestrel::e2e
