#pragma once
// What the control's methods run. The control only owns the surface; the load pipeline,
// output commands and history attach a ReportRunner that does the work. Each call gets the
// control whose properties it reads and writes.
//
// Expected run failures are recorded in the control's `Log` and return normally; anything
// raised escapes the member and becomes its failure code at the dispatch boundary.

#include <cstdint>
#include <string>

namespace zr {

class TzrViewer;

class ReportRunner {
 public:
  virtual ~ReportRunner() = default;
  virtual void PreviewReport(TzrViewer& viewer) = 0;
  virtual void PrintReport(TzrViewer& viewer) = 0;
  // `image_type` selects the export filter (0 PDF ... 9 CSV); `image_name` is ANSI.
  virtual void SaveImage(TzrViewer& viewer, int8_t image_type, const std::string& image_name) = 0;
  virtual void SendEMail(TzrViewer& viewer, int8_t image_type, const std::string& image_name) = 0;
  virtual void GetFile(TzrViewer& viewer) = 0;
  virtual void ClearHistory(TzrViewer& viewer) = 0;
};

}  // namespace zr
