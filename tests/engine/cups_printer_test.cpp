// The printer layer over a real CUPS server: a private cupsd, started for the test on its own
// socket with two printers described by PPD files. Skipped where cupsd is not installed or
// does not start.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "engine/printer/printer.h"
#include "platform/printing/cups_printer_system.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCupsd = "/usr/sbin/cupsd";

void write_file(const fs::path& path, const std::string& text) {
  std::ofstream(path) << text;
}

bool socket_answers(const fs::path& path) {
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

// A cupsd of our own: configuration, spool and socket in a fresh temporary folder.
class PrivateCupsServer {
 public:
  PrivateCupsServer() {
    root_ = fs::temp_directory_path() / ("zr_cups_" + std::to_string(getpid()));
    fs::remove_all(root_);
    for (const char* dir : {"etc/ppd", "spool", "tmp", "cache", "state", "log"})
      fs::create_directories(root_ / dir);
    fs::permissions(root_, fs::perms::all, fs::perm_options::add);
    write_file(root_ / "etc/cupsd.conf", "Listen " + socket().string() +
                                             "\nLogLevel warn\n"
                                             "<Location />\n  Order allow,deny\n  Allow all\n"
                                             "</Location>\n");
    std::string files = "ServerRoot " + (root_ / "etc").string() + "\n";
    for (auto [key, dir] : {std::pair{"RequestRoot", "spool"},
                            {"TempDir", "tmp"},
                            {"CacheDir", "cache"},
                            {"StateDir", "state"}})
      files += std::string(key) + " " + (root_ / dir).string() + "\n";
    files += "ErrorLog " + (root_ / "log/error_log").string() + "\nFileDevice Yes\n";
    write_file(root_ / "etc/cups-files.conf", files);
    write_file(root_ / "etc/printers.conf", printer("DefaultPrinter", "Laser", "Test Laser 600") +
                                                printer("Printer", "Label", "Test Label 203"));
    fs::path data = ZR_TEST_DATA_DIR "/printing";
    fs::copy_file(data / "laser.ppd", root_ / "etc/ppd/Laser.ppd");
    fs::copy_file(data / "label.ppd", root_ / "etc/ppd/Label.ppd");
    start();
  }
  ~PrivateCupsServer() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  bool running() const { return running_; }
  fs::path socket() const { return root_ / "cups.sock"; }

 private:
  static std::string printer(const char* tag, const char* name, const char* model) {
    return std::string("<") + tag + " " + name + ">\nInfo " + name + "\nMakeModel " + model +
           "\nDeviceURI file:///dev/null\nState Idle\nAccepting Yes\nShared No\n</" + tag + ">\n";
  }

  void start() {
    if (access(kCupsd, X_OK) != 0) return;
    std::string conf = (root_ / "etc/cupsd.conf").string();
    std::string files = (root_ / "etc/cups-files.conf").string();
    pid_ = fork();
    if (pid_ == 0) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr);
      _exit(127);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;  // it gave up
        return;
      }
      if (socket_answers(socket())) {
        running_ = true;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }

  fs::path root_;
  pid_t pid_ = -1;
  bool running_ = false;
};

class CupsPrinters : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!server.running()) GTEST_SKIP() << "no private cupsd could be started";
  }

  PrivateCupsServer server;
  CupsPrinterSystem system{server.socket().string(), 5000};
};

TEST_F(CupsPrinters, ReportsPapersMarginsSourcesAndResolution) {
  std::vector<std::string> names = system.printer_names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Label", "Laser"}));
  EXPECT_EQ(system.default_printer(), "Laser");

  std::optional<PrinterCapabilities> laser = system.capabilities("Laser");
  ASSERT_TRUE(laser.has_value());
  EXPECT_EQ(laser->driver, "Test Laser 600");
  ASSERT_EQ(laser->papers.size(), 3u);
  ASSERT_GE(laser->default_paper, 0);
  const PrinterPaper& a4 = laser->papers[static_cast<size_t>(laser->default_paper)];
  EXPECT_EQ(a4.name, "iso_a4_210x297mm");
  EXPECT_EQ(a4.margins, (PaperMargins{42, 42, 42, 42}));  // 12 points
  EXPECT_EQ(laser->sources, (std::vector<std::string>{"tray-1", "manual"}));
  EXPECT_EQ(laser->dpi_x, 600);

  std::optional<PrinterCapabilities> label = system.capabilities("Label");
  ASSERT_TRUE(label.has_value());
  ASSERT_EQ(label->papers.size(), 1u);
  EXPECT_EQ(label->papers[0].width, 1016);
  EXPECT_EQ(label->papers[0].height, 1524);
  EXPECT_EQ(label->dpi_x, 203);
  EXPECT_FALSE(system.capabilities("Plotter").has_value());
}

TEST_F(CupsPrinters, DriveTheEnginePrinter) {
  TvtPrinter printer(system);
  printer.SetPrinter();
  ASSERT_EQ(printer.printers().size(), 3u);
  EXPECT_EQ(printer.printers().back(), "Virtual printer");
  EXPECT_EQ(printer.device(), "Laser");
  EXPECT_EQ(printer.paper_code(), kPaperA4);
  EXPECT_EQ(printer.bin_names(), (std::vector<std::string>{"", "tray-1", "manual"}));

  // The PPD's A4 is 595 x 842 points: 209.9 mm wide.
  PrinterInfo info;
  printer.FillPrnInfo(info);
  EXPECT_EQ(info, (PrinterInfo{4958, 7016, 757, 1071, 99, 99, 15, 15, 4760, 6818, 727, 1041}));

  printer.SetPrinterInfo(8, 0, 0, PrinterOrientation::Landscape, -1, false);
  EXPECT_EQ(printer.paper_code(), 8);
  EXPECT_EQ(printer.paper_width(), 4202);
  EXPECT_EQ(printer.paper_height(), 2970);

  int label = printer.printers()[0] == "Label" ? 0 : 1;
  printer.SetPrinterIndex(label);
  EXPECT_EQ(printer.device(), "Label");
  EXPECT_EQ(printer.paper_code(), kPaperCustom);
  printer.FillPrnInfo(info);
  EXPECT_EQ(info.device_page_width, 812);
  EXPECT_EQ(info.device_offset_x, 0);
}

}  // namespace
}  // namespace zr
