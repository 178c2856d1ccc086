#include "viewer/viewer_runner.h"

#include <fstream>
#include <system_error>

#include "engine/report/tvt_globals.h"
#include "output/pdf/pdf_export.h"
#include "platform/byte_stream.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "viewer/data_page_browser.h"
#include "viewer/history.h"
#include "viewer/link_handlers.h"
#include "viewer/output_file_name.h"
#include "viewer/property_lists.h"
#include "viewer/report_printing.h"
#include "viewer/report_targets.h"
#include "viewer/section_cutter.h"
#include "viewer/zr_viewer.h"

namespace zr {

namespace {

// The progress window from the start of a load until its data page is in; hidden again on
// every way out.
class ProgressScope {
 public:
  explicit ProgressScope(TzrViewer& viewer) : viewer_(viewer), shown_(viewer.Progress != 1) {
    if (shown_) viewer_.ShowProgressWindow();
  }
  ~ProgressScope() { Hide(); }
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;
  void Hide() {
    if (shown_) viewer_.HideProgressWindow();
    shown_ = false;
  }

 private:
  TzrViewer& viewer_;
  bool shown_;
};

// Routes the HTTP client's work event to the control while it downloads the form.
class WorkEventScope {
 public:
  WorkEventScope(CurlHttpSession& http, TzrViewer& viewer) : http_(http) {
    http_.OnWork = [&viewer](int64_t count) { viewer.HttpWorkEvent(count); };
  }
  ~WorkEventScope() { http_.OnWork = nullptr; }
  WorkEventScope(const WorkEventScope&) = delete;
  WorkEventScope& operator=(const WorkEventScope&) = delete;

 private:
  CurlHttpSession& http_;
};

// Deletes a work file when the scope ends, whichever way it ends.
class RemoveOnExit {
 public:
  explicit RemoveOnExit(std::filesystem::path file) : file_(std::move(file)) {}
  ~RemoveOnExit() {
    std::error_code ignored;
    std::filesystem::remove(file_, ignored);
  }
  RemoveOnExit(const RemoveOnExit&) = delete;
  RemoveOnExit& operator=(const RemoveOnExit&) = delete;

 private:
  std::filesystem::path file_;
};

void write_whole_file(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw IoError("Cannot write " + path.string());
}

// The last "/"-part of an address without its query or fragment, as a local file name.
std::string local_name_of(const std::string& url, const std::string& fallback) {
  const std::string path = url.substr(0, url.find_first_of("?#"));
  const size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return fallback;
  return name;
}

std::string replace_all(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

HttpSessionOptions viewer_http_options() {
  HttpSessionOptions options;
  options.user_agent = "Mozilla/3.0 (compatible; Indy Library)";
  options.headers = {"Accept: text/html, */*", "Content-Type: text/html"};
  return options;
}

ViewerRunner::ViewerRunner(Services services)
    : services_(services), components_(Report.OwnerContainer()), map_(services.mail) {
  map_.ShowDialog = true;
  map_.UseAppHandle = false;
}

ViewerRunner::~ViewerRunner() {
  // The report lets go of the datasets before the form's components go.
  Report.Dataset = nullptr;
}

void ViewerRunner::RunReport(TzrViewer& viewer, int mode) {
  ResetReport();
  LoadReport(viewer);
  if (viewer.History == 1) AddToHistory(viewer.work_folder(), Report, services_.clock);

  if (!viewer.ShowsInControl()) {
    ConnectLinkHandlers(viewer);
  } else {
    Report.OnObjectClick = nullptr;
    Report.OnMouseOverObject = nullptr;
  }
  if (Report.EMFPages.Count() == 0) return;

  try {
    if (mode == 0) {
      // Headless preview: the pages stay with the report, shown by whoever draws them.
      shown_ = true;
      if (viewer.ShowsInControl()) ConnectLinkHandlers(viewer);
    } else {
      PrintPreparedReport(Report);
    }
    if (!Report.ErrorText.empty()) viewer.Log = Report.ErrorText;
    Report.ErrorText.clear();
  } catch (const std::exception& e) {
    viewer.Log = e.what();
  }

  viewer.DataMeta.clear();
  viewer.ImageFile.clear();
  viewer.GridMeta.clear();
  chart_.Detach();
}

void ViewerRunner::ConnectLinkHandlers(TzrViewer& viewer) {
  Report.OnObjectClick = [&viewer](TvtView& view) { ObjectClick(viewer, view); };
  Report.OnMouseOverObject = [](TvtView& view, int& cursor) { MouseOverObject(&view, cursor); };
}

void ViewerRunner::ResetReport() {
  chart_.Detach();
  Report.ClearReport();
  // The previous run's pages go too, so a load that stops early shows nothing old.
  Report.EMFPages.Clear();
  shown_ = false;
  Report.Dataset = nullptr;
  // The field cache points into the datasets about to go.
  Report.Dictionary.ClearCache();
  components_.DestroyDatasets();
}

void ViewerRunner::LoadReport(TzrViewer& viewer) {
  viewer.Log.clear();
  if (viewer.Acl == 1) {
    viewer.Log = kNoPermission;
    viewer.ShowNotice(viewer.Log);
    return;
  }
  const WorkFolder& folder = viewer.work_folder();
  folder.ensure_exists();
  Report.ClearGlobalVariables();
  Report.ShowProgress = viewer.Progress != 1;

  ProgressScope progress(viewer);
  components_.UnlinkDatasets();
  viewer.DocumentLoaded = false;
  wait_ticks_ = 0;
  viewer.TimeStamp = format_date_time("hhnnss", services_.clock.now());
  Report.ClearReport();
  Report.EMFPages.Clear();
  Report.Dictionary.Clear();
  Report.Dictionary.ClearCache();
  Report.PrintToDefault = false;

  std::string form;
  try {
    WorkEventScope work(services_.http, viewer);
    form = services_.http.Get(viewer.ReportFile);
  } catch (const std::exception& e) {
    viewer.Log = e.what();
    return;
  }
  ByteReader reader(form, viewer.ReportFile);
  Report.LoadFromStream(reader);
  form.clear();
  Report.PrintToDefault = false;

  SectionCutter cutter(folder, viewer.TimeStamp);
  const std::filesystem::path page_file = cutter.page_file();
  // The saved page goes on every way out, so no later load of the same second finds it.
  RemoveOnExit page_cleanup(page_file);
  if (!viewer.dataFile.empty() && !FetchDataPage(viewer, page_file)) return;
  progress.Hide();

  std::error_code ec;
  if (std::filesystem::exists(page_file, ec)) {
    cutter.cut_data_page(read_data_page_file(page_file));
  } else if (!viewer.dataFile.empty()) {
    ServerError(viewer);
    return;
  }
  if (!viewer.DataMeta.empty()) {
    try {
      cutter.cut_data_meta(viewer.DataMeta);
    } catch (...) {
      viewer.DataMeta.clear();
      throw;
    }
    viewer.DataMeta.clear();
  }
  if (!viewer.dataFile.empty() && cutter.section_names().empty()) {
    ServerError(viewer);
    return;
  }

  for (const std::string& name : cutter.section_names()) {
    const std::filesystem::path file = cutter.section_file(name);
    if (!std::filesystem::exists(file, ec)) continue;
    Report.Dataset = &components_.Bind(name);
    components_.LoadSection(name, file);
  }
  components_.ApplyRelations(Report.Relations);

  chart_.Attach("Panel1");
  TvtChartObject::BindChartViews(Report, Report.OwnerContainer());
  std::filesystem::remove(page_file, ec);  // (also done on the ways out above)

  if (!viewer.Params.empty()) {
    DictionaryVariables variables(Report);
    apply_params(viewer.Params, variables);
    viewer.Params.clear();
  }
  if (!viewer.GridMeta.empty()) {
    try {
      ApplyGridMeta(viewer.GridMeta);
    } catch (...) {
      viewer.GridMeta.clear();
      throw;
    }
    viewer.GridMeta.clear();
  }
  if (!viewer.ImageFile.empty()) {
    FormPictureViews pictures(Report);
    apply_image_files(viewer.ImageFile, pictures);
    viewer.ImageFile.clear();
  }
  Report.PrepareReport();
}

bool ViewerRunner::FetchDataPage(TzrViewer& viewer, const std::filesystem::path& page_file) {
  DataPageBrowser browser(services_.http);
  browser.set_document_complete([&](const std::optional<std::string>& page) {
    // As the browser's save: the file is made even for a page that is empty, and a page that
    // could not be saved still completes the wait.
    if (page) {
      try {
        write_whole_file(page_file, *page);
      } catch (const ZorelError&) {
      }
    }
    viewer.DocumentLoaded = true;
  });
  browser.Navigate(viewer.dataFile);

  int& ticks = wait_ticks_;
  while (!viewer.DocumentLoaded) {
    browser.Wait(services_.tick);
    ++ticks;
    browser.ProcessEvents();
    if (viewer.TimeOut < 10) viewer.TimeOut = 600;
    if (viewer.TimeOut < ticks) {
      if (viewer.publ != 1) viewer.ShowNotice(kTimeOutNotice);
      viewer.Log = kTimeOutLog;
      return false;
    }
  }
  return true;
}

void ViewerRunner::ServerError(TzrViewer& viewer) {
  if (viewer.publ != 1) viewer.ShowNotice(kServerError);
  viewer.Log = kServerError;
}

void ViewerRunner::ApplyGridMeta(const std::string& grid_meta) {
  SectionCutter::cut_grid_meta(grid_meta, [&](const std::string& name, const std::string& text) {
    for (TvtView* grid : grid_views_named(Report, name))
      if (OnGridText) OnGridText(*grid, text);
  });
}

void ViewerRunner::SaveImage(TzrViewer& viewer, int8_t image_type, const std::string& image_name) {
  ExportReport(viewer, image_type, image_name);
}

void ViewerRunner::ExportReport(TzrViewer& viewer, int8_t image_type,
                                const std::string& image_name) {
  ResetReport();
  LoadReport(viewer);
  if (Report.EMFPages.Count() == 0) return;

  const OutputFile output = output_file_for(viewer.work_folder(), image_type, image_name);
  viewer.OutputFileName = utf8_to_ansi(output.path.string());
  if (output.absolute && !create_parent_folders(output.path)) {
    viewer.ShowNotice(image_name + kBadFileName);
    ResetReport();
    return;
  }
  if (const ExportFormatInfo* info = image_type_info(image_type)) {
    if (TvtExportFilter* filter = filters_.filter(info->format)) {
      if (auto* pdf = dynamic_cast<TOxvtPDFExport*>(filter))
        pdf->PdfMode = viewer.PdfMode == "classic" ? pmClassic : pmPortable;
      try {
        Report.ExportReportTo(*filter, output.path.string());
      } catch (const std::exception& e) {
        viewer.Log = e.what();
      }
    } else {
      viewer.Log = export_not_available_message(info->format);
    }
  }
  ResetReport();
}

void ViewerRunner::SendEMail(TzrViewer& viewer, int8_t image_type, const std::string& image_name) {
  SaveImage(viewer, image_type, image_name);
  map_.AttachedFiles.clear();
  try {
    if (image_type == 0 || image_type == 1) {
      // The export target, or the last one when nothing was written this time; a file that
      // was never written is not offered to the mail client.
      std::error_code ec;
      if (!viewer.OutputFileName.empty() &&
          std::filesystem::is_regular_file(ansi_to_utf8(viewer.OutputFileName), ec))
        map_.AttachedFiles.push_back(viewer.OutputFileName);
    } else if (const ExportFormatInfo* info = image_type_info(image_type);
               info && image_type <= 7) {
      for (const std::string& file : filters_.files_written(info->format))
        map_.AttachedFiles.push_back(utf8_to_ansi(file));
    }
  } catch (const std::exception& e) {
    throw ZorelError(e.what());
  }
  std::string detail;
  if (map_.SendMail(&detail) != kMailSuccess && !detail.empty()) viewer.Log = detail;
}

void ViewerRunner::GetFile(TzrViewer& viewer) {
  if (viewer.ReportFile.empty()) {
    viewer.ShowNotice(kEmptyReportFile);
    return;
  }
  const std::string data_url = replace_all(viewer.ReportFile, ".zrf", ".zrd");
  const std::string form_name = local_name_of(viewer.ReportFile, "ZorelForm.zrf");
  std::string data_name = local_name_of(data_url, "ZorelForm.zrd");
  if (data_name == form_name) data_name += ".zrd";

  const WorkFolder& folder = viewer.work_folder();
  folder.ensure_exists();
  const std::filesystem::path data_file = folder.root() / ansi_to_utf8(data_name);
  const std::filesystem::path form_file = folder.root() / ansi_to_utf8(form_name);
  write_whole_file(data_file, "");
  write_whole_file(form_file, "");
  write_whole_file(form_file, services_.http.Get(viewer.ReportFile));
  write_whole_file(data_file, services_.http.Get(data_url));
}

void ViewerRunner::ClearHistory(TzrViewer& viewer) {
  DropHistoryFiles(viewer.work_folder());
}

}  // namespace zr
