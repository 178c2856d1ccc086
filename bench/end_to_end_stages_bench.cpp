// Where the time of one viewer run goes, stage by stage, on a form file and a data page:
// reading the saved page, cutting it into section files, loading each section's data packet,
// reading the form, preparing the report, and walking the prepared pages through an export
// (objects and text lines counted, nothing written), then exporting them as PDF. Prints one
// line per stage with its wall time and the peak resident memory after it. The HTTP transfers
// are what the end-to-end run (end_to_end.sh) adds on top.
//
//   end_to_end_stages_bench FORM.zrf PAGE.html [WORK_FOLDER]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/model/export_filter.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/db_dataset.h"
#include "output/pdf/pdf_export.h"
#include "platform/byte_stream.h"
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

// Times `body` and prints the stage line.
template <typename Body>
void stage(const char* name, Body&& body) {
  const auto start = Clock::now();
  std::string note = body();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("%-22s %8.3f s  peak %5ld MiB  %s\n", name, seconds, peak_mib(), note.c_str());
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

int run(const fs::path& form_file, const fs::path& page_file, const fs::path& work) {
  zr::HeadlessUi ui;
  zr::MemoryPrinterSystem printers;
  zr::TvtGlobals globals{ui, printers};
  fs::remove_all(work);

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
    std::string bytes = read_bytes(form_file);
    zr::ByteReader reader(bytes, form_file.string());
    report.LoadFromStream(reader);
    sections.apply_relations(report.Relations);
    return std::to_string(bytes.size()) + " bytes";
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
  stage("PDF export", [&] {
    report.ExportReportTo(pdf, pdf_file.string());
    return std::to_string(fs::file_size(pdf_file) / 1024) + " KiB";
  });
  fs::remove(pdf_file);
  for (auto& dataset : datasets) report.OwnerContainer().Remove(dataset.get());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: end_to_end_stages_bench FORM.zrf PAGE.html [WORK_FOLDER]\n");
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
