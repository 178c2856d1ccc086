#include "engine/model/prepared_pages.h"

#include <algorithm>
#include <limits>

#include "engine/model/memo_view.h"
#include "engine/model/view_factory.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/errors.h"
#include "platform/graphics/picture.h"
#include "platform/graphics/picture_record.h"
#include "platform/metafile/metafile_recorder.h"
#include "platform/rounding.h"

namespace zr {

namespace {

constexpr uint8_t kCompressionNone = 0;
// Sizes of the fixed part of a page entry, to bound page counts by the bytes left.
constexpr size_t kEntryBytesCurrent = 4 + 2 + 8 + 1 + 4 + 1 + 16;
constexpr size_t kEntryBytesV23 = 4 + 2 + 8 + 1 + 1;
constexpr size_t kEntryBytesOldest = 4 + 2 + 8 + 1 + 1;
// The picture view's defaults, for pages of the oldest layout.
constexpr uint16_t kPictureFlags = 5;

void check_index(int index, int count) {
  if (index < 0 || index >= count)
    throw ZorelError("Prepared page index " + std::to_string(index) + " out of range",
                     ErrorKind::Argument);
}

int32_t read_page_count(ByteReader& in, size_t entry_bytes) {
  const int32_t count = in.read_i32();
  if (count < 0 || static_cast<size_t>(count) > in.remaining() / entry_bytes)
    in.fail("page count " + std::to_string(count) + " does not fit the file");
  return count;
}

// The data of a page entry: from here to its end position.
std::string read_to_end_position(ByteReader& in, uint32_t end) {
  if (end < in.position() || end > in.size()) in.fail("page entry ends outside the file");
  return in.read_bytes(end - in.position());
}

void select_printer_named(const std::string& name) {
  TvtPrinter& printer = TvtGlobals::Get().printer;
  if (int index = printer.IndexOfPrinter(name); index >= 0) printer.SetPrinterIndex(index);
}

// Asks the printer for the page's paper and takes its geometry.
void select_paper(TvtPreparedPage& page) {
  SelectPaper(page.PageSize, page.PageWidth, page.PageHeight, page.Orientation, page.Bin);
  TvtGlobals::Get().printer.FillPrnInfo(page.PrnInfo);
}

// A view's rectangle scaled by (kx, ky), moved by (dx, dy) and widened by `grow` on every
// side, rounded; in double so that positions from files cannot overflow.
Rect scaled_bounds(const TvtView& view, double kx, double ky, double dx, double dy,
                   double grow = 0) {
  const double left = view.Left, top = view.Top;
  return {round_half_even_to_int(left * kx + dx - grow),
          round_half_even_to_int(top * ky + dy - grow),
          round_half_even_to_int((left + view.Width) * kx + dx + grow),
          round_half_even_to_int((top + view.Height) * ky + dy + grow)};
}

void check_file_size(size_t position) {
  if (position > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw ZorelError("The prepared report is larger than 2 GiB");
}

// Reads the records of a page stream in turn; `take` receives each view, read in prepared
// mode. A stream without even its version byte has no objects.
template <typename Take>
void read_objects(std::string_view bytes, Take take) {
  ByteReader in(bytes, "<prepared page>");
  if (in.at_end()) return;
  const int version = in.read_u8();
  while (!in.at_end()) {
    in.set_version(version);
    const uint8_t type = in.read_u8();
    const std::string class_name = type == kObjAddIn ? in.read_string() : std::string();
    std::unique_ptr<TvtView> view = CreateView(type, class_name);
    if (!view) in.fail("no object has type " + std::to_string(type));
    view->PreparedMode = true;
    view->LoadFromStream(in);
    view->PreparedMode = false;
    take(std::move(view));
  }
}

// A page of the oldest layout held one metafile: it becomes a picture view covering the
// paper, in a prepared stream of the current version.
void write_metafile_page(TvtPreparedPage& page, std::string metafile) {
  Picture picture = Picture::from_bytes(GraphicKind::Metafile, std::move(metafile));
  TvtView view;
  view.Name = "Picture1";
  view.ObjectType = kObjPicture;
  view.Flags = kPictureFlags;
  view.SetBounds(0, 0, page.PrnInfo.page_width, page.PrnInfo.page_height);
  view.PreparedMode = true;
  ByteWriter& out = page.Stream;
  out.write_u8(kCurrentStreamVersion);
  out.write_u8(kObjPicture);
  view.SaveToStream(out);
  write_picture_record(out, picture, 0, "");
}

}  // namespace

TvtEMFPages::TvtEMFPages() = default;
TvtEMFPages::~TvtEMFPages() = default;

TvtPreparedPage& TvtEMFPages::PageInfo(int index) {
  check_index(index, Count());
  return *pages_[static_cast<size_t>(index)];
}

ByteWriter& TvtEMFPages::PageStream(int index) {
  TvtPreparedPage& page = PageInfo(index);
  if (page.Spilled) {
    std::string bytes;
    spill_.read(*page.Spilled, bytes);
    page.Spilled.reset();
    ByteWriter restored(page.Stream.version());
    restored.write_bytes(bytes);
    page.Stream = std::move(restored);
    keep_resident(page);
  }
  return page.Stream;
}

std::string_view TvtEMFPages::ReadPageStream(int index, std::string& buffer) const {
  check_index(index, Count());
  return read_stream(*pages_[static_cast<size_t>(index)], buffer);
}

const std::string& TvtEMFPages::read_stream(const TvtPreparedPage& page,
                                            std::string& buffer) const {
  if (!page.Spilled) return page.Stream.bytes();
  spill_.read(*page.Spilled, buffer);
  return buffer;
}

void TvtEMFPages::keep_resident(TvtPreparedPage& page) {
  resident_.push_back({&page, page.Stream.bytes().size()});
  resident_bytes_ += resident_.back().bytes;
  spill_over_limit(page);
}

// `keep` came last and is in use: it stays even when it alone is over the limit.
void TvtEMFPages::spill_over_limit(const TvtPreparedPage& keep) {
  while (resident_bytes_ > SpillLimit && !resident_.empty()) {
    const Resident oldest = resident_.front();
    if (oldest.page == &keep) break;
    resident_.pop_front();
    resident_bytes_ -= oldest.bytes;
    TvtPreparedPage& page = *oldest.page;
    if (page.Spilled || &page == pages_.back().get()) continue;  // the page being written
    page.Spilled = spill_.append(page.Stream.bytes());
    page.Stream.discard();
  }
}

void TvtEMFPages::forget_resident(const TvtPreparedPage& page) {
  const auto it = std::find_if(resident_.begin(), resident_.end(),
                               [&](const Resident& r) { return r.page == &page; });
  if (it == resident_.end()) return;
  resident_bytes_ -= it->bytes;
  resident_.erase(it);
}

void TvtEMFPages::Clear() {
  pages_.clear();
  resident_.clear();
  resident_bytes_ = 0;
  spill_.reset();
}

void TvtEMFPages::Add(const TvtPage& form_page) {
  // The page before is finished: its stream keeps its bytes and drops the room it grew into
  // (up to as much again), which over a long report is a large part of the memory; past the
  // limit the oldest finished pages leave memory altogether.
  if (!pages_.empty() && !pages_.back()->Spilled) {
    TvtPreparedPage& last = *pages_.back();
    last.Stream.shrink_to_fit();
    keep_resident(last);
  }
  Insert(Count(), form_page);
  TvtGlobals& g = TvtGlobals::Get();
  TvtReport* report = g.CurReport;
  if (report && report->OnBeginPage) report->OnBeginPage(g.CurPageNo);
  TvtReport* master = g.MasterReport;
  if (master && master != report && master->OnBeginPage) master->OnBeginPage(g.CurPageNo);
}

void TvtEMFPages::Insert(int index, const TvtPage& form_page) {
  auto page = std::make_unique<TvtPreparedPage>();
  page->PageSize = static_cast<uint16_t>(form_page.PageSize);
  page->PageWidth = form_page.PageWidth;
  page->PageHeight = form_page.PageHeight;
  page->Orientation = form_page.Orientation;
  page->Bin = form_page.Bin;
  page->UseMargins = form_page.UseMargins;
  page->LeftMargin = form_page.LeftMargin;
  page->TopMargin = form_page.TopMargin;
  page->RightMargin = form_page.RightMargin;
  page->BottomMargin = form_page.BottomMargin;
  page->PrnInfo = form_page.PrnInfo;
  page->Stream.write_u8(kCurrentStreamVersion);
  const int at = index < 0 ? 0 : std::min(index, Count());
  pages_.insert(pages_.begin() + at, std::move(page));
}

void TvtEMFPages::Delete(int index) {
  check_index(index, Count());
  forget_resident(*pages_[static_cast<size_t>(index)]);
  pages_.erase(pages_.begin() + index);
}

void TvtEMFPages::Move(int from, int to) {
  check_index(from, Count());
  check_index(to, Count());
  auto page = std::move(pages_[static_cast<size_t>(from)]);
  pages_.erase(pages_.begin() + from);
  pages_.insert(pages_.begin() + to, std::move(page));
}

void TvtEMFPages::Draw(int index, Canvas& canvas, const Rect& rect) {
  TvtPreparedPage& page = PageInfo(index);
  TvtGlobals& g = TvtGlobals::Get();
  const bool printing = g.printer.system_printer().Printing() && &canvas == PrinterCanvas;
  g.mode = EngineMode::Run;
  if (!page.Visible) {
    page.Page.reset();
    return;
  }
  if (!page.Page) ObjectsToPage(index);
  g.CurPage = page.Page.get();
  if (page.PrnInfo.page_width <= 0 || page.PrnInfo.page_height <= 0) return;  // no scale

  const double scale = (g.CurReport ? g.CurReport->Scale : 100) / 100;
  const double kx = static_cast<double>(rect.width()) / page.PrnInfo.page_width * scale;
  const double ky = static_cast<double>(rect.height()) / page.PrnInfo.page_height * scale;
  const bool test_visibility = !printing && dynamic_cast<MetafileRecorder*>(&canvas) == nullptr;
  for (const auto& view : page.Page->Objects) {
    if (test_visibility) {
      // A view may draw a little beyond its rectangle (frames, italics).
      if (!canvas.rect_visible(scaled_bounds(*view, kx, ky, rect.left, rect.top, 10))) continue;
    }
    view->ScaleX = kx;
    view->ScaleY = ky;
    view->OffsetX = rect.left;
    view->OffsetY = rect.top;
    view->IsPrinting = printing;
    view->Draw(canvas);
  }
}

void TvtEMFPages::ExportPage(int index) {
  std::string buffer;
  read_objects(ReadPageStream(index, buffer),
               [](std::unique_ptr<TvtView> view) { view->ExportTo(); });
}

void TvtEMFPages::ObjectsToPage(int index) {
  TvtPreparedPage& info = PageInfo(index);
  TvtGlobals& g = TvtGlobals::Get();
  info.Page.reset();
  auto page = std::make_unique<TvtPage>();
  page->SetPaper(info.PageSize, info.PageWidth, info.PageHeight, info.Orientation, info.Bin);
  page->LeftMargin = info.LeftMargin;
  page->TopMargin = info.TopMargin;
  page->RightMargin = info.RightMargin;
  page->BottomMargin = info.BottomMargin;
  page->UseMargins = info.UseMargins;
  g.CurPage = page.get();
  std::string buffer;
  read_objects(ReadPageStream(index, buffer), [&](std::unique_ptr<TvtView> view) {
    TvtView* added = page->Add(std::move(view));
    // An auto-width memo finds its width when it is drawn.
    if (added->ObjectType == kObjMemo && added->HasFlag(kMemoAutoWidth))
      added->Draw(g.measuring_canvas);
  });
  info.Page = std::move(page);
  g.CurPage = info.Page.get();
}

void TvtEMFPages::PageToObjects(int index) {
  TvtPreparedPage& info = PageInfo(index);
  if (!info.Page) return;
  ByteWriter out;
  out.write_u8(kCurrentStreamVersion);
  for (const auto& view : info.Page->Objects) {
    view->PreparedMode = true;
    out.write_u8(view->ObjectType);
    if (view->ObjectType == kObjAddIn) out.write_string(view->ClassName());
    view->ExpandedMemo = view->Memo;
    view->SaveToStream(out);
    view->PreparedMode = false;
    out.set_version(kCurrentStreamVersion);
  }
  info.Spilled.reset();  // what the spill file holds is not the page any more
  info.Stream = std::move(out);
  forget_resident(info);  // counted again at its new size
  keep_resident(info);
}

bool TvtEMFPages::HitTestObject(int index, Point point, bool click, int& cursor, TvtView** hit) {
  TvtPreparedPage& info = PageInfo(index);
  if (hit) *hit = nullptr;
  if (!info.Page) ObjectsToPage(index);
  const PrinterInfo& p = info.PrnInfo;
  double kx = 1, ky = 1, dx = 0, dy = 0;
  if (!info.UseMargins && p.page_width > 0 && p.page_height > 0) {
    // The page was printed onto the printable area inside the margins: map it there. Sums
    // in double: margins and positions come from files.
    kx = (static_cast<double>(p.printable_width) - info.LeftMargin - info.RightMargin) /
         p.page_width;
    ky = (static_cast<double>(p.printable_height) - info.TopMargin - info.BottomMargin) /
         p.page_height;
    dx = static_cast<double>(info.LeftMargin) + p.offset_x;
    dy = static_cast<double>(info.TopMargin) + p.offset_y;
  }
  const auto& objects = info.Page->Objects;
  for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
    TvtView& view = **it;
    const Rect area = scaled_bounds(view, kx, ky, dx, dy);
    if (!area.contains(point)) continue;
    if (hit) *hit = &view;
    TvtReport* report = TvtGlobals::Get().CurReport;
    if (!report) return false;
    if (click) {
      if (!report->OnObjectClick) return false;
      report->OnObjectClick(view);
      return true;
    }
    if (!report->OnMouseOverObject) return false;
    report->OnMouseOverObject(view, cursor);
    return true;
  }
  return false;
}

void TvtEMFPages::SaveToStream(ByteWriter& out) {
  TvtCompressor& compressor = TvtGlobals::Get().compressor;
  out.write_u8(kCurrentStreamVersion);
  out.write_u8(compressor.Enabled ? 1 : kCompressionNone);
  out.write_string_v23(TvtGlobals::Get().printer.printer_name());
  out.write_i32(Count());
  std::string buffer;
  for (const auto& page : pages_) {
    const size_t end_at = out.position();
    out.write_u32(0);
    out.write_u16(page->PageSize);
    out.write_i32(page->PageWidth);
    out.write_i32(page->PageHeight);
    out.write_u8(page->Orientation);
    out.write_i32(page->Bin);
    out.write_u8(page->UseMargins ? 1 : 0);
    out.write_i32(page->LeftMargin);
    out.write_i32(page->TopMargin);
    out.write_i32(page->RightMargin);
    out.write_i32(page->BottomMargin);
    if (compressor.Enabled) {
      std::string packed;
      compressor.Compress(read_stream(*page, buffer), packed);
      out.write_bytes(packed);
    } else {
      out.write_bytes(read_stream(*page, buffer));
    }
    check_file_size(out.position());
    out.patch_u32(end_at, static_cast<uint32_t>(out.position()));
  }
}

void TvtEMFPages::LoadFromStream(ByteReader& in, bool print_to_default) {
  Clear();
  int version = in.read_u8();
  if (version < 24 || version > 31) {
    // Files before version 24 have no version byte.
    version = 0;
    in.seek(0);
  }
  const uint8_t layout = in.read_u8();
  if (layout == 0 || layout == 1 || layout == 255)
    load_current_layout(in, version, layout, print_to_default);
  else
    load_oldest_layout(in, print_to_default);
}

void TvtEMFPages::load_current_layout(ByteReader& in, int version, uint8_t compression,
                                      bool print_to_default) {
  const std::string printer = in.read_string_v23();
  if (!print_to_default) select_printer_named(printer);
  const bool full_entries = version > 23;
  const int32_t count = read_page_count(in, full_entries ? kEntryBytesCurrent : kEntryBytesV23);
  for (int32_t i = 0; i < count; ++i) {
    auto page = std::make_unique<TvtPreparedPage>();
    const uint32_t end = in.read_u32();
    page->PageSize = in.read_u16();
    page->PageWidth = in.read_i32();
    page->PageHeight = in.read_i32();
    page->Orientation = in.read_u8();
    page->Bin = full_entries ? in.read_i32() : -1;
    page->UseMargins = in.read_u8() != 0;
    if (full_entries) {
      page->LeftMargin = in.read_i32();
      page->TopMargin = in.read_i32();
      page->RightMargin = in.read_i32();
      page->BottomMargin = in.read_i32();
    }
    std::string data = read_to_end_position(in, end);
    if (compression != kCompressionNone) {
      std::string unpacked;
      TvtGlobals::Get().compressor.Decompress(data, unpacked);
      data = std::move(unpacked);
    }
    page->Stream.write_bytes(data);
    select_paper(*page);
    pages_.push_back(std::move(page));
  }
}

void TvtEMFPages::load_oldest_layout(ByteReader& in, bool print_to_default) {
  in.seek(0);
  in.set_version(kStringLengthVersion - 1);
  const std::string header = in.read_string();
  const std::string printer = header.substr(0, header.find('\r'));
  if (!print_to_default) select_printer_named(printer);
  const int32_t count = read_page_count(in, kEntryBytesOldest);
  for (int32_t i = 0; i < count; ++i) {
    auto page = std::make_unique<TvtPreparedPage>();
    const uint32_t end = in.read_u32();
    page->PageSize = in.read_u16();
    page->PageWidth = in.read_i32();
    page->PageHeight = in.read_i32();
    page->Orientation = in.read_u8();
    page->UseMargins = in.read_u8() != 0;
    std::string metafile = read_to_end_position(in, end);
    select_paper(*page);
    write_metafile_page(*page, std::move(metafile));
    pages_.push_back(std::move(page));
  }
}

}  // namespace zr
