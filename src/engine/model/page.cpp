#include "engine/model/page.h"

#include <algorithm>
#include <exception>

#include "engine/report/tvt_globals.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace zr {

namespace {

constexpr int32_t kLayoutMark = -1;
constexpr uint16_t kTrue16 = 0xFFFF;
constexpr int kMaxPageNumber = 10000;

PrinterOrientation to_orientation(uint8_t orientation) {
  return orientation ? PrinterOrientation::Landscape : PrinterOrientation::Portrait;
}

bool ask_printer(TvtPrinter& printer, int32_t size, int32_t width, int32_t height,
                 uint8_t orientation, int32_t bin) {
  try {
    printer.SetPrinterInfo(size, width, height, to_orientation(orientation), bin, false);
  } catch (const std::exception&) {
    return false;
  }
  // A printer that cannot use a paper keeps the one it had.
  return printer.paper_code() == size;
}

// Scripts see a report page's paper in screen pixels of 3.6 to the millimetre.
int32_t tenths_to_script(int32_t tenths) {
  return round_half_even_to_int(tenths / 10.0 * 18 / 5);
}
int32_t script_to_tenths(double value) {
  return round_half_even_to_int(value * 10 * 5 / 18);
}

}  // namespace

void SelectPaper(int32_t size, int32_t width, int32_t height, uint8_t orientation, int32_t bin) {
  TvtPrinter& printer = TvtGlobals::Get().printer;
  if (ask_printer(printer, size, width, height, orientation, bin)) return;
  ask_printer(printer, kPaperCustomSize, width, height, orientation, -1);
}

TvtPage::TvtPage() {
  const TvtPrinter& printer = TvtGlobals::Get().printer;
  SetPaper(printer.paper_code(), printer.paper_width(), printer.paper_height(), 0, kDefaultBin);
}

TvtPage::~TvtPage() {
  Objects.clear();
  if (TvtGlobals* g = TvtGlobals::Find(); g && g->CurPage == this) g->CurPage = nullptr;
}

void TvtPage::RegisterProperties() {
  PropRec.clear();
  const TvtPrinter& printer = TvtGlobals::Get().printer;
  std::string paper_names;
  for (size_t i = 0; i < printer.paper_names().size(); ++i)
    paper_names += (i ? ";" : "") + printer.paper_names()[i];
  std::vector<int> paper_codes(printer.paper_codes().begin(), printer.paper_codes().end());
  AddProperty("Visible");
  AddProperty("Size", std::move(paper_names), std::move(paper_codes));
  for (const char* name :
       {"Width", "Height", "LeftMargin", "TopMargin", "RightMargin", "BottomMargin"})
    AddProperty(name);
  AddProperty("Orientation", "poPortrait;poLandscape", {0, 1});
  for (const char* name : {"PrintToPrevPage", "Columns", "ColumnGap", "OnBeforePrint"})
    AddProperty(name);
}

Value TvtPage::GetProperty(const std::string& name) {
  const std::string n = upper_ascii(name);
  if (PageType != 1 && (n == "WIDTH" || n == "HEIGHT"))
    return Value(tenths_to_script(n == "WIDTH" ? PageWidth : PageHeight));
  if (TvtGlobals::Get().run_mode()) {
    const Rect bounds = PrintableBounds();
    if (n == "LEFTMARGIN") return Value(bounds.left);
    if (n == "TOPMARGIN") return Value(bounds.top);
    if (n == "RIGHTMARGIN") return Value(bounds.right);
    if (n == "BOTTOMMARGIN") return Value(bounds.bottom - PageFooterHeight);
  }
  if (int32_t* field = int_field(n)) return Value(*field);
  if (uint8_t* field = byte_field(n)) return Value(int32_t{*field});
  if (n == "CAPTION") return Value(Caption);
  if (n == "NAME") return Value(Name);
  if (n == "PRINTTOPREVPAGE") return Value(PrintToPrevPage);
  if (n == "STRETCHTOPRINTABLE") return Value(!UseMargins);
  if (n == "VISIBLE") return Value(Visible);
  return Value::null();
}

void TvtPage::SetProperty(const std::string& name, const Value& value) {
  const std::string n = upper_ascii(name);
  if (PageType != 1 && (n == "WIDTH" || n == "HEIGHT")) {
    (n == "WIDTH" ? PageWidth : PageHeight) = script_to_tenths(value.to_double());
  } else if (int32_t* field = int_field(n)) {
    *field = value.to_int();
  } else if (uint8_t* field = byte_field(n)) {
    *field = static_cast<uint8_t>(value.to_int());
  } else if (n == "CAPTION") {
    Caption = value.to_string();
  } else if (n == "NAME") {
    Name = value.to_string();
  } else if (n == "PRINTTOPREVPAGE") {
    PrintToPrevPage = value.to_bool();
  } else if (n == "STRETCHTOPRINTABLE") {
    UseMargins = !value.to_bool();
  } else if (n == "VISIBLE") {
    Visible = value.to_bool();
  }
}

int32_t* TvtPage::int_field(std::string_view n) {
  if (n == "LEFT") return &DialogLeft;
  if (n == "TOP") return &DialogTop;
  if (n == "WIDTH") return &DialogWidth;  // dialog pages; report pages are handled before
  if (n == "HEIGHT") return &DialogHeight;
  if (n == "COLOR") return &Color;
  if (n == "SIZE") return &PageSize;
  if (n == "LEFTMARGIN") return &LeftMargin;
  if (n == "TOPMARGIN") return &TopMargin;
  if (n == "RIGHTMARGIN") return &RightMargin;
  if (n == "BOTTOMMARGIN") return &BottomMargin;
  if (n == "COLUMNS") return &Columns;
  if (n == "COLUMNGAP") return &ColumnGap;
  return nullptr;
}

uint8_t* TvtPage::byte_field(std::string_view n) {
  if (n == "TYPE") return &PageType;
  if (n == "BORDERSTYLE") return &BorderStyle;
  if (n == "POSITION") return &Position;
  if (n == "ORIENTATION") return &Orientation;
  return nullptr;
}

void TvtPage::SetPaper(int32_t size, int32_t width, int32_t height, uint8_t orientation,
                       int32_t bin) {
  SelectPaper(size, width, height, orientation, bin);
  TvtPrinter& printer = TvtGlobals::Get().printer;
  PageSize = printer.paper_code();
  PageWidth = printer.paper_width();
  PageHeight = printer.paper_height();
  Orientation = static_cast<uint8_t>(printer.orientation());
  Bin = is_default_bin(bin) ? kDefaultBin : printer.bin();
  printer.FillPrnInfo(PrnInfo);
}

Rect TvtPage::PrintableBounds() const {
  if (!UseMargins) return {0, 0, PrnInfo.page_width, PrnInfo.page_height};
  Rect r;
  r.left = LeftMargin ? LeftMargin : PrnInfo.offset_x;
  r.top = TopMargin ? TopMargin : PrnInfo.offset_y;
  r.right =
      RightMargin ? PrnInfo.page_width - RightMargin : PrnInfo.offset_x + PrnInfo.printable_width;
  r.bottom = BottomMargin ? PrnInfo.page_height - BottomMargin
                          : PrnInfo.offset_y + PrnInfo.printable_height;
  return r;
}

TvtView* TvtPage::Add(std::unique_ptr<TvtView> view) {
  view->Parent = this;
  Objects.push_back(std::move(view));
  return Objects.back().get();
}

TvtView* TvtPage::FindObject(std::string_view name) const {
  for (const auto& v : Objects)
    if (v->Name == name) return v.get();
  return nullptr;
}

void TvtPage::LoadFromStream(ByteReader& stream, int version) {
  const int32_t first = stream.read_i32();
  // Old records start with the paper size itself and carry no script.
  const bool current_layout = first == kLayoutMark;
  PageSize = current_layout ? stream.read_i32() : first;
  PageWidth = stream.read_i32();
  PageHeight = stream.read_i32();
  LeftMargin = stream.read_i32();
  TopMargin = stream.read_i32();
  RightMargin = stream.read_i32();
  BottomMargin = stream.read_i32();
  Orientation = stream.read_u8();
  if (version < 23) stream.skip(6);
  Bin = version > 23 ? stream.read_i32() : -1;
  PrintToPrevPage = stream.read_u16() != 0;
  UseMargins = stream.read_u16() != 0;
  Columns = stream.read_i32();
  ColumnGap = stream.read_i32();
  if (version >= 24) {
    PageType = stream.read_u8();
    Name = stream.read_string_v23();
    // A dialog window always gets a frame: none becomes the dialog frame, single sizeable.
    BorderStyle = stream.read_u8();
    if (BorderStyle == 0)
      BorderStyle = 3;
    else if (BorderStyle == 1)
      BorderStyle = 2;
    Caption = stream.read_string_v23();
    Color = stream.read_i32();
    DialogLeft = stream.read_i32();
    DialogTop = stream.read_i32();
    DialogWidth = stream.read_i32();
    DialogHeight = stream.read_i32();
    Position = stream.read_u8() != 0 ? 4 : 0;  // any placement but "as designed" centres
    if (current_layout) Script = stream.read_string_list_v23();
  }
  SetPaper(PageSize, PageWidth, PageHeight, Orientation, Bin);
}

void TvtPage::SaveToStream(ByteWriter& stream) const {
  stream.write_i32(kLayoutMark);
  stream.write_i32(PageSize);
  stream.write_i32(PageWidth);
  stream.write_i32(PageHeight);
  stream.write_i32(LeftMargin);
  stream.write_i32(TopMargin);
  stream.write_i32(RightMargin);
  stream.write_i32(BottomMargin);
  stream.write_u8(Orientation);
  stream.write_i32(Bin);
  stream.write_u16(PrintToPrevPage ? kTrue16 : 0);
  stream.write_u16(UseMargins ? kTrue16 : 0);
  stream.write_i32(Columns);
  stream.write_i32(ColumnGap);
  stream.write_u8(PageType);
  stream.write_string_v23(Name);
  stream.write_u8(BorderStyle);
  stream.write_string_v23(Caption);
  stream.write_i32(Color);
  stream.write_i32(DialogLeft);
  stream.write_i32(DialogTop);
  stream.write_i32(DialogWidth);
  stream.write_i32(DialogHeight);
  stream.write_u8(Position);
  stream.write_string_list_v23(Script);
}

// --- TvtPages ---

TvtPage& TvtPages::Add() {
  items_.push_back(std::make_unique<TvtPage>());
  return *items_.back();
}

void TvtPages::Move(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count())
    throw ZorelError("Page index out of range", ErrorKind::Argument);
  auto page = std::move(items_[static_cast<size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(page));
}

void TvtPages::ApplyBandAlignments() {
  TvtGlobals& g = TvtGlobals::Get();
  TvtPage* previous = g.CurPage;
  for (const auto& page : items_) {
    g.CurPage = page.get();
    for (const auto& view : page->Objects)
      if (view->BandAlign != baNone) view->Draw(g.measuring_canvas);
  }
  g.CurPage = previous;
}

std::string TvtPages::FreePageName() const {
  for (int n = 1; n <= kMaxPageNumber; ++n) {
    std::string name = "Page" + std::to_string(n);
    bool taken = std::any_of(items_.begin(), items_.end(),
                             [&](const auto& page) { return page->Name == name; });
    if (!taken) return name;
  }
  return {};
}

}  // namespace zr
