#pragma once
// TvtBarcode: turns a text into the bars and spaces of one of 23 one-dimensional symbologies,
// or into the module matrix of one of three two-dimensional ones (QR Code, Data Matrix,
// PDF417; barcode_matrix.h), and draws them, optionally rotated, on a canvas. A plain value holding
// its settings; it knows nothing of reports (TvtBarCodeView puts it on a page).
//
// An encoding is a string of element codes drawn left to right, each one bar or space:
// "0"-"3" spaces of widths w0-w3, "5"-"8" full-height bars, "A"-"D" bars of 2/5 of the height.
// The widths come from Modul and Ratio (see Widths()).
//
// Errors are raised as BarcodeError with the texts users see ("Barcode must be numeric",
// "Invalid Text len (EAN13)", ...).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "objects/barcode_matrix.h"
#include "platform/errors.h"

namespace zr {

class Canvas;

class BarcodeError : public ZorelError {
 public:
  explicit BarcodeError(const std::string& message) : ZorelError(message) {}
};

enum TvtBarcodeType : uint8_t {
  bcCode_2_5_interleaved = 0,
  bcCode_2_5_industrial,
  bcCode_2_5_matrix,
  bcCode39,
  bcCode39Extended,
  bcCode128A,
  bcCode128B,
  bcCode128C,
  bcCode93,
  bcCode93Extended,
  bcCodeMSI,
  bcCodePostNet,
  bcCodeCodabar,
  bcCodeEAN8,
  bcCodeEAN13,
  bcCodeUPC_A,
  bcCodeUPC_E0,
  bcCodeUPC_E1,
  bcCodeUPC_Supp2,
  bcCodeUPC_Supp5,
  bcCodeEAN128A,
  bcCodeEAN128B,
  bcCodeEAN128C,
  // Two-dimensional: drawn as a matrix of square modules (PDF417 rows are taller), with the
  // quiet zone the symbology wants, in Color.
  bcCodeQR,
  bcCodeDataMatrix,
  bcCodePDF417,
};
// The one-dimensional symbologies: types 0 to 22.
inline constexpr int kBarcodeTypeCount = 23;
// Every symbology, the two-dimensional ones included.
inline constexpr int kAllBarcodeTypeCount = 26;

enum TvtCheckSumMethod : uint8_t { csmNone = 0, csmModulo10 = 1 };

// The fixed display name of a symbology ("Code39", "UPC Supp2"); empty past the last one.
std::string_view BarcodeTypeName(int type);
// Whether the symbology accepts digits only.
bool BarcodeTypeIsNumeric(int type);
// QR Code, Data Matrix and PDF417.
bool BarcodeTypeIs2D(int type);
// The modulo-10 check digit of the digits of `text`, weighted 3, 1, 3, ... from the right.
// Other characters take no weight.
char Modulo10CheckDigit(std::string_view text);

class TvtBarcode {
 public:
  inline static const std::string kClassName = "TvtBarcode";

  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }
  // Any value is kept; numbers past the last symbology raise when encoding.
  int Typ = bcCodeEAN13;
  int32_t Modul() const { return modul_; }
  // Only 1-49 are taken; other values are ignored.
  void SetModul(int32_t modul);
  double Ratio = 2.0;
  bool Checksum = false;
  int CheckSumMethod = csmModulo10;
  double Angle = 0;  // degrees, counter-clockwise
  int32_t Left = 0, Top = 0;
  int32_t Height = 0;  // bar height in pixels; negative bars grow upwards
  int32_t Color = 0xFFFFFF;
  int32_t ColorBar = 0;
  // Two-dimensional codes only: Text is in the engine's code page (CodePage); the code
  // carries it as UTF-8 (TextUtf8, what phones expect) or as the code-page bytes themselves.
  bool TextUtf8 = true;
  int CodePage = 949;

  // The element codes of the text (none for a two-dimensional type, whose text is checked
  // by encoding its matrix). May change Text (an added check digit, a fitted length)
  // and Ratio (clamped for the symbology) as the symbology says. Raises BarcodeError.
  std::string Encode();
  // The sum of all element widths of the encoding; for a two-dimensional type the width of
  // the symbol and its quiet zone (Modul pixels per module).
  int32_t Width();
  // Two-dimensional types: the height of the symbol and its quiet zone; Height otherwise.
  int32_t SymbolHeight();
  // Rescales Modul to Modul x wanted / current (integer arithmetic).
  void SetWidth(int32_t wanted);
  // Encodes and draws at Left/Top, rotated by Angle; the canvas's pen and brush come back.
  void DrawBarcode(Canvas& canvas);
  // The module matrix of a two-dimensional type; raises BarcodeError for an empty text, one
  // too long for the symbology and the other refusals, naming the symbology.
  barcode::ModuleMatrix Matrix() const;

  // The widths w0-w3 of the element codes after clamping Ratio (each held in a byte).
  std::array<uint8_t, 4> Widths();
  // The width of one element code at `widths`; raises "TvtBarcode: internal Error" for a
  // code that is not one.
  static int ElementWidth(char code, const std::array<uint8_t, 4>& widths);

 private:
  std::string text_;
  int32_t modul_ = 1;
};

}  // namespace zr
