#include "engine/model/cross_view.h"

#include <algorithm>
#include <cctype>

#include "engine/model/band_view.h"
#include "engine/model/memo_font.h"
#include "engine/model/memo_view.h"
#include "engine/model/page.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band_dataset.h"
#include "engine/run/dataset_field.h"
#include "engine/run/db_dataset.h"
#include "engine/run/report_dataset.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/rounding.h"

namespace zr {

const char* const TvtCrossView::kTemplateNames[7] = {
    "ColumnHeaderMemo", "ColumnTotalMemo", "GrandColumnTotalMemo", "RowHeaderMemo",
    "CellMemo",         "RowTotalMemo",    "GrandRowTotalMemo"};

namespace {

enum Template {
  kColumnHeader,
  kColumnTotal,
  kGrandColumnTotal,
  kRowHeader,
  kCell,
  kRowTotal,
  kGrandRowTotal
};

constexpr const char* kTemplateTexts[7] = {"Header", "Total", "Grand total", "Header",
                                           "Cell",   "Total", "Grand total"};
constexpr int32_t kTemplateOffsets[7][2] = {{92, 8},  {176, 8}, {260, 8}, {8, 28},
                                            {92, 28}, {8, 48},  {8, 68}};

constexpr int32_t kHeaderBandTop = 400;
constexpr int32_t kDataBandTop = 500;
constexpr int32_t kCrossDataLeft = 500;
constexpr int32_t kBandSize = 60;
constexpr int32_t kRowHeight = 18;

// --- The hook chain: the engine's cross views, and the handlers each report had before its
// first cross view came. ---

std::vector<TvtCrossView*>& all_views() {
  return TvtGlobals::Get().cross_views.views;
}

// The views of `report`, newest first: each runs before the handlers that were there.
std::vector<TvtCrossView*> views_of(TvtReport* report) {
  std::vector<TvtCrossView*> views;
  for (auto it = all_views().rbegin(); it != all_views().rend(); ++it)
    if ((*it)->Report() == report) views.push_back(*it);
  return views;
}

// The handlers the views install; their type tells them from handlers set by others.
struct BeforeBuildChain {
  TvtReport* report;
  std::function<void()> next;
  void operator()() const {
    for (TvtCrossView* v : views_of(report)) v->BeforeBuild();
    if (next) next();
  }
};
struct EndDocChain {
  TvtReport* report;
  std::function<void()> next;
  void operator()() const {
    for (TvtCrossView* v : views_of(report)) v->EndDoc();
    if (next) next();
  }
};
struct BeforePrintChain {
  TvtReport* report;
  std::function<void(TvtStrings&, TvtView&)> next;
  void operator()(TvtStrings& memo, TvtView& view) const {
    for (TvtCrossView* v : views_of(report)) v->BeforePrint(memo, view);
    if (next) next(memo, view);
  }
};
struct PrintColumnChain {
  TvtReport* report;
  std::function<void(int, int32_t&)> next;
  void operator()(int column_no, int32_t& width) const {
    for (TvtCrossView* v : views_of(report)) v->PrintColumn(column_no, width);
    if (next) next(column_no, width);
  }
};

// A handler someone set over the chain becomes the one the chain calls after the views.
template <typename Chain, typename Handler>
void adopt(const Handler& current, Handler& base) {
  if (!current.template target<Chain>()) base = current;
}

void rechain(TvtReport& report) {
  auto& saved = TvtGlobals::Get().cross_views.saved;
  auto entry =
      std::find_if(saved.begin(), saved.end(),
                   [&](const TvtCrossViewHooks::SavedHandlers& s) { return s.report == &report; });
  if (entry == saved.end()) {
    saved.push_back({&report, {}, {}, {}, {}});
    entry = saved.end() - 1;
  }
  adopt<BeforeBuildChain>(report.OnBeforeBuild, entry->before_build);
  adopt<EndDocChain>(report.OnEndDoc, entry->end_doc);
  adopt<BeforePrintChain>(report.OnBeforePrint, entry->before_print);
  adopt<PrintColumnChain>(report.OnPrintColumn, entry->print_column);
  if (views_of(&report).empty()) {
    report.OnBeforeBuild = entry->before_build;
    report.OnEndDoc = entry->end_doc;
    report.OnBeforePrint = entry->before_print;
    report.OnPrintColumn = entry->print_column;
    saved.erase(entry);
    return;
  }
  report.OnBeforeBuild = BeforeBuildChain{&report, entry->before_build};
  report.OnEndDoc = EndDocChain{&report, entry->end_doc};
  report.OnBeforePrint = BeforePrintChain{&report, entry->before_print};
  report.OnPrintColumn = PrintColumnChain{&report, entry->print_column};
}

bool all_digits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

void take_look(TvtMemoView& memo, const TvtMemoView& from, bool frame_sides) {
  if (frame_sides) memo.FrameTyp = from.FrameTyp;
  memo.FrameWidth = from.FrameWidth;
  memo.FrameColor = from.FrameColor;
  memo.FrameStyle = from.FrameStyle;
  memo.FillColor = from.FillColor;
  memo.DisplayFormat = from.DisplayFormat;
  memo.FormatText = from.FormatText;
  memo.GapX = from.GapX;
  memo.GapY = from.GapY;
  memo.Font = from.Font;
  memo.Alignment = from.Alignment;
  memo.Highlight = from.Highlight;
  memo.HighlightCondition = from.HighlightCondition;
  memo.HighlightPostfix = from.HighlightPostfix;
  memo.LineSpacing = from.LineSpacing;
  memo.CharSpacing = from.CharSpacing;
}

// The width the lines need in `memo`'s font, as AutoWidth fits it.
int32_t text_width(const TvtMemoView& memo, const TvtStrings& lines) {
  Canvas& canvas = TvtGlobals::Get().measuring_canvas;
  CanvasStateSaver saver(canvas);
  canvas.set_font(MemoFontSelection(memo.Font, DesignFontPixels(memo.Font.Size), false));
  canvas.set_text_char_extra(memo.CharSpacing);
  int width = 0;
  for (const std::string& line : lines) width = std::max(width, canvas.text_extent(line).width);
  return round_half_even_to_int(width + memo.FrameWidth + 2.0 * memo.GapX + 1.0);
}

}  // namespace

TvtCrossView::TvtCrossView() {
  NamePrefix = "Cross";
  ObjectType = kObjAddIn;
  FrameTyp = kFrameAll;
  Restrictions = 17;
  Width = 348;
  Height = 94;
  Visible = false;
  Flags |= kFlagCross;
  if (TvtGlobals* g = TvtGlobals::Find(); g && g->CurReport) {
    report_ = g->CurReport;
    all_views().push_back(this);
    rechain(*report_);
  }
}

TvtCrossView::~TvtCrossView() {
  ReleaseSources();
  if (!report_ || !TvtGlobals::Find()) return;  // an engine ended first took its chain along
  std::erase(all_views(), this);
  rechain(*report_);
}

void TvtCrossView::RegisterProperties() {
  TvtView::RegisterProperties();
  std::erase_if(PropRec, [](const TvtPropRec& p) { return p.name == "Name"; });
  AddProperty("InternalFrame");
  AddProperty("RepeatCaptions");
}

Value TvtCrossView::GetProperty(const std::string& name) {
  const std::string n = upper_ascii(name);
  if (n == "INTERNALFRAME") return Value(InternalFrame);
  if (n == "REPEATCAPTIONS") return Value(RepeatCaptions);
  if (n == "SHOWHEADER") return Value(ShowHeader);
  return TvtView::GetProperty(name);
}

void TvtCrossView::SetProperty(const std::string& name, const Value& value) {
  const std::string n = upper_ascii(name);
  if (n == "INTERNALFRAME")
    InternalFrame = value.to_bool();
  else if (n == "REPEATCAPTIONS")
    RepeatCaptions = value.to_bool();
  else if (n == "SHOWHEADER")
    ShowHeader = value.to_bool();
  else
    TvtView::SetProperty(name, value);
}

void TvtCrossView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  InternalFrame = stream.read_u8() != 0;
  RepeatCaptions = stream.read_u8() != 0;
  ShowHeader = stream.read_u8() != 0;
}

void TvtCrossView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  stream.write_u8(InternalFrame ? 1 : 0);
  stream.write_u8(RepeatCaptions ? 1 : 0);
  stream.write_u8(ShowHeader ? 1 : 0);
}

void TvtCrossView::Draw(Canvas& canvas) {
  CreateTemplates();
  ApplyBandAlign(&canvas);
  {
    ScaledGeometry scaled(*this);
    DrawBackground();
    DrawFrame();
  }
  // The templates show where they are edited: inside the view's rectangle.
  for (int i = 0; i < 7; ++i) {
    TvtMemoView* memo = Template(i);
    if (!memo) continue;
    const int32_t left = memo->Left, top = memo->Top;
    const bool visible = memo->Visible;
    memo->Left = SaturateInt32(int64_t{Left} + kTemplateOffsets[i][0]);
    memo->Top = SaturateInt32(int64_t{Top} + kTemplateOffsets[i][1]);
    memo->DrawCanvas = &canvas;
    memo->ScaleX = ScaleX;
    memo->ScaleY = ScaleY;
    memo->OffsetX = OffsetX;
    memo->OffsetY = OffsetY;
    memo->Draw(canvas);
    memo->Left = left;
    memo->Top = top;
    memo->Visible = visible;
  }
}

TvtMemoView* TvtCrossView::Template(int index) const {
  if (!Parent) return nullptr;
  return dynamic_cast<TvtMemoView*>(Parent->FindObject(kTemplateNames[index] + Name));
}

void TvtCrossView::CreateTemplates() {
  if (!Parent || Template(kColumnHeader)) return;
  for (int i = 0; i < 7; ++i) {
    auto memo = std::make_unique<TvtMemoView>();
    memo->Name = kTemplateNames[i] + Name;
    memo->SetBounds(Left, Top, 80, 18);
    memo->Visible = false;
    memo->Font.Style = fsBold;
    memo->Alignment = vttaCenter | vttaMiddle;
    memo->FrameTyp = kFrameAll;
    memo->Restrictions = 112;
    memo->Memo = {kTemplateTexts[i]};
    if (i == kColumnTotal || i == kRowTotal) memo->FillColor = 0xF5F5F5;
    if (i == kGrandColumnTotal || i == kGrandRowTotal) memo->FillColor = 0xC0C0C0;
    if (i == kCell) {
      memo->Alignment = vttaRight;
      memo->Font.Style = 0;
    }
    Parent->Add(std::move(memo));
  }
}

TvtMemoView* TvtCrossView::AddMemo(const std::string& name, int32_t left, int32_t top,
                                   int32_t width, int32_t height) {
  auto memo = std::make_unique<TvtMemoView>();
  memo->Name = name;
  memo->SetBounds(left, top, width, height);
  return static_cast<TvtMemoView*>(Parent->Add(std::move(memo)));
}

void TvtCrossView::ReleaseSources() {
  if (report_ && report_->Components.Owner())
    for (TvtUserDataset* source : {RowSource.get(), ColumnSource.get()})
      if (source)
        report_->Components.Owner()->Remove(ComponentRef(static_cast<TvtDataset*>(source)));
  RowSource.reset();
  ColumnSource.reset();
  Cross.reset();
}

void TvtCrossView::BeforeBuild() {
  Inactive = true;
  ReleaseSources();
  const std::optional<TvtCrossDefinition> parsed = TvtCrossDefinition::Parse(Memo);
  if (!parsed || !Parent || !report_) return;
  TvtGlobals& g = TvtGlobals::Get();
  g.CurView = this;
  CreateTemplates();
  TvtCrossCaptions captions;
  auto caption = [&](int index, std::string& text) {
    if (TvtMemoView* memo = Template(index)) text = memo->Memo.empty() ? "" : memo->Memo[0];
  };
  caption(kColumnTotal, captions.column_total);
  caption(kGrandColumnTotal, captions.grand_column_total);
  caption(kRowTotal, captions.row_total);
  caption(kGrandRowTotal, captions.grand_row_total);

  TvtCrossDefinition def = *parsed;
  const TvtDataDictionary& dictionary = report_->Dictionary;
  def.dataset = dictionary.RealDatasetName(def.dataset);
  for (auto* fields : {&def.rows, &def.columns, &def.cells})
    for (TvtCrossField& field : *fields) field.name = dictionary.RealFieldName(field.name);

  TvtBandDataset source = ResolveBandDataset(def.dataset, report_->Components);
  struct Release {
    TvtBandDataset& d;
    ~Release() { ReleaseBandDataset(d); }
  } release{source};
  TvtDataset* dataset = source.dataset;
  if (!dataset) throw ZorelError("Dataset \"" + def.dataset + "\" not found");
  auto* db = dynamic_cast<TvtDBDataSet*>(dataset);
  Cross = std::make_unique<TvtCross>(def, captions);
  dataset->StartIteration();
  try {
    bool first = true;
    Cross->Build(
        [&] {
          if (first)
            dataset->First();
          else
            dataset->Next();
          first = false;
          return !dataset->Eof();
        },
        [&](const std::string& field) {
          if (!db) throw ZorelError("Field \"" + field + "\" not found");
          return GetFieldValue(db->SourceDataSet(), field);
        });
  } catch (...) {
    dataset->EndIteration();
    Cross.reset();
    throw;
  }
  dataset->EndIteration();
  if (Cross->ColumnCount() == 0) {
    Cross.reset();
    return;
  }
  Inactive = false;
  auto make_source = [&](const std::string& name, int count) {
    auto source = std::make_unique<TvtUserDataset>(name);
    source->RangeEnd = reCount;
    source->RangeEndCount = std::max(count, 0);
    report_->OwnerContainer().Insert(ComponentRef(static_cast<TvtDataset*>(source.get())));
    return source;
  };
  const int h = Cross->CaptionRows(), k = Cross->CaptionColumns();
  RowSource = make_source("RowDS" + Name, Cross->RowCount() - h - 1);
  ColumnSource = make_source("ColumnDS" + Name, Cross->ColumnCount() - k);
  GenerateLayout();
}

void TvtCrossView::GenerateLayout() {
  TvtPage& page = *Parent;
  const int32_t left_bound = page.PrintableBounds().left;
  const int h = Cross->CaptionRows(), k = Cross->CaptionColumns();
  const int caption_rows = ShowHeader ? h + 1 : h;

  TvtMemoView* cell =
      AddMemo("CrossMemo" + Name, kCrossDataLeft, kDataBandTop, kBandSize, kRowHeight);
  Measure(*cell);

  int32_t header_width = 0;
  for (int i = 0; i < k; ++i) header_width += ColumnWidths[static_cast<size_t>(i)];
  // The row-caption band is at least kBandSize wide: narrow captions reach over to the cells
  // rather than leave a gap before them.
  if (k > 0 && header_width < kBandSize) {
    ColumnWidths[static_cast<size_t>(k - 1)] += kBandSize - header_width;
    header_width = kBandSize;
  }
  int32_t header_height = 0;
  for (int32_t height : RowHeights) header_height += height;
  // The bands must not overlap however large the captions grow.
  const int32_t data_left = std::max(kCrossDataLeft, left_bound + header_width);
  const int32_t data_top = std::max(kDataBandTop, kHeaderBandTop + header_height);
  cell->SetBounds(data_left, data_top, kBandSize, kRowHeight);

  auto add_band = [&](const std::string& name, int type) {
    auto band = std::make_unique<TvtBandView>();
    band->Name = name + Name;
    band->SetBandType(type);
    return static_cast<TvtBandView*>(page.Add(std::move(band)));
  };
  TvtBandView* header = add_band("CrossHeader1", btMasterHeader);
  header->SetBounds(0, kHeaderBandTop, 0, std::max(header_height, 1));
  header->SetFlag(kBandRepeatHeader, RepeatCaptions);
  TvtBandView* data = add_band("CrossData1", btMasterData);
  data->SetBounds(0, data_top, 0, kRowHeight);
  data->SetFlag(kFlagStretched, true);
  data->FormatText = "RowDS" + Name;
  TvtBandView* cross_header = add_band("CrossHeader2", btCrossHeader);
  cross_header->SetBounds(left_bound, 0, std::max(header_width, kBandSize), 0);
  // Row captions come back on every page the columns continue on.
  cross_header->SetFlag(kBandRepeatHeader, RepeatCaptions);
  TvtBandView* cross_data = add_band("CrossData2", btCrossData);
  cross_data->SetBounds(data_left, 0, kBandSize, 0);
  cross_data->FormatText =
      "CrossHeader1" + Name + "=ColumnDS" + Name + ";CrossData1" + Name + "=ColumnDS" + Name + ";";

  int32_t x = left_bound;
  for (int i = 0; i < k; ++i) {
    const int32_t width = ColumnWidths[static_cast<size_t>(i)];
    AddMemo("CrossMemo" + std::to_string(i) + Name, x, data_top, width, kRowHeight);
    x += width;
  }
  int32_t y = kHeaderBandTop;
  for (int j = 0; j < caption_rows; ++j) {
    const int32_t height = RowHeights[static_cast<size_t>(j)];
    AddMemo("CrossMemo_" + std::to_string(j) + Name, data_left, y, kBandSize, height);
    y += height;
  }
}

void TvtCrossView::Measure(TvtMemoView& memo) {
  const int h = Cross->CaptionRows();
  const int caption_rows = ShowHeader ? h + 1 : h;
  ColumnWidths.assign(static_cast<size_t>(Cross->ColumnCount()), 0);
  RowHeights.assign(static_cast<size_t>(caption_rows), memo.Height);
  Measuring = true;
  struct Done {
    TvtCrossView& v;
    ~Done() { v.Measuring = false; }
  } done{*this};
  const int32_t width = memo.Width;
  for (int c = 0; c < Cross->ColumnCount(); ++c)
    for (int r = 0; r < Cross->RowCount(); ++r) {
      if (r == 0 && !ShowHeader) continue;
      TvtStrings lines;
      Fill(memo, lines, r, c);
      // The caption over all columns has a width of its own.
      if (!memo.HasFlag(kMemoAutoWidth))
        ColumnWidths[static_cast<size_t>(c)] =
            std::max(ColumnWidths[static_cast<size_t>(c)], text_width(memo, lines) + 5);
    }
  for (int j = 0; j < caption_rows; ++j) {
    const int r = ShowHeader ? j : j + 1;
    for (int c = Cross->CaptionColumns(); c < Cross->ColumnCount(); ++c) {
      measure_row_ = r;
      measure_column_ = c;
      memo.Width = 1000;
      const int32_t height = memo.CalcHeight();
      memo.DrawMode = 0;
      RowHeights[static_cast<size_t>(j)] = std::max(RowHeights[static_cast<size_t>(j)], height);
    }
  }
  memo.Width = width;
  memo.Memo.clear();
}

void TvtCrossView::PrintColumn(int column_no, int32_t& width) {
  TvtGlobals& g = TvtGlobals::Get();
  if (Inactive || !Cross || !Parent || g.CurPage != Parent) return;
  const int c = Cross->CaptionColumns() + column_no - 1;
  if (c < 0 || c >= static_cast<int>(ColumnWidths.size())) return;
  width = ColumnWidths[static_cast<size_t>(c)];
  auto resize = [&](const std::string& name) {
    if (TvtView* v = Parent->FindObject(name)) v->Width = width;
  };
  resize("CrossMemo" + Name);
  for (size_t j = 0; j < RowHeights.size(); ++j) resize("CrossMemo_" + std::to_string(j) + Name);
}

void TvtCrossView::BeforePrint(TvtStrings& lines, TvtView& view) {
  if (Inactive || !Cross) return;
  const std::string prefix = "CrossMemo";
  const std::string& name = view.Name;
  if (name.size() < prefix.size() + Name.size() || name.compare(0, prefix.size(), prefix) != 0 ||
      name.compare(name.size() - Name.size(), Name.size(), Name) != 0)
    return;
  auto* memo = dynamic_cast<TvtMemoView*>(&view);
  if (!memo) return;
  const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - Name.size());
  const int h = Cross->CaptionRows(), k = Cross->CaptionColumns();
  int row = 0, column = 0;
  if (Measuring) {
    row = measure_row_;
    column = measure_column_;
  } else if (middle.empty()) {
    row = h + 1 + (RowSource ? RowSource->RecNo() : 0);
    column = k + (ColumnSource ? ColumnSource->RecNo() : 0);
  } else if (middle.size() > 9) {
    return;  // no table has that many caption rows or columns
  } else if (all_digits(middle)) {
    column = std::stoi(middle);
    row = h + 1 + (RowSource ? RowSource->RecNo() : 0);
  } else if (middle[0] == '_' && all_digits(middle.substr(1))) {
    row = std::stoi(middle.substr(1)) + (ShowHeader ? 0 : 1);
    column = k + (ColumnSource ? ColumnSource->RecNo() : 0);
  } else {
    return;
  }
  if (!ShowHeader && row == 0) row = 1;
  Fill(*memo, lines, row, column);
}

void TvtCrossView::Fill(TvtMemoView& memo, TvtStrings& lines, int row, int column) {
  TvtGlobals& g = TvtGlobals::Get();
  const TvtCross& t = *Cross;
  const int h = t.CaptionRows(), k = t.CaptionColumns();
  const int rows = t.RowCount(), columns = t.ColumnCount();
  if (TvtMemoView* cell = Template(kCell)) take_look(memo, *cell, true);
  const int32_t cell_format = memo.DisplayFormat;
  const std::string cell_format_text = memo.FormatText;

  int frame = InternalFrame ? kFrameAll : kFrameLeft | kFrameRight;
  if (row == h + 1 && column >= k) frame |= kFrameTop;
  if (const Value stored = t.Cell(row, column, -1); !stored.is_null()) frame = stored.to_int();
  if (row == rows - 2) frame |= kFrameBottom;
  memo.FrameTyp = static_cast<uint16_t>(frame);

  bool caption = false;
  auto look = [&](int index) {
    if (TvtMemoView* from = Template(index)) take_look(memo, *from, false);
  };
  if (row <= h && column >= k) {
    look(kColumnHeader);
    caption = true;
  } else if (column < k && row > h) {
    look(kRowHeader);
    caption = true;
  }
  const int32_t alignment = memo.Alignment;
  if (column == columns - 1 && row > 0)
    look(kGrandColumnTotal);
  else if (row == rows - 1)
    look(kGrandRowTotal);
  else if (t.IsTotalColumn(column) && row > 0 && (frame & kFrameLeft))
    look(kColumnTotal);
  else if (t.IsTotalRow(row) && (column >= k || (frame & kFrameTop)))
    look(kRowTotal);
  if (!caption) {
    memo.Alignment = alignment;
    memo.DisplayFormat = cell_format;
    memo.FormatText = cell_format_text;
  }
  if (row <= h && column < k) memo.FillColor = kClNone;

  lines.clear();
  TvtView* const current = g.CurView;
  g.CurView = &memo;
  struct Restore {
    TvtGlobals& g;
    TvtView* view;
    ~Restore() { g.CurView = view; }
  } restore{g, current};
  auto format = [&](const Value& value) {
    g.ScriptVariables.SetVariable("CrossVariable", value);
    return report_->FormatExpressionValue("CrossVariable");
  };
  if (row <= h || column < k) {
    if (const Value v = t.Cell(row, column, 0); !v.is_null()) lines.push_back(format(v));
  } else {
    for (int i = 0; i < t.ValueCount(); ++i) lines.push_back(format(t.Cell(row, column, i)));
  }
  const bool spanning = row == 0 && column == k;
  memo.SetFlag(kMemoAutoWidth, spanning);
  memo.SetFlag(kMemoWordWrap, !spanning);
  // The text is final: the memo's own lines must not be expanded over it.
  memo.Memo.clear();
}

void TvtCrossView::EndDoc() {
  ReleaseSources();
  Inactive = true;
}

}  // namespace zr
