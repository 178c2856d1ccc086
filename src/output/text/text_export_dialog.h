#pragma once
// The options dialogs of the text and CSV exports as models: the captions, the fields the
// dialog edits and the rules that carry them back into the filter. A window toolkit shows
// them; without one (headless runs) the dialog closes at once with OK, so nothing blocks.

#include <string>

namespace zr {

class TvtTextExport;
class TvtCSVExport;

struct TvtDialogCheckBox {
  std::string Caption;
  bool Checked = false;
};

struct TvtDialogEdit {
  std::string Text;  // ANSI, as typed
};

// The dialog's modal results.
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

// A scale as the dialog reads it back: a number in the locale's notation, else 1.0.
double ParseExportScale(const std::string& text);
std::string FormatExportScale(double scale);

class TvtTXTExportForm {
 public:
  // Captions from the interface texts, fields from `filter`.
  explicit TvtTXTExportForm(const TvtTextExport& filter);

  std::string Caption, ScaleLabel, OkCaption, CancelCaption;
  TvtDialogCheckBox CB1;  // KillEmptyLines
  TvtDialogCheckBox CB2;  // ConvertToOEM
  TvtDialogCheckBox CB3;  // ExportFrames
  TvtDialogCheckBox CB4;  // UsePseudographic
  TvtDialogCheckBox CB5;  // PageBreaks
  TvtDialogEdit E1, E2;   // ScaleX, ScaleY

  // Pseudographic applies to frames only.
  bool CB4Enabled() const { return CB3.Checked; }
  // kModalOk or kModalCancel.
  int ShowModal();
  // Copies the check boxes and the scales (1.0 for a scale that is not a number).
  void ReadBack(TvtTextExport& filter) const;
};

class TvtCSVExportForm {
 public:
  explicit TvtCSVExportForm(const TvtCSVExport& filter);

  std::string Caption, ScaleLabel, DelimiterLabel, OkCaption, CancelCaption;
  TvtDialogCheckBox CB1;  // KillEmptyLines
  TvtDialogCheckBox CB2;  // ConvertToOEM
  TvtDialogEdit E1, E2;   // ScaleX, ScaleY
  TvtDialogEdit E3;       // Delimiter

  int ShowModal();
  // As the text dialog; a non-empty delimiter edit sets the delimiter to its first character.
  void ReadBack(TvtCSVExport& filter) const;
};

}  // namespace zr
