// zrtool form build/dump, prepared dump and render, run as a report writer runs them: forms
// written as JSON, built, dumped and built again; prepared reports written through the engine
// and looked at as text and as a picture.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "engine/model/line_view.h"
#include "engine/model/memo_view.h"
#include "engine/model/page.h"
#include "engine/model/picture_view.h"
#include "engine/report/report.h"
#include "engine_fixture.h"
#include "platform/canvas/cairo_handles.h"
#include "platform/codepage.h"
#include "platform/table/packet_values.h"
#include "support/tool_run.h"

namespace {

using Json = nlohmann::ordered_json;
using zr::testing_support::run_tool;

const std::string kForms = std::string(ZR_TEST_DATA_DIR) + "/forms/";

// The files of one test, removed when the test ends.
class TempFiles {
 public:
  TempFiles()
      : dir_(std::filesystem::path(testing::TempDir()) /
             ("zrtool_" + std::to_string(getpid()) + "_" +
              testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::create_directories(dir_);
  }
  ~TempFiles() { std::filesystem::remove_all(dir_); }
  std::string operator()(const std::string& name) const { return (dir_ / name).string(); }

 private:
  std::filesystem::path dir_;
};

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every key `given` names has the same value in `full`; `full` may hold more (defaults).
void expect_contains(const Json& full, const Json& given, const std::string& path) {
  if (given.is_object()) {
    ASSERT_TRUE(full.is_object()) << path;
    for (const auto& item : given.items()) {
      ASSERT_TRUE(full.contains(item.key())) << path << "." << item.key();
      expect_contains(full[item.key()], item.value(), path + "." + item.key());
    }
  } else if (given.is_array()) {
    ASSERT_TRUE(full.is_array() && full.size() == given.size()) << path << ": " << full.dump();
    for (size_t i = 0; i < given.size(); ++i)
      expect_contains(full[i], given[i], path + "[" + std::to_string(i) + "]");
  } else {
    EXPECT_EQ(full, given) << path;
  }
}

Json dump_form(const std::string& zrf) {
  auto run = run_tool("form dump " + zrf);
  EXPECT_EQ(run.status, 0) << run.output;
  return Json::parse(run.output);
}

// Builds `source`, checks the dump shows every value it gives, and that building the dump
// gives the same bytes; returns the dump.
Json build_dump_build(const TempFiles& temp_path, const std::string& source) {
  const std::string first = temp_path("first.zrf");
  auto run = run_tool("form build " + source + " -o " + first);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "") << "the form holds only values the engine keeps";

  Json dumped = dump_form(first);
  expect_contains(dumped, Json::parse(read_bytes(source), nullptr, true, true), source);

  const std::string json = temp_path("dumped.json");
  const std::string second = temp_path("second.zrf");
  run = run_tool("form dump " + first + " -o " + json);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(Json::parse(read_bytes(json)), dumped) << "-o writes what stdout shows";
  run = run_tool("form build " + json + " -o " + second);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(read_bytes(first), read_bytes(second)) << source;
  EXPECT_EQ(dump_form(second), dumped) << source;
  return dumped;
}

TEST(ZrtoolFormTest, BuildDumpBuildGivesTheSameBytes) {
  TempFiles temp_path;
  Json dumped = build_dump_build(temp_path, kForms + "two_pages.json");
  // Defaults filled in: the memo class's flags and font, the picture's flags.
  const Json& objects = dumped["Pages"][0]["Objects"];
  EXPECT_EQ(objects[1]["Flags"], 3);
  EXPECT_EQ(objects[3]["Font"]["Name"], "Arial");
  EXPECT_EQ(objects[4]["Flags"], 5);
}

TEST(ZrtoolFormTest, AddInObjectsBuildAndDump) {
  TempFiles temp_path;
  Json dumped = build_dump_build(temp_path, kForms + "add_in_objects.json");
  const Json& bar = dumped["Pages"][0]["Objects"][1];
  EXPECT_EQ(bar["Class"], "TvtBarCodeView");
  EXPECT_EQ(bar["BarType"], 14);
  EXPECT_EQ(bar["Modul"], 2);
  EXPECT_EQ(bar["Ratio"], 2.5);
  EXPECT_EQ(bar["Angle"], 90.0);
  const Json& objects = dumped["Pages"][0]["Objects"];
  EXPECT_EQ(objects[2]["ShapeKind"], 2);
  EXPECT_EQ(objects[4]["CheckStyle"], 1);
  EXPECT_EQ(objects[4]["CheckColor"], "$00008000");
  EXPECT_EQ(objects[7]["ShadowWidth"], -99);
  EXPECT_EQ(objects[8]["Class"], "TGridView");
  EXPECT_EQ(objects[8]["Visible"], false);
  EXPECT_EQ(objects[8]["MetaString"],
            "TYPE=MEMO\u0001LEFT=0\u0001TOP=900\u0001WIDTH=100\u0001HEIGHT=18\u0001MEMO=grid text");
}

TEST(ZrtoolFormTest, CrossViewBuildsAndDumps) {
  TempFiles temp_path;
  Json dumped = build_dump_build(temp_path, kForms + "cross_view.json");
  const Json& cross = dumped["Pages"][0]["Objects"][0];
  EXPECT_EQ(cross["Class"], "TvtCrossView");
  EXPECT_EQ(cross["Visible"], false);  // the object itself never prints
  EXPECT_EQ(cross["Flags"], 0x6001);
}

TEST(ZrtoolFormTest, ChartViewsBuildAndDump) {
  TempFiles temp_path;
  Json dumped = build_dump_build(
      temp_path, std::string(ZR_TEST_DATA_DIR) + "/../../examples/summary/summary_form.json");
  const Json& objects = dumped["Pages"][0]["Objects"];
  const Json& pie = objects[objects.size() - 1];
  EXPECT_EQ(pie["Class"], "TvtChartView");
  EXPECT_EQ(pie["ChartKind"], 7);
  EXPECT_EQ(pie["DataSetName"], "REGIONS");
  EXPECT_EQ(pie["Font"]["Name"], "굴림");
  EXPECT_EQ(pie["Flags"], 0x8001);  // the memo notifications (bit 15) on by default
  const Json& bars = objects[objects.size() - 2];
  ASSERT_EQ(bars["Series"].size(), 3u);
  EXPECT_EQ(bars["Series"][2]["Title"], "경기");
  EXPECT_EQ(bars["Series"][2]["Source"], "Gyeonggi");
  EXPECT_EQ(bars["Series"][2]["Color"], "$1FFFFFFF");
}

TEST(ZrtoolFormTest, ExampleFormBuilds) {
  TempFiles temp_path;
  build_dump_build(temp_path,
                   std::string(ZR_TEST_DATA_DIR) + "/../../examples/orders/orders_form.json");
}

TEST(ZrtoolFormTest, ShortFormTakesClassDefaultsAndGeneratedNames) {
  TempFiles temp_path;
  const std::string json = temp_path("short.json");
  const std::string zrf = temp_path("short.zrf");
  write_bytes(json, R"({"Pages": [{"Objects": [
      {"Class": "TvtMemoView", "Memo": ["a"]},
      {"Class": "TvtBandView", "BandType": 5},
      {"Class": "TvtMemoView", "Name": "Memo1"}]}]})");
  auto run = run_tool("form build " + json + " -o " + zrf);
  ASSERT_EQ(run.status, 0) << run.output;
  Json objects = dump_form(zrf)["Pages"][0]["Objects"];
  // The given name Memo1 is kept; the unnamed memo takes the next free one.
  EXPECT_EQ(objects[0]["Name"], "Memo2");
  EXPECT_EQ(objects[0]["Flags"], 3);
  EXPECT_EQ(objects[0]["FillColor"], "$1FFFFFFF");
  EXPECT_EQ(objects[1]["Name"], "Band1");
  EXPECT_EQ(objects[1]["BandType"], "Master data");
  EXPECT_EQ(objects[1]["Flags"], 48);
  EXPECT_EQ(objects[2]["Name"], "Memo1");
}

TEST(ZrtoolFormTest, MistakesStopTheBuildWithTheirPlace) {
  TempFiles temp_path;
  struct Case {
    const char* json;
    const char* message;
  };
  const Case cases[] = {
      {R"({"Pages": [)", "malformed JSON"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtMemoView", "Font": {"Sise": 9}}]}]})",
       "Pages[0].Objects[0].Font.Sise: unknown key"},
      {R"({"TwoPas": true})", "TwoPas: unknown key"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtMemoView", "Left": "ten"}]}]})",
       "Pages[0].Objects[0].Left: expected an integer"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtMemoView", "Visible": 1}]}]})",
       "Visible: expected true or false"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtLineView", "Flags": 70000}]}]})",
       "Flags: 70000 is out of range 0..65535"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtGridView"}]}]})", "\"TvtGridView\" is not one of"},
      {R"({"Pages": [{"Objects": [{"Left": 1}]}]})", "Pages[0].Objects[0].Class: missing"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtMemoView", "Name": "A"},
                                  {"Class": "TvtLineView", "Name": "a"}]}]})",
       "Pages[0].Objects[1].Name: \"a\" is already used by Pages[0].Objects[0]"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtMemoView", "FrameWidth": 12}]}]})",
       "FrameWidth: 12.0 cannot be stored: it reads back as 0.012"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtMemoView", "Memo": ["😀"]}]}]})",
       "Memo[0]: \"😀\" has characters that code page 949 cannot hold"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtBandView", "BandType": "Master dat"}]}]})",
       "unknown band type \"Master dat\""},
      {R"({"Dictionary": {"DisabledDatasetList": ["Tmp*"]}})",
       "Dictionary.DisabledDatasetList: is not stored in a form file"},
      {R"({"Pages": [{"Objects": [{"Class": "TvtPictureView",
                                   "Picture": {"Kind": "JPEG", "Data": "AAAA"}}]}]})",
       "Picture.Data: not a valid JPEG"},
  };
  const std::string json = temp_path("bad.json");
  const std::string zrf = temp_path("bad.zrf");
  for (const Case& c : cases) {
    write_bytes(json, c.json);
    std::remove(zrf.c_str());
    auto run = run_tool("form build " + json + " -o " + zrf);
    EXPECT_NE(run.status, 0) << c.json;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << c.json << "\n" << run.output;
    EXPECT_NE(run.output.find(json), std::string::npos) << "names the file: " << run.output;
    EXPECT_FALSE(std::ifstream(zrf).good()) << "no file is left from a failed build";
  }
}

TEST(ZrtoolFormTest, ValuesTheEngineReadsDifferentlyAreNamed) {
  TempFiles temp_path;
  const std::string json = temp_path("odd.json");
  const std::string zrf = temp_path("odd.zrf");
  write_bytes(json, R"({"Pages": [{"BorderStyle": 0, "Position": 2, "Objects": [
      {"Class": "TvtMemoView", "Name": "M", "LinkUrl": " x "}]}],
      "Dictionary": {"VariableList": [["Total", "1"]]}})");
  auto run = run_tool("form build " + json + " -o " + zrf);
  ASSERT_EQ(run.status, 0) << run.output;
  for (const char* warning :
       {"Pages[0].BorderStyle: 0 reads back as 3", "Pages[0].Position: 2 reads back as 4",
        "Pages[0].Objects[0].LinkUrl: \" x \" reads back as \"x\"",
        "Dictionary.VariableList[0][0]: \"Total\" reads back as \" Total\""})
    EXPECT_NE(run.output.find(warning), std::string::npos) << warning << "\n" << run.output;
  // The file holds what the engine reads, so it dumps and builds again unchanged.
  Json dumped = dump_form(zrf);
  EXPECT_EQ(dumped["Pages"][0]["BorderStyle"], 3);
  write_bytes(json, dumped.dump());
  const std::string again = temp_path("again.zrf");
  run = run_tool("form build " + json + " -o " + again);
  EXPECT_EQ(run.output, "");
  EXPECT_EQ(read_bytes(again), read_bytes(zrf));
}

TEST(ZrtoolFormTest, DumpRefusesWhatIsNoForm) {
  TempFiles temp_path;
  const std::string path = temp_path("not_a_form.zrf");
  write_bytes(path, std::string("\x19garbage", 8));
  auto run = run_tool("form dump " + path);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find(path + " is not a report form (unsupported format)"), std::string::npos)
      << run.output;
}

// A 2 x 2 BMP: red and green pixels.
constexpr char kTinyBmp[] =
    "Qk1GAAAAAAAAADYAAAAoAAAAAgAAAAIAAAABABgAAAAAABAAAAATCwAAEwsAAAAAAAAAAAAAAAD/AP8AAAAAAP8A/"
    "wAAAA==";

// A prepared report of two pages written through the engine, as preparation writes it.
class ZrtoolPreparedTest : public testing_support::EngineTest {
 protected:
  TempFiles temp_path;

  void write_view(zr::TvtPreparedPage& page, zr::TvtView& view) {
    page.Stream.write_u8(view.ObjectType);
    view.PreparedMode = true;
    view.SaveToStream(page.Stream);
  }

  std::string write_prepared() {
    zr::TvtReport report;
    zr::TvtPage form_page;
    report.EMFPages.Insert(0, form_page);
    report.EMFPages.Insert(1, form_page);

    zr::TvtMemoView title;
    title.Name = "Title";
    title.SetBounds(100, 100, 200, 40);
    title.FrameTyp = zr::kFrameAll;
    title.ExpandedMemo = {zr::utf8_to_ansi("월별 매출"), "\"Q1\"\x01"};
    write_view(report.EMFPages.PageInfo(0), title);
    zr::TvtLineView rule;
    rule.Name = "Rule";
    rule.SetBounds(100, 200, 300, 0);
    write_view(report.EMFPages.PageInfo(0), rule);

    zr::TvtMemoView note;
    note.Name = "Note";
    note.SetBounds(10, 10, 50, 18);
    note.ExpandedMemo = {"p2"};
    write_view(report.EMFPages.PageInfo(1), note);
    zr::TvtPictureView logo;
    logo.Name = "Logo";
    logo.SetBounds(70, 10, 20, 20);
    logo.Picture = zr::Picture::from_bytes(zr::GraphicKind::Bitmap, *zr::decode_base64(kTinyBmp));
    write_view(report.EMFPages.PageInfo(1), logo);

    std::string path = temp_path("report.zrw");
    report.SavePreparedReport(path);
    return path;
  }
};

TEST_F(ZrtoolPreparedTest, DumpShowsPagesObjectsAndLines) {
  auto run = run_tool("prepared dump " + write_prepared());
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string expected =
      "pages 2\n"
      "page 1: size 9 2100x2970 orientation 0 bin 65535 margins 0 0 0 0 use-margins 1\n"
      "  TvtMemoView \"Title\" at 100 100 size 200 40 flags 3 frame 15 1 $00000000 0 fill "
      "$1FFFFFFF\n"
      "    font \"Arial\" 10 style 0 color $00000000 charset 1 alignment 0\n"
      "    line \"월별 매출\"\n"
      "    line \"\\\"Q1\\\"\\x01\"\n"
      "  TvtLineView \"Rule\" at 100 200 size 300 0 flags 1 frame 4 1 $00000000 0 fill "
      "$00FFFFFF\n"
      "page 2: size 9 2100x2970 orientation 0 bin 65535 margins 0 0 0 0 use-margins 1\n"
      "  TvtMemoView \"Note\" at 10 10 size 50 18 flags 3 frame 0 1 $00000000 0 fill "
      "$1FFFFFFF\n"
      "    font \"Arial\" 10 style 0 color $00000000 charset 1 alignment 0\n"
      "    line \"p2\"\n"
      "  TvtPictureView \"Logo\" at 70 10 size 20 20 flags 5 frame 0 1 $00000000 0 fill "
      "$1FFFFFFF\n"
      "    picture bitmap 2 2 bytes 70\n";
  EXPECT_EQ(run.output, expected);
}

TEST_F(ZrtoolPreparedTest, RenderDrawsThePageAtTheZoom) {
  const std::string zrw = write_prepared();
  const std::string png = temp_path("page1.png");
  auto run = run_tool("render " + zrw + " --page 1 --zoom 50 -o " + png);
  ASSERT_EQ(run.status, 0) << run.output;

  zr::CairoSurface image(cairo_image_surface_create_from_png(png.c_str()));
  ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
  const zr::TvtPage page;
  EXPECT_EQ(cairo_image_surface_get_width(image.get()), std::lrint(page.PrnInfo.page_width * 0.5));
  EXPECT_EQ(cairo_image_surface_get_height(image.get()),
            std::lrint(page.PrnInfo.page_height * 0.5));
  auto pixel = [&](int x, int y) {
    const unsigned char* data = cairo_image_surface_get_data(image.get());
    int stride = cairo_image_surface_get_stride(image.get());
    return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4) & 0xFFFFFF;
  };
  EXPECT_EQ(pixel(5, 5), 0xFFFFFFu) << "white paper";
  // The title's frame at half size: its left side runs down x = 50 from y = 50 to 70.
  auto dark_pixels = [&](int left, int top, int right, int bottom) {
    int dark = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) dark += pixel(x, y) < 0x808080;
    return dark;
  };
  EXPECT_GT(dark_pixels(48, 58, 53, 62), 0) << "the frame is drawn";
  EXPECT_GT(dark_pixels(53, 53, 148, 68), 5) << "the text is drawn inside it";
  EXPECT_EQ(dark_pixels(160, 40, 300, 90), 0) << "nothing beside it";

  run = run_tool("render " + zrw + " --page 3 -o " + png);
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("page 3 of 2"), std::string::npos) << run.output;
}

}  // namespace
