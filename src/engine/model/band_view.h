#pragma once
// TvtBandView: the design record of a band on a form page. The band engine turns it into a
// running band while a report is prepared; bands are never written to prepared pages. The
// band type lives in FrameTyp (masked to 7 bits); FormatText holds the data source of a data
// band or the condition of a group header.

#include <cstdint>
#include <string>

#include "engine/model/view.h"

namespace zr {

// Band type codes.
enum TvtBandType : int {
  btReportTitle = 0,
  btReportSummary = 1,
  btPageHeader = 2,
  btPageFooter = 3,
  btMasterHeader = 4,
  btMasterData = 5,
  btMasterFooter = 6,
  btDetailHeader = 7,
  btDetailData = 8,
  btDetailFooter = 9,
  btSubDetailHeader = 10,
  btSubDetailData = 11,
  btSubDetailFooter = 12,
  btOverlay = 13,
  btColumnHeader = 14,
  btColumnFooter = 15,
  btGroupHeader = 16,
  btGroupFooter = 17,
  btCrossHeader = 18,
  btCrossData = 19,
  btCrossFooter = 20,
  btChild = 21,
  btNone = 22,
};

// Flags bits of a band.
inline constexpr uint16_t kBandFormNewPage = 2;
inline constexpr uint16_t kBandPrintIfSubsetEmpty = 4;
inline constexpr uint16_t kBandBreaked = 8;
inline constexpr uint16_t kBandOnFirstPage = 16;
inline constexpr uint16_t kBandOnLastPage = 32;
inline constexpr uint16_t kBandRepeatHeader = 64;
inline constexpr uint16_t kBandPrintChildIfInvisible = 128;

// Cross bands (18-20) span the page height and are positioned horizontally.
constexpr bool IsCrossBandType(int type) {
  return type >= btCrossHeader && type <= btCrossFooter;
}
// The display name of a band type from the interface texts; "" for unknown codes.
std::string BandTypeName(int type);

class TvtBandView : public TvtView {
 public:
  TvtBandView();

  std::string ClassName() const override { return "TvtBandView"; }

  // Besides the view names: CHILDBAND, MASTER, the flag names, CONDITION, DATASOURCE,
  // COLUMNS, COLUMNGAP, COLUMNWIDTH, NEWCOLUMNAFTER; get EOF. Integers may arrive as
  // strings (raises ConversionError when they are not numeric).
  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  // NEXT, PRIOR, FIRST move the band's dataset: served by the running band.
  Value CallMethod(const std::string& name, const Value& p1, const Value& p2,
                   const Value& p3) override;
  // The table depends on the band type; enumerations list the other bands of the parent page.
  void RegisterProperties() override;

  // Design mode only: the band strip with its type name.
  void Draw(Canvas& canvas) override;
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;
  // The strip the band occupies on its page (full width, or full height for cross bands).
  Region GetClipRegion(bool enlarged) override;

  int BandType() const { return FrameTyp; }
  void SetBandType(int type) { FrameTyp = static_cast<uint16_t>(type & 0x7F); }
  bool IsCross() const { return IsCrossBandType(BandType()); }
  // The band's strip on its page: the page's printable width (height for cross bands);
  // without a page, the band's own rectangle.
  Rect BandRect() const;

  // --- Stored fields ---
  std::string ChildBand;  // name of the child band printed after this one
  int32_t Columns = 1;
  int32_t ColumnWidth = 200;
  int32_t ColumnGap = 20;
  int32_t NewColumnAfter = 1;
  std::string Master;  // name of the master data band
};

}  // namespace zr
