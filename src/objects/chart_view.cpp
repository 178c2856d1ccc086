#include "objects/chart_view.h"

#include <cmath>
#include <limits>
#include <memory>

#include "engine/model/memo_font.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/component_directory.h"
#include "objects/chart_painter.h"
#include "platform/byte_stream.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/rounding.h"
#include "platform/table/client_dataset.h"
#include "platform/table/data_source.h"

namespace zr {
namespace {

// A memo's text as a number: thousands separators and blanks dropped, the locale's decimal
// separator read as a point; NaN when no number is left.
double ParseMemoNumber(const TvtStrings& lines) {
  const FormatSettings& fs = TvtGlobals::Get().format_settings;
  std::string text;
  for (const auto& line : lines)
    for (char ch : line) {
      if (ch == fs.thousand_separator || ch == ' ' || ch == kParagraphMark) continue;
      text += ch == fs.decimal_separator ? '.' : ch;
    }
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(v))
    return std::numeric_limits<double>::quiet_NaN();
  return v;
}

int32_t FormatCategory(int32_t display_format) {
  return (display_format >> 24) & 0xF;
}

// A dataset value as a category label: dates and times in the chart's date or time format,
// else the short date format.
std::string CategoryText(const Value& value, int32_t display_format,
                         const std::string& format_text) {
  if (value.is_null() || value.is_empty()) return {};
  if (value.kind() != ValueKind::DateTime)
    return value.to_string(TvtGlobals::Get().format_settings);
  const int32_t category = FormatCategory(display_format);
  if (category == 2 || category == 3)
    return TvtReport::FormatValue(value, display_format, format_text);
  return TvtReport::FormatValue(value, 2 << 24, "");
}

ClientDataset* FindDataset(TvtComponentContainer& form, const std::string& name) {
  const ComponentRef ref = form.Find(name);
  if (auto* ds = std::get_if<ClientDataset*>(&ref)) return *ds;
  if (auto* source = std::get_if<DataSource*>(&ref)) return (*source)->dataset();
  return nullptr;
}

}  // namespace

TvtChartView::TvtChartView() {
  NamePrefix = "Chart";
  Flags |= kFlagWantHook;
  Font.Size = 8;
}

void TvtChartView::BindSeries(TvtComponentContainer& form) {
  if (DataSetName.empty()) return;
  ClientDataset* ds = FindDataset(form, DataSetName);
  if (!ds || !ds->is_open()) return;
  Data = {};
  Data.values.resize(Series.size());
  const auto category = ds->find_field(CategoryField);
  std::vector<std::optional<size_t>> fields;
  for (const auto& s : Series) fields.push_back(ds->find_field(s.Source));
  const Bookmark mark = ds->get_bookmark();
  for (ds->first(); !ds->eof(); ds->next()) {
    Data.categories.push_back(category
                                  ? CategoryText(ds->value(*category), DisplayFormat, FormatText)
                                  : std::to_string(Data.categories.size() + 1));
    for (size_t s = 0; s < Series.size(); ++s) {
      const Value v = fields[s] ? ds->value(*fields[s]) : Value();
      Data.values[s].push_back(v.is_number() ? v.to_double()
                                             : std::numeric_limits<double>::quiet_NaN());
    }
  }
  if (ds->bookmark_valid(mark)) ds->goto_bookmark(mark);
}

std::vector<std::string> TvtChartView::MissingFields(TvtComponentContainer& form) const {
  std::vector<std::string> missing;
  ClientDataset* ds = DataSetName.empty() ? nullptr : FindDataset(form, DataSetName);
  if (!ds || !ds->is_open()) return missing;
  if (!CategoryField.empty() && !ds->find_field(CategoryField)) missing.push_back(CategoryField);
  for (const auto& s : Series)
    if (!ds->find_field(s.Source)) missing.push_back(s.Source);
  return missing;
}

void TvtChartView::OnHook(TvtView& drawn) {
  if (!DataSetName.empty() || drawn.Name.empty()) return;
  if (!CategoryField.empty() && same_text_ascii(drawn.Name, CategoryField)) {
    std::string text;
    for (const auto& line : drawn.ExpandedMemo) text += (text.empty() ? "" : " ") + line;
    Data.AddCategory(text);
    return;
  }
  for (size_t s = 0; s < Series.size(); ++s) {
    if (!same_text_ascii(drawn.Name, Series[s].Source)) continue;
    const double value = ParseMemoNumber(drawn.ExpandedMemo);
    if (!CategoryField.empty()) {
      Data.AddToLast(s, value);
      continue;
    }
    const size_t next = s < Data.values.size() ? Data.values[s].size() : 0;
    Data.Add(s, value, std::to_string(next + 1));
  }
}

void TvtChartView::WriteToPreparedPage(ByteWriter& stream) {
  TvtView::WriteToPreparedPage(stream);
  if (DataSetName.empty()) {  // the memo points belong to what was printed before
    Data = {};
  }
}

std::string TvtChartView::TickText(double value, double step) const {
  if (FormatCategory(DisplayFormat) == 1)
    return TvtReport::FormatValue(Value(value), DisplayFormat, FormatText);
  // Thousands grouped, as many decimals as the tick spacing needs.
  const int decimals =
      step > 0 ? std::clamp(-static_cast<int>(std::floor(std::log10(step))), 0, 10) : 0;
  return TvtReport::FormatValue(Value(value), (1 << 24) | (3 << 16) | (decimals << 8), "");
}

void TvtChartView::Draw(Canvas& canvas) {
  ApplyBandAlign(&canvas);
  ExpandedMemo = Memo;
  ScaledGeometry scaled(*this);
  DrawBackground();
  DrawFrame();
  if (TvtGlobals::Get().FirstPass) return;
  ChartStyle style;
  style.kind = ChartKind <= ckLastKind ? static_cast<TvtChartKind>(ChartKind) : ckBar;
  style.title = Title;
  style.legend = ShowLegend;
  style.series = Series;
  const int pixels =
      std::max(1, static_cast<int>(std::lround(DesignFontPixels(Font.Size) * EffectiveScale().ky)));
  style.font = MemoFontSelection(Font, pixels, false);
  style.format_value = [this](double value, double step) { return TickText(value, step); };
  const Rect box{Left, Top, SaturateInt32(int64_t{ScaledRight()} + 1),
                 SaturateInt32(int64_t{ScaledBottom()} + 1)};
  PaintChart(canvas, box, style, Data);
}

void TvtChartView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  ByteWriter own(stream.version());
  own.write_u8(ChartKind);
  own.write_string(Title);
  own.write_string(DataSetName);
  own.write_string(CategoryField);
  own.write_u8(ShowLegend ? 1 : 0);
  own.write_string(Font.Name);
  own.write_i32(Font.Size);
  own.write_u16(Font.Style);
  own.write_u8(Font.Charset);
  own.write_u16(static_cast<uint16_t>(Series.size()));
  for (const auto& s : Series) {
    own.write_string(s.Title);
    own.write_string(s.Source);
    own.write_i32(s.Color);
  }
  if (PreparedMode) Data.Write(own);
  const std::string bytes = own.take();
  stream.write_u8(kChartVersion);
  stream.write_u32(static_cast<uint32_t>(bytes.size()));
  stream.write_bytes(bytes);
}

void TvtChartView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  const uint8_t version = stream.read_u8();
  if (version == 0) stream.fail("chart record version 0");
  const uint32_t length = stream.read_u32();
  if (length > stream.remaining()) stream.fail("chart record longer than its stream");
  const size_t end = stream.position() + length;
  ChartKind = stream.read_u8();
  Title = stream.read_string();
  DataSetName = stream.read_string();
  CategoryField = stream.read_string();
  ShowLegend = stream.read_u8() != 0;
  Font.Name = stream.read_string();
  Font.Size = std::clamp(stream.read_i32(), 1, 1000);
  Font.Style = stream.read_u16();
  Font.Charset = stream.read_u8();
  const uint16_t count = stream.read_u16();
  Series.clear();
  for (uint16_t i = 0; i < count; ++i) {
    TvtChartSeries s;
    s.Title = stream.read_string();
    s.Source = stream.read_string();
    s.Color = stream.read_i32();
    Series.push_back(std::move(s));
  }
  Data = {};
  if (PreparedMode) Data.Read(stream);
  if (stream.position() > end) stream.fail("chart record overruns its length");
  stream.seek(end);  // fields of later versions
}

TvtChartClass::TvtChartClass() {
  TvtGlobals::Get().add_ins.Register(
      {TvtChartView::kClassName, [] { return std::make_unique<TvtChartView>(); }, {}, {}});
}

TvtChartClass::~TvtChartClass() {
  if (TvtGlobals* g = TvtGlobals::Find()) g->add_ins.Unregister(TvtChartView::kClassName);
}

}  // namespace zr
