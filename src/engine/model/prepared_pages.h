#pragma once
// Prepared pages: for every output page its paper setup and a stream of prepared view
// records (text already computed). A page's views exist as objects only while the page is
// visible (in the preview, being printed); otherwise only the stream is kept, and finished
// streams beyond a limit go to a temporary file, so memory is bounded by the pages in use,
// not the report. Also the prepared-report file (.zrw).

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/page.h"
#include "engine/printer/printer_info.h"
#include "platform/byte_stream.h"
#include "platform/canvas/geometry.h"
#include "platform/spill_file.h"

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
  // Version byte, then prepared records (type byte, class name for add-ins, the record in
  // prepared mode); the band engine's views write here. Empty for a page whose data could
  // not be decompressed, and while the page is spilled: go through TvtEMFPages::PageStream
  // or ReadPageStream rather than here.
  ByteWriter Stream;
  std::unique_ptr<TvtPage> Page;           // materialised objects, while visible
  std::optional<SpillFile::Span> Spilled;  // where Stream lies while it is in the spill file
};

class TvtEMFPages {
 public:
  TvtEMFPages();
  ~TvtEMFPages();

  int Count() const { return static_cast<int>(pages_.size()); }
  // Pages are addressed by index; an index outside 0..Count()-1 raises ZorelError
  // (Argument) in every operation below.
  // The page's setup; its Stream may be spilled (empty) here.
  TvtPreparedPage& PageInfo(int index);
  // The stream of page `index` to write to: a spilled page comes back into memory first.
  ByteWriter& PageStream(int index);
  // The stream's bytes to read; a spilled page is read into `buffer`, not kept.
  std::string_view ReadPageStream(int index, std::string& buffer) const;
  void Clear();
  // Insert at the end, then the begin-page event of the current report (and of the master
  // report when that is another one) with TvtGlobals::CurPageNo.
  void Add(const TvtPage& form_page);
  // A new page with the paper of `form_page` at `index` (appended when beyond Count) and a
  // stream holding the version byte.
  void Insert(int index, const TvtPage& form_page);
  void Delete(int index);
  // Moves page `from` to position `to` (interleaving).
  void Move(int from, int to);

  // Draws page `index` scaled into `rect` of `canvas` (run mode), times the current report's
  // Scale / 100. A page that is not Visible draws nothing and drops its objects; a visible
  // one is materialised and becomes the current page. Views outside the canvas's clip are
  // skipped unless printing (PrinterCanvas) or recording a metafile.
  void Draw(int index, Canvas& canvas, const Rect& rect);
  // Re-creates every object of the page in turn and hands it to the current report's export
  // filter (ExportTo); the objects live only for that call.
  void ExportPage(int index);
  // Builds Page from Stream and makes it the current page. Raises FormatError for a damaged
  // stream (Page stays empty) and ClassNotFoundError for an add-in that is not registered.
  void ObjectsToPage(int index);
  // Writes Stream again from Page (after its objects were changed); nothing without Page.
  void PageToObjects(int index);
  // The topmost object under `point` (page pixels); fires the current report's click or
  // mouse-over event. Returns whether a handler ran. `hit` (may be null) receives the view,
  // which lives as long as the page's objects.
  bool HitTestObject(int index, Point point, bool click, int& cursor, TvtView** hit = nullptr);

  // The prepared-report file. Reading replaces all pages and selects the printer named in
  // the file unless `print_to_default`; it raises FormatError for a truncated or damaged file
  // (pages read before the damage stay). Writing raises ZorelError past 2 GiB.
  void LoadFromStream(ByteReader& stream, bool print_to_default = false);
  void SaveToStream(ByteWriter& stream);

  // The canvas of the print job in progress, set by the printing loop: drawing onto it while
  // the printer prints is drawing for the printer. Not owned.
  Canvas* PrinterCanvas = nullptr;
  // Finished page streams beyond this many bytes in memory go to the spill file, oldest
  // first; the page being written always stays.
  size_t SpillLimit = size_t{16} << 20;

 private:
  struct Resident {
    TvtPreparedPage* page;
    size_t bytes;
  };
  const std::string& read_stream(const TvtPreparedPage& page, std::string& buffer) const;
  void keep_resident(TvtPreparedPage& page);
  void forget_resident(const TvtPreparedPage& page);
  void spill_over_limit(const TvtPreparedPage& keep);
  void load_current_layout(ByteReader& in, int version, uint8_t compression, bool print_to_default);
  void load_oldest_layout(ByteReader& in, bool print_to_default);

  std::vector<std::unique_ptr<TvtPreparedPage>> pages_;
  SpillFile spill_;
  std::deque<Resident> resident_;  // finished pages in memory, oldest first
  size_t resident_bytes_ = 0;
};

}  // namespace zr
