// The document exporters' base: the object and text records a page leaves for the format,
// the options dialog model and the shared routines.
#include "output/document/document_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/band_report_fixture.h"
#include "engine/model/line_view.h"
#include "engine/model/picture_view.h"
#include "engine/run/band.h"
#include "output/document/export_dialog.h"
#include "output/document/export_routines.h"
#include "output/document/object_picture.h"
#include "output/pdf/pdf_export.h"
#include "output/pdf/pdf_export_dialog.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"

namespace zr {
namespace {

using testing_support::BandReportTest;

// Keeps the records of every page as the format sees them at the page's end.
class RecordingExport : public TOxvtExportFilter {
 public:
  explicit RecordingExport(bool whole_lines = false) { WholeLines = whole_lines; }
  std::vector<std::vector<TOxvtDataRec>> data;
  std::vector<std::vector<TOxvtTextRec>> texts;
  void OnEndPage() override {
    data.push_back(DataRecords());
    texts.push_back(TextRecords());
    TOxvtExportFilter::OnEndPage();
  }
};

class DocumentExportTest : public BandReportTest {
 protected:
  DocumentExportTest() { Title(); }

  void Title() { AddBand(btReportTitle, "ReportTitle1", 0, 300); }

  void Export(RecordingExport& filter) {
    if (report.EMFPages.Count() == 0) {
      ASSERT_TRUE(report.PrepareReport());
    }
    report.ExportReportTo(filter, file.string());
  }

  std::vector<std::string> Names(const std::vector<TOxvtDataRec>& records) {
    std::vector<std::string> names;
    for (const auto& rec : records)
      names.push_back(rec.Name + "#" + std::to_string(rec.NameNumber) + ":" + rec.ClassName);
    return names;
  }

  std::filesystem::path file = std::filesystem::path(::testing::TempDir()) /
                               ("document_export_" + std::to_string(getpid()) + ".out");
};

TEST_F(DocumentExportTest, ObjectsBecomeRecordsWithConvertedGeometryAndSharedNameNumbers) {
  AddText("Name", 20, "first", 18, 10, 100);
  AddText("Other", 40, "second", 18, 10, 100);
  TvtLineView& line = static_cast<TvtLineView&>(*page().Add(std::make_unique<TvtLineView>()));
  line.Name = "Name";  // the same name as the first memo
  line.SetBounds(10, 60, 100, 0);
  RecordingExport filter;
  Export(filter);
  ASSERT_EQ(filter.data.size(), 1u);
  // The band gives no record; the line shares the memo's name and its number.
  EXPECT_EQ(Names(filter.data[0]),
            (std::vector<std::string>{"Name#0:TvtMemoView", "Other#1:TvtMemoView",
                                      "Name#0:TvtLineView"}));
  const TOxvtDataRec& memo = filter.data[0][0];
  EXPECT_EQ(memo.X, 10);  // bands keep their objects' left edges
  EXPECT_EQ(memo.Y, 20 + top_edge());
  EXPECT_EQ(memo.Width, 100);
  EXPECT_EQ(memo.Height, 18);
  EXPECT_EQ(memo.Text, "first");
  EXPECT_EQ(memo.Alignment, kAlignLeft | kAlignTop);
  EXPECT_EQ(memo.Font, (TOxvtFontInfo{"Arial", 10, 0, 0, 1, 96}));
  EXPECT_FALSE(memo.Image);
  EXPECT_FALSE(filter.data[0][2].Image);  // lines are drawn as frames, not pictures
  EXPECT_EQ(filter.PageCount(), 1);
}

TEST_F(DocumentExportTest, MemoTextIsJoinedAndCutToTheObjectWithoutWordWrap) {
  TvtMemoView& wrapped = AddText("Wrapped", 20, "", 40, 10, 300);
  wrapped.Memo = {"first line", "second line"};
  wrapped.Flags = kFlagStretched | kMemoWordWrap;
  TvtMemoView& cut = AddText("Cut", 80, "abcdefghij", 18, 10, 30);
  cut.Flags = 0;
  RecordingExport filter;
  Export(filter);
  const auto& records = filter.data[0];
  ASSERT_EQ(records.size(), 2u);
  // Prepared lines carry the paragraph mark; the record does not.
  EXPECT_EQ(records[0].Text, "first line\r\nsecond line");
  const auto font = globals().fonts->font(FontSelection{"Arial", -13});
  EXPECT_EQ(records[0].TextWidth, font->text_width("first line\r\nsecond line"));
  // The first ceil(width * length / text width) characters.
  const int text_width = font->text_width("abcdefghij");
  ASSERT_GT(text_width, 30);
  EXPECT_EQ(records[1].TextWidth, text_width);
  EXPECT_EQ(
      records[1].Text,
      std::string("abcdefghij").substr(0, static_cast<size_t>(std::ceil(30.0 * 10 / text_width))));
}

TEST_F(DocumentExportTest, FramesOnlyWhenExportedAndPicturesOfNonTextObjects) {
  TvtMemoView& memo = AddText("Framed", 20, "x");
  memo.FrameTyp = kFrameAll;
  memo.FrameWidth = 3;
  memo.FrameColor = 0xFF;
  memo.FillColor = 0xFF00;
  TvtMemoView& rotated = AddText("Up", 60, "up", 60, 10, 20);
  rotated.Alignment = vttaVertical;
  auto picture = std::make_unique<TvtPictureView>();
  picture->Name = "Picture1";
  picture->SetBounds(200, 20, 40, 30);
  page().Add(std::move(picture));

  RecordingExport with_frames;
  Export(with_frames);
  const auto& records = with_frames.data[0];
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].FrameTyp, kFrameAll);
  EXPECT_EQ(records[0].FrameWidth, 3);
  EXPECT_EQ(records[0].FrameColor, 0xFF);
  EXPECT_EQ(records[0].FillColor, 0xFF00);
  EXPECT_TRUE(records[1].RotatedText);
  ASSERT_TRUE(records[1].Image);  // a rotated text is a picture
  EXPECT_EQ(records[1].Image->width(), 21);
  EXPECT_EQ(records[1].Image->height(), 61);
  ASSERT_TRUE(records[2].Image);
  EXPECT_EQ(records[2].Image->width(), 41);
  // Rotated texts give no text records; the framed memo gives its one character.
  ASSERT_EQ(with_frames.texts[0].size(), 1u);
  EXPECT_EQ(with_frames.texts[0][0].Text, "x");

  // An object no page could hold is not drawn into a picture.
  auto huge = std::make_unique<TvtPictureView>();
  huge->Name = "Huge";
  huge->SetBounds(0, 0, 5000, 5000);
  EXPECT_FALSE(RenderObjectPicture(*huge));

  RecordingExport without;
  without.ExportFrames = false;
  without.ExportImages = false;
  Export(without);
  const TOxvtDataRec& plain = without.data[0][0];
  EXPECT_EQ(plain.FrameTyp, 0);
  EXPECT_EQ(plain.FrameWidth, 0);
  EXPECT_EQ(plain.FillColor, 0);
  EXPECT_FALSE(without.data[0][1].Image);
  EXPECT_FALSE(without.data[0][2].Image);
}

TEST_F(DocumentExportTest, CharacterRecordsFollowTheLineLayout) {
  AddText("Plain", 20, "ab" + utf8_to_ansi("가")).CharSpacing = 3;
  TvtMemoView& narrow = AddText("Narrow", 40, "cd");
  narrow.CharWidth = 50;
  RecordingExport filter;
  Export(filter);
  const auto& texts = filter.texts[0];
  ASSERT_EQ(texts.size(), 5u);
  const auto font = globals().fonts->font(FontSelection{"Arial", -13});
  // Each character advances by its width plus the spacing; a double-byte one is one record.
  EXPECT_EQ(texts[0].Text, "a");
  EXPECT_EQ(texts[0].X, 10 + 2);  // after the horizontal gap
  EXPECT_EQ(texts[0].TextWidth, font->char_width("a"));
  EXPECT_EQ(texts[1].X, texts[0].X + font->char_width("a") + 3);
  EXPECT_EQ(texts[2].Text, utf8_to_ansi("가"));
  EXPECT_EQ(texts[2].X, texts[1].X + font->char_width("b") + 3);
  EXPECT_EQ(texts[2].TextHeight, font->metrics().height);
  EXPECT_EQ(texts[2].CharSpacing, 3);
  // A narrowed memo advances by the scaled width.
  EXPECT_EQ(texts[3].TextScale, 50);
  EXPECT_EQ(texts[4].X, texts[3].X + font->char_width("c") * 0.5);
}

TEST_F(DocumentExportTest, JustifiedLinesSpreadTheirCharacters) {
  TvtMemoView& one = AddText("One", 20, "i", 18, 10, 100);
  one.Alignment = vttaJustify;
  TvtMemoView& three = AddText("Three", 40, "abc", 18, 10, 100);
  three.Alignment = vttaJustify;
  TvtMemoView& spaced = AddText("Spaced", 60, "abc", 18, 10, 100);
  spaced.Alignment = vttaJustify;
  spaced.CharSpacing = 5;
  RecordingExport filter;
  Export(filter);
  const auto& texts = filter.texts[0];
  ASSERT_EQ(texts.size(), 7u);
  const auto font = globals().fonts->font(FontSelection{"Arial", -13});
  const int left = 10;
  const int right = left + 100 + 1;  // DrawRect.right of a frameless memo
  const int gap_x = 2;
  // One character: centred by half of the whole gap.
  const int free_one = right - left - font->char_width("i") - 2 * gap_x;
  EXPECT_EQ(texts[0].X, left + gap_x + free_one / 2.0);
  // Several: the last one ends flush at the right, the others spread by an even gap.
  const int width = font->text_width("abc");
  const double g = std::nearbyint((right - left - width - 2.0 * gap_x) / 2);
  EXPECT_EQ(texts[2].X, texts[1].X + font->char_width("a") + g);
  EXPECT_EQ(texts[3].X, right - font->char_width("c") - gap_x);
  // Character spacing is part of each step, not added on top of the spread: the characters
  // land where they do without it.
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(texts[3 + i].X, texts[i].X) << i;
}

TEST_F(DocumentExportTest, WholeLinesDropALastLineTheObjectCuts) {
  // Two lines of 15 pixels in an object 20 high: the second starts at 16 and its 0.8 share
  // ends below the bottom.
  AddText("Cut", 20, "one", 20).Memo = {"one", "two"};
  RecordingExport whole(true);
  Export(whole);
  ASSERT_EQ(whole.texts[0].size(), 1u);
  EXPECT_EQ(whole.texts[0][0].Text, "one");
  EXPECT_GT(whole.texts[0][0].TextWidth, 0);

  RecordingExport characters;
  Export(characters);
  ASSERT_EQ(characters.texts[0].size(), 6u);
  EXPECT_EQ(characters.texts[0][5].Text, "o");
}

TEST(DocumentAlignmentTest, MemoAlignmentCodesBecomeBits) {
  const std::vector<std::pair<int, int>> cases = {{0, 5},   {1, 6},   {2, 36},  {3, 20}, {8, 65},
                                                  {9, 66},  {10, 96}, {11, 80}, {16, 9}, {17, 10},
                                                  {18, 40}, {19, 24}, {4, 0},   {7, 0},  {12, 0}};
  for (auto [code, bits] : cases) EXPECT_EQ(DocumentAlignment(code), bits) << code;
}

TEST(ExportRoutinesTest, FileNamesColoursTruncationAndReplacing) {
  EXPECT_EQ(PageFileName("/out/report.html", 3, "jpg"), "report0003.jpg");
  EXPECT_EQ(PictureFileName("/out/report.html", 12, "gif"), "report_I0012.gif");
  EXPECT_EQ(IncludeTrailingSeparator("/out"), "/out/");
  EXPECT_EQ(IncludeTrailingSeparator("/out/"), "/out/");
  EXPECT_EQ(ColorToHex(0x0000FF), "FF0000");
  EXPECT_EQ(ColorToHex(static_cast<int32_t>(0x8000000F)), "F0F0F0");
  EXPECT_EQ(ReplaceAllIgnoreCase("a<B>b<b>", "<b>", "*"), "a*b*");
  EXPECT_EQ(ReplaceAllIgnoreCase("abc", "", "*"), "abc");

  struct Case {
    std::string text;
    double width, text_width;
    std::string expected;
  };
  const std::string ga = "\xB0\xA1";  // one double-byte character
  for (const Case& c : {Case{"abcdef", 50, 100, "abc"}, Case{"abcdef", 51, 100, "abcd"},
                        Case{"abcdef", 100, 50, "abcdef"}, Case{"abcdef", 0, 100, ""},
                        Case{"a" + ga, 50, 100, "a"}, Case{"abc", 10, 0, "abc"}})
    EXPECT_EQ(TruncateProportionally(c.text, c.width, c.text_width), c.expected)
        << c.text << " " << c.width;
}

class ExportDialogTest : public testing_support::EngineTest {};

TEST_F(ExportDialogTest, PdfDialogShowsAndCopiesBackTheOptions) {
  TOxvtPDFExport pdf;
  pdf.Title = "Title";
  pdf.CompressionMethod = cmNormal;
  pdf.Author = "Author";
  TOxvtPDFExportDialog dialog(pdf);
  EXPECT_EQ(dialog.Caption, "PDF Export Options");
  EXPECT_EQ(dialog.ImageFormats, (std::vector<std::string>{"JPG", "BMP"}));
  EXPECT_EQ(dialog.CompressionLevels, (std::vector<std::string>{"Fastest", "Normal", "Maximum"}));
  EXPECT_EQ(dialog.TitleCaption, "Title");
  EXPECT_EQ(dialog.SubjectCaption, "Subject");
  dialog.Show();
  EXPECT_EQ(dialog.edTitle, "Title");
  EXPECT_EQ(dialog.edAuthor, "Author");
  EXPECT_EQ(dialog.cbCompressionLevel, cmNormal);
  EXPECT_EQ(dialog.PdfModeCaption, "PDF Mode");
  EXPECT_EQ(dialog.PdfModes[static_cast<size_t>(dialog.cbPdfMode)], "Portable (fonts embedded)");
  EXPECT_EQ(dialog.ImageFormats[static_cast<size_t>(dialog.cbImageFormat)], "BMP");
  EXPECT_FALSE(dialog.QualityEnabled());  // only JPEG has a quality

  dialog.cbImageFormat = 0;  // JPG
  EXPECT_TRUE(dialog.QualityEnabled());
  dialog.chkExportImages = false;
  EXPECT_FALSE(dialog.QualityEnabled());
  EXPECT_FALSE(dialog.ImageGroupEnabled());
  dialog.edJPEGQuality = "75";
  dialog.edSubject = "Subject";
  dialog.cbCompressionLevel = cmFastest;
  dialog.chkCompressDocument = false;
  dialog.cbPdfMode = pmClassic;
  dialog.OkClick();
  EXPECT_EQ(pdf.PdfMode, pmClassic);
  EXPECT_EQ(pdf.ExportImageFormat(), ifJPG);
  EXPECT_FALSE(pdf.ExportImages);
  EXPECT_EQ(pdf.JPEGQuality, 75);
  EXPECT_EQ(pdf.Subject, "Subject");
  EXPECT_EQ(pdf.CompressionMethod, cmFastest);
  EXPECT_TRUE(pdf.UseCompression);  // the check box does not switch compression
  EXPECT_TRUE(TOxvtExportDialog::AcceptsQualityKey('7'));
  EXPECT_TRUE(TOxvtExportDialog::AcceptsQualityKey('\b'));
  EXPECT_FALSE(TOxvtExportDialog::AcceptsQualityKey('x'));
}

TEST_F(ExportDialogTest, WithoutAWindowTheDialogAnswersOkAndChangesNothing) {
  TOxvtPDFExport pdf;
  EXPECT_EQ(pdf.ShowModal(), 1);
  EXPECT_EQ(pdf.Author, "");

  int shown = 0;
  pdf.DialogPresenter = [&](TOxvtExportDialog& dialog) {
    ++shown;
    dialog.edAuthor = "Typed";
    return 2;  // cancelled: nothing copied
  };
  EXPECT_EQ(pdf.ShowModal(), 2);
  EXPECT_EQ(pdf.Author, "");
  pdf.ShowDialog = false;
  EXPECT_EQ(pdf.ShowModal(), 1);
  EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace zr
