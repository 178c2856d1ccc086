#pragma once
// A virtual X display (Xvfb) that a test starts for itself, the programs it runs on it, real
// input through XTEST (xdotool) and screenshots (ImageMagick's import) read back as pixels.
// Every wait polls with a generous limit: a loaded machine may be slow, never wrong.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/tool_run.h"

namespace zr::testing_support {

inline bool have_program(const std::string& name) {
  return run_command("command -v " + name + " >/dev/null").status == 0;
}

// A fresh folder for the running test: PREFIX_<process>_<test name> in the temporary folder.
inline std::filesystem::path fresh_test_folder(const std::string& prefix) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      (prefix + "_" + std::to_string(getpid()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

// Builds the form tests/data/gui/NAME_form.json into `zrf`.
inline ToolResult build_gui_form(const std::string& name, const std::filesystem::path& zrf) {
  return run_tool("form build '" + std::string(ZR_TEST_DATA_DIR) + "/gui/" + name +
                  "_form.json' -o '" + zrf.string() + "'");
}

// Polls `ready` every 200 ms until it holds or `seconds` pass.
inline bool wait_until(const std::function<bool()>& ready, double seconds = 90) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return ready();
}

struct Pixel {
  int r = 0, g = 0, b = 0;
  bool near(Pixel o, int tolerance = 24) const {
    return std::abs(r - o.r) <= tolerance && std::abs(g - o.g) <= tolerance &&
           std::abs(b - o.b) <= tolerance;
  }
};

struct Box {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
  bool empty() const { return right < left; }
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

struct Screenshot {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  Pixel at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {-1000, -1000, -1000};
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
  }
  // The bounding box of the pixels near `colour`.
  Box find(Pixel colour, int tolerance = 40) const {
    Box box{width, height, -1, -1};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        if (!at(x, y).near(colour, tolerance)) continue;
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
      }
    return box;
  }
  std::vector<unsigned char> crop(int x, int y, int w, int h) const {
    std::vector<unsigned char> part;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) {
        const Pixel p = at(i, j);
        part.insert(part.end(), {static_cast<unsigned char>(p.r), static_cast<unsigned char>(p.g),
                                 static_cast<unsigned char>(p.b)});
      }
    return part;
  }
};

inline std::optional<Screenshot> read_ppm(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int max = 0;
  Screenshot shot;
  if (!(in >> magic >> shot.width >> shot.height >> max) || magic != "P6" || max != 255)
    return std::nullopt;
  in.get();
  shot.rgb.resize(static_cast<size_t>(shot.width) * shot.height * 3);
  if (!in.read(reinterpret_cast<char*>(shot.rgb.data()),
               static_cast<std::streamsize>(shot.rgb.size())))
    return std::nullopt;
  return shot;
}

class DisplaySession {
 public:
  // Starts Xvfb on a free display; check ok() (false when Xvfb did not come up).
  explicit DisplaySession(std::filesystem::path work) : work_(std::move(work)) {
    std::filesystem::create_directories(work_);
    int fds[2];
    if (pipe(fds) != 0) return;
    xvfb_ = fork();
    if (xvfb_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd pfd{fds[0], POLLIN, 0};
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < end && number.find('\n') == std::string::npos) {
      if (poll(&pfd, 1, 500) <= 0) continue;
      char buffer[16];
      const ssize_t n = read(fds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      number.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (number.find('\n') != std::string::npos)
      display_ = ":" + number.substr(0, number.find('\n'));
  }
  ~DisplaySession() {
    for (pid_t pid : children_) stop(pid);
    if (xvfb_ > 0) stop(xvfb_);
  }
  DisplaySession(const DisplaySession&) = delete;
  DisplaySession& operator=(const DisplaySession&) = delete;

  bool ok() const { return !display_.empty(); }
  const std::string& display() const { return display_; }

  // Starts `argv` on the display with `env` added; its output goes to `log`.
  pid_t spawn(const std::vector<std::string>& argv,
              const std::vector<std::pair<std::string, std::string>>& env,
              const std::filesystem::path& log) {
    const pid_t pid = fork();
    if (pid == 0) {
      setenv("DISPLAY", display_.c_str(), 1);
      unsetenv("WAYLAND_DISPLAY");
      setenv("GDK_BACKEND", "x11", 1);
      setenv("GSK_RENDERER", "cairo", 1);
      setenv("NO_AT_BRIDGE", "1", 1);
      setenv("GTK_A11Y", "none", 1);
      // GTK keeps its type system and caches until the process ends; in the sanitizer build
      // that is no leak of ours.
      const char* asan = std::getenv("ASAN_OPTIONS");
      const std::string options =
          std::string(asan ? asan : "") + (asan ? ":" : "") + "detect_leaks=0";
      setenv("ASAN_OPTIONS", options.c_str(), 1);
      for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
      const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, 1);
      dup2(out, 2);
      std::vector<char*> args;
      for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
      args.push_back(nullptr);
      execvp(args[0], args.data());
      _exit(127);
    }
    children_.push_back(pid);
    return pid;
  }

  // The exit status of `pid` once it ended within `seconds`.
  std::optional<int> wait_exit(pid_t pid, double seconds = 60) {
    int status = 0;
    std::optional<int> result;
    wait_until(
        [&] {
          const pid_t done = waitpid(pid, &status, WNOHANG);
          if (done != pid) return false;
          result = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
          return true;
        },
        seconds);
    if (result) std::erase(children_, pid);
    return result;
  }

  // A shell command on the display (xdotool, import).
  ToolResult run(const std::string& command) {
    return run_command("DISPLAY=" + display_ + " " + command);
  }

  // Where a window is on the screen and how large it is.
  struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Geometry geometry(const std::string& window) {
    Geometry g;
    std::istringstream lines(run("xdotool getwindowgeometry --shell " + window).output);
    for (std::string line; std::getline(lines, line);) {
      const size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      const int value = std::atoi(line.c_str() + eq + 1);
      if (line.starts_with("X=")) g.x = value;
      if (line.starts_with("Y=")) g.y = value;
      if (line.starts_with("WIDTH=")) g.width = value;
      if (line.starts_with("HEIGHT=")) g.height = value;
    }
    return g;
  }

  // The id of the first window titled exactly `title`, waiting for it to appear.
  std::optional<std::string> find_window(const std::string& title, double seconds = 90) {
    std::string id;
    if (!wait_until(
            [&] {
              ToolResult r = run("xdotool search --onlyvisible --name '^" + title + "$'");
              if (r.status != 0 || r.output.empty()) return false;
              id = r.output.substr(0, r.output.find('\n'));
              return true;
            },
            seconds))
      return std::nullopt;
    return id;
  }
  bool window_gone(const std::string& title) {
    return run("xdotool search --onlyvisible --name '^" + title + "$'").output.empty();
  }

  std::optional<Screenshot> screenshot(const std::string& name = "shot") {
    const std::filesystem::path file = work_ / (name + ".ppm");
    if (run("import -window root -depth 8 '" + file.string() + "'").status != 0)
      return std::nullopt;
    return read_ppm(file);
  }
  // Saves the screen as a PNG (for people to look at).
  void save_png(const std::filesystem::path& file, const std::string& crop = {}) {
    std::filesystem::create_directories(file.parent_path());
    run("import -window root " + (crop.empty() ? "" : "-crop " + crop + " ") + "'" + file.string() +
        "'");
  }

 private:
  static void stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
      if (waitpid(pid, nullptr, WNOHANG) == pid) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }

  std::filesystem::path work_;
  pid_t xvfb_ = -1;
  std::string display_;
  std::vector<pid_t> children_;
};

}  // namespace zr::testing_support
