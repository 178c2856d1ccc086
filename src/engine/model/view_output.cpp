// What a view does for preparation and output: unique names, bracket expansion, copying,
// writing itself into a prepared page and handing itself to an export filter.
#include <string>

#include "engine/model/export_filter.h"
#include "engine/model/page.h"
#include "engine/model/view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/parser.h"
#include "platform/text_limit.h"

namespace zr {

namespace {

constexpr int kMaxNameNumber = 10000;

// Gives a field a value for the scope and puts the old one back, also when the work raises.
template <typename T>
class ScopedField {
 public:
  ScopedField(T& field, T value) : field_(field), saved_(field) { field_ = std::move(value); }
  ~ScopedField() { field_ = std::move(saved_); }
  ScopedField(const ScopedField&) = delete;
  ScopedField& operator=(const ScopedField&) = delete;

 private:
  T& field_;
  T saved_;
};

}  // namespace

void TvtView::LoadFromBlobField(const std::optional<std::string>&) {}

void TvtView::CreateUniqueName() {
  const TvtGlobals& g = TvtGlobals::Get();
  auto taken = [&](const std::string& name) {
    if (g.CurReport) return g.CurReport->FindObject(name) != nullptr;
    return Parent && Parent->FindObject(name) != nullptr;
  };
  for (int n = 1; n <= kMaxNameNumber; ++n) {
    std::string name = NamePrefix + std::to_string(n);
    if (!taken(name)) {
      Name = std::move(name);
      return;
    }
  }
  Name.clear();
}

std::string ExpandBracketedText(const std::string& text,
                                const std::function<std::string(const std::string&)>& display) {
  std::string s = text;
  size_t at = s.find('[');
  while (at != std::string::npos) {
    size_t finish = at;
    std::string expression = ReadBracketed(s, at, finish);
    if (finish >= s.size()) break;  // no closing bracket: the rest stays as written
    std::string shown = display(expression);
    check_text_length(s.size() - (finish - at + 1) + shown.size());
    s.replace(at, finish - at + 1, shown);
    at = s.find('[', at + shown.size());
  }
  return s;
}

std::string TvtView::ExpandBrackets(const std::string& text) {
  TvtReport* report = TvtGlobals::Get().CurReport;
  if (!report) return text;
  return ExpandBracketedText(
      text, [report](const std::string& expr) { return report->FormatExpressionValue(expr); });
}

void TvtView::AssignFrom(TvtView& source) {
  Name = source.Name;
  ObjectType = source.ObjectType;
  ByteWriter out(kCurrentStreamVersion);
  {
    ScopedField<bool> design(source.PreparedMode, false);
    source.SaveToStream(out);
  }
  const std::string bytes = out.take();
  ByteReader in(bytes, "<copy of " + source.Name + ">", kCurrentStreamVersion);
  ScopedField<bool> design(PreparedMode, false);
  LoadFromStream(in);
}

void TvtView::WriteToPreparedPage(ByteWriter& stream) {
  TvtGlobals& g = TvtGlobals::Get();
  ApplyBandAlign(&g.measuring_canvas);
  ExpandedMemo = Memo;
  if (g.CurReport) g.CurReport->EnterRect(ExpandedMemo, *this);
  g.RunScript(Script);
  if (!Visible) return;
  ScopedField<std::string> tag(Tag, Tag.find('[') != std::string::npos ? ExpandBrackets(Tag) : Tag);
  ApplyBandRelativeAlign();
  WritePreparedRecord(stream);
}

void TvtView::ExportTo() {
  TvtReport* report = TvtGlobals::Get().CurReport;
  if (report && report->ExportFilter) report->ExportFilter->OnData(Left, Top, *this);
}

}  // namespace zr
