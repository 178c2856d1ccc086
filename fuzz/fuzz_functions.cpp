// Evaluates arbitrary expression text with the standard and additional function libraries
// installed, first while aggregates are collected, then after a few accumulated records,
// then as reads. Script lines assign script variables. Errors are expected; crashes, hangs
// and runaway allocations are not.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/model/variables.h"
#include "engine/run/add_function_library.h"
#include "engine/run/aggregates.h"
#include "engine/run/function_registry.h"
#include "engine/run/parser.h"
#include "engine/run/std_function_library.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/ui_services.h"

namespace {

class OneBandPage : public zr::AggregateHost {
 public:
  OneBandPage() {
    data.Name = "MasterData1";
    data.BandType = 5;
    footer.Name = "MasterFooter1";
    footer.BandType = 6;
  }
  zr::TvtAggregateBand* CurrentBand() override { return &footer; }
  zr::TvtAggregateBand* FindDataBand(std::string_view name) override {
    return zr::same_name(name, data.Name) ? &data : nullptr;
  }
  zr::TvtAggregateBand* PageDataBand(zr::AggregateLevel level) override {
    return level == zr::AggregateLevel::MasterData ? &data : nullptr;
  }
  zr::TvtAggregateBand data;
  zr::TvtAggregateBand footer;
};

template <class F>
void guarded(F&& f) {
  try {
    f();
  } catch (const zr::ZorelError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  zr::HeadlessUi ui(nullptr);
  zr::FixedClock clock(zr::encode_date(2024, 5, 1));
  zr::TvtInstalledFunctions installed;
  zr::TvtParser parser;
  zr::TvtVariables variables;
  OneBandPage page;
  zr::TvtAggregateState state;
  state.host = &page;
  zr::FunctionContext context{parser, ui, zr::FormatSettings::defaults(), clock, installed, &state};
  context.run_script_line = [&](const std::string& line) {
    const size_t assign = line.find(":=");
    if (assign == std::string::npos) throw zr::ZorelError("not an assignment");
    variables.SetVariable(line.substr(0, assign), parser.Evaluate(line.substr(assign + 2)));
  };
  zr::TvtFunctionRegistry registry(context);
  registry.RegisterFunctionLibrary<zr::TvtStdFunctionLibrary>();
  registry.RegisterFunctionLibrary<zr::TAddFunctionLibrary>();
  zr::ConnectParser(parser, registry);
  int record = 0;
  parser.OnGetValue = [&](const std::string& name, zr::Value& out) {
    const int index = variables.IndexOf(name);
    out = index >= 0 ? variables.ValueAt(index) : zr::Value(int32_t{record});
  };

  guarded([&] {
    zr::CollectingScope scope(state, page.data);
    zr::TAggregateFunctionsSplitter splitter(&variables);
    splitter.SplitMemo({text});
    splitter.Split(text);
    zr::CollectCalls(parser, state, splitter.SplitTo);
  });
  for (record = 1; record <= 3; ++record) {
    page.data.Visible = record != 2;
    guarded([&] { page.data.Accumulate(parser); });
  }
  guarded([&] { (void)parser.Evaluate(text); });
  page.footer.ResetShownAggregates();
  guarded([&] { (void)parser.Evaluate(text); });
  return 0;
}
