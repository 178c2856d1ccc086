#pragma once
// TvtBarCodeView: the report object that draws the first line of its text as a barcode
// (TvtBarcode), optionally with the text beside the bars. On a form the text is usually an
// expression in brackets; it is evaluated when the view is written to a prepared page, so
// prepared pages hold the value itself. Registered as an add-in by TvtBarCodeObject
// (add_in_objects.h).

#include <cstdint>
#include <string>

#include "engine/model/view.h"
#include "objects/barcode.h"

namespace zr {

class TvtBarCodeView : public TvtView {
 public:
  inline static const std::string kClassName = "TvtBarCodeView";
  // Drawn instead of texts not evaluated yet and of numeric texts that are no number.
  inline static const std::string kSampleText = "12345678";

  TvtBarCodeView();
  std::string ClassName() const override { return kClassName; }

  void RegisterProperties() override;
  // Sets Width (or Height at 90 and 270 degrees) to the code's width, then draws. Raises
  // BarcodeError for texts the symbology refuses (other than non-numeric ones).
  void Draw(Canvas& canvas) override;
  void WriteToPreparedPage(ByteWriter& stream) override;
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  // The barcode as the last Draw set it up (its Text is the one shown).
  const TvtBarcode& Barcode() const { return barcode_; }

  bool Checksum = true;
  bool ShowText = true;
  uint8_t Reserved = 0;
  uint8_t BarType = bcCode39;
  int32_t Modul = 1;
  double Ratio = 2.0;
  double Angle = 0;

 private:
  TvtBarcode barcode_;
};

}  // namespace zr
