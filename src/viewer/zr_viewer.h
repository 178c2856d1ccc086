#pragma once
// TzrViewer: the report viewer control without its window. It keeps the state a host sets
// through properties, shows its messages and progress through UiServices, fires its events
// to a connected sink and routes its six methods to an attached ReportRunner.
//
// Typed members raise exceptions (ZorelError and its kinds); the dispatch table
// (viewer_dispatch.h) turns them into COM results. Strings are 8-bit ANSI bytes.
// Single-threaded: every member runs on the host's user-interface thread, and a runner or a
// sink may re-enter the control while a call is in progress (nothing guards against it).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ui_services.h"
#include "viewer/form_properties.h"
#include "viewer/host_window.h"
#include "viewer/progress_window.h"
#include "viewer/report_runner.h"
#include "viewer/viewer_events.h"
#include "viewer/work_folder.h"

namespace zr {

// The preview colours the control sets through ColorHeader and ColorHeaderLine; the preview
// reads them when it is created and when it paints its header.
struct PreviewColors {
  int32_t HeaderColor = 10803944;     // 0xA4DAE8
  int32_t HeaderLineColor = 4754333;  // 0x488B9D
};

// Detail for the person running a host, beyond what Log and the message boxes say: the
// address and HTTP status behind "SERVER ERROR.", data that reaches no band. Not part of the
// control's interface and never in Log; a host that does not listen loses nothing.
enum class DiagnosticKind { Detail, Warning };
using DiagnosticHandler = std::function<void(DiagnosticKind kind, const std::string& text)>;

// The host page's scheme-and-host prefix kept in SiteRoot: the first p + 9 bytes of `url`,
// where p is the 1-based position of the first "/" from its 10th byte on (0 when none).
std::string site_root_of(std::string_view url);

class TzrViewer {
 public:
  // `ui` is not owned and must outlive the control.
  TzrViewer(UiServices& ui, WorkFolder work_folder);
  TzrViewer(const TzrViewer&) = delete;
  TzrViewer& operator=(const TzrViewer&) = delete;

  // State. Empty and 0 at creation; the load pipeline and drill-down write them directly.
  std::string ReportFile;
  std::string dataFile;
  bool DocumentLoaded = false;
  std::string TimeStamp;       // "hhmmss" of the current load
  std::string OutputFileName;  // full path of the last export target
  int32_t TimeOut = 0;         // data page wait limit in 100 ms ticks
  std::string InHtml;
  int32_t Acl = 0;
  int32_t publ = 0;
  int32_t Progress = 0;
  std::string Log;
  std::string Params;
  int32_t LinkNewWindow = 0;
  std::shared_ptr<HostWindow> Window;
  std::string SiteRoot;
  int32_t History = 0;
  std::string GridMeta;
  std::string DataMeta;
  std::string ImageFile;
  // How SaveImage and SendEMail write PDF: "portable" (fonts embedded, the paper's size) or
  // "classic" (fonts named only, as older viewers wrote it). Lower case.
  std::string PdfMode = "portable";

  // Properties. Plain stores except Window, ColorHeader and ColorHeaderLine.
  const std::string& Get_ReportFile() const { return ReportFile; }
  void Set_ReportFile(std::string value) { ReportFile = std::move(value); }
  const std::string& Get_dataFile() const { return dataFile; }
  void Set_dataFile(std::string value) { dataFile = std::move(value); }
  int32_t Get_TimeOut() const { return TimeOut; }
  void Set_TimeOut(int32_t value) { TimeOut = value; }
  const std::string& Get_InHtml() const { return InHtml; }
  void Set_InHtml(std::string value) { InHtml = std::move(value); }
  int32_t Get_publ() const { return publ; }
  void Set_publ(int32_t value) { publ = value; }
  int32_t Get_Acl() const { return Acl; }
  void Set_Acl(int32_t value) { Acl = value; }
  int32_t Get_Progress() const { return Progress; }
  void Set_Progress(int32_t value) { Progress = value; }
  const std::string& Get_Log() const { return Log; }
  void Set_Log(std::string value) { Log = std::move(value); }
  const std::string& Get_Params() const { return Params; }
  void Set_Params(std::string value) { Params = std::move(value); }
  int32_t Get_LinkNewWindow() const { return LinkNewWindow; }
  void Set_LinkNewWindow(int32_t value) { LinkNewWindow = value; }
  const std::shared_ptr<HostWindow>& Get_Window() const { return Window; }
  // Keeps `value` as the host window and SiteRoot from its document URL. Raises
  // SystemError(E_NOINTERFACE) when `value` is not a HostWindow, and lets a failure of the
  // window's document_url() through; either way nothing changes. Null clears both.
  void Set_Window(std::shared_ptr<HostObject> value);
  const std::string& Get_GridMeta() const { return GridMeta; }
  void Set_GridMeta(std::string value) { GridMeta = std::move(value); }
  const std::string& Get_DataMeta() const { return DataMeta; }
  void Set_DataMeta(std::string value) { DataMeta = std::move(value); }
  const std::string& Get_PdfMode() const { return PdfMode; }
  // "classic" or "portable" in any case; raises ConversionError and changes nothing for
  // anything else.
  void Set_PdfMode(std::string_view value);
  const std::string& Get_ImageFile() const { return ImageFile; }
  void Set_ImageFile(std::string value) { ImageFile = std::move(value); }
  // Put-only properties.
  // Decimal or "$" hexadecimal integer text; raises ConversionError and changes nothing
  // when the text is not an integer.
  void Set_ColorHeader(std::string_view value);
  void Set_ColorHeaderLine(std::string_view value);
  void Set_History(int32_t value) { History = value; }
  void Set_IconFile(std::string_view) {}  // accepted and ignored

  // True when the report is shown inside the control: InHtml is exactly "1".
  bool ShowsInControl() const { return InHtml == "1"; }

  // Methods, run by the attached runner. Without one each raises ZorelError
  // "<Member> is not available: no report runner is attached".
  void PreviewReport();
  void PrintReport();
  void SaveImage(int8_t image_type, const std::string& image_name);
  void SendEMail(int8_t image_type, const std::string& image_name);
  void GetFile();
  void ClearHistory();

  // The runner is owned by the control; null detaches it. A runner detached while one of its
  // calls runs lives until that call returns.
  void attach_runner(std::unique_ptr<ReportRunner> runner) { runner_ = std::move(runner); }
  ReportRunner* runner() const { return runner_.get(); }

  // Messages and the progress window.
  void ShowNotice(const std::string& text);
  void ShowProgressWindow() { progress_window_.Show(); }
  void UpdateProgressWindow(int64_t maximum, int64_t position) {
    progress_window_.Update(maximum, position);
  }
  void HideProgressWindow() { progress_window_.Hide(); }
  // The HTTP client's work event: `work_count` bytes transferred so far. Moves the progress
  // bar (maximum 100) unless Progress is 1.
  void HttpWorkEvent(int64_t work_count);

  // Where diagnostics go (texts are ANSI); none by default.
  void set_diagnostics(DiagnosticHandler handler) { diagnostics_ = std::move(handler); }
  void Diagnose(DiagnosticKind kind, const std::string& text) const {
    if (diagnostics_) diagnostics_(kind, text);
  }

  // Events. One sink at most; connecting replaces the previous one. The control keeps a
  // shared reference until it is disconnected.
  void connect_events(std::shared_ptr<ViewerEventSink> sink) { event_sink_ = std::move(sink); }
  void disconnect_events() { event_sink_.reset(); }
  const std::shared_ptr<ViewerEventSink>& event_sink() const { return event_sink_; }

  // The form's event handlers: each fires its event when a sink is connected. The window
  // layer calls them. KeyPressEvent passes the 8-bit character code to the sink and takes
  // the low byte of what the sink leaves as the new key.
  void ActivateEvent() { fire(ViewerEvent::OnActivate); }
  void ClickEvent() { fire(ViewerEvent::OnClick); }
  void CreateEvent() { fire(ViewerEvent::OnCreate); }
  void DblClickEvent() { fire(ViewerEvent::OnDblClick); }
  void DestroyEvent() { fire(ViewerEvent::OnDestroy); }
  void DeactivateEvent() { fire(ViewerEvent::OnDeactivate); }
  void KeyPressEvent(char& key);
  void PaintEvent() { fire(ViewerEvent::OnPaint); }

  UiServices& ui() const { return ui_; }
  const WorkFolder& work_folder() const { return work_folder_; }
  PreviewColors& preview_colors() { return preview_colors_; }
  const PreviewColors& preview_colors() const { return preview_colors_; }
  FormProperties& form_properties() { return form_properties_; }
  const FormProperties& form_properties() const { return form_properties_; }

 private:
  void fire(ViewerEvent event, int16_t* key = nullptr);
  std::shared_ptr<ReportRunner> require_runner(const char* member) const;

  UiServices& ui_;
  WorkFolder work_folder_;
  ProgressWindow progress_window_;
  PreviewColors preview_colors_;
  FormProperties form_properties_;
  std::shared_ptr<ReportRunner> runner_;
  std::shared_ptr<ViewerEventSink> event_sink_;
  DiagnosticHandler diagnostics_;
};

}  // namespace zr
