// Writing views into prepared pages, export hand-over, and pictures loaded from addresses
// and files.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_fixture.h"
#include "engine/model/export_filter.h"
#include "engine/model/picture_view.h"
#include "engine/model/view_factory.h"
#include "engine/report/report.h"
#include "engine/view_test_support.h"
#include "platform/net/curl_http_session.h"
#include "platform/picture_test_files.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

class ViewOutputTest : public testing_support::EngineTest {};

TEST_F(ViewOutputTest, PreparedRecordHoldsTypeAndExpandedText) {
  TvtReport report;
  globals().CurReport = &report;
  std::unique_ptr<TvtView> view = CreateView(kObjPicture);
  view->Name = "Pic";
  view->Memo = {"shown"};
  view->Tag = "id [1 + 1]";
  ByteWriter out;
  view->WriteToPreparedPage(out);
  EXPECT_EQ(globals().CurView, view.get());
  EXPECT_EQ(view->ExpandedMemo, TvtStrings{"shown"});
  EXPECT_EQ(view->Tag, "id [1 + 1]");  // the expansion is for the record only

  const std::string bytes = out.take();
  ByteReader in(bytes);
  ASSERT_EQ(in.read_u8(), kObjPicture);
  std::unique_ptr<TvtView> copy = CreateView(kObjPicture);
  copy->PreparedMode = true;
  copy->LoadFromStream(in);
  EXPECT_TRUE(in.at_end());
  EXPECT_EQ(copy->Name, "Pic");
  EXPECT_EQ(copy->Memo, TvtStrings{"shown"});
  EXPECT_EQ(copy->Tag.find('['), std::string::npos) << copy->Tag;
}

TEST_F(ViewOutputTest, AddInsCarryTheirClassNameAndInvisibleViewsNothing) {
  TvtView view;
  view.Name = "X";
  ByteWriter out;
  view.WriteToPreparedPage(out);
  ByteReader in(out.bytes());
  EXPECT_EQ(in.read_u8(), kObjAddIn);
  EXPECT_EQ(in.read_string(), "TvtView");

  view.Visible = false;
  ByteWriter none;
  view.WriteToPreparedPage(none);
  EXPECT_TRUE(none.bytes().empty());
}

TEST_F(ViewOutputTest, ExportHandsTheViewToTheReportsFilter) {
  struct Recorder : TvtExportFilter {
    void OnData(int x, int y, TvtView& view) override {
      at = {x, y};
      seen = &view;
    }
    Point at;
    TvtView* seen = nullptr;
  } filter;
  TvtView view;
  view.SetBounds(7, 9, 1, 1);
  view.ExportTo();  // no report: nothing to hand to
  TvtReport report;
  report.ExportFilter = &filter;
  globals().CurReport = &report;
  view.ExportTo();
  EXPECT_EQ(filter.seen, &view);
  EXPECT_EQ(filter.at, (Point{7, 9}));
}

class PictureSourceTest : public ViewOutputTest {
 protected:
  PictureSourceTest() {
    dir = fs::temp_directory_path() / ("zr_picture_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "red.bmp", std::ios::binary) << test::bmp_file();
    std::ofstream(dir / "icon.ico", std::ios::binary) << test::ico_file();
    std::ofstream(dir / "broken.gif", std::ios::binary) << "GIF89a";
  }
  ~PictureSourceTest() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::string file_url(const char* name) { return "file://" + (dir / name).string(); }
  fs::path dir;
};

TEST_F(PictureSourceTest, UrlLoadsByBlobTypeAndFailuresLeaveItEmpty) {
  CurlHttpSession http;
  TvtPictureView view;
  view.Url = "  " + file_url("red.bmp") + " ";
  view.LoadFromUrl();  // no HTTP client: nothing to fetch
  EXPECT_TRUE(view.Picture.empty());

  globals().http = &http;
  view.LoadFromUrl();
  EXPECT_EQ(view.Picture.kind(), GraphicKind::Bitmap);
  EXPECT_EQ(view.Picture.bytes(), test::bmp_file());

  view.Url = file_url("icon.ico");
  view.BlobType = btWMF;  // 3 loads an icon
  view.LoadFromUrl();
  EXPECT_EQ(view.Picture.kind(), GraphicKind::Icon);

  for (const std::string& failing : {file_url("missing.bmp"), file_url("red.bmp")}) {
    view.Url = failing;
    view.BlobType = btJPG;  // the bitmap is no JPEG
    view.LoadFromUrl();
    EXPECT_TRUE(view.Picture.empty()) << failing;
  }
  globals().http = nullptr;
}

// A band printed for every record asks for the same address each time: it is fetched once,
// a failed one too; a new address is fetched again.
TEST_F(PictureSourceTest, AnAddressIsFetchedOnceWhileItStaysTheSame) {
  struct CountingHttp : HttpClient {
    std::vector<std::string> asked;
    std::string Get(std::string_view url) override {
      asked.emplace_back(url);
      if (url.ends_with("down")) throw IoError("Time out.");
      return test::bmp_file();
    }
  } http;
  globals().http = &http;
  TvtPictureView view;
  for (const char* url :
       {"http://h/a", "http://h/a", "http://h/a", "http://h/down", "http://h/down", "http://h/a"}) {
    view.Url = url;
    view.LoadFromUrl();
    EXPECT_EQ(view.Picture.empty(), std::string(url).ends_with("down")) << url;
  }
  EXPECT_EQ(http.asked, (std::vector<std::string>{"http://h/a", "http://h/down", "http://h/a"}));
  globals().http = nullptr;
}

TEST_F(PictureSourceTest, LoadFromFileFollowsTheExtension) {
  TvtPictureView view;
  auto load = [&](const std::string& expression) {
    view.CallMethod("LOADFROMFILE", Value(expression), Value(), Value());
  };
  load("'" + (dir / "icon.ico").string() + "'");
  EXPECT_EQ(view.Picture.kind(), GraphicKind::Icon);
  for (const char* clearing : {"''", "'/no/such/file.bmp'"}) {
    load("'" + (dir / "red.bmp").string() + "'");
    ASSERT_FALSE(view.Picture.empty());
    load(clearing);
    EXPECT_TRUE(view.Picture.empty()) << clearing;
  }
  load("'" + (dir / "broken.gif").string() + "'");
  EXPECT_TRUE(view.Picture.empty());
}

}  // namespace
}  // namespace zr
