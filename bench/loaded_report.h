#pragma once
// What the end-to-end benchmarks share: stage timing with peak memory, and a report loaded
// as a viewer run loads it (form and data page from files or addresses, the page cut into
// sections, each section's data packet loaded into a dataset) and prepared.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/report/report.h"
#include "engine/run/db_dataset.h"
#include "platform/byte_stream.h"
#include "platform/net/curl_http_session.h"
#include "viewer/section_cutter.h"
#include "viewer/section_datasets.h"

namespace zr::bench {

namespace fs = std::filesystem;

inline long peak_mib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

inline double thread_cpu_seconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Times `body` and prints the stage line: wall time, and the CPU time of the calling thread,
// which is the critical path of a run (and stays meaningful on a busy machine); `with_peak`
// false for a stage whose memory is the benchmark's own, not the viewer's.
template <typename Body>
void stage(const char* name, Body&& body, bool with_peak = true) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const double cpu_start = thread_cpu_seconds();
  std::string note = body();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = thread_cpu_seconds() - cpu_start;
  if (with_peak)
    std::printf("%-24s %7.3f s  cpu %6.3f s  peak %5ld MiB  %s\n", name, seconds, cpu, peak_mib(),
                note.c_str());
  else
    std::printf("%-24s %7.3f s  cpu %6.3f s              %s\n", name, seconds, cpu, note.c_str());
  std::fflush(stdout);
}

inline std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline bool is_address(const std::string& name) {
  return name.starts_with("http://") || name.starts_with("https://");
}

// The report of one run, with the datasets it walks. An engine state must be installed.
class LoadedReport {
 public:
  TvtReport report{"Report"};

  ~LoadedReport() {
    for (auto& dataset : datasets_) report.OwnerContainer().Remove(dataset.get());
  }

  // Each step is a stage; `work` holds the section files while they are loaded.
  void load_and_prepare(const std::string& form_name, const std::string& page_name,
                        const fs::path& work) {
    fs::remove_all(work);
    fs::create_directories(work);
    std::string form_bytes;
    fs::path page_file = page_name;
    if (is_address(form_name) || is_address(page_name)) {
      stage("download", [&] {
        CurlHttpSession http;
        form_bytes = is_address(form_name) ? http.Get(form_name) : read_bytes(form_name);
        std::string body = is_address(page_name) ? http.Get(page_name) : read_bytes(page_name);
        page_file = work / "page.html";
        std::ofstream(page_file, std::ios::binary) << body;
        return std::to_string((form_bytes.size() + body.size()) / 1024) + " KiB";
      });
    } else {
      form_bytes = read_bytes(form_name);
    }

    std::string page;
    stage("read data page", [&] {
      page = read_data_page_file(page_file);
      return std::to_string(page.size() / 1024) + " KiB";
    });
    SectionCutter cutter(WorkFolder(work), "000000");
    stage("cut sections", [&] {
      cutter.cut_data_page(page);
      return std::to_string(cutter.section_names().size()) + " section(s)";
    });
    page.clear();
    page.shrink_to_fit();

    report.ShowProgress = false;
    stage("load data packets", [&] {
      long rows = 0;
      for (const std::string& name : cutter.section_names()) {
        ClientDataset& table = sections_.load_section(name, cutter.section_file(name));
        rows += table.record_count();
        auto dataset = std::make_unique<TvtDBDataSet>("dataset" + name);
        dataset->SetDataSet(&table);
        report.OwnerContainer().Insert(&table);
        if (DataSource* source = sections_.find_source("DS" + name))
          report.OwnerContainer().Insert(source);
        report.OwnerContainer().Insert(dataset.get());
        datasets_.push_back(std::move(dataset));
      }
      return std::to_string(rows) + " rows";
    });
    fs::remove_all(work);

    stage("read form", [&] {
      ByteReader reader(form_bytes, form_name);
      report.LoadFromStream(reader);
      sections_.apply_relations(report.Relations);
      return std::to_string(form_bytes.size()) + " bytes";
    });
    stage("prepare", [&] {
      report.OnProgress = [](int) {};
      report.PrepareReport();
      if (!report.ErrorText.empty()) throw std::runtime_error(report.ErrorText);
      return std::to_string(report.EMFPages.Count()) + " pages";
    });
  }

 private:
  SectionDatasets sections_;
  std::vector<std::unique_ptr<TvtDBDataSet>> datasets_;
};

}  // namespace zr::bench
