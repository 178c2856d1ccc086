// Property tables, script names and methods of views; unique names and bracket expansion.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_fixture.h"
#include "engine/model/band_view.h"
#include "engine/model/control_view.h"
#include "engine/model/line_view.h"
#include "engine/model/page.h"
#include "engine/model/picture_view.h"
#include "engine/model/subreport_view.h"
#include "engine/report/report.h"
#include "platform/errors.h"

namespace zr {
namespace {

class ViewPropertiesTest : public testing_support::EngineTest {};

std::unique_ptr<TvtView> band_of_type(int type) {
  auto band = std::make_unique<TvtBandView>();
  band->SetBandType(type);
  return band;
}

TEST_F(ViewPropertiesTest, TablesListWhatEachClassOffers) {
  struct Case {
    const char* name;
    std::function<std::unique_ptr<TvtView>()> make;
    std::vector<std::string> present;
    std::vector<std::string> absent;
  };
  const Case cases[] = {
      {"view",
       [] { return std::make_unique<TvtView>(); },
       {"Name", "FrameStyle", "BandAlign", "Memo.Count", "Restrictions", "drillfile"},
       {"Stretched", "OnBeforePrint"}},
      {"page footer band",
       [] { return band_of_type(btPageFooter); },
       {"OnBeforePrint", "Memo.Count", "OnFirstPage", "OnLastPage", "EOF"},
       {"ChildBand", "PrintChildIfInvisible", "Memo", "FrameTyp", "Tag", "LinkUrl", "Stretched",
        "Columns"}},
      {"master data band",
       [] { return band_of_type(btMasterData); },
       {"ChildBand", "PrintChildIfInvisible", "Stretched", "FormNewPage", "PrintIfSubsetEmpty",
        "Breaked", "Columns", "ColumnWidth", "ColumnGap", "DataSource", "EOF"},
       {"OnFirstPage", "RepeatHeader", "Condition", "Master"}},
      {"group header band",
       [] { return band_of_type(btGroupHeader); },
       {"Condition", "Master", "RepeatHeader", "Stretched", "FormNewPage", "Breaked"},
       {"Columns", "DataSource", "PrintIfSubsetEmpty"}},
      {"cross data band",
       [] { return band_of_type(btCrossData); },
       {"DataSource", "ChildBand"},
       {"Stretched", "Breaked", "Columns"}},
      {"subreport",
       [] { return std::make_unique<TvtSubReportView>(); },
       {"Name", "Flags", "Visible", "Memo", "LinkUrl"},
       {"FrameTyp", "FillColor", "Tag", "BandAlign"}},
      {"picture",
       [] { return std::make_unique<TvtPictureView>(); },
       {"FrameWidth", "Picture", "Center", "KeepAspect", "DataField", "Url", "BlobType"},
       {}},
      {"line", [] { return std::make_unique<TvtLineView>(); }, {"Stretched", "FrameColor"}, {}},
      {"control",
       [] { return std::make_unique<TvtControl>(); },
       {"Name", "Left", "Visible", "Restrictions"},
       {"Flags", "Memo"}},
      {"non-visual control",
       [] { return std::make_unique<TvtNonVisualControl>(); },
       {"Name", "Restrictions"},
       {"Left", "Visible"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TvtView> view = c.make();
    view->RegisterProperties();
    view->RegisterProperties();  // rebuilding starts from an empty table
    for (const std::string& name : c.present) EXPECT_TRUE(view->HasProperty(name)) << name;
    for (const std::string& name : c.absent) EXPECT_FALSE(view->HasProperty(name)) << name;
    const auto names = std::count_if(view->PropRec.begin(), view->PropRec.end(),
                                     [](const TvtPropRec& p) { return p.name == "Name"; });
    EXPECT_EQ(names, 1);
  }
}

TEST_F(ViewPropertiesTest, BandEnumerationsNameTheOtherBandsOfThePage) {
  TvtPage page;
  auto* child = static_cast<TvtBandView*>(page.Add(band_of_type(btChild)));
  child->Name = "Child1";
  page.Add(band_of_type(btDetailData))->Name = "Detail1";
  auto* group = page.Add(band_of_type(btGroupHeader));
  group->Name = "Group1";
  group->RegisterProperties();
  auto entry = [&](const char* name) {
    return std::find_if(group->PropRec.begin(), group->PropRec.end(),
                        [&](const TvtPropRec& p) { return p.name == name; })
        ->enum_names;
  };
  EXPECT_EQ(entry("ChildBand"), "Child1");
  EXPECT_EQ(entry("Master"), "Detail1");
  child->RegisterProperties();
  EXPECT_EQ(std::find_if(child->PropRec.begin(), child->PropRec.end(),
                         [](const TvtPropRec& p) { return p.name == "ChildBand"; })
                ->enum_names,
            "");  // not itself
}

TEST_F(ViewPropertiesTest, ScriptNamesReadAndWriteTheFields) {
  TvtView view;
  view.SetProperty("left", Value("15"));
  view.SetProperty("FrameWidth", Value(0.5));
  view.SetProperty("MEMO", Value("one\r\ntwo"));
  view.SetProperty("Stretched", Value(false));
  view.SetProperty("BANDALIGN", Value(int32_t{baCenter}));
  view.SetProperty("LinkUrl", Value("http://x"));
  EXPECT_EQ(view.Left, 15);
  EXPECT_EQ(view.FrameWidth, 0.5f);
  EXPECT_EQ(view.Memo, (TvtStrings{"one", "two"}));
  EXPECT_EQ(view.Flags, 0);
  EXPECT_EQ(view.BandAlign, baCenter);

  EXPECT_TRUE(view.GetProperty("LEFT").identical(Value(int32_t{15})));
  EXPECT_TRUE(view.GetProperty("memo").identical(Value("one\r\ntwo")));
  EXPECT_TRUE(view.GetProperty("Memo.Count").identical(Value(int32_t{2})));
  EXPECT_TRUE(view.GetProperty("DATAFIELD").identical(Value("one")));
  EXPECT_TRUE(view.GetProperty("FRAMEWIDTH").identical(Value(0.5)));
  EXPECT_TRUE(view.GetProperty("STRETCHED").identical(Value(false)));
  EXPECT_TRUE(view.GetProperty("GAPX").identical(Value(int32_t{2})));
  EXPECT_TRUE(view.GetProperty("LINKURL").identical(Value("http://x")));

  EXPECT_TRUE(view.GetProperty("NOSUCH").is_null());
  EXPECT_TRUE(view.CallMethod("NOSUCH", Value(), Value(), Value()).is_null());
  view.SetProperty("NOSUCH", Value(int32_t{1}));
  EXPECT_EQ(view.Left, 15);
  EXPECT_THROW(view.SetProperty("WIDTH", Value("wide")), ConversionError);
}

TEST_F(ViewPropertiesTest, ClassScriptNames) {
  TvtBandView band;
  band.SetProperty("FormNewPage", Value(true));
  band.SetProperty("COLUMNS", Value("3"));  // the grid sets band properties as texts
  band.SetProperty("DATASOURCE", Value("dataset1"));
  band.SetProperty("NEWCOLUMNAFTER", Value(int32_t{2}));
  EXPECT_EQ(band.Flags, kBandOnFirstPage | kBandOnLastPage | kBandFormNewPage);
  EXPECT_EQ(band.Columns, 3);
  EXPECT_EQ(band.FormatText, "dataset1");
  EXPECT_TRUE(band.GetProperty("CONDITION").identical(Value("dataset1")));
  EXPECT_TRUE(band.GetProperty("ONLASTPAGE").identical(Value(true)));
  EXPECT_TRUE(band.GetProperty("NEWCOLUMNAFTER").identical(Value(int32_t{2})));
  EXPECT_TRUE(band.GetProperty("LEFT").identical(Value(int32_t{0})));
  band.SetBandType(0x85);
  EXPECT_EQ(band.BandType(), 5);

  TvtPictureView picture;
  picture.SetProperty("CENTER", Value(true));
  picture.SetProperty("KeepAspect", Value(false));
  picture.SetProperty("BLOBTYPE", Value(int32_t{btWMF}));
  picture.SetProperty("URL", Value("http://x/a.wmf"));
  EXPECT_EQ(picture.Flags, kFlagStretched | kPictureCenter);
  EXPECT_EQ(picture.BlobType, btWMF);
  EXPECT_TRUE(picture.GetProperty("URL").identical(Value("http://x/a.wmf")));
  EXPECT_TRUE(globals().ConstantList.GetVariable("btICO").identical(Value(int32_t{2})));
}

TEST_F(ViewPropertiesTest, HideShowAndMemoListMethods) {
  TvtView view;
  view.CallMethod("HIDE", Value(), Value(), Value());
  EXPECT_FALSE(view.Visible);
  view.CallMethod("SHOW", Value(), Value(), Value());
  EXPECT_TRUE(view.Visible);

  // .ADD, .DELETE and .INDEXOF evaluate their argument.
  view.CallMethod("MEMO.ADD", Value("'a' + 'b'"), Value(), Value());
  view.CallMethod("MEMO.ADD", Value("2 * 3"), Value(), Value());
  view.CallMethod("MEMO.ADD", Value("'last'"), Value(), Value());
  EXPECT_EQ(view.Memo, (TvtStrings{"ab", "6", "last"}));
  EXPECT_TRUE(view.CallMethod("MEMO.INDEXOF", Value("'6'"), {}, {}).identical(Value(int32_t{1})));
  EXPECT_TRUE(view.CallMethod("MEMO.INDEXOF", Value("'zz'"), {}, {}).identical(Value(int32_t{-1})));
  view.CallMethod("MEMO.DELETE", Value("1 - 1"), Value(), Value());
  EXPECT_EQ(view.Memo, (TvtStrings{"6", "last"}));

  // SETINDEXPROPERTY and GETINDEXPROPERTY take evaluated arguments from the interpreter.
  view.CallMethod("SETINDEXPROPERTY", Value("MEMO"), Value(int32_t{1}), Value(int32_t{42}));
  EXPECT_TRUE(view.CallMethod("GETINDEXPROPERTY", Value("MEMO"), Value(int32_t{1}), Value())
                  .identical(Value("42")));
  for (int32_t bad : {-1, 2}) {
    EXPECT_THROW(view.CallMethod("GETINDEXPROPERTY", Value("MEMO"), Value(bad), Value()),
                 ZorelError);
    EXPECT_THROW(view.CallMethod("MEMO.DELETE", Value(std::to_string(bad)), Value(), Value()),
                 ZorelError);
  }
  view.CallMethod("MEMO.CLEAR", Value(), Value(), Value());
  EXPECT_TRUE(view.Memo.empty());
}

TEST_F(ViewPropertiesTest, UniqueNameTakesTheFirstFreeNumber) {
  TvtReport report;
  TvtPage& page = report.Pages.Add();
  for (const char* name : {"Memo1", "Memo3", "Memo2", "Line1"}) {
    page.Add(std::make_unique<TvtView>())->Name = name;
  }
  TvtView view;
  view.NamePrefix = "Memo";
  view.Parent = &page;  // without a report, the page's objects count
  view.CreateUniqueName();
  EXPECT_EQ(view.Name, "Memo4");

  // With a report, all of its pages count.
  TvtPage& second = report.Pages.Add();
  second.Add(std::make_unique<TvtView>())->Name = "Memo4";
  globals().CurReport = &report;
  view.CreateUniqueName();
  EXPECT_EQ(view.Name, "Memo5");
  TvtLineView line;
  line.CreateUniqueName();
  EXPECT_EQ(line.Name, "Line2");
}

TEST_F(ViewPropertiesTest, BracketExpansionFindsOutermostPairsOutsideQuotes) {
  struct Case {
    const char* text;
    const char* expanded;
  };
  // The display text shows what the scan took as the expression.
  const Case cases[] = {
      {"no brackets", "no brackets"},
      {"a[x]b[y]c", "a<x>b<y>c"},
      {"[a[b]c]!", "<a[b]c>!"},
      {"[COPY('a]b', 1, 1)] end", "<COPY('a]b', 1, 1)> end"},
      {"[\"x]\" + 'y[']", "<\"x]\" + 'y['>"},
      {"[a + \"'\" + b]", "<a + \"'\" + b>"},
      {"[again]", "[again]"},  // inserted text is not expanded again
      {"open [x", "open [x"},
      {"[a] then [b", "<a> then [b"},
      {"[]", "<>"},
  };
  for (const Case& c : cases) {
    const std::string out = ExpandBracketedText(
        c.text, [](const std::string& e) { return e == "again" ? "[again]" : "<" + e + ">"; });
    EXPECT_EQ(out, c.expanded) << c.text;
  }
}

TEST_F(ViewPropertiesTest, ExpandBracketsWithoutReportKeepsTheText) {
  TvtView view;
  EXPECT_EQ(view.ExpandBrackets("total [SUM(x)]"), "total [SUM(x)]");
}

}  // namespace
}  // namespace zr
