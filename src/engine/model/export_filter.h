#pragma once
// TvtExportFilter: what every export format receives while the report walks its prepared
// pages: document start, page start, one call per object and one per text line of a memo,
// page end, document end. The base does nothing; formats override what they need. The
// registry and the driver that walks the pages belong to the output layer.

#include <string>

#include "platform/canvas/geometry.h"

namespace zr {

class TvtView;

class TvtExportFilter {
 public:
  virtual ~TvtExportFilter() = default;

  std::string FileName;
  bool ShowDialog = true;
  bool Default = false;

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
};

}  // namespace zr
