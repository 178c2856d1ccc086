// The options dialogs of the character-based exports.
#include "output/text/text_export_dialog.h"

#include "engine/locale/locale_strings.h"
#include "engine/report/tvt_globals.h"
#include "output/text/csv_export.h"
#include "output/text/text_export.h"
#include "platform/number_text.h"

namespace zr {

namespace {

const FormatSettings& Settings() {
  const TvtGlobals* g = TvtGlobals::Find();
  return g ? g->format_settings : FormatSettings::defaults();
}

}  // namespace

double ParseExportScale(const std::string& text) {
  return try_str_to_float(text, Settings()).value_or(1.0);
}

std::string FormatExportScale(double scale) {
  return float_to_str(scale, Settings());
}

TvtTXTExportForm::TvtTXTExportForm(const TvtTextExport& filter)
    : Caption(LoadStr(kStrTxtExportCaption)),
      ScaleLabel(LoadStr(kStrScalingFactor)),
      OkCaption(LoadStr(kStrOk)),
      CancelCaption(LoadStr(kStrCancel)),
      CB1{LoadStr(kStrKillEmptyLines), filter.KillEmptyLines},
      CB2{LoadStr(kStrConvertToDos), filter.ConvertToOEM},
      CB3{LoadStr(kStrExportFrames), filter.ExportFrames},
      CB4{LoadStr(kStrUsePseudographic), filter.UsePseudographic},
      CB5{LoadStr(kStrInsertPageBreaks), filter.PageBreaks},
      E1{FormatExportScale(filter.ScaleX)},
      E2{FormatExportScale(filter.ScaleY)} {}

// No toolkit offers this dialog yet (UiServices has no call for it): it closes with OK.
int TvtTXTExportForm::ShowModal() {
  return kModalOk;
}

void TvtTXTExportForm::ReadBack(TvtTextExport& filter) const {
  filter.KillEmptyLines = CB1.Checked;
  filter.ConvertToOEM = CB2.Checked;
  filter.ExportFrames = CB3.Checked;
  filter.UsePseudographic = CB4.Checked;
  filter.PageBreaks = CB5.Checked;
  filter.ScaleX = ParseExportScale(E1.Text);
  filter.ScaleY = ParseExportScale(E2.Text);
}

TvtCSVExportForm::TvtCSVExportForm(const TvtCSVExport& filter)
    : Caption(LoadStr(kStrCsvExportCaption)),
      ScaleLabel(LoadStr(kStrScalingFactor)),
      DelimiterLabel(LoadStr(kStrCsvDelimiter)),
      OkCaption(LoadStr(kStrOk)),
      CancelCaption(LoadStr(kStrCancel)),
      CB1{LoadStr(kStrKillEmptyLines), filter.KillEmptyLines},
      CB2{LoadStr(kStrConvertToDos), filter.ConvertToOEM},
      E1{FormatExportScale(filter.ScaleX)},
      E2{FormatExportScale(filter.ScaleY)},
      E3{std::string(1, filter.Delimiter)} {}

int TvtCSVExportForm::ShowModal() {
  return kModalOk;
}

void TvtCSVExportForm::ReadBack(TvtCSVExport& filter) const {
  filter.KillEmptyLines = CB1.Checked;
  filter.ConvertToOEM = CB2.Checked;
  filter.ScaleX = ParseExportScale(E1.Text);
  filter.ScaleY = ParseExportScale(E2.Text);
  if (!E3.Text.empty()) filter.Delimiter = E3.Text.front();
}

}  // namespace zr
