#include "viewer/viewer_runner.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "engine/report/tvt_globals.h"
#include "output/pdf/pdf_export.h"
#include "platform/byte_stream.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "viewer/data_page_browser.h"
#include "viewer/data_use_check.h"
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

// Deletes the work files of one load (the saved page and every section file) when the load
// ends, whichever way it ends: a later load of the same second must not find them, and a
// failed load must not leave them behind.
class WorkFilesCleanup {
 public:
  explicit WorkFilesCleanup(const SectionCutter& cutter) : cutter_(cutter) {}
  ~WorkFilesCleanup() {
    std::error_code ignored;
    std::filesystem::remove(cutter_.page_file(), ignored);
    for (const std::string& name : cutter_.section_names())
      std::filesystem::remove(cutter_.section_file(name), ignored);
  }
  WorkFilesCleanup(const WorkFilesCleanup&) = delete;
  WorkFilesCleanup& operator=(const WorkFilesCleanup&) = delete;

 private:
  const SectionCutter& cutter_;
};

// The session's time limit for every download of a load (form, pictures) while the scope
// lasts, and the first download that gave up at it.
class TimeLimitScope {
 public:
  TimeLimitScope(CurlHttpSession& http, std::chrono::milliseconds limit)
      : http_(http), saved_limit_(http.time_limit()), saved_handler_(http.OnGiveUp) {
    http_.set_time_limit(limit);
    http_.OnGiveUp = [this](const std::string& message) {
      if (first_give_up_.empty()) first_give_up_ = message;
      if (saved_handler_) saved_handler_(message);
    };
  }
  ~TimeLimitScope() {
    http_.set_time_limit(saved_limit_);
    http_.OnGiveUp = saved_handler_;
  }
  TimeLimitScope(const TimeLimitScope&) = delete;
  TimeLimitScope& operator=(const TimeLimitScope&) = delete;

  const std::string& first_give_up() const { return first_give_up_; }

 private:
  CurlHttpSession& http_;
  std::chrono::milliseconds saved_limit_;
  std::function<void(const std::string&)> saved_handler_;
  std::string first_give_up_;
};

// The data page wait's limit in ticks: TimeOut, where values below 10 stand for 600.
int32_t effective_ticks(int32_t time_out) {
  return time_out < 10 ? 600 : time_out;
}

std::vector<std::string> unique_names(const std::vector<std::string>& names) {
  std::vector<std::string> out;
  for (const std::string& name : names)
    if (std::none_of(out.begin(), out.end(),
                     [&](const std::string& seen) { return same_text_ascii(seen, name); }))
      out.push_back(name);
  return out;
}

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

  // Every download of the load gives up after TimeOut ticks; the data page wait counts its
  // own ticks below.
  TimeLimitScope time_limit(services_.http, effective_ticks(viewer.TimeOut) * services_.tick);
  if (!LoadForm(viewer)) return;

  SectionCutter cutter(folder, viewer.TimeStamp);
  const std::filesystem::path page_file = cutter.page_file();
  WorkFilesCleanup work_files(cutter);
  if (!viewer.dataFile.empty() && !FetchDataPage(viewer, page_file)) return;
  progress.Hide();

  std::error_code ec;
  if (std::filesystem::exists(page_file, ec)) {
    cutter.cut_data_page(read_data_page_file(page_file));
  } else if (!viewer.dataFile.empty()) {
    ServerError(viewer, data_page_failure_.empty()
                            ? "the data page " + viewer.dataFile + " could not be saved"
                            : data_page_failure_);
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
    ServerError(viewer, "the data page " + viewer.dataFile +
                            " holds no data section (no line DATANAME=name after a section)");
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
  std::filesystem::remove(page_file, ec);  // (the other ways out leave it to the cleanup)

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
  {
    DataUseCheck data_use(Report, unique_names(cutter.section_names()));
    Report.PrepareReport();
    for (const std::string& warning : data_use.warnings())
      viewer.Diagnose(DiagnosticKind::Warning, warning);
  }
  if (Report.EMFPages.Count() == 0) {
    // An error that stopped preparation left no page: it is the run's outcome.
    TvtGlobals& g = TvtGlobals::Get();
    if (g.ErrorFlag) {
      viewer.Log = g.ErrorMessage;
    } else if (!Report.ErrorText.empty()) {
      viewer.Log = Report.ErrorText;
      Report.ErrorText.clear();
    }
  }
  // A picture that gave up at the time limit stays empty; the run says so.
  if (viewer.Log.empty() && !time_limit.first_give_up().empty())
    viewer.Log = time_limit.first_give_up();
}

bool ViewerRunner::LoadForm(TzrViewer& viewer) {
  if (viewer.ReportFile.empty()) {
    viewer.Log = kReportFileNotSet;
    return false;
  }
  std::string form;
  try {
    WorkEventScope work(services_.http, viewer);
    form = services_.http.Get(viewer.ReportFile);
  } catch (const std::exception& e) {
    viewer.Log = e.what();
    return false;
  }
  ByteReader reader(form, viewer.ReportFile);
  const TvtReport::FormLoadResult loaded = Report.LoadFromStream(reader);
  form.clear();
  Report.PrintToDefault = false;
  if (!loaded.loaded) {
    // What loaded of a damaged form is not prepared: the run stops with no page.
    viewer.Log = viewer.ReportFile + " is not a report form (" + loaded.reason + ")";
    return false;
  }
  return true;
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
  data_page_failure_.clear();

  int& ticks = wait_ticks_;
  while (!viewer.DocumentLoaded) {
    browser.Wait(services_.tick);
    ++ticks;
    browser.ProcessEvents();
    if (viewer.TimeOut < 10) viewer.TimeOut = 600;
    if (viewer.TimeOut < ticks) {
      if (viewer.publ != 1) viewer.ShowNotice(kTimeOutNotice);
      viewer.Log = kTimeOutLog;
      viewer.Diagnose(DiagnosticKind::Detail, "the data page " + viewer.dataFile +
                                                  " did not arrive within TimeOut (" +
                                                  std::to_string(viewer.TimeOut) + " ticks of " +
                                                  std::to_string(services_.tick.count()) + " ms)");
      return false;
    }
  }
  data_page_failure_ = browser.failure();
  return true;
}

void ViewerRunner::ServerError(TzrViewer& viewer, const std::string& detail) {
  if (viewer.publ != 1) viewer.ShowNotice(kServerError);
  viewer.Log = kServerError;
  viewer.Diagnose(DiagnosticKind::Detail, detail);
}

void ViewerRunner::ApplyGridMeta(const std::string& grid_meta) {
  SectionCutter::cut_grid_meta(grid_meta, [&](const std::string& name, const std::string& text) {
    for (TvtView* grid : grid_views_named(Report, name)) {
      grid->SetProperty("MetaString", Value(text));
      if (OnGridText) OnGridText(*grid, text);
    }
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
  // A run that ended early (an undefined name with Progress 1) exported what it had; the
  // error it recorded is the outcome, as it is for a shown report.
  if (viewer.Log.empty() && !Report.ErrorText.empty()) viewer.Log = Report.ErrorText;
  Report.ErrorText.clear();
  ResetReport();
}

void ViewerRunner::SendEMail(TzrViewer& viewer, int8_t image_type, const std::string& image_name) {
  SaveImage(viewer, image_type, image_name);
  map_.AttachedFiles.clear();
  try {
    if (image_type == 0 || image_type == 1 ||
        image_type == static_cast<int>(ExportFormat::Xlsx)) {
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
  TimeLimitScope time_limit(services_.http, effective_ticks(viewer.TimeOut) * services_.tick);
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
