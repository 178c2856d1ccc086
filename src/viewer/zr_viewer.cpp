#include "viewer/zr_viewer.h"

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/number_text.h"
#include "viewer/com_result.h"
#include "viewer/notice.h"

namespace zr {

std::string site_root_of(std::string_view url) {
  // Searching from the 10th byte skips "scheme://" so the slash found ends the host part.
  size_t p = 0;
  if (url.size() > 9) {
    size_t slash = url.find('/', 9);
    if (slash != std::string_view::npos) p = slash - 9 + 1;
  }
  return std::string(url.substr(0, p + 9));
}

TzrViewer::TzrViewer(UiServices& ui, WorkFolder work_folder)
    : ui_(ui), work_folder_(std::move(work_folder)), progress_window_(ui) {}

void TzrViewer::Set_Window(std::shared_ptr<HostObject> value) {
  if (!value) {
    Window.reset();
    SiteRoot.clear();
    return;
  }
  auto window = std::dynamic_pointer_cast<HostWindow>(value);
  if (!window) throw SystemError(E_NOINTERFACE, "Interface not supported");
  std::string root = site_root_of(window->document_url());
  Window = std::move(window);
  SiteRoot = std::move(root);
}

void TzrViewer::Set_ColorHeader(std::string_view value) {
  preview_colors_.HeaderColor = str_to_int(value);
}

void TzrViewer::Set_ColorHeaderLine(std::string_view value) {
  preview_colors_.HeaderLineColor = str_to_int(value);
}

void TzrViewer::Set_PdfMode(std::string_view value) {
  std::string mode = lower_ascii(value);
  if (mode != "classic" && mode != "portable")
    throw ConversionError("'" + std::string(value) + "' is not a PDF mode (classic or portable)");
  PdfMode = std::move(mode);
}

std::shared_ptr<ReportRunner> TzrViewer::require_runner(const char* member) const {
  if (!runner_)
    throw ZorelError(std::string(member) + " is not available: no report runner is attached");
  return runner_;
}

void TzrViewer::PreviewReport() {
  require_runner("PreviewReport")->PreviewReport(*this);
}

void TzrViewer::PrintReport() {
  require_runner("PrintReport")->PrintReport(*this);
}

void TzrViewer::SaveImage(int8_t image_type, const std::string& image_name) {
  require_runner("SaveImage")->SaveImage(*this, image_type, image_name);
}

void TzrViewer::SendEMail(int8_t image_type, const std::string& image_name) {
  require_runner("SendEMail")->SendEMail(*this, image_type, image_name);
}

void TzrViewer::GetFile() {
  require_runner("GetFile")->GetFile(*this);
}

void TzrViewer::ClearHistory() {
  require_runner("ClearHistory")->ClearHistory(*this);
}

void TzrViewer::ShowNotice(const std::string& text) {
  zr::ShowNotice(ui_, text);
}

void TzrViewer::HttpWorkEvent(int64_t work_count) {
  if (Progress != 1) UpdateProgressWindow(100, work_count);
}

void TzrViewer::KeyPressEvent(char& key) {
  int16_t temp = static_cast<unsigned char>(key);
  fire(ViewerEvent::OnKeyPress, &temp);
  key = static_cast<char>(temp & 0xFF);
}

void TzrViewer::fire(ViewerEvent event, int16_t* key) {
  // A local reference keeps the sink alive if it disconnects itself during the call.
  std::shared_ptr<ViewerEventSink> sink = event_sink_;
  if (sink) sink->Invoke(event, key);
}

}  // namespace zr
