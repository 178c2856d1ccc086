#pragma once
// TGridView: a placeholder the host fills with a description of bands and text objects
// (MetaString, see grid_meta.h). Before each preparation pass it expands into real band and
// memo views on its page; columns that do not fit the paper's width go to continuation pages
// after its own page. The report puts its saved form back after the run, which undoes the
// expansion. The grid view itself is invisible.

#include <string>

#include "engine/model/view.h"

namespace zr {

class TvtReport;

inline constexpr uint16_t kFlagGrid = 0x4000;

class TGridView : public TvtView {
 public:
  inline static const std::string kClassName = "TGridView";

  TGridView();
  std::string ClassName() const override { return kClassName; }

  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  void RegisterProperties() override;
  void Draw(Canvas& canvas) override;
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  // Adds the bands and memos of MetaString to the form pages of GridReport (or of `report`
  // when the view was made without a current report). Raises ConversionError for a
  // non-numeric position, size, band type or colour, ZorelError when a continuation page
  // would lie more than one page past the form's last page.
  void ExpandGrid(TvtReport& report) override;

  TvtReport* GridReport = nullptr;
  std::string MetaString;
};

}  // namespace zr
