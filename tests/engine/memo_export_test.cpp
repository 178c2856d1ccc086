// A memo handed to an export filter: the object first, then one call per output line with
// the frame sides that piece of the frame keeps.
#include <gtest/gtest.h>

#include <sstream>

#include "engine/engine_fixture.h"
#include "engine/model/export_filter.h"
#include "engine/model/memo_view.h"
#include "engine/report/report.h"

namespace zr {
namespace {

class RecordingFilter : public TvtExportFilter {
 public:
  std::vector<std::string> calls;

  void OnData(int x, int y, TvtView& view) override {
    std::ostringstream out;
    out << "data " << view.Name << ' ' << x << ',' << y;
    calls.push_back(out.str());
  }
  void OnText(const Rect&, int x, int y, const std::string& text, int frame_typ, int line_no,
              TvtView&) override {
    std::ostringstream out;
    out << "text " << text << " line=" << line_no << " frame=" << frame_typ << " at " << x << ','
        << y;
    calls.push_back(out.str());
  }
};

class MemoExportTest : public testing_support::EngineTest {
 protected:
  MemoExportTest() {
    globals().CurReport = &report;
    globals().mode = EngineMode::Run;
    report.ExportFilter = &filter;
    memo.Name = "Memo1";
    memo.SetBounds(10, 20, 200, 100);
    memo.FrameTyp = kFrameAll;
  }
  TvtReport report;
  RecordingFilter filter;
  TvtMemoView memo;
};

TEST_F(MemoExportTest, EveryLineCarriesItsShareOfTheFrame) {
  // Prepared text: three wrapped lines of one paragraph. Arial 10 is 13 pixels, pitch 15.
  memo.Memo = {"one", "two", "three\x01"};
  memo.ExportTo();
  EXPECT_EQ(filter.calls, (std::vector<std::string>{
                              "data Memo1 10,20",
                              "text one line=0 frame=13 at 12,21",
                              "text two line=1 frame=5 at 12,36",
                              "text three line=2 frame=7 at 12,51",
                          }));
  EXPECT_FALSE(memo.Exporting);

  filter.calls.clear();
  memo.Memo = {"alone\x01"};
  memo.ExportTo();
  EXPECT_EQ(filter.calls,
            (std::vector<std::string>{"data Memo1 10,20", "text alone line=0 frame=15 at 12,21"}));
}

TEST_F(MemoExportTest, VerticalLinesHaveNoFrameAndIndexZero) {
  memo.Alignment = vttaVertical;
  memo.Memo = {"up", "more"};
  memo.ExportTo();
  ASSERT_EQ(filter.calls.size(), 3u);
  EXPECT_TRUE(filter.calls[1].starts_with("text up line=0 frame=0 at 12,")) << filter.calls[1];
  EXPECT_TRUE(filter.calls[2].starts_with("text more line=0 frame=0 at 27,")) << filter.calls[2];
}

}  // namespace
}  // namespace zr
