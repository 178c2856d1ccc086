// What runs once per prepared page before forming: views bound to the data fields they show,
// and the aggregate calls of the bands registered with the data bands they count.
#include <string>
#include <vector>

#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine/report/report_interpreter.h"
#include "engine/report/tvt_globals.h"
#include "engine/run/band_engine.h"
#include "engine/run/dataset_field.h"

namespace zr {

namespace {

std::string joined(const TvtStrings& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  return text;
}

const std::vector<std::string> kAggregateNames = {"AVG", "COUNT", "MAX", "MIN", "SUM"};

// The band types whose texts may show aggregates of a data band of `type`.
std::vector<int> scanned_types(int type) {
  switch (type) {
    case btMasterData:
      return {btPageFooter, btColumnFooter, btMasterFooter, btGroupFooter, btReportSummary};
    case btDetailData:
      return {btPageFooter,   btColumnFooter, btMasterFooter,
              btDetailFooter, btGroupFooter,  btReportSummary};
    case btSubDetailData:
      return {btPageFooter,      btColumnFooter, btMasterFooter, btDetailFooter,
              btSubDetailFooter, btGroupFooter,  btReportSummary};
    default:
      return {btCrossFooter};
  }
}

}  // namespace

std::string TvtBandEngine::DictionaryField(const std::string& name, ClientDataset*& dataset) {
  TvtDataDictionary& dictionary = report_.Dictionary;
  if (!dictionary.VariableExists(name)) return {};
  const TvtCacheItem* item = dictionary.CachedField(name);
  if (!item) return {};
  dataset = item->dataset.get<ClientDataset>();
  return item->field_name;
}

void TvtBandEngine::BindFields(TvtPage& page) {
  if (page.PageType == 1) return;
  g_.CurPage = &page;
  for (auto& owned : page.Objects) {
    TvtView& view = *owned;
    view.FieldName.clear();
    std::string text = joined(view.Memo);
    if (text.size() <= 2 || text[0] != '[') continue;
    if (auto* memo = dynamic_cast<TvtMemoView*>(&view); memo && memo->HasFlag(kMemoTextOnly))
      continue;
    const size_t close = text.rfind(']');
    if (close == std::string::npos || close < 1) continue;
    const std::string name = text.substr(1, close - 1);
    view.FieldDataSet = nullptr;
    g_.CurBand = view.ParentBand;
    ClientDataset* dataset = nullptr;
    std::string field = DictionaryField(name, dataset);
    if (field.empty()) {
      dataset = CurrentBandDataSet(this);
      field = FindDatasetField(name, dataset, components_);
    }
    if (field.empty() || !dataset) continue;
    // The view keeps the serving band's dataset as its mark; the client dataset the field
    // belongs to stays here for the blob step.
    auto* band = static_cast<TvtBand*>(view.ParentBand);
    TvtDataset* serving =
        band ? DataBandDataset(ServingDataBandType(band->type()).value_or(-1)) : nullptr;
    view.FieldDataSet = serving ? serving : band ? band->dataset() : nullptr;
    view.FieldName = field;
    blob_fields_[&view] = dataset;
  }
  g_.CurBand = nullptr;
}

void TvtBandEngine::CollectAggregates(TvtPage& page) {
  TvtPageForming* state = Forming(&page);
  if (!state) return;
  TvtPageForming& ps = *state;
  g_.CurPage = &page;
  std::vector<TvtBand*> targets;
  for (int type : {btMasterData, btDetailData, btSubDetailData})
    for (TvtBand* b = ps.head(type); b && b->view && b->dataset(); b = b->next)
      targets.push_back(b);
  if (ps.head(btCrossData)->view) targets.push_back(ps.head(btCrossData));
  const TvtVariables* variables = &report_.Dictionary.VariableList;
  auto collect = [&](TvtBand& band) {
    g_.CurBand = &band;
    std::vector<std::string> calls;
    TInterpretator::ListFunctionCalls(band.script, kAggregateNames, variables, calls);
    for (TvtView* v : band.objects) {
      if (auto* memo = dynamic_cast<TvtMemoView*>(v)) {
        TAggregateFunctionsSplitter splitter(variables);
        splitter.SplitMemo(memo->Memo);
        calls.insert(calls.end(), splitter.SplitTo.begin(), splitter.SplitTo.end());
      }
      if (v->Script.empty()) continue;
      std::vector<std::string> compiled, errors;
      g_.GlobalInterpreter->CompileScript(v->Script, compiled, errors);
      TInterpretator::ListFunctionCalls(compiled, kAggregateNames, variables, calls);
    }
    CollectCalls(g_.GlobalParser, g_.aggregates, calls);
  };
  try {
    for (TvtBand* target : targets) {
      CollectingScope scope(g_.aggregates, *target);
      for (int type : scanned_types(target->type())) {
        TvtBand* first = ps.head(type);
        if (!first || !first->view) continue;
        int guard = 0;
        for (TvtBand* b = first; b && guard < 1000; b = b->child, ++guard) collect(*b);
        for (TvtBand* b = first->next; b; b = b->next) collect(*b);
      }
    }
  } catch (const std::exception& e) {
    Error(e);
  }
  g_.CurBand = nullptr;
}

}  // namespace zr
