#pragma once
// A started engine with one current report of two form pages, for tests of formatting and
// value resolution.

#include <memory>
#include <string>

#include "engine/model/memo_view.h"
#include "engine/model/page.h"
#include "engine/report/report.h"
#include "engine_fixture.h"

namespace testing_support {

class ReportTest : public EngineTest {
 protected:
  ReportTest() {
    report.Pages.Add();
    report.Pages.Add();
    globals().CurReport = &report;
    globals().MasterReport = &report;
  }

  // A memo on form page `page` (0-based).
  zr::TvtMemoView& AddMemo(const std::string& name, int page = 0) {
    auto memo = std::make_unique<zr::TvtMemoView>();
    memo->Name = name;
    return static_cast<zr::TvtMemoView&>(*report.Pages.Items(page).Add(std::move(memo)));
  }

  zr::TvtVariables& ScriptVariables() { return globals().ScriptVariables; }

  // The display text of a bracketed expression, as a memo shows it.
  std::string Show(const std::string& expression) {
    return report.FormatExpressionValue(expression);
  }

  zr::TvtReport report;
};

}  // namespace testing_support
