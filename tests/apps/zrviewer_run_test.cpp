// zrviewer against a loopback web server, as a host page drives the control: the bundled
// sales example is downloaded, prepared and saved; failures of a run show in Log and in the
// exit status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "support/http_server.h"
#include "support/tool_run.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using testing_support::HttpTestServer;
using testing_support::run_command;
using testing_support::run_tool;

std::string read_text(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ZrviewerRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove_all(work);
    fs::create_directories(work);
    const fs::path form = work / "sales.zrf";
    auto built = run_tool("form build " + std::string(ZR_EXAMPLES_DIR) +
                          "/sales/sales_form.json -o " + form.string());
    ASSERT_EQ(built.status, 0) << built.output;
    server.add("/sales.zrf", read_text(form), "application/octet-stream");
    server.add("/sales.html", read_text(fs::path(ZR_EXAMPLES_DIR) / "sales" / "data_page.html"));
    server.add_status("/missing.zrf", 404);
  }
  void TearDown() override { fs::remove_all(work); }

  // zrviewer with its work folder inside the test's folder.
  testing_support::ToolResult viewer(const std::string& arguments) {
    return run_command("ZOREL_HOME=" + (work / "zorel").string() + " " ZR_VIEWER_PATH " " +
                       arguments);
  }
  std::string sales() const {
    return "--ReportFile " + server.url("/sales.zrf") + " --dataFile " + server.url("/sales.html");
  }

  HttpTestServer server;
  const fs::path work =
      fs::path(::testing::TempDir()) / ("zrviewer_run_" + std::to_string(getpid()));
};

TEST_F(ZrviewerRunTest, SavesTheSalesExampleAsPdf) {
  const fs::path pdf = work / "out" / "매출.pdf";  // a missing folder is created
  auto run = viewer(sales() + " --Progress 1 save 0 " + pdf.string());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "Saved " + pdf.string() + "\n");
  auto check = run_command("qpdf --check " + pdf.string());
  EXPECT_EQ(check.status, 0) << check.output;
  auto text = run_command("pdftotext " + pdf.string() + " -");
  for (const char* line : {"지역 합계 판매 16건 21,042,500", "(주)조렐 영업관리팀"})
    EXPECT_NE(text.output.find(line), std::string::npos) << line << "\n" << text.output;

  // Without a name the file goes to the work folder under the type's default name.
  ASSERT_EQ(viewer(sales() + " save 0").status, 0);
  EXPECT_TRUE(fs::exists(work / "zorel" / "ZorelImage.pdf"));
}

// The default PDF carries its fonts and its paper: readers show exactly the layout, also on
// a machine without any of the fonts.
TEST_F(ZrviewerRunTest, PortablePdfEmbedsItsFontsAndHasThePapersSize) {
  const fs::path pdf = work / "sales.pdf";
  ASSERT_EQ(viewer(sales() + " --Progress 1 save 0 " + pdf.string()).status, 0);
  auto check = run_command("qpdf --check " + pdf.string());
  EXPECT_EQ(check.status, 0) << check.output;

  // Every font embedded as a subset (six capitals and "+"), with a ToUnicode map.
  auto fonts = run_command("pdffonts " + pdf.string());
  std::istringstream rows(fonts.output);
  std::string row;
  int count = 0;
  for (int line = 0; std::getline(rows, row); ++line) {
    if (line < 2) continue;  // the header
    ++count;
    EXPECT_TRUE(std::regex_search(
        row, std::regex("^[A-Z]{6}\\+\\S+ +CID TrueType +Identity-H +yes yes yes ")))
        << row;
  }
  EXPECT_GE(count, 2) << fonts.output;

  // Whole words and the Korean lines, not letters spread over a monospace stand-in.
  auto text = run_command("pdftotext " + pdf.string() + " -");
  for (const char* line : {"1003 Blue Harbor Ltd 담당: 박지호", "Northwind Busan",
                           "지역 합계 판매 16건 21,042,500", "(주)조렐 영업관리팀"})
    EXPECT_NE(text.output.find(line), std::string::npos) << line << "\n" << text.output;
  auto info = run_command("pdfinfo " + pdf.string());
  EXPECT_NE(info.output.find("Page size:       595.276 x 841.89 pts (A4)"), std::string::npos)
      << info.output;

  auto drawn = run_command("mutool draw -q -o " + (work / "mupdf%d.png").string() + " " +
                           pdf.string() + " 2>&1");
  EXPECT_EQ(drawn.status, 0) << drawn.output;
  // Debian's build says this of every file: it is about the reader, not the document.
  std::string warnings =
      std::regex_replace(drawn.output, std::regex("warning: ICC support is not available\n"), "");
  EXPECT_EQ(warnings, "");

  // Rendered with no font installed at all, every pixel is the same.
  const fs::path config = work / "no-fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM "
                           "\"fonts.dtd\">\n<fontconfig><cachedir>"
                        << (work / "fc-cache").string() << "</cachedir></fontconfig>\n";
  auto render = [&](const std::string& environment, const std::string& name) {
    auto result = run_command(environment + " pdftoppm -r 72 -gray " + pdf.string() + " " +
                              (work / name).string());
    EXPECT_EQ(result.status, 0) << result.output;
    return read_text(work / (name + "-1.pgm")) + read_text(work / (name + "-2.pgm"));
  };
  const std::string normal = render("", "normal");
  const std::string bare = render("FONTCONFIG_FILE=" + config.string(), "bare");
  EXPECT_GT(normal.size(), 100000u);
  EXPECT_TRUE(normal == bare) << "the renders differ";
}

TEST_F(ZrviewerRunTest, ClassicPdfOnRequest) {
  const fs::path pdf = work / "classic.pdf";
  ASSERT_EQ(viewer(sales() + " --Progress 1 --PdfMode Classic save 0 " + pdf.string()).status, 0);
  auto fonts = run_command("pdffonts " + pdf.string());
  EXPECT_EQ(fonts.output.find(" yes yes yes "), std::string::npos) << fonts.output;
  EXPECT_NE(fonts.output.find("KSCms-UHC-H"), std::string::npos) << fonts.output;
  auto info = run_command("pdfinfo " + pdf.string());
  EXPECT_NE(info.output.find("Page size:       568.5 x 803.25 pts"), std::string::npos)
      << info.output;

  auto wrong = viewer(sales() + " --PdfMode modern save 0 " + pdf.string());
  EXPECT_EQ(wrong.status, 2) << wrong.output;
}

TEST_F(ZrviewerRunTest, RunFailuresShowInLogAndTheExitStatus) {
  auto refused = viewer(sales() + " --Acl 1 --publ 1 preview");
  EXPECT_EQ(refused.status, 1);
  // The message box is shown whatever publ says; Log repeats the text.
  EXPECT_NE(refused.output.find("안내: 권한이 없습니다."), std::string::npos) << refused.output;
  EXPECT_NE(refused.output.find("Log: 권한이 없습니다.\n"), std::string::npos) << refused.output;

  auto missing = viewer("--ReportFile " + server.url("/missing.zrf") + " preview");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("Log: "), std::string::npos) << missing.output;

  auto prepared = viewer(sales() + " --Progress 1 preview");
  EXPECT_EQ(prepared.status, 0) << prepared.output;
}

}  // namespace
}  // namespace zr
