#pragma once
// TvtSubReportView: a placeholder that prints another form page where it stands.

#include <cstdint>

#include "engine/model/view.h"

namespace zr {

class TvtSubReportView : public TvtView {
 public:
  TvtSubReportView();

  std::string ClassName() const override { return "TvtSubReportView"; }

  // Design mode only: a white box with the name.
  void Draw(Canvas& canvas) override;
  // The common record, then SubPage as int32.
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  int32_t SubPage = 0;  // index of the form page this subreport prints
};

}  // namespace zr
