// The options dialogs of the text and CSV exports: what they show, what they carry back,
// and that a run without a window never waits for one.
#include "output/text/text_export_dialog.h"

#include <gtest/gtest.h>

#include "engine/engine_fixture.h"
#include "output/text/csv_export.h"
#include "output/text/text_export.h"

namespace zr {
namespace {

class TextExportDialogTest : public testing_support::EngineTest {};

TEST_F(TextExportDialogTest, TextDialogShowsTheFilterAndCarriesEditsBack) {
  TvtTextExport filter;
  filter.ScaleX = 1.5;
  filter.ExportFrames = true;
  TvtTXTExportForm form(filter);
  EXPECT_EQ(form.Caption, "TXT export options");
  EXPECT_EQ(form.CB1.Caption, "&Kill empty lines");
  EXPECT_EQ(form.CB2.Caption, "Convert to &DOS");
  EXPECT_EQ(form.CB3.Caption, "Export &frames");
  EXPECT_EQ(form.CB4.Caption, "Use DOS &pseudographic");
  EXPECT_EQ(form.CB5.Caption, "Insert page &breaks");
  EXPECT_EQ(form.ScaleLabel, "Scaling factor");
  EXPECT_EQ(form.OkCaption, "OK");
  EXPECT_EQ(form.CancelCaption, "Cancel");
  EXPECT_TRUE(form.CB1.Checked);
  EXPECT_TRUE(form.CB3.Checked);
  EXPECT_TRUE(form.CB4Enabled());
  EXPECT_EQ(form.E1.Text, "1.5");
  EXPECT_EQ(form.E2.Text, "1");

  form.CB3.Checked = false;
  EXPECT_FALSE(form.CB4Enabled());
  form.CB1.Checked = false;
  form.CB2.Checked = true;
  form.CB4.Checked = true;
  form.CB5.Checked = false;
  form.E1.Text = " 2.5 ";
  form.E2.Text = "0.75";
  form.ReadBack(filter);
  EXPECT_FALSE(filter.KillEmptyLines);
  EXPECT_TRUE(filter.ConvertToOEM);
  EXPECT_FALSE(filter.ExportFrames);
  EXPECT_TRUE(filter.UsePseudographic);
  EXPECT_FALSE(filter.PageBreaks);
  EXPECT_EQ(filter.ScaleX, 2.5);
  EXPECT_EQ(filter.ScaleY, 0.75);
}

TEST_F(TextExportDialogTest, ScaleThatIsNoNumberBecomesOne) {
  struct Case {
    const char* text;
    double scale;
  };
  const Case cases[] = {{"3", 3.0},   {"1E1", 10.0}, {"", 1.0},     {"abc", 1.0},
                        {"2,5", 1.0}, {"1.5x", 1.0}, {"1e999", 1.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseExportScale(c.text), c.scale);
  }
  // The locale's decimal separator is the one a person types.
  globals().format_settings.decimal_separator = ',';
  EXPECT_EQ(ParseExportScale("2,5"), 2.5);
  EXPECT_EQ(FormatExportScale(2.5), "2,5");
}

TEST_F(TextExportDialogTest, CsvDialogDelimiterTakesTheFirstCharacter) {
  TvtCSVExport filter;
  TvtCSVExportForm form(filter);
  EXPECT_EQ(form.Caption, "CSV export options");
  EXPECT_EQ(form.DelimiterLabel, "&CSV delimiter");
  EXPECT_EQ(form.CB1.Caption, "&Kill empty lines");
  EXPECT_EQ(form.CB2.Caption, "Convert to &DOS");
  EXPECT_EQ(form.E3.Text, ";");

  form.E3.Text = "|,";
  form.E1.Text = "x";
  form.ReadBack(filter);
  EXPECT_EQ(filter.Delimiter, '|');
  EXPECT_EQ(filter.ScaleX, 1.0);
  form.E3.Text = "";
  form.ReadBack(filter);
  EXPECT_EQ(filter.Delimiter, '|');
}

TEST_F(TextExportDialogTest, ShowModalWithoutAWindowAnswersOk) {
  TvtTextExport text;
  text.ScaleX = 0.5;
  EXPECT_EQ(text.ShowModal(), 1);
  EXPECT_EQ(text.ScaleX, 0.5);  // the edits read back unchanged
  TvtCSVExport csv;
  csv.Delimiter = '\t';
  EXPECT_EQ(csv.ShowModal(), 1);
  EXPECT_EQ(csv.Delimiter, '\t');
  csv.ShowDialog = false;
  EXPECT_EQ(csv.ShowModal(), 1);
}

}  // namespace
}  // namespace zr
