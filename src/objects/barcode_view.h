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
  // BarcodeError for texts the symbology refuses (other than non-numeric ones). A
  // two-dimensional code takes the size of its symbol (sides swapped at 90 and 270 degrees)
  // and shows no text beside it: the text is in the code.
  void Draw(Canvas& canvas) override;
  // A two-dimensional code whose text is empty or does not fit raises BarcodeError here, so
  // the report's error text names the object rather than the page drawing nothing.
  void WriteToPreparedPage(ByteWriter& stream) override;
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  // The barcode as the last Draw set it up (its Text is the one shown).
  const TvtBarcode& Barcode() const { return barcode_; }

  bool Checksum = true;
  bool ShowText = true;
  // Bit 0 (kCodePageText): two-dimensional codes carry the text in the engine's code page
  // instead of UTF-8. Readers that know only the one-dimensional types keep the byte as it is.
  uint8_t Reserved = 0;
  static constexpr uint8_t kCodePageText = 1;
  uint8_t BarType = bcCode39;
  int32_t Modul = 1;
  double Ratio = 2.0;
  double Angle = 0;

 private:
  void Draw2D(Canvas& canvas, const std::string& text);
  // The barcode set up for a two-dimensional code of `text` (ANSI).
  void Setup2D(const std::string& text);

  TvtBarcode barcode_;
};

}  // namespace zr
