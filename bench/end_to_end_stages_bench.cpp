// Where the time of one viewer run goes, stage by stage: downloading the form and the data
// page (when they are addresses), cutting the page into section files, loading each
// section's data packet, reading the form, preparing the report, walking the prepared pages
// through an export (objects and text lines counted, nothing written), then writing them as
// PDF in each mode (portable and classic). Last, the deflate alone of the classic content
// (every page's content stream compressed on two threads), which the classic export cannot
// beat. Prints one line per stage with its wall time and the peak resident memory after it.
//
//   end_to_end_stages_bench FORM PAGE [WORK_FOLDER]      (FORM and PAGE: files or addresses)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/model/export_filter.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/db_dataset.h"
#include "output/pdf/pdf_deflate.h"
#include "output/pdf/pdf_export.h"
#include "platform/byte_stream.h"
#include "platform/net/curl_http_session.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/ui_services.h"
#include "viewer/section_cutter.h"
#include "viewer/section_datasets.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

long peak_mib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

// Times `body` and prints the stage line; `with_peak` false for a stage whose memory is the
// benchmark's own, not the viewer's.
template <typename Body>
void stage(const char* name, Body&& body, bool with_peak = true) {
  const auto start = Clock::now();
  std::string note = body();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (with_peak)
    std::printf("%-24s %7.3f s  peak %5ld MiB  %s\n", name, seconds, peak_mib(), note.c_str());
  else
    std::printf("%-24s %7.3f s              %s\n", name, seconds, note.c_str());
  std::fflush(stdout);
}

class CountingFilter : public zr::TvtExportFilter {
 public:
  void OnBeginPage() override { ++pages; }
  void OnData(int, int, zr::TvtView&) override { ++objects; }
  void OnText(const zr::Rect&, int, int, const std::string&, int, int, zr::TvtView&) override {
    ++lines;
  }
  long pages = 0, objects = 0, lines = 0;
};

std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool is_address(const std::string& name) {
  return name.starts_with("http://") || name.starts_with("https://");
}

// The content streams of an uncompressed classic file: between "stream\n" and "endstream".
std::vector<std::string_view> content_streams(const std::string& file) {
  std::vector<std::string_view> streams;
  for (size_t at = file.find("stream\n"); at != std::string::npos;
       at = file.find("stream\n", at + 1)) {
    if (at >= 3 && file.compare(at - 3, 3, "end") == 0) continue;
    const size_t end = file.find("\nendstream", at);
    if (end == std::string::npos) break;
    streams.emplace_back(file.data() + at + 7, end - at - 7);
    at = end;
  }
  return streams;
}

int run(const std::string& form_name, const std::string& page_name, const fs::path& work) {
  zr::HeadlessUi ui;
  zr::MemoryPrinterSystem printers;
  zr::TvtGlobals globals{ui, printers};
  fs::remove_all(work);
  fs::create_directories(work);

  std::string form_bytes;
  fs::path page_file = page_name;
  if (is_address(form_name) || is_address(page_name)) {
    stage("download", [&] {
      zr::CurlHttpSession http;
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
    page = zr::read_data_page_file(page_file);
    return std::to_string(page.size() / 1024) + " KiB";
  });
  zr::SectionCutter cutter(zr::WorkFolder(work), "000000");
  stage("cut sections", [&] {
    cutter.cut_data_page(page);
    return std::to_string(cutter.section_names().size()) + " section(s)";
  });
  page.clear();
  page.shrink_to_fit();

  zr::SectionDatasets sections;
  zr::TvtReport report("Report");
  report.ShowProgress = false;
  std::vector<std::unique_ptr<zr::TvtDBDataSet>> datasets;
  stage("load data packets", [&] {
    long rows = 0;
    for (const std::string& name : cutter.section_names()) {
      zr::ClientDataset& table = sections.load_section(name, cutter.section_file(name));
      rows += table.record_count();
      auto dataset = std::make_unique<zr::TvtDBDataSet>("dataset" + name);
      dataset->SetDataSet(&table);
      report.OwnerContainer().Insert(&table);
      if (zr::DataSource* source = sections.find_source("DS" + name))
        report.OwnerContainer().Insert(source);
      report.OwnerContainer().Insert(dataset.get());
      datasets.push_back(std::move(dataset));
    }
    return std::to_string(rows) + " rows";
  });
  fs::remove_all(work);

  stage("read form", [&] {
    zr::ByteReader reader(form_bytes, form_name);
    report.LoadFromStream(reader);
    sections.apply_relations(report.Relations);
    return std::to_string(form_bytes.size()) + " bytes";
  });
  stage("prepare", [&] {
    report.OnProgress = [](int) {};
    report.PrepareReport();
    if (!report.ErrorText.empty()) throw std::runtime_error(report.ErrorText);
    return std::to_string(report.EMFPages.Count()) + " pages";
  });
  CountingFilter filter;
  filter.ShowDialog = false;
  stage("export walk", [&] {
    report.ExportReportTo(filter, "/dev/null");
    return std::to_string(filter.objects) + " objects, " + std::to_string(filter.lines) +
           " text lines";
  });
  zr::TOxvtPDFExport pdf;
  pdf.ShowDialog = false;
  const fs::path pdf_file = work.string() + ".pdf";
  for (zr::TPdfMode mode : {zr::pmPortable, zr::pmClassic}) {
    pdf.PdfMode = mode;
    stage(mode == zr::pmPortable ? "PDF export, portable" : "PDF export, classic", [&] {
      report.ExportReportTo(pdf, pdf_file.string());
      return std::to_string(fs::file_size(pdf_file) / 1024) + " KiB";
    });
  }

  // The classic content uncompressed, then deflated on two threads as the export would (the
  // whole content is held in memory for it: that peak is the benchmark's).
  pdf.UseCompression = false;
  report.ExportReportTo(pdf, pdf_file.string());
  const std::string plain = read_bytes(pdf_file);
  fs::remove(pdf_file);
  const std::vector<std::string_view> streams = content_streams(plain);
  stage(
      "deflate alone, classic",
      [&] {
        size_t total[2] = {0, 0};
        auto deflate_every_other = [&](size_t first) {
          for (size_t i = first; i < streams.size(); i += 2)
            total[first] += zr::Deflate(streams[i], zr::cmMaxCompress).size();
        };
        std::thread other(deflate_every_other, 1);
        deflate_every_other(0);
        other.join();
        return std::to_string(streams.size()) + " streams, " +
               std::to_string((plain.size()) / (1024 * 1024)) + " MiB to " +
               std::to_string((total[0] + total[1]) / 1024) + " KiB, two threads";
      },
      false);
  for (auto& dataset : datasets) report.OwnerContainer().Remove(dataset.get());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: end_to_end_stages_bench FORM PAGE [WORK_FOLDER]\n");
    return 1;
  }
  const fs::path work = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path() / "zr_stages";
  try {
    return run(argv[1], argv[2], work);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "end_to_end_stages_bench: %s\n", e.what());
    return 1;
  }
}
