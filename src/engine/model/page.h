#pragma once
// Form pages: TvtPage holds a page's paper setup, dialog-window settings, script and views;
// TvtPages is the report's ordered list of them. Page geometry is in design pixels, paper in
// tenths of a millimetre. Pages own their views.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/view.h"
#include "engine/printer/printer_info.h"
#include "platform/byte_stream.h"
#include "platform/canvas/geometry.h"

namespace zr {

inline constexpr int32_t kDefaultBin = 0xFFFF;
inline constexpr int32_t kPaperCustomSize = 256;

// Asks the printer layer for a paper; when the printer does not take it (it keeps another
// paper, or fails), asks for a custom size of the same width and height with the default
// bin. Orientation 0 portrait, 1 landscape. The printer then holds what it could select.
void SelectPaper(int32_t size, int32_t width, int32_t height, uint8_t orientation, int32_t bin);

class TvtPage : public TvtObject {
 public:
  // A report page with the printer's default paper, portrait, default bin.
  TvtPage();
  ~TvtPage() override;

  // Script names (upper-cased here); margins read in run mode give the printable bounds.
  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  void RegisterProperties() override;

  // Selects the paper through the printer layer (SelectPaper), copies size, width, height and
  // orientation back and fills PrnInfo. Bin becomes kDefaultBin when the default bin (-1 or
  // 0xFFFF) was asked for, else the printer's bin.
  void SetPaper(int32_t size, int32_t width, int32_t height, uint8_t orientation, int32_t bin);
  // Left, top, right, bottom printable bounds in design pixels.
  Rect PrintableBounds() const;

  // Appends `view`, which the page then owns; returns it.
  TvtView* Add(std::unique_ptr<TvtView> view);
  TvtView* FindObject(std::string_view name) const;

  // The page record of the form file (after marker 255); `version` is the file's. Reading
  // ends with SetPaper; the page name of files older than 24 is left to the list
  // (TvtPages::FreePageName). Raises FormatError when the record ends early.
  void LoadFromStream(ByteReader& stream, int version);
  // Always the current layout (version 24).
  void SaveToStream(ByteWriter& stream) const;

  int32_t PageSize = 9;  // A4 until SetPaper
  int32_t PageWidth = 2100, PageHeight = 2970;
  int32_t LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
  uint8_t Orientation = 0;
  int32_t Bin = kDefaultBin;
  bool PrintToPrevPage = false;
  bool UseMargins = true;
  int32_t Columns = 0, ColumnGap = 0;
  uint8_t PageType = 0;  // 0 report page, 1 dialog page
  std::string Name;
  uint8_t BorderStyle = 3;
  std::string Caption = "Form";
  int32_t Color = kClBtnFace;
  int32_t DialogLeft = 220, DialogTop = 120, DialogWidth = 380, DialogHeight = 300;
  uint8_t Position = 4;
  TvtStrings Script;
  bool Visible = true;
  std::vector<std::unique_ptr<TvtView>> Objects;
  PrinterInfo PrnInfo;
  // Set by the band engine while it prepares.
  bool IsSubReportPage = false;
  // Hook for the band engine: the height its page footer takes while it prepares this page.
  // A script's bottom margin (run mode) then ends above the footer; 0 otherwise.
  int32_t PageFooterHeight = 0;

 private:
  // The fields scripts read and write as they are, by upper-case script name; null for
  // other names.
  int32_t* int_field(std::string_view name);
  uint8_t* byte_field(std::string_view name);
};

class TvtPages {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TvtPage& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
  const TvtPage& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  void Clear() { items_.clear(); }
  // Appends a report page with the printer's default paper.
  TvtPage& Add();
  // Moves page `from` to index `to`; ZorelError (Argument) for an index outside the list.
  void Move(int from, int to);
  // Draws every aligned view on the measuring canvas so that it takes its position; each
  // page is the current page while its views are drawn.
  void ApplyBandAlignments();
  // "Page" + the first number 1..10000 that no page's name uses; empty when all are taken.
  std::string FreePageName() const;

  std::vector<std::unique_ptr<TvtPage>>& pages() { return items_; }
  const std::vector<std::unique_ptr<TvtPage>>& pages() const { return items_; }

 private:
  std::vector<std::unique_ptr<TvtPage>> items_;
};

}  // namespace zr
