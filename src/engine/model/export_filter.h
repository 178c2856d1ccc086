#pragma once
// TvtExportFilter: what every export format receives while the report walks its prepared
// pages: document start, page start, one call per object and one per text line of a memo,
// page end, document end. The base does nothing; formats override what they need.
//
// TvtExportFilters: the process-wide list of formats offered to the user (the preview's save
// dialog), in registration order. Formats register themselves when they are created and leave
// when they are destroyed.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/canvas/geometry.h"

namespace zr {

class TvtView;

class TvtExportFilter {
 public:
  TvtExportFilter() = default;
  virtual ~TvtExportFilter();
  TvtExportFilter(const TvtExportFilter&) = delete;
  TvtExportFilter& operator=(const TvtExportFilter&) = delete;

  std::string FileName;
  // The output file while an export runs; opened and owned by the report.
  std::ostream* Stream = nullptr;
  bool ShowDialog = true;
  bool Default = false;  // kept for the host; the framework does not read it
  // May change the file name or cancel (leave `go_on` false).
  std::function<void(std::string& file_name, bool& go_on)> OnBeforeExport;
  // After the file is closed.
  std::function<void(const std::string& file_name)> OnAfterExport;

  // 1 (OK) continues; anything else cancels the export.
  virtual int ShowModal() { return 1; }
  virtual void OnBeginDoc() {}
  virtual void OnEndDoc() {}
  virtual void OnBeginPage() {}
  virtual void OnEndPage() {}
  // Once per object of the page, at its position in design pixels.
  virtual void OnData(int /*x*/, int /*y*/, TvtView& /*view*/) {}
  // Once per output line of a text object: its drawing rectangle, the line's position, its
  // text, the frame sides this piece keeps (FrameTyp bits) and its index in the object.
  virtual void OnText(const Rect& /*draw_rect*/, int /*x*/, int /*y*/, const std::string& /*text*/,
                      int /*frame_typ*/, int /*line_no*/, TvtView& /*view*/) {}

 protected:
  // Offers this filter in the engine's registry (nothing when no engine state is installed).
  void RegisterFilter(const std::string& description, const std::string& mask);
};

struct TvtExportFilterInfo {
  TvtExportFilter* Filter = nullptr;
  std::string Description;  // "PDF file (*.pdf)"
  std::string Mask;         // "*.pdf"
};

class TvtExportFilters {
 public:
  static constexpr int kMaxFilters = 32;

  // Appends a row unless a filter of the same class is already listed or the list is full.
  // True when the row was added.
  bool Register(TvtExportFilter& filter, std::string description, std::string mask);
  // Removes the row of that filter, closing the gap. A filter that was not listed (another
  // of its class was first) leaves the list as it is, so a live filter is never dropped.
  void Unregister(const TvtExportFilter& filter);
  int Count() const { return static_cast<int>(rows_.size()); }
  const TvtExportFilterInfo& Items(int index) const;

 private:
  std::vector<TvtExportFilterInfo> rows_;
};

}  // namespace zr
