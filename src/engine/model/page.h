#pragma once
// Form pages: TvtPage holds a page's paper setup, dialog-window settings, script and views;
// TvtPages is the report's ordered list of them. Page geometry is in design pixels, paper in
// tenths of a millimetre. Pages own their views.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/model/view.h"
#include "engine/printer/printer_info.h"
#include "platform/byte_stream.h"
#include "platform/canvas/geometry.h"

namespace zr {

inline constexpr int32_t kDefaultBin = 0xFFFF;
inline constexpr int32_t kPaperCustomSize = 256;

class TvtPage : public TvtObject {
 public:
  // A report page with the printer's default paper, portrait, default bin.
  TvtPage();
  ~TvtPage() override;

  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  void RegisterProperties() override;

  // Selects the paper through the printer layer; a paper the printer refuses becomes a
  // custom size. Copies the result back and fills PrnInfo.
  void SetPaper(int32_t size, int32_t width, int32_t height, uint8_t orientation, int32_t bin);
  // Left, top, right, bottom printable bounds in design pixels.
  Rect PrintableBounds() const;

  // Appends `view`, which the page then owns; returns it.
  TvtView* Add(std::unique_ptr<TvtView> view);
  TvtView* FindObject(std::string_view name) const;

  // The page record of the form file (after marker 255); `version` is the file's.
  void LoadFromStream(ByteReader& stream, int version);
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
};

class TvtPages {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  TvtPage& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
  const TvtPage& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  void Clear() { items_.clear(); }
  // Appends a report page with the printer's default paper.
  TvtPage& Add();
  void Move(int from, int to);
  // Draws every aligned view on the measuring canvas so that it takes its position.
  void ApplyBandAlignments();

  std::vector<std::unique_ptr<TvtPage>>& pages() { return items_; }
  const std::vector<std::unique_ptr<TvtPage>>& pages() const { return items_; }

 private:
  std::vector<std::unique_ptr<TvtPage>> items_;
};

}  // namespace zr
