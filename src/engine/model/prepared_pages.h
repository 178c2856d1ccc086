#pragma once
// Prepared pages: for every output page its paper setup and a stream of prepared view
// records (text already computed). A page's views exist as objects only while the page is
// visible (in the preview, being printed); otherwise only the stream is kept, so memory is
// bounded by the pages on screen, not the report. Also the prepared-report file (.zrw).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/page.h"
#include "engine/printer/printer_info.h"
#include "platform/byte_stream.h"
#include "platform/canvas/geometry.h"

namespace zr {

class Canvas;
class TvtView;

struct TvtPreparedPage {
  Rect PreviewRect;
  uint16_t PageSize = 0;
  int32_t PageWidth = 0, PageHeight = 0;
  uint8_t Orientation = 0;
  int32_t Bin = -1;
  bool UseMargins = true;
  int32_t LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
  PrinterInfo PrnInfo;
  bool Visible = false;
  ByteWriter Stream;              // version byte, then prepared records; views write here
  std::unique_ptr<TvtPage> Page;  // materialised objects, while visible
};

class TvtEMFPages {
 public:
  TvtEMFPages();
  ~TvtEMFPages();

  int Count() const { return static_cast<int>(pages_.size()); }
  TvtPreparedPage& PageInfo(int index) { return *pages_.at(static_cast<size_t>(index)); }
  void Clear() { pages_.clear(); }
  // Insert at the end, then the begin-page event of the current report.
  void Add(const TvtPage& form_page);
  // A new page with the paper of `form_page` at `index` (appended when beyond Count) and a
  // stream holding the version byte.
  void Insert(int index, const TvtPage& form_page);
  void Delete(int index);
  // Moves page `from` to position `to` (interleaving).
  void Move(int from, int to);

  void Draw(int index, Canvas& canvas, const Rect& rect);
  void ExportPage(int index);
  void ObjectsToPage(int index);
  void PageToObjects(int index);
  // The topmost object under `point` (page pixels); fires the current report's click or
  // mouse-over event. Returns whether a handler ran. `hit` (may be null) receives the view.
  bool HitTestObject(int index, Point point, bool click, int& cursor, TvtView** hit = nullptr);

  // The prepared-report file. Reading raises FormatError on a truncated file.
  void LoadFromStream(ByteReader& stream);
  void SaveToStream(ByteWriter& stream);

 private:
  std::vector<std::unique_ptr<TvtPreparedPage>> pages_;
};

}  // namespace zr
