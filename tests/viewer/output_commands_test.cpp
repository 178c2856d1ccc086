// SaveImage, SendEMail and GetFile end to end: a ready control loads the orders report from
// the loopback server and writes it through the export filter of the ImageType.
#include <gtest/gtest.h>

#include <ostream>

#include "pipeline_fixture.h"
#include "platform/codepage.h"
#include "viewer/export_filter_set.h"
#include "viewer/notice.h"
#include "viewer/output_file_name.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

using testing_support::orders_texts;
using testing_support::PipelineTest;
using testing_support::read_bytes;
using testing_support::write_bytes;

// Writes one line per page and one per text line, so a test sees what reached the filter.
class LineFilter : public TvtExportFilter {
 public:
  void OnBeginPage() override { *Stream << "page\n"; }
  void OnText(const Rect&, int, int, const std::string& text, int, int, TvtView&) override {
    *Stream << text << "\n";
  }
};

const std::string kOrdersExport = "page\nYear 0\n1 Kim\n10 100\n11 50\n3 Park\n12 70\n";

class OutputTest : public PipelineTest {
 protected:
  void SetUp() override {
    runner().export_filters().set_filter(ExportFormat::Pdf, std::make_unique<LineFilter>());
    runner().export_filters().set_filter(ExportFormat::Jpeg, std::make_unique<LineFilter>());
    UseOrders();
  }
  std::string in_work(const std::string& name) const {
    return utf8_to_ansi((work_root / name).string());
  }
};

TEST_F(OutputTest, SaveImageNamesTheFileAsTheRulesSay) {
  const fs::path outside = work_root.parent_path() / (work_root.filename().string() + "_out");
  struct Case {
    int type;
    std::string name;
    fs::path written;  // empty: nothing written
    std::string log;
  };
  const std::vector<Case> cases = {
      {0, "", work_root / "ZorelImage.pdf", ""},
      {3, "", work_root / "ZorelImage.jpg", ""},
      {0, "plain", work_root / "plain", ""},  // no extension added
      {0, (outside / "a" / "b" / "report.pdf").string(), outside / "a" / "b" / "report.pdf", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + " " + c.name);
    viewer().SaveImage(static_cast<int8_t>(c.type), c.name);
    EXPECT_EQ(viewer().Log, c.log);
    if (!c.written.empty()) {
      EXPECT_EQ(read_bytes(c.written), kOrdersExport);
      EXPECT_EQ(viewer().OutputFileName, utf8_to_ansi(c.written.string()));
    }
    EXPECT_EQ(report().EMFPages.Count(), 0);  // reset after the export
    EXPECT_TRUE(Messages().empty());
  }
  fs::remove_all(outside);
}

TEST_F(OutputTest, SaveImageFailuresAreReportedNotRaised) {
  // A relative name whose folder is missing: the export itself fails.
  viewer().SaveImage(0, "missing/sub/report.pdf");
  EXPECT_EQ(viewer().Log,
            "Cannot create file \"" + (work_root / "missing/sub/report.pdf").string() + "\"");
  EXPECT_FALSE(fs::exists(work_root / "missing"));

  // An absolute name below a plain file: no folder can be made there.
  write_bytes(work_root / "plainfile", "x");
  const std::string below_file = (work_root / "plainfile" / "sub" / "report.pdf").string();
  viewer().SaveImage(0, below_file);
  EXPECT_EQ(Messages(), std::vector<std::string>{below_file + kBadFileName});
  EXPECT_EQ(ui.calls().back().caption, kNoticeCaption);
  EXPECT_EQ(viewer().Log, "");
  EXPECT_EQ(report().EMFPages.Count(), 0);

  // An ImageType outside the table exports nothing and says nothing.
  ui.clear_calls();
  viewer().SaveImage(12, "");
  EXPECT_EQ(viewer().Log, "");
  EXPECT_EQ(viewer().OutputFileName, in_work("ZorelImage"));
  EXPECT_FALSE(fs::exists(work_root / "ZorelImage"));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(OutputTest, SaveImageWithoutPagesWritesNothingAndKeepsTheLastName) {
  viewer().SaveImage(0, "first.pdf");
  ASSERT_EQ(viewer().OutputFileName, in_work("first.pdf"));
  viewer().Acl = 1;
  viewer().SaveImage(0, "second.pdf");
  EXPECT_EQ(viewer().OutputFileName, in_work("first.pdf"));
  EXPECT_FALSE(fs::exists(work_root / "second.pdf"));
}

TEST_F(OutputTest, EveryExportReloadsFormAndDataAndForgetsOneShotProperties) {
  viewer().Params = "Year=2026";
  viewer().SaveImage(0, "one.pdf");
  viewer().SaveImage(0, "two.pdf");
  EXPECT_NE(read_bytes(work_root / "one.pdf").find("Year 2026"), std::string::npos);
  EXPECT_EQ(read_bytes(work_root / "two.pdf"), kOrdersExport);
  EXPECT_EQ(server.requests().size(), 4u);  // form and page, twice
}

TEST_F(OutputTest, SendEMailHandsTheExportedFilesToTheMailClient) {
  struct Case {
    int type;
    std::vector<MailAttachment> attachments;
    std::string log;
  };
  const std::string pdf = in_work("ZorelImage.pdf");
  const std::vector<Case> cases = {
      {0, {{pdf, "ZorelImage.pdf"}}, ""},
      {1, {{in_work("ZorelImage.rtf"), "ZorelImage.rtf"}}, ""},
      {8, {}, ""},
      {9, {}, ""},
      {3, {}, ""},  // the image filter here keeps no list of files written
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    mail->sent.clear();
    viewer().SendEMail(static_cast<int8_t>(c.type), "");
    ASSERT_EQ(mail->sent.size(), 1u);
    const MailMessage& message = mail->sent[0];
    EXPECT_EQ(message.attachments, c.attachments);
    EXPECT_TRUE(message.recipients.empty());
    EXPECT_EQ(message.subject, "");
    EXPECT_TRUE(message.show_dialog);
    EXPECT_EQ(viewer().Log, c.log);
  }
}

TEST_F(OutputTest, RtfHtmlPictureAndExcelFormatsMailEveryFileTheyWrote) {
  const struct {
    int type;
    std::string name;
    std::string magic;  // the file's first bytes
  } cases[] = {{1, "ZorelImage.rtf", "{\\rtf1\\ansi\\ansicpg949"},
               {2, "ZorelImage.htm", "<!DOCTYPE HTML"},
               {4, "ZorelImage.gif", "GIF8"},
               {5, "ZorelImage.bmp", "BM"},
               {6, "ZorelImage.emf", std::string("\x01\0\0\0", 4)},
               {7, "ZorelImage.wmf", "\xD7\xCD\xC6\x9A"},
               {10, "ZorelImage.xlsx", "PK\x03\x04"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    mail->sent.clear();
    viewer().SendEMail(static_cast<int8_t>(c.type), "");
    EXPECT_EQ(viewer().Log, "");
    EXPECT_EQ(read_bytes(work_root / c.name).substr(0, c.magic.size()), c.magic);
    ASSERT_EQ(mail->sent.size(), 1u);
    EXPECT_EQ(mail->sent[0].attachments, (std::vector<MailAttachment>{{in_work(c.name), c.name}}));
  }
}

TEST_F(OutputTest, TextAndCsvGoThroughTheirFiltersWithTheFormSettings) {
  viewer().SaveImage(8, "");
  viewer().SaveImage(9, "");
  EXPECT_EQ(viewer().Log, "");
  // Text: memos at 40 and 80 design pixels land in columns 6 and 12; the page ends in a
  // form feed.
  EXPECT_EQ(read_bytes(work_root / "ZorelImage.txt"),
            "      Year 0\r\n      1 Kim\r\n            10 100\r\n            11 50\r\n"
            "      3 Park\r\n            12 70\r\n\f\r\n");
  // CSV with the form's comma: one field per left edge, after an empty first field.
  EXPECT_EQ(read_bytes(work_root / "ZorelImage.csv"),
            ",\"Year 0\"\r\n,\"1 Kim\"\r\n,,\"10 100\"\r\n,,\"11 50\"\r\n,\"3 Park\"\r\n"
            ",,\"12 70\"\r\n");
}

TEST_F(PipelineTest, PdfGoesThroughItsFilterWithTheFormSettings) {
  UseOrders();
  viewer().SaveImage(0, "");
  EXPECT_EQ(viewer().Log, "");
  const fs::path pdf = work_root / "ZorelImage.pdf";
  const std::string bytes = read_bytes(pdf);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_NE(bytes.find("/Creator (Nabo)"), std::string::npos);
  EXPECT_EQ(testing_support::run_command("qpdf --check " + pdf.string()).status, 0);
  const testing_support::ToolResult text =
      testing_support::run_command("pdftotext -layout " + pdf.string() + " -");
  ASSERT_EQ(text.status, 0) << text.output;
  for (const char* line : {"Year 0", "1 Kim", "10 100", "11 50", "3 Park", "12 70"})
    EXPECT_NE(text.output.find(line), std::string::npos) << line << "\n" << text.output;
}

TEST_F(OutputTest, SendEMailAttachesWhatTheImageFilterWrote) {
  runner().export_filters().set_files_written(ExportFormat::Jpeg, [] {
    return std::vector<std::string>{"/tmp/page1.jpg", "/tmp/page2.jpg"};
  });
  viewer().SendEMail(3, "");
  ASSERT_EQ(mail->sent.size(), 1u);
  EXPECT_EQ(mail->sent[0].attachments,
            (std::vector<MailAttachment>{{"/tmp/page1.jpg", "page1.jpg"},
                                         {"/tmp/page2.jpg", "page2.jpg"}}));
  EXPECT_EQ(runner().mail().DisplayFileName, (std::vector<std::string>{"page1.jpg", "page2.jpg"}));
}

TEST_F(OutputTest, AMailClientThatFailsIsNotedInLog) {
  mail->answer = kMailFailure;
  mail->answer_detail = "The mail client xdg-email failed (exit status 3)";
  int errors = 0;
  runner().mail().OnMapiError = [&](int result) { errors += result; };
  viewer().SendEMail(0, "");
  EXPECT_EQ(viewer().Log, "The mail client xdg-email failed (exit status 3)");
  EXPECT_EQ(errors, kMailFailure);
}

TEST(XdgEmailHandOffTest, PassesRecipientsSubjectAndAttachmentsWithoutAShell) {
  MailMessage message;
  message.subject = "Sales \"Q4\"";
  message.recipients = {{MailRecipientClass::To, "a@example.com", "SMTP:a@example.com"},
                        {MailRecipientClass::Cc, "c@example.com", "SMTP:c@example.com"},
                        {MailRecipientClass::Bcc, "b@example.com", "SMTP:b@example.com"}};
  message.attachments = {{"/tmp/x y.pdf", "x y.pdf"}, {"/tmp/\xB0\xA1.csv", "\xB0\xA1.csv"}};
  EXPECT_EQ(XdgEmailHandOff::arguments(message),
            (std::vector<std::string>{"--utf8", "--cc", "c@example.com", "--bcc", "b@example.com",
                                      "--subject", "Sales \"Q4\"", "--attach", "/tmp/x y.pdf",
                                      "--attach", "/tmp/\xEA\xB0\x80.csv", "a@example.com"}));
}

TEST(XdgEmailHandOffTest, AMailClientThatCannotStartCountsAsNothingSent) {
  const struct {
    std::string program;
    int result;
  } cases[] = {
      {"/nonexistent/xdg-email", kMailUserAbort}, {"false", kMailFailure}, {"true", kMailSuccess}};
  for (const auto& c : cases) {
    XdgEmailHandOff hand_off(c.program);
    std::string detail;
    EXPECT_EQ(hand_off.Send(MailMessage{}, detail), c.result) << c.program;
    EXPECT_EQ(detail.empty(), c.result == kMailSuccess) << detail;
  }
}

TEST_F(PipelineTest, GetFileDownloadsTheFormAndItsDataFile) {
  server.add("/r/orders.zrd", "data file bytes");
  viewer().ReportFile = server.url("/r/orders.zrf");
  viewer().GetFile();
  EXPECT_EQ(read_bytes(work_root / "orders.zrf"), testing_support::orders_form_bytes());
  EXPECT_EQ(read_bytes(work_root / "orders.zrd"), "data file bytes");

  server.add_status("/r/broken.zrd", 404);
  server.add("/r/broken.zrf", "form");
  viewer().ReportFile = server.url("/r/broken.zrf");
  EXPECT_THROW(viewer().GetFile(), IoError);
  EXPECT_EQ(read_bytes(work_root / "broken.zrf"), "form");  // files made so far stay
  EXPECT_TRUE(fs::exists(work_root / "broken.zrd"));

  // A query is no part of the file names; a name that is not a form gets ".zrd" added.
  server.add("/r/get", "by query");
  viewer().ReportFile = server.url("/r/get?form=a/b.zrf");
  viewer().GetFile();
  EXPECT_EQ(read_bytes(work_root / "get"), "by query");
  EXPECT_EQ(read_bytes(work_root / "get.zrd"), "by query");

  viewer().ReportFile = "";
  viewer().GetFile();
  EXPECT_EQ(Messages(), std::vector<std::string>{"Empty Property ReportFile"});
}

TEST(OutputFileNameTest, NamesFollowTheImageTypeTable) {
  const WorkFolder folder("/work/z");
  const struct {
    int type;
    std::string name;
    std::string path;
    bool absolute;
  } cases[] = {
      {0, "", "/work/z/ZorelImage.pdf", false}, {1, "", "/work/z/ZorelImage.rtf", false},
      {2, "", "/work/z/ZorelImage.htm", false}, {3, "", "/work/z/ZorelImage.jpg", false},
      {4, "", "/work/z/ZorelImage.gif", false}, {5, "", "/work/z/ZorelImage.bmp", false},
      {6, "", "/work/z/ZorelImage.emf", false}, {7, "", "/work/z/ZorelImage.wmf", false},
      {8, "", "/work/z/ZorelImage.txt", false}, {9, "", "/work/z/ZorelImage.csv", false},
      {-1, "", "/work/z/ZorelImage", false},    {0, "a/b", "/work/z/a/b", false},
      {0, "/abs/x.pdf", "/abs/x.pdf", true},    {0, "\xB0\xA1", "/work/z/\xEA\xB0\x80", false},
  };
  for (const auto& c : cases) {
    OutputFile file = output_file_for(folder, c.type, c.name);
    EXPECT_EQ(file.path.string(), c.path) << c.type << " " << c.name;
    EXPECT_EQ(file.absolute, c.absolute) << c.name;
  }
}

TEST(ExportFilterSetTest, FormOrderAndImageTypeOrder) {
  EXPECT_EQ(
      ExportFilterSet::creation_order(),
      (std::vector<std::string_view>{"expPdf", "expHtml", "expRtf", "expJpg", "expGif", "expBmp",
                                     "expEmf", "expWmf", "expText", "expCsv", "expXlsx"}));
  std::vector<std::string_view> by_type;
  for (const ExportFormatInfo& info : image_types()) by_type.push_back(info.component);
  EXPECT_EQ(by_type, (std::vector<std::string_view>{"expPdf", "expRtf", "expHtml", "expJpg",
                                                    "expGif", "expBmp", "expEmf", "expWmf",
                                                    "expText", "expCsv", "expXlsx"}));
  EXPECT_EQ(image_type_info(10)->extension, "xlsx");
  EXPECT_EQ(image_type_info(11), nullptr);
  EXPECT_EQ(image_type_info(-1), nullptr);
  EXPECT_EQ(export_not_available_message(ExportFormat::Rtf), "RTF export is not available");
}

}  // namespace
}  // namespace zr
