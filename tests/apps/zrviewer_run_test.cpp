// zrviewer against a loopback web server, as a host page drives the control: the bundled
// sales example is downloaded, prepared and saved; failures of a run show in Log and in the
// exit status.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "example_site.h"
#include "support/http_server.h"
#include "support/silent_server.h"
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
    testing_support::serve_example(server, work, "sales", "sales_form.json", "sales");
    server.add_status("/missing.zrf", 404);
  }
  void TearDown() override { fs::remove_all(work); }

  // zrviewer with its work folder inside the test's folder, without a display (preview would
  // open its window on one).
  testing_support::ToolResult viewer(const std::string& arguments) {
    return run_command("env -u DISPLAY -u WAYLAND_DISPLAY ZOREL_HOME=" + (work / "zorel").string() +
                       " " ZR_VIEWER_PATH " " + arguments);
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

// The summary example: a cross table and two charts whose series the load binds to data
// sections by name; the kept prepared report holds the charts' points.
TEST_F(ZrviewerRunTest, SummaryExampleChartsReadTheirSectionsByName) {
  testing_support::serve_example(server, work, "summary", "summary_form.json", "summary");
  ASSERT_FALSE(HasFatalFailure());
  const std::string summary = "--ReportFile " + server.url("/summary.zrf") + " --dataFile " +
                              server.url("/summary.html") + " --Progress 1 ";
  const fs::path pdf = work / "summary.pdf";
  auto run = viewer(summary + "save 0 " + pdf.string());
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(run.output, "Saved " + pdf.string() + "\n");  // no section went unused
  auto text = run_command("pdftotext -layout " + pdf.string() + " -");
  EXPECT_NE(text.output.find("66,223,500"), std::string::npos) << text.output;
  // The charts are pictures in a PDF, as every object but text is.
  auto images = run_command("pdfimages -list " + pdf.string());
  EXPECT_NE(images.output.find("   1     1 image"), std::string::npos) << images.output;

  // A shown run kept in the history holds what the charts were bound to.
  run = viewer("--headless --History 1 " + summary + "preview");
  ASSERT_EQ(run.status, 0) << run.output;
  fs::path kept;
  for (const auto& entry : fs::directory_iterator(work / "zorel" / "History"))
    if (entry.path().filename().string().starts_with("20")) kept = entry.path();
  ASSERT_FALSE(kept.empty());
  auto dump = run_tool("prepared dump " + kept.string());
  ASSERT_EQ(dump.status, 0) << dump.output;
  for (const char* expected :
       {"    chart bar categories \"2026-01\" \"2026-02\" \"2026-03\" \"2026-04\" "
        "\"2026-05\" \"2026-06\"\n",
        "    series \"경기\" 2292000 0 384000 12372500 987000 8441000\n",
        "    chart pie categories \"서울\" \"부산\" \"경기\"\n"})
    EXPECT_NE(dump.output.find(expected), std::string::npos) << expected << "\n" << dump.output;
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

// Failures that once looked like success: each ends with its exit status, says what went
// wrong, prints no "Saved" line and writes no file.
TEST_F(ZrviewerRunTest, FailuresAreNeverReportedAsSuccess) {
  const std::string form = read_text(work / "sales.zrf");
  server.add("/page.zrf", "<html><body>Not found</body></html>", "text/html");
  server.add("/truncated.zrf", form.substr(0, 100), "application/octet-stream");
  server.add("/garbage.html", "<html><body>nothing for you</body></html>");
  server.add_status("/missing.html", 404);
  const std::string out = (work / "out.pdf").string();
  const struct {
    std::string arguments;
    int status;
    std::vector<std::string> said;  // in the output, in this order
  } cases[] = {
      // An error that stops preparation is the run's outcome, on one line.
      {sales() + " --Params Title=unquoted save 0 " + out,
       1,
       {"Log: An error occured during calculating | [Title] | Report: Report | Object: Title | "
        "Undefined symbol \"UNQUOTED\"\n"}},
      {"--ReportFile " + server.url("/page.zrf") + " save 0 " + out,
       1,
       {"Log: " + server.url("/page.zrf") + " is not a report form (unsupported format)\n"}},
      {"--ReportFile " + server.url("/truncated.zrf") + " --publ 1 save 0 " + out,
       1,
       {"Log: " + server.url("/truncated.zrf") + " is not a report form (damaged at offset "}},
      {"save 0 " + out, 1, {"Log: ReportFile is not set\n"}},
      // "SERVER ERROR." stays the Log; the address and the reason come on stderr.
      {"--ReportFile " + server.url("/sales.zrf") + " --dataFile " + server.url("/missing.html") +
           " --publ 1 save 0 " + out,
       1,
       {"zrviewer: Cannot get " + server.url("/missing.html") + ": HTTP status 404\n",
        "Log: SERVER ERROR.\n"}},
      {"--ReportFile " + server.url("/sales.zrf") + " --dataFile " + server.url("/garbage.html") +
           " --publ 1 save 0 " + out,
       1,
       {"zrviewer: the data page " + server.url("/garbage.html") + " holds no data section",
        "Log: SERVER ERROR.\n"}},
      {sales() + " save 99 " + out,
       2,
       {"zrviewer: SaveImage failed: TYPE 99 has no export format; TYPE is 0 PDF"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments);
    auto run = viewer(c.arguments);
    EXPECT_EQ(run.status, c.status) << run.output;
    size_t from = 0;
    for (const std::string& text : c.said) {
      const size_t at = run.output.find(text, from);
      EXPECT_NE(at, std::string::npos) << text << "\n" << run.output;
      from = at == std::string::npos ? from : at + text.size();
    }
    EXPECT_EQ(run.output.find("Saved"), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(out));
  }
}

// A server that takes the form request and never answers holds zrviewer no longer than
// TimeOut (10 ticks: a second); a refused connection fails at once whatever TimeOut says.
TEST_F(ZrviewerRunTest, DownloadsGiveUpAtTheTimeOut) {
  testing_support::SilentServer silent;
  ASSERT_NE(silent.port(), 0);
  const struct {
    std::string report_file;
    std::string time_out;
    std::string log;
  } cases[] = {
      {silent.url("/sales.zrf"), "10",
       "Log: Cannot get " + silent.url("/sales.zrf") + ": no answer within 1.0 s\n"},
      {testing_support::refused_url("/sales.zrf"), "600", "Log: Cannot get http://127.0.0.1:"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.report_file);
    const auto start = std::chrono::steady_clock::now();
    auto run = viewer("--ReportFile " + c.report_file + " --TimeOut " + c.time_out + " preview");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(run.output.starts_with(c.log)) << run.output;
  }
}

// zrviewer is the host: a plain path names a local file and a relative NAME lands in the
// current folder. Warnings about data that reaches no band go to stderr and change nothing.
TEST_F(ZrviewerRunTest, LocalFilesRelativeNamesAndWarnings) {
  const std::string page = read_text(fs::path(ZR_EXAMPLES_DIR) / "sales" / "data_page.html");
  std::ofstream(work / "data page.html", std::ios::binary)
      << page << "\n<PRE>\n"
      << page.substr(page.find("<?xml"), page.find("DATANAME=") - page.find("<?xml"))
      << "DATANAME=SPARE\n</PRE>\n";
  auto run = run_command("cd " + work.string() + " && ZOREL_HOME=" + (work / "zorel").string() +
                         " " ZR_VIEWER_PATH
                         " --ReportFile sales.zrf --dataFile 'data page.html' save 0 out/r.pdf");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(fs::exists(work / "out" / "r.pdf"));
  EXPECT_NE(run.output.find("zrviewer: warning: section \"SPARE\" is used by no band and no "
                            "object\n"),
            std::string::npos)
      << run.output;
  EXPECT_NE(run.output.find("Saved " + (work / "out" / "r.pdf").string() + "\n"), std::string::npos)
      << run.output;
  // Not a terminal: no progress line.
  EXPECT_EQ(run.output.find('\r'), std::string::npos);
}

// A data packet in a Western code page without an encoding declaration loads, and its text
// reaches the report converted (the text export writes code page 949).
TEST_F(ZrviewerRunTest, EightBitPacketsLoadInTheirCodePage) {
  // The customers' section of the sales page replaced by one customer written in
  // Windows-1252 without an encoding declaration or LCID; the sales lines stay as they are.
  const std::string page = read_text(fs::path(ZR_EXAMPLES_DIR) / "sales" / "data_page.html");
  const std::string rest = page.substr(page.find("DATANAME=M") + 10);
  server.add("/western.html",
             "<PRE>\n<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET "
             "Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"Region\" "
             "fieldtype=\"string\" WIDTH=\"20\"/><FIELD attrname=\"CustNo\" "
             "fieldtype=\"i4\"/><FIELD attrname=\"Company\" fieldtype=\"string\" "
             "WIDTH=\"40\"/><FIELD attrname=\"Contact\" fieldtype=\"string\" "
             "WIDTH=\"20\"/></FIELDS><PARAMS/></METADATA><ROWDATA><ROW "
             "Region=\"North\" CustNo=\"1001\" Company=\"O\xB4Neill\" "
             "Contact=\"M\xFCller\"/></ROWDATA></DATAPACKET>\nDATANAME=M" +
                 rest);
  const fs::path text = work / "western.txt";
  auto run = viewer("--ReportFile " + server.url("/sales.zrf") + " --dataFile " +
                    server.url("/western.html") + " --Progress 1 save 8 " + text.string());
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string exported = read_text(text);
  // "´" is 0xA2A5 in code page 949; "ü" has no form there and becomes "?".
  EXPECT_NE(exported.find("O\xA2\xA5Neill"), std::string::npos) << run.output;
  EXPECT_NE(exported.find("M?ller"), std::string::npos);
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

// A form whose title band runs a script that never ends.
constexpr const char* kEndlessForm = R"({"Pages": [{"Objects": [
  {"Class": "TvtBandView", "Name": "TitleBand", "BandType": "Report title", "Top": 40,
   "Height": 30, "Script": ["begin", "  while 1 = 1 do i := 1", "end"]},
  {"Class": "TvtMemoView", "Name": "Title", "Left": 40, "Top": 44, "Width": 200, "Height": 20,
   "Memo": ["never shown"]}]}]})";

TEST_F(ZrviewerRunTest, TimeLimitEndsTheRunWithLogAndStatusOne) {
  const fs::path source = work / "endless.json";
  std::ofstream(source) << kEndlessForm;
  const fs::path form = work / "endless.zrf";
  auto built = run_tool("form build " + source.string() + " -o " + form.string());
  ASSERT_EQ(built.status, 0) << built.output;
  server.add("/endless.zrf", read_text(form), "application/octet-stream");
  server.add_slow("/hangs.zrf");

  struct Case {
    const char* what;
    std::string arguments;
  } cases[] = {
      // The progress window is cancelled when the time is up, and the script stops.
      {"endless script", "--ReportFile " + server.url("/endless.zrf") + " preview"},
      // Nothing stops a download that hangs: the run is ended a moment later.
      {"hanging download", "--ReportFile " + server.url("/hangs.zrf") + " preview"},
  };
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    auto run = viewer("--time-limit 0.5 " + c.arguments);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.status, 1) << c.what << "\n" << run.output;
    EXPECT_NE(run.output.find("Log: Time limit of 0.5 s reached\n"), std::string::npos)
        << c.what << "\n"
        << run.output;
    EXPECT_LT(took, std::chrono::seconds(20)) << c.what;
  }
}

}  // namespace
}  // namespace zr
