#pragma once
// TvtCheckBoxView: a box that shows a cross or a check mark when the value of its expression
// (the first line of Memo) is true. The expression is evaluated when the view is written to
// a prepared page, so a prepared page holds a number: "0" for false, anything else for true.

#include <cstdint>
#include <string>

#include "engine/model/view.h"

namespace zr {

enum TvtCheckStyle : uint8_t { csCross = 0, csCheck = 1 };

class TvtCheckBoxView : public TvtView {
 public:
  inline static const std::string kClassName = "TvtCheckBoxView";

  // Also sets the constants "csCross" and "csCheck" of the running engine.
  TvtCheckBoxView();
  std::string ClassName() const override { return kClassName; }

  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  void RegisterProperties() override;
  void Draw(Canvas& canvas) override;
  void WriteToPreparedPage(ByteWriter& stream) override;
  void ExportTo() override;
  // Records of stream version 23 and older end with the common record.
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  // Whether `memo` asks for the mark: a first line that is not empty and does not begin
  // with "0".
  static bool Checked(const TvtStrings& memo);

  uint8_t CheckStyle = csCross;
  int32_t CheckColor = 0;
};

}  // namespace zr
