#include "objects/grid_view.h"

#include <map>
#include <memory>
#include <vector>

#include "engine/model/band_view.h"
#include "engine/model/memo_view.h"
#include "engine/model/page.h"
#include "engine/model/view_factory.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "objects/grid_meta.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/number_text.h"
#include "platform/rounding.h"

namespace zr {
namespace {

constexpr const char* kBandKeys[] = {"NAME",      "REPEATHEADER", "STRETCHED",  "COLUMNS",
                                     "COLUMNGAP", "DATASOURCE",   "COLUMNWIDTH"};

constexpr const char* kMemoKeys[] = {
    "ALIGNMENT",  "AUTOWIDTH",  "BANDALIGN",  "CHARSPACING", "CHARWIDTH",   "DISPLAYFORMAT",
    "DRILLDATA",  "DRILLFILE",  "FILLCOLOR",  "FONT.NAME",   "FONT.SIZE",   "FONT.STYLE",
    "FONT.COLOR", "FRAMECOLOR", "FRAMESTYLE", "FRAMETYP",    "FRAMEWIDTH",  "GAPX",
    "GAPY",       "HEIGHT",     "HIDEZEROS",  "LEFT",        "LINESPACING", "LINKURL",
    "MEMO",       "NAME",       "STRETCHED",  "SUPPRESS",    "TEXTONLY",    "TOP",
    "UNDERLINES", "VISIBLE",    "WIDTH",      "WORDBREAK",   "WORDWRAP"};

// The classes a continuation page takes copies of from the grid's page.
constexpr const char* kCopiedClasses[] = {"TvtRoundRectView", "TvtMemoView",     "TvtBandView",
                                          "TvtShapeView",     "TvtPictureView",  "TvtLineView",
                                          "TvtChartView",     "TvtCheckBoxView", "TvtBarCodeView"};

bool blank(const std::string& value) {
  return value.find_first_not_of(" \t\r\n") == std::string::npos;
}

struct Column {
  int32_t right;
  int page;
  bool inside = false;  // lies inside an earlier column
};

// Column table keyed by left edge: the first memo at a left edge fixes the right edge.
std::map<int32_t, Column> build_columns(const std::vector<GridMetaRecord>& records,
                                        int32_t usable) {
  std::map<int32_t, Column> columns;
  for (const GridMetaRecord& r : records) {
    if (r.Kind() != "MEMO") continue;
    const int32_t left = r.Int("LEFT");
    columns.try_emplace(left, Column{SaturateInt32(int64_t{left} + r.Int("WIDTH")), 1});
  }
  if (columns.empty()) return columns;
  int64_t page_left = columns.begin()->first;
  int page = 1;
  int64_t furthest = 0;
  for (auto& [left, column] : columns) {
    if (column.right <= furthest) {
      column.inside = true;
      continue;
    }
    // A column wider than the paper still starts the page it is the first of.
    if (column.right - page_left > usable && left != page_left) {
      ++page;
      page_left = left;
    }
    column.page = page;
    furthest = column.right;
  }
  std::erase_if(columns, [](const auto& entry) { return entry.second.inside; });
  return columns;
}

// The column a memo at `left` belongs to: the one at that edge, else the nearest to its left.
const std::pair<const int32_t, Column>* column_of(const std::map<int32_t, Column>& columns,
                                                  int32_t left) {
  auto it = columns.upper_bound(left);
  if (it == columns.begin()) return nullptr;
  return &*std::prev(it);
}

int32_t first_left_of_page(const std::map<int32_t, Column>& columns, int page) {
  for (const auto& [left, column] : columns)
    if (column.page == page) return left;
  return 0;
}

std::unique_ptr<TvtView> copy_of(TvtView& view) {
  std::unique_ptr<TvtView> copy = CreateView(view.ObjectType, view.ClassName());
  if (copy) copy->AssignFrom(view);
  return copy;
}

void copy_paper(const TvtPage& from, TvtPage& to) {
  to.PageSize = from.PageSize;
  to.PageWidth = from.PageWidth;
  to.PageHeight = from.PageHeight;
  to.LeftMargin = from.LeftMargin;
  to.TopMargin = from.TopMargin;
  to.RightMargin = from.RightMargin;
  to.BottomMargin = from.BottomMargin;
  to.Orientation = from.Orientation;
  to.Bin = from.Bin;
  to.PrnInfo = from.PrnInfo;
}

std::unique_ptr<TvtView> make_band(const GridMetaRecord& r) {
  auto band = std::make_unique<TvtBandView>();
  band->SetBandType(r.Int("BANDTYPE"));
  for (const char* key : kBandKeys) {
    const std::string value = r.Find(key).value_or(std::string());
    if (!blank(value)) band->SetProperty(key, Value(GridMetaUnescape(value)));
  }
  band->SetBounds(0, r.Int("TOP"), 0, r.Int("HEIGHT"));
  band->FormatText = "DATASET" + r.Find("DATASET").value_or(std::string());
  return band;
}

std::unique_ptr<TvtMemoView> make_memo(const GridMetaRecord& r) {
  auto memo = std::make_unique<TvtMemoView>();
  for (const char* key : kMemoKeys) {
    const std::string value = r.Find(key).value_or(std::string());
    if (blank(value)) continue;
    if (std::string_view(key).find("COLOR") != std::string_view::npos)
      memo->SetProperty(key, Value(str_to_int(value)));
    else
      memo->SetProperty(key, Value(GridMetaUnescape(value)));
  }
  return memo;
}

}  // namespace

TGridView::TGridView() {
  NamePrefix = "Grid";
  ObjectType = kObjAddIn;
  Flags = Flags + kFlagGrid;
  FrameTyp = kFrameAll;
  Restrictions = 17;
  Width = 348;
  Height = 94;
  Visible = false;
  if (TvtGlobals* g = TvtGlobals::Find()) GridReport = g->CurReport;
}

void TGridView::RegisterProperties() {
  TvtView::RegisterProperties();
  AddProperty("Grid");
  AddProperty("MetaString");
}

Value TGridView::GetProperty(const std::string& name) {
  Value value = TvtView::GetProperty(name);
  if (upper_ascii(name) == "METASTRING") return Value(MetaString);
  return value;
}

void TGridView::SetProperty(const std::string& name, const Value& value) {
  TvtView::SetProperty(name, value);
  if (upper_ascii(name) == "METASTRING") MetaString = value.to_string();
}

void TGridView::Draw(Canvas& canvas) {
  ApplyBandAlign(&canvas);
  ScaledGeometry scaled(*this);
  DrawBackground();
  DrawFrame();
  if (TvtGlobals::Get().FirstPass) return;
  CanvasStateSaver saver(canvas);
  canvas.set_bk_mode(BkMode::Transparent);
  canvas.text_out(
      {SaturateInt32(int64_t{Left} + Width / 2), SaturateInt32(int64_t{Top} + Height / 2)}, Name);
}

void TGridView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  MetaString = stream.read_string();
}

void TGridView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  stream.write_string(MetaString);
}

void TGridView::ExpandGrid(TvtReport& caller) {
  if (MetaString.empty()) return;
  TvtReport& report = GridReport ? *GridReport : caller;
  TvtPages& pages = report.Pages;
  int grid_index = -1;
  for (int i = 0; i < pages.Count() && grid_index < 0; ++i)
    if (pages.Items(i).FindObject(Name)) grid_index = i;
  if (grid_index < 0) return;

  TvtPage* grid_page = &pages.Items(grid_index);
  std::vector<TvtView*> snapshot;
  for (auto& view : grid_page->Objects)
    if (!dynamic_cast<TGridView*>(view.get())) snapshot.push_back(view.get());
  const int32_t usable = round_half_even_to_int(grid_page->PageWidth * 18.0 / 50) -
                         grid_page->LeftMargin - grid_page->RightMargin;

  const std::vector<GridMetaRecord> records = ParseGridMeta(MetaString);
  const std::map<int32_t, Column> columns = build_columns(records, usable);

  int32_t band_top = 0;
  TvtView* current_band = nullptr;
  int highest_served = 0;
  for (const GridMetaRecord& r : records) {
    if (r.Kind() == "BAND") {
      std::unique_ptr<TvtView> band = make_band(r);
      band_top = band->Top;
      current_band = grid_page->Add(std::move(band));
      highest_served = 0;
      continue;
    }
    std::unique_ptr<TvtMemoView> memo = make_memo(r);
    const int32_t left = r.Int("LEFT"), top = r.Int("TOP");
    const int32_t width = r.Int("WIDTH"), height = r.Int("HEIGHT");
    const auto* column = column_of(columns, left);
    const int k = column ? column->second.page : 1;
    const int32_t at_top = SaturateInt32(int64_t{band_top} + top);
    if (k == 1) {
      memo->SetBounds(SaturateInt32(int64_t{left} + grid_page->LeftMargin), at_top, width, height);
      grid_page->Add(std::move(memo));
      continue;
    }
    const int target = grid_index + k - 1;
    if (pages.Count() < grid_index + k) {
      pages.Add();
      pages.Move(pages.Count() - 1, target);
      grid_page = &pages.Items(grid_index);
      TvtPage& added = pages.Items(target);
      for (TvtView* view : snapshot) {
        bool copied = false;
        for (const char* name : kCopiedClasses) copied = copied || view->ClassName() == name;
        if (!copied) continue;
        if (std::unique_ptr<TvtView> copy = copy_of(*view)) added.Add(std::move(copy));
      }
    }
    TvtPage& continuation = pages.Items(target);
    if (k - 1 > highest_served) {
      copy_paper(*grid_page, continuation);
      if (current_band)
        if (std::unique_ptr<TvtView> copy = copy_of(*current_band))
          continuation.Add(std::move(copy));
      highest_served = k - 1;
    }
    const int64_t shifted = int64_t{left} - first_left_of_page(columns, k) + grid_page->LeftMargin;
    memo->SetBounds(SaturateInt32(shifted), at_top, width, height);
    continuation.Add(std::move(memo));
  }
}

}  // namespace zr
