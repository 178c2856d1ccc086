// One viewer run of the end-to-end report exported to HTML, RTF, PDF or Excel: the report is loaded and
// prepared as in end_to_end_stages_bench, then written in one format with the settings of
// the control's form. One format per process, so that the peak memory printed after the
// export is that format's (bench/end_to_end.sh runs each).
//
//   document_exports_bench FORM PAGE html-pages|html-file|rtf|pdf|xlsx OUTPUT [WORK_FOLDER]
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "engine/report/tvt_globals.h"
#include "loaded_report.h"
#include "output/html/html_export.h"
#include "output/pdf/pdf_export.h"
#include "output/rtf/rtf_export.h"
#include "output/xlsx/xlsx_export.h"
#include "platform/printing/memory_printer_system.h"
#include "platform/ui_services.h"

namespace {

namespace fs = std::filesystem;
using zr::bench::stage;

// The files the export wrote and their size together.
std::string written(const std::vector<std::string>& files) {
  uintmax_t bytes = 0;
  for (const std::string& file : files) bytes += fs::file_size(file);
  return std::to_string(files.size()) + " file(s), " + std::to_string(bytes / (1024 * 1024)) +
         " MiB";
}

int run(const std::string& form, const std::string& page, const std::string& format,
        const std::string& output, const fs::path& work) {
  zr::HeadlessUi ui;
  zr::MemoryPrinterSystem printers;
  zr::TvtGlobals globals{ui, printers};
  zr::bench::LoadedReport loaded;
  loaded.load_and_prepare(form, page, work);
  fs::create_directories(fs::path(output).parent_path());
  if (format == "rtf") {
    zr::TOxvtRTFExport rtf;
    rtf.ShowDialog = false;
    rtf.Creator = "Nabo";
    stage("RTF export", [&] {
      loaded.report.ExportReportTo(rtf, output);
      return written({output}) + (rtf.BodySpilled() ? ", body spilled" : ", body in memory");
    });
  } else if (format == "html-pages" || format == "html-file") {
    zr::TOxvtHTMLExport html;
    html.ShowDialog = false;
    html.Creator = "nabo";
    html.SetExportImageFormat(zr::ifGIF);
    html.SeparateFilePerPage = format == "html-pages";
    stage(format == "html-pages" ? "HTML export, per page" : "HTML export, one file", [&] {
      loaded.report.ExportReportTo(html, output);
      return written(html.HtmlFiles());
    });
  } else if (format == "pdf") {
    zr::TOxvtPDFExport pdf;
    pdf.ShowDialog = false;
    pdf.Creator = "Nabo";
    stage("PDF export", [&] {
      loaded.report.ExportReportTo(pdf, output);
      return written({output});
    });
  } else if (format == "xlsx") {
    zr::TOxvtXLSXExport xlsx;
    xlsx.ShowDialog = false;
    stage("Excel export", [&] {
      loaded.report.ExportReportTo(xlsx, output);
      return written({output});
    });
  } else {
    throw std::runtime_error("unknown format " + format);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr,
                 "usage: document_exports_bench FORM PAGE html-pages|html-file|rtf|pdf|xlsx OUTPUT "
                 "[WORK_FOLDER]\n");
    return 1;
  }
  const fs::path work = argc > 5 ? fs::path(argv[5]) : fs::temp_directory_path() / "zr_documents";
  try {
    return run(argv[1], argv[2], argv[3], argv[4], work);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "document_exports_bench: %s\n", e.what());
    return 1;
  }
}
