// Shapes, check boxes and rounded rectangles: their records, script properties, drawings
// compared with golden traces in tests/data/objects (ZR_UPDATE_GOLDEN=1 rewrites them) and
// pixels of the same drawings on a bitmap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/model/export_filter.h"
#include "engine/report_fixture.h"
#include "engine/view_test_support.h"
#include "objects/add_in_objects.h"
#include "objects/check_box_view.h"
#include "objects/round_rect_view.h"
#include "objects/shape_view.h"
#include "platform/canvas/trace_canvas.h"
#include "platform/canvas_test_support.h"

namespace zr {
namespace {

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kGrey = 0x808080;

class ShapeViewsTest : public testing_support::ReportTest {
 protected:
  ShapeViewsTest() { globals().mode = EngineMode::Run; }

  std::string Trace(TvtView& view) {
    TraceCanvas canvas(globals().fonts, {0, 0, 400, 300});
    view.Draw(canvas);
    return canvas.trace();
  }

  // The trace of `view` equals tests/data/objects/<name>.trace.
  void ExpectGoldenTrace(TvtView& view, const std::string& name) {
    const std::string trace = Trace(view);
    const std::string path = std::string(ZR_TEST_DATA_DIR) + "/objects/" + name + ".trace";
    const char* update = std::getenv("ZR_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
      std::ofstream(path, std::ios::binary) << trace;
      return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing golden " << path;
    std::ostringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(trace, golden.str()) << name;
  }

  // Draws `view` on a white 200 x 150 bitmap.
  std::unique_ptr<test::Drawing> Pixels(TvtView& view) {
    auto d = std::make_unique<test::Drawing>(200, 150);
    view.Draw(*d->canvas);
    d->canvas->flush();
    return d;
  }

  TvtAddInObjects add_ins_;
};

// --- Records ---

TEST_F(ShapeViewsTest, RecordsAppendTheirFields) {
  TvtView common;
  const size_t base = testing_support::save_record(common).size();

  TvtShapeView shape;
  shape.ShapeKind = skTriangle;
  const std::string shape_bytes = testing_support::save_record(shape);
  EXPECT_EQ(shape_bytes.size(), base + 1);
  TvtShapeView shape_back;
  testing_support::load_record(shape_back, shape_bytes);
  EXPECT_EQ(shape_back.ShapeKind, skTriangle);

  TvtCheckBoxView check;
  check.Memo.clear();
  check.CheckStyle = csCheck;
  check.CheckColor = 0x123456;
  const std::string check_bytes = testing_support::save_record(check);
  EXPECT_EQ(check_bytes.size(), base + 5);
  TvtCheckBoxView check_back;
  testing_support::load_record(check_back, check_bytes);
  EXPECT_EQ(check_back.CheckStyle, csCheck);
  EXPECT_EQ(check_back.CheckColor, 0x123456);

  TvtMemoView memo;
  TvtRoundRectView box;
  box.ShadowColor = 0x010203;
  box.ShadowWidth = kGradientMode;
  box.FullFrame = 0;
  box.RoundRect = false;
  box.RoundSize = 3;
  const std::string box_bytes = testing_support::save_record(box);
  EXPECT_EQ(box_bytes.size(), testing_support::save_record(memo).size() + 14);
  TvtRoundRectView box_back;
  testing_support::load_record(box_back, box_bytes);
  EXPECT_EQ(box_back.ShadowColor, 0x010203);
  EXPECT_TRUE(box_back.Gradient());
  EXPECT_EQ(box_back.FullFrame, 0);
  EXPECT_FALSE(box_back.RoundRect);
  EXPECT_EQ(box_back.RoundSize, 3);
}

TEST_F(ShapeViewsTest, OldCheckBoxRecordsEndWithTheCommonRecord) {
  // A version-23 common record: no version bytes, no Restrictions, Tag, gaps or links.
  ByteWriter out(23);
  out.write_string("Old");
  for (int32_t v : {1, 2, 3, 4}) out.write_i32(v);
  out.write_u16(1);   // Flags
  out.write_u16(15);  // FrameTyp
  out.write_i32(2);   // frame width
  out.write_i32(0);   // FrameColor
  out.write_u16(0);   // FrameStyle
  out.write_i32(kClNone);
  out.write_i32(0x22E);  // DisplayFormat
  out.write_string("");  // FormatText
  out.write_string_list({"1"});
  out.write_string_list({});  // Script
  out.write_u16(0xFFFF);      // Visible
  const std::string bytes = out.take();
  TvtCheckBoxView check;
  testing_support::load_record(check, bytes, 23);
  EXPECT_EQ(check.CheckStyle, csCross);
  EXPECT_EQ(check.CheckColor, 0);
}

TEST_F(ShapeViewsTest, DefaultsAndConstants) {
  TvtCheckBoxView check;
  EXPECT_EQ(check.NamePrefix, "Check");
  EXPECT_EQ(check.FrameWidth, 2.0f);
  EXPECT_EQ(check.FrameTyp, kFrameAll);
  TvtRoundRectView box;
  EXPECT_EQ(box.NamePrefix, "RoundRect");
  EXPECT_EQ(box.FrameTyp, 255);
  EXPECT_EQ(box.ShadowColor, 0x808080);
  EXPECT_EQ(box.ShadowWidth, 6);
  TvtShapeView shape;
  EXPECT_EQ(shape.NamePrefix, "Shape");
  const TvtVariables& constants = globals().ConstantList;
  for (auto [name, value] : {std::pair{"skRectangle", 0},
                             {"skDiagonal2", 5},
                             {"csCross", 0},
                             {"csCheck", 1},
                             {"gsHorizontal", 0},
                             {"gsVertical", 1},
                             {"gsVertCenter", 4},
                             {"gsHorizCenter", 5}}) {
    ASSERT_GE(constants.IndexOf(name), 0) << name;
    EXPECT_EQ(constants.ValueAt(constants.IndexOf(name)).to_int(), value) << name;
  }
}

// --- Script properties ---

TEST_F(ShapeViewsTest, ScriptPropertiesOfTheThreeObjects) {
  TvtShapeView shape;
  shape.SetProperty("shape", Value(int32_t{4}));
  EXPECT_EQ(shape.ShapeKind, skDiagonal1);
  EXPECT_EQ(shape.GetProperty("SHAPE").to_int(), 4);

  TvtCheckBoxView check;
  check.SetProperty("CheckStyle", Value(int32_t{1}));
  check.SetProperty("CHECKCOLOR", Value(int32_t{255}));
  EXPECT_EQ(check.GetProperty("checkstyle").to_int(), 1);
  EXPECT_EQ(check.GetProperty("CheckColor").to_int(), 255);

  TvtRoundRectView box;
  box.SetProperty("RoundSize", Value(int32_t{7}));
  box.SetProperty("Gradient", Value(true));
  EXPECT_EQ(box.ShadowWidth, kGradientMode);
  EXPECT_EQ(box.RoundSize, 0);
  box.SetProperty("Style", Value(int32_t{gsElliptic}));
  EXPECT_EQ(box.GetProperty("STYLE").to_int(), gsElliptic);
  EXPECT_TRUE(box.GetProperty("Gradient").to_bool());
  box.SetProperty("Gradient", Value(false));
  EXPECT_EQ(box.ShadowWidth, 10);
  EXPECT_EQ(box.RoundSize, gsElliptic);  // kept
  EXPECT_EQ(box.GetProperty("Style").to_int(), 0);
  box.SetProperty("BeginColor", Value(int32_t{0x112233}));
  box.SetProperty("EndColor", Value(int32_t{0x445566}));
  EXPECT_EQ(box.GetProperty("ShadowColor").to_int(), 0x112233);
  EXPECT_EQ(box.FillColor, 0x445566);
  box.SetProperty("RoundRect", Value(false));
  EXPECT_FALSE(box.GetProperty("ROUNDRECT").to_bool());
}

// --- Shapes ---

TEST_F(ShapeViewsTest, ShapesMatchTheirGoldenTraces) {
  for (uint8_t kind = skRectangle; kind <= skDiagonal2; ++kind) {
    TvtShapeView shape;
    shape.SetBounds(10, 20, 40, 100);
    shape.ShapeKind = kind;
    shape.FrameColor = static_cast<int32_t>(kRed);
    shape.FillColor = static_cast<int32_t>(kBlue);
    shape.FrameWidth = 2;
    ExpectGoldenTrace(shape, "shape_" + std::to_string(kind));
  }
}

TEST_F(ShapeViewsTest, RoundedShapeCornersAreAQuarterOfTheShorterSide) {
  TvtShapeView shape;
  shape.SetBounds(10, 20, 40, 100);
  shape.ShapeKind = skRoundRectangle;
  EXPECT_NE(Trace(shape).find("round_rect 10 20 51 121 10 10"), std::string::npos) << Trace(shape);
}

TEST_F(ShapeViewsTest, ShapePixels) {
  TvtShapeView shape;
  shape.SetBounds(20, 20, 100, 80);
  shape.FillColor = static_cast<int32_t>(kBlue);
  shape.FrameColor = static_cast<int32_t>(kRed);
  shape.FrameWidth = 1;
  shape.ShapeKind = skEllipse;
  auto ellipse = Pixels(shape);
  EXPECT_EQ(ellipse->at(70, 60), kBlue);      // centre filled
  EXPECT_EQ(ellipse->at(22, 22), 0xFFFFFFu);  // corner outside the ellipse
  shape.ShapeKind = skTriangle;
  auto triangle = Pixels(shape);
  EXPECT_EQ(triangle->at(70, 80), kBlue);      // inside
  EXPECT_EQ(triangle->at(25, 25), 0xFFFFFFu);  // beside the apex: the fill stays inside
  EXPECT_EQ(triangle->at(150, 60), 0xFFFFFFu);
  shape.ShapeKind = skDiagonal2;
  shape.FillColor = kClNone;
  auto diagonal = Pixels(shape);
  EXPECT_TRUE(diagonal->inked(70, 60));
  EXPECT_FALSE(diagonal->inked(110, 30));
}

// --- Check boxes ---

TEST_F(ShapeViewsTest, CheckMarkFollowsTheValue) {
  struct Case {
    TvtStrings memo;
    EngineMode mode;
    bool mark;
  };
  const Case cases[] = {
      {{"0"}, EngineMode::Run, false},   {{"1"}, EngineMode::Run, true},
      {{"2"}, EngineMode::Run, true},    {{"-1"}, EngineMode::Run, true},
      {{""}, EngineMode::Run, false},    {{}, EngineMode::Run, false},
      {{"0"}, EngineMode::Design, true}, {{}, EngineMode::Design, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.memo.empty() ? std::string("(none)") : "\"" + c.memo[0] + "\"") +
                 (c.mode == EngineMode::Run ? " run" : " design"));
    globals().mode = c.mode;
    TvtCheckBoxView check;
    check.SetBounds(10, 10, 30, 30);
    check.Memo = c.memo;
    check.CheckColor = static_cast<int32_t>(kGreen);
    const std::string trace = Trace(check);
    EXPECT_EQ(trace.find("text_out") != std::string::npos, c.mark) << trace;
    auto d = Pixels(check);
    // The middle of the box carries the mark's colour only when it is drawn.
    int green = 0;
    for (int y = 15; y < 38; ++y)
      for (int x = 15; x < 38; ++x) green += d->at(x, y) == kGreen ? 1 : 0;
    EXPECT_EQ(green > 0, c.mark);
  }
}

TEST_F(ShapeViewsTest, CheckBoxesMatchTheirGoldenTraces) {
  for (uint8_t style : {csCross, csCheck}) {
    TvtCheckBoxView check;
    check.SetBounds(10, 10, 30, 30);
    check.Memo = {"1"};
    check.CheckStyle = style;
    ExpectGoldenTrace(check, "check_box_" + std::to_string(style));
  }
}

TEST_F(ShapeViewsTest, CheckBoxPreparedRecordHoldsATruncatedNumber) {
  struct Case {
    std::string line;
    std::string written;
  };
  const Case cases[] = {{"[1 < 2]", "1"}, {"[1 > 2]", "0"}, {"2.7", "2"}, {"-1.5", "-1"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TvtCheckBoxView check;
    check.Memo = {c.line};
    ByteWriter out;
    check.WriteToPreparedPage(out);
    const std::string bytes = out.take();
    ByteReader in(bytes, "prepared");
    EXPECT_EQ(in.read_u8(), kObjAddIn);
    EXPECT_EQ(in.read_string(), "TvtCheckBoxView");
    TvtCheckBoxView back;
    back.PreparedMode = true;
    back.LoadFromStream(in);
    EXPECT_EQ(back.Memo, TvtStrings{c.written});
  }
}

class TextCollector : public TvtExportFilter {
 public:
  void OnText(const Rect&, int x, int y, const std::string& text, int, int, TvtView&) override {
    texts.push_back(std::to_string(x) + "," + std::to_string(y) + ":" + text);
  }
  std::vector<std::string> texts;
};

TEST_F(ShapeViewsTest, CheckBoxExportsAnX) {
  TextCollector filter;
  report.ExportFilter = &filter;
  for (const char* line : {"1", "0"}) {
    TvtCheckBoxView check;
    check.SetBounds(5, 6, 20, 20);
    check.Memo = {line};
    check.ExportTo();
  }
  report.ExportFilter = nullptr;
  EXPECT_EQ(filter.texts, (std::vector<std::string>{"5,6:X", "5,6:"}));
}

// --- Rounded rectangles ---

TEST_F(ShapeViewsTest, RoundRectsMatchTheirGoldenTraces) {
  TvtRoundRectView box;
  box.SetBounds(10, 10, 120, 60);
  box.Memo = {"Total"};
  box.FillColor = static_cast<int32_t>(0xE0FFFF);
  box.FrameTyp = kFrameAll;
  ExpectGoldenTrace(box, "round_rect_shadow");
  box.RoundRect = false;
  box.FrameTyp = 7;
  ExpectGoldenTrace(box, "round_rect_square_open");
  box.SetProperty("Gradient", Value(true));
  box.SetProperty("Style", Value(int32_t{gsVertCenter}));
  box.FillColor = static_cast<int32_t>(kBlue);
  box.ShadowColor = static_cast<int32_t>(kRed);
  ExpectGoldenTrace(box, "round_rect_gradient_vert_center");
}

TEST_F(ShapeViewsTest, RoundRectOutlineShowsOnlyWithAllFourSides) {
  TvtRoundRectView box;
  box.SetBounds(20, 20, 120, 60);
  box.Memo.clear();
  box.FillColor = static_cast<int32_t>(kGreen);
  box.FrameColor = static_cast<int32_t>(kRed);
  box.ShadowColor = static_cast<int32_t>(kGrey);
  box.FrameTyp = kFrameAll;
  auto closed = Pixels(box);
  EXPECT_EQ(box.FullFrame, 1);
  EXPECT_EQ(closed->at(60, 20), kRed);    // top outline
  EXPECT_EQ(closed->at(60, 50), kGreen);  // body
  EXPECT_EQ(closed->at(60, 78), kGrey);   // shadow below the body
  EXPECT_EQ(closed->at(137, 50), kGrey);  // shadow right of the body
  box.FrameTyp = 7;
  auto open = Pixels(box);
  EXPECT_EQ(box.FullFrame, 0);
  EXPECT_EQ(open->at(60, 20), kGreen);  // the outline takes the fill colour
}

TEST_F(ShapeViewsTest, GradientStylesRunFromEndToBeginColour) {
  struct Case {
    int32_t style;
    Point end_at, begin_at;  // where the end (fill) and begin (shadow) colours show
  };
  const Case cases[] = {
      {gsHorizontal, {21, 50}, {138, 50}}, {gsVertical, {80, 21}, {80, 78}},
      {gsElliptic, {21, 21}, {80, 50}},    {gsRectangle, {21, 50}, {80, 50}},
      {gsVertCenter, {80, 20}, {80, 50}},  {gsHorizCenter, {20, 50}, {80, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    TvtRoundRectView box;
    box.SetBounds(20, 20, 120, 60);
    box.Memo.clear();
    box.FrameTyp = 0;
    box.SetProperty("Gradient", Value(true));
    box.SetProperty("Style", Value(c.style));
    box.FillColor = static_cast<int32_t>(kBlue);
    box.ShadowColor = static_cast<int32_t>(kRed);
    auto d = Pixels(box);
    const uint32_t end = d->at(c.end_at.x, c.end_at.y);
    const uint32_t begin = d->at(c.begin_at.x, c.begin_at.y);
    EXPECT_GT(end >> 16 & 0xFF, 0xC0u) << std::hex << end;  // mostly blue
    EXPECT_GT(begin & 0xFF, 0xC0u) << std::hex << begin;    // mostly red
    EXPECT_EQ(d->at(150, 50), 0xFFFFFFu);                   // nothing outside the box
  }
}

TEST_F(ShapeViewsTest, CentredGradientsOfHugeBoxesDrawOnlyWhatShows) {
  for (int32_t style : {gsVertCenter, gsHorizCenter}) {
    TvtRoundRectView box;
    box.SetBounds(0, 0, 2000000000, 2000000000);
    box.Memo.clear();
    box.SetProperty("Gradient", Value(true));
    box.SetProperty("Style", Value(style));
    const std::string trace = Trace(box);  // a 400 x 300 device
    size_t fills = 0;
    for (size_t at = trace.find("fill_rect"); at != std::string::npos;
         at = trace.find("fill_rect", at + 1))
      ++fills;
    EXPECT_LE(fills, 400u) << style;
    EXPECT_GT(fills, 0u) << style;
  }
}

TEST_F(ShapeViewsTest, MulDivRoundsLikeWindows) {
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(10, 255, 256), 10);
  EXPECT_EQ(MulDiv(255, -255, 255), -255);
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(INT32_MAX, INT32_MAX, 1), INT32_MAX);
}

}  // namespace
}  // namespace zr
