#pragma once
// A CUPS server of the test's own: cupsd with its configuration, spool and socket in a fresh
// temporary folder, started as a child and stopped by its process id. The system's CUPS and
// its configuration are never touched. Queues are described by PPD files or are raw; their
// device is a file (FileDevice Yes). Submitted documents stay in the spool
// (PreserveJobFiles), so tests read back exactly what a queue received, and finished jobs stay
// listed with their attributes (PreserveJobHistory).
//
// running() is false where cupsd is not installed or does not start; tests then skip.

#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace zr::testing_support {

struct CupsQueue {
  std::string name;
  std::string ppd;  // path of its PPD file; empty for a raw queue
  std::string model;
  bool is_default = false;
};

// A job as the server lists it.
struct CupsJobRecord {
  int id = 0;
  int state = 0;  // IPP job state: 3 pending ... 7 canceled, 8 aborted, 9 completed
  std::string name;
  std::string printer;
  int copies = 1;
  std::string media;
  std::string document;  // path of the first document in the spool
};

class PrivateCupsServer {
 public:
  static constexpr const char* kCupsd = "/usr/sbin/cupsd";

  static bool installed() { return access(kCupsd, X_OK) == 0; }

  explicit PrivateCupsServer(const std::vector<CupsQueue>& queues) {
    root_ = std::filesystem::temp_directory_path() /
            ("zr_cups_" + std::to_string(getpid()) + "_" + std::to_string(++instances()));
    std::filesystem::remove_all(root_);
    for (const char* dir : {"etc/ppd", "spool", "tmp", "cache", "state", "log", "out"})
      std::filesystem::create_directories(root_ / dir);
    std::filesystem::permissions(root_, std::filesystem::perms::all,
                                 std::filesystem::perm_options::add);
    std::filesystem::permissions(root_ / "out", std::filesystem::perms::all,
                                 std::filesystem::perm_options::add);
    write(root_ / "etc/cupsd.conf",
          "Listen " + socket().string() +
              "\nLogLevel warn\nPreserveJobHistory Yes\nPreserveJobFiles Yes\n"
              "MaxJobs 0\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n");
    std::string files = "ServerRoot " + (root_ / "etc").string() + "\n";
    for (auto [key, dir] : {std::pair{"RequestRoot", "spool"},
                            {"TempDir", "tmp"},
                            {"CacheDir", "cache"},
                            {"StateDir", "state"}})
      files += std::string(key) + " " + (root_ / dir).string() + "\n";
    files += "ErrorLog " + (root_ / "log/error_log").string() + "\nFileDevice Yes\n";
    write(root_ / "etc/cups-files.conf", files);
    std::string printers;
    for (const CupsQueue& queue : queues) {
      const char* tag = queue.is_default ? "DefaultPrinter" : "Printer";
      printers += std::string("<") + tag + " " + queue.name + ">\nInfo " + queue.name +
                  "\nMakeModel " + queue.model + "\nDeviceURI file://" +
                  (root_ / "out" / queue.name).string() +
                  "\nState Idle\nAccepting Yes\nShared No\n</" + tag + ">\n";
      if (!queue.ppd.empty())
        std::filesystem::copy_file(queue.ppd, root_ / "etc/ppd" / (queue.name + ".ppd"));
    }
    write(root_ / "etc/printers.conf", printers);
    start();
  }
  ~PrivateCupsServer() {
    stop();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  PrivateCupsServer(const PrivateCupsServer&) = delete;
  PrivateCupsServer& operator=(const PrivateCupsServer&) = delete;

  bool running() const { return running_; }
  std::filesystem::path socket() const { return root_ / "cups.sock"; }
  std::string error_log() const { return read(root_ / "log/error_log"); }

  // Ends the server; its socket stops answering.
  void stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGCONT);
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    running_ = false;
  }
  // Freezes the server: connections are accepted by the kernel, nothing answers.
  void freeze() {
    if (pid_ > 0) kill(pid_, SIGSTOP);
  }
  void thaw() {
    if (pid_ > 0) kill(pid_, SIGCONT);
  }

  // Every job the server knows, oldest first, asked over a connection of its own.
  std::vector<CupsJobRecord> jobs() const {
    std::vector<CupsJobRecord> list;
    http_t* http = httpConnect2(socket().c_str(), 0, nullptr, AF_UNSPEC,
                                HTTP_ENCRYPTION_IF_REQUESTED, 1, 5000, nullptr);
    if (!http) return list;
    httpSetTimeout(
        http, 5, [](http_t*, void*) { return 0; }, nullptr);
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 "ipp://localhost/");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    // The owner sees the private values (job-name, copies) too.
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    const char* wanted[] = {"job-id",          "job-state", "job-name",
                            "job-printer-uri", "copies",    "media"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(wanted)), nullptr, wanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    CupsJobRecord job;
    auto flush = [&] {
      if (job.id > 0) {
        char name[32];
        std::snprintf(name, sizeof name, "d%05d-001", job.id);
        job.document = (root_ / "spool" / name).string();
        list.push_back(job);
      }
      job = {};
    };
    for (ipp_attribute_t* a = response ? ippFirstAttribute(response) : nullptr; a;
         a = ippNextAttribute(response)) {
      const char* name = ippGetName(a);
      if (!name) {
        flush();
        continue;
      }
      std::string n = name;
      if (n == "job-id") job.id = ippGetInteger(a, 0);
      if (n == "job-state") job.state = ippGetInteger(a, 0);
      if (n == "copies") job.copies = ippGetInteger(a, 0);
      if (n == "job-name") job.name = ippGetString(a, 0, nullptr);
      if (n == "media") job.media = ippGetString(a, 0, nullptr);
      if (n == "job-printer-uri") {
        std::string uri = ippGetString(a, 0, nullptr);
        job.printer = uri.substr(uri.rfind('/') + 1);
      }
    }
    flush();
    ippDelete(response);
    httpClose(http);
    std::sort(list.begin(), list.end(),
              [](const CupsJobRecord& a, const CupsJobRecord& b) { return a.id < b.id; });
    return list;
  }

 private:
  static int& instances() {
    static int count = 0;
    return count;
  }
  static void write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path) << text;
  }
  static std::string read(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static bool socket_answers(const std::filesystem::path& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
  }

  void start() {
    if (!installed()) return;
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

  std::filesystem::path root_;
  pid_t pid_ = -1;
  bool running_ = false;
};

}  // namespace zr::testing_support
