#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/model/picture_view.h"

#include "engine/report/report_interpreter.h"
#include "engine/report/run_host.h"
#include "platform/date_time.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/net/curl_http_session.h"
#include "platform/printing/memory_printer_system.h"
#include "report_fixture.h"

namespace zr {
namespace {

using testing_support::ReportTest;

class ResolverTest : public ReportTest {
 protected:
  Value Resolve(const std::string& name) {
    Value value;
    report.ResolveValue(name, value);
    return value;
  }
  void Run(const std::vector<std::string>& script) { globals().RunScript(script); }
};

TEST_F(ResolverTest, OnGetValueAnswersFirstAndUnansweredNamesReadAsZero) {
  report.Dictionary.VariableList.SetVariable("A", Value("1 + 1"));
  std::vector<std::string> asked;
  report.OnGetValue = [&](const std::string& name, Value& value) {
    asked.push_back(name);
    if (name == "A") value = Value(int32_t{42});
  };
  EXPECT_EQ(Show("A"), "42");
  EXPECT_EQ(Show("nothing"), "0");  // not evaluated, so not undefined
  EXPECT_EQ(asked, (std::vector<std::string>{"A", "nothing"}));
}

TEST_F(ResolverTest, DictionaryVariablesAreEvaluated) {
  report.Dictionary.VariableList.SetVariable("Total", Value("2 + 3"));
  EXPECT_EQ(Show("Total"), "5");
  EXPECT_EQ(Show("total * 2"), "10");
  // A script variable of the same name wins.
  ScriptVariables().SetVariable("TOTAL", Value("set by the viewer"));
  EXPECT_EQ(Show("Total"), "set by the viewer");
}

TEST_F(ResolverTest, ScriptAssignmentCreatesAVariableSeenLater) {
  Run({"x := 5"});
  EXPECT_EQ(ScriptVariables().GetVariable("x").to_double(), 5);
  EXPECT_EQ(Show("x"), "5");
  EXPECT_EQ(Show("x + 1"), "6");
  Run({"begin x := x * 2; y := x end"});
  EXPECT_EQ(Show("y"), "10");
  // Through the shared parser too, as the memo's highlight conditions go.
  EXPECT_EQ(globals().GlobalParser.Evaluate("x - 1").to_double(), 9);

  report.ClearGlobalVariables();
  report.ShowProgress = false;
  EXPECT_EQ(Show("x"), "");
  EXPECT_TRUE(report.Terminated);
}

TEST_F(ResolverTest, SystemVariablesAndConstants) {
  globals().CurPageNo = 2;
  globals().TotalPages = 7;
  globals().ReportDate = encode_date(2026, 12, 10);
  globals().ReportTime = encode_time(9, 30, 0, 0);
  report.FinalPass = true;
  EXPECT_EQ(Show("PAGE#"), "3");
  EXPECT_EQ(Show("TOTALPAGES"), "7");
  EXPECT_TRUE(Resolve("DATE").identical(Value::date_time(globals().ReportDate)));
  EXPECT_TRUE(Resolve("TIME").identical(Value::date_time(globals().ReportTime)));
  EXPECT_TRUE(Resolve("FINALPASS").identical(Value(true)));
  // Bare identifiers reach the resolver upper-cased; bracketed names as written.
  EXPECT_EQ(Show("page# + 1"), "4");
  // Without a running band engine the counters and page positions are 0.
  for (const char* name : {"LINE#", "LINETHROUGH#", "COLUMN#", "CURRENT#", "CURY", "FREESPACE",
                           "PAGEHEIGHT", "PAGEWIDTH", "CALCWIDTH"}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(Resolve(name).identical(Value(int32_t{0})));
  }
  EXPECT_EQ(Show("clRed"), "255");
  EXPECT_EQ(Show("fsBold + vttaCenter"), "4");
}

TEST_F(ResolverTest, CalcWidthMeasuresTheCurrentMemo) {
  TvtMemoView& memo = AddMemo("Memo1");
  globals().CurView = &memo;
  memo.Memo = {"short", "a much longer line"};
  const int32_t wide = Resolve("CALCWIDTH").to_int();
  memo.Memo = {"short"};
  const int32_t narrow = Resolve("CALCWIDTH").to_int();
  EXPECT_GT(narrow, 0);
  EXPECT_GT(wide, narrow);
}

TEST_F(ResolverTest, UndefinedSymbolRaisesOrTerminates) {
  try {
    Show("price * 2");
    FAIL() << "no error";
  } catch (const ZorelError& e) {
    EXPECT_STREQ(e.what(), "Undefined symbol \"PRICE\"");
  }
  EXPECT_EQ(globals().CurName, "");  // the guard is cleared after an error too
  EXPECT_FALSE(report.Terminated);

  report.ShowProgress = false;
  EXPECT_NO_THROW(Show("[price]"));
  EXPECT_EQ(report.ErrorText, "Undefined symbol \"PRICE\"");
  EXPECT_TRUE(report.Terminated);
}

TEST_F(ResolverTest, CyclicVariablesFailInsteadOfRecursingForever) {
  report.Dictionary.VariableList.SetVariable("a", Value("b + 1"));
  report.Dictionary.VariableList.SetVariable("b", Value("a + 1"));
  EXPECT_THROW(Show("a"), ZorelError);
  report.ShowProgress = false;
  EXPECT_THROW(Show("a"), ZorelError);
}

TEST_F(ResolverTest, ObjectPathsAddressViewsAndFormPages) {
  TvtMemoView& memo1 = AddMemo("Memo1");
  TvtMemoView& page2x = AddMemo("Page2x", 1);
  const struct {
    const char* path;
    TvtObject* object;
    const char* property;
  } cases[] = {
      {"Memo1.Left", &memo1, "Left"},
      {"MEMO1.MEMO.ADD", &memo1, "MEMO.ADD"},
      {"Page2.Visible", &report.Pages.Items(1), "Visible"},
      {"page1.Width", &report.Pages.Items(0), "Width"},
      {"Page3.Visible", nullptr, ""},  // no such form page
      {"Page2x.Top", &page2x, "Top"},  // not a page number: an object name
      {"Nobody.Left", nullptr, ""},    // nor the current view's nested property
      {"Left", &page2x, "Left"},       // no object name: the current view
  };
  globals().CurView = &page2x;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    TvtObject* object = nullptr;
    std::string property;
    EXPECT_EQ(report.ResolveObjectProperty(c.path, object, property), c.object != nullptr);
    EXPECT_EQ(object, c.object);
    if (c.object) {
      EXPECT_EQ(property, c.property);
    }
  }
}

TEST_F(ResolverTest, ViewPropertiesAndMethodsThroughExpressionsAndScripts) {
  TvtMemoView& memo = AddMemo("Memo1");
  TvtMemoView& other = AddMemo("Memo2", 1);
  memo.Left = 25;
  memo.Memo = {"one", "two"};
  EXPECT_EQ(Show("Memo1.Left"), "25");
  Run({"begin Memo1.Left := 40; Memo1.Memo.Add('three'); SETARRAY(Memo1.Memo, 0, 'first');",
       "first := GETARRAY(memo1.memo, 0); Memo2.Hide end"});
  EXPECT_EQ(memo.Left, 40);
  EXPECT_EQ(memo.Memo, (TvtStrings{"first", "two", "three"}));
  EXPECT_EQ(Show("first"), "first");
  EXPECT_FALSE(other.Visible);
  EXPECT_EQ(Show("memo1.left + 1"), "41");  // reaches the resolver as MEMO1.LEFT
  EXPECT_EQ(ScriptVariables().IndexOf("Memo1.Left"), -1);
  // Without an object name: the current view.
  globals().CurView = &other;
  EXPECT_EQ(Show("Visible"), "False");
}

TEST_F(ResolverTest, NestedPropertiesOfTheCurrentView) {
  TvtMemoView& memo = AddMemo("Memo1");
  globals().CurView = &memo;
  memo.Font.Name = "Courier New";
  EXPECT_EQ(Show("Font.Name"), "Courier New");
  Run({"begin Font.Size := 14; Memo1.Font.Color := clRed end"});
  EXPECT_EQ(memo.Font.Size, 14);
  EXPECT_EQ(memo.Font.Color, 255);
  EXPECT_EQ(ScriptVariables().Count(), 0);
}

TEST_F(ResolverTest, FormPagePropertiesByNumber) {
  report.Pages.Items(1).Visible = false;
  EXPECT_EQ(Show("Page2.Visible"), "False");
  EXPECT_EQ(Show("page1.visible"), "True");
  Run({"Page1.Visible := False"});
  EXPECT_FALSE(report.Pages.Items(0).Visible);
  EXPECT_EQ(ScriptVariables().Count(), 0);
}

TEST_F(ResolverTest, UndefinedSymbolIsQuietWhileAggregatesAreCollected) {
  globals().aggregates.collecting = true;
  EXPECT_EQ(Show("price"), "");
  EXPECT_FALSE(report.Terminated);
}

TEST_F(ResolverTest, ArraysLiveInScriptVariables) {
  Run({"begin SETARRAY(a, 1, 'x'); SETARRAY(a, 'k', 2 + 3); b := GETARRAY(a, 1);",
       "c[2] := b + 'y' end"});
  EXPECT_TRUE(ScriptVariables().GetVariable("Arr_a_1").identical(Value("x")));
  EXPECT_EQ(ScriptVariables().GetVariable("Arr_a_k").to_double(), 5);
  EXPECT_EQ(Show("b"), "x");
  EXPECT_EQ(Show("GETARRAY(a, 0.6 + 0.4)"), "x");  // a numeric index counts as an integer
  EXPECT_EQ(Show("GETARRAY(a, 2)"), "");
  EXPECT_EQ(Show("c[1 + 1]"), "xy");
}

TEST_F(ResolverTest, IncAndDecWriteBackWhereTheVariableLives) {
  report.Dictionary.VariableList.SetVariable("counter", Value(int32_t{3}));
  Run({"INC(counter)"});
  EXPECT_EQ(report.Dictionary.VariableList.GetVariable("counter").to_int(), 4);
  EXPECT_EQ(ScriptVariables().IndexOf("counter"), -1);
  Run({"begin n := 10; DEC(n); DEC(n) end"});
  EXPECT_EQ(Show("n"), "8");
}

TEST_F(ResolverTest, StopReportTerminatesTheCurrentReport) {
  Run({"begin STOPREPORT end"});
  EXPECT_TRUE(report.Terminated);
}

TEST_F(ResolverTest, LibrariesFirstThenUserFunctionAfterBuiltIns) {
  std::vector<std::string> calls;
  report.OnUserFunction = [&](const std::string& name, const Value& p1, const Value&, const Value&,
                              Value& val) {
    calls.push_back(name + ":" + p1.to_string() + ":" + val.to_string());
    if (name == "TWICE") val = Value(globals().GlobalParser.Evaluate(p1.to_string()) * Value(2.0));
  };
  EXPECT_EQ(Show("TWICE(21)"), "42");
  EXPECT_EQ(Show("UPPERCASE('ab')"), "AB");  // a library function: no user function call
  Run({"begin STOPREPORT end"});
  EXPECT_EQ(calls, (std::vector<std::string>{"TWICE:21:0", "STOPREPORT:0:0"}));
}

TEST_F(ResolverTest, WritesGoToScriptVariablesDictionaryOrNewVariables) {
  report.Dictionary.VariableList.SetVariable("Rate", Value("0.1"));
  ScriptVariables().SetVariable("seen", Value(int32_t{1}));
  Run({"begin rate := 0.2; seen := 2; fresh := rate + seen end"});
  EXPECT_EQ(report.Dictionary.VariableList.GetVariable("Rate").to_double(), 0.2);
  EXPECT_EQ(ScriptVariables().GetVariable("seen").to_int(), 2);
  EXPECT_DOUBLE_EQ(ScriptVariables().GetVariable("fresh").to_double(), 2.2);
  EXPECT_EQ(ScriptVariables().IndexOf("rate"), -1);
}

TEST_F(ResolverTest, OutsideAReportScriptsUseScriptVariablesOnly) {
  globals().CurReport = nullptr;
  Run({"begin x := 4; y := x + 1 end"});
  EXPECT_EQ(ScriptVariables().GetVariable("y").to_double(), 5);
}

// The band engine's side, recorded.
class RecordingHost : public TvtRunHost {
 public:
  Value Counter(std::string_view name) override { return Value(int32_t{name == "LINE#" ? 7 : 1}); }
  int32_t CurY() override { return cur_y; }
  int32_t BottomLimit() override { return 1000; }
  int32_t RightEdge() override { return 700; }
  void SetCurY(int32_t y) override { cur_y = y; }
  void NewPage() override { log.push_back("newpage"); }
  void NewColumn() override { log.push_back("newcolumn"); }
  void ShowBand(const std::string& name) override { log.push_back("show " + name); }
  void SetModalResult(int32_t result) override { log.push_back("modal " + std::to_string(result)); }
  void ShowProgressText(const std::string& text) override { log.push_back("progress " + text); }
  void LoadBlobField(TvtView& view) override { log.push_back("blob " + view.Name); }

  int32_t cur_y = 100;
  std::vector<std::string> log;
};

TEST_F(ResolverTest, RunningBandEngineAnswersPagePositionsAndRequests) {
  RecordingHost host;
  globals().run_host = &host;
  EXPECT_EQ(Show("LINE#"), "7");
  EXPECT_EQ(Show("COLUMN#"), "1");
  Run({"begin cury := cury + 50; Progress := 'half'; NEWPAGE; NEWCOLUMN; SHOWBAND(Band2);",
       "ModalResult := 1 end"});
  EXPECT_EQ(host.cur_y, 150);
  EXPECT_EQ(Show("FREESPACE"), "850");
  EXPECT_EQ(Show("PAGEHEIGHT"), "1000");
  EXPECT_EQ(Show("PAGEWIDTH"), "700");
  // The modal result counts only while a dialog page is current.
  globals().CurPage = &report.Pages.Items(1);
  report.Pages.Items(1).PageType = 1;
  Run({"MODALRESULT := 2"});
  EXPECT_EQ(host.log, (std::vector<std::string>{"progress half", "newpage", "newcolumn",
                                                "show Band2", "modal 2"}));
  EXPECT_EQ(ScriptVariables().Count(), 0);
  globals().run_host = nullptr;
}

TEST(EnterRect, LoadsAPictureFromItsAddress) {
  HeadlessUi ui{nullptr};
  MemoryPrinterSystem printers;
  FixedClock clock{46366.5};
  CurlHttpSession http;
  TvtGlobals globals(ui, printers, clock, &http);
  TvtReport report;
  globals.CurReport = &report;
  report.Pages.Add();
  auto& picture =
      static_cast<TvtPictureView&>(*report.Pages.Items(0).Add(std::make_unique<TvtPictureView>()));
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("zr_enter_rect_" + std::to_string(getpid()) + ".bmp");
  {
    std::ofstream out(file, std::ios::binary);
    out << encode_bmp(Bitmap(3, 2, 0xFF00FF00));
  }
  globals.ScriptVariables.SetVariable("name", Value(file.string()));
  picture.Url = " file://[name] ";
  TvtStrings memo;
  report.EnterRect(memo, picture);
  std::filesystem::remove(file);
  ASSERT_FALSE(picture.Picture.empty());
  EXPECT_EQ(picture.Picture.width(), 3);
}

TEST_F(ResolverTest, EnterRectRunsBeforePrint) {
  TvtMemoView& memo = AddMemo("Memo1");
  report.OnBeforePrint = [](TvtStrings& lines, TvtView& view) {
    lines.push_back("added for " + view.Name);
  };
  TvtStrings lines{"first"};
  report.EnterRect(lines, memo);
  EXPECT_EQ(lines, (TvtStrings{"first", "added for Memo1"}));
}

}  // namespace
}  // namespace zr
