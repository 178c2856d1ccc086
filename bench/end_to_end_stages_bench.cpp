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
#include "loaded_report.h"
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
using zr::bench::stage;

class CountingFilter : public zr::TvtExportFilter {
 public:
  void OnBeginPage() override { ++pages; }
  void OnData(int, int, zr::TvtView&) override { ++objects; }
  void OnText(const zr::Rect&, int, int, const std::string&, int, int, zr::TvtView&) override {
    ++lines;
  }
  long pages = 0, objects = 0, lines = 0;
};

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
  zr::bench::LoadedReport loaded;
  loaded.load_and_prepare(form_name, page_name, work);
  zr::TvtReport& report = loaded.report;
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
  const std::string plain = zr::bench::read_bytes(pdf_file);
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
