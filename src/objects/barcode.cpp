#include "objects/barcode.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "objects/barcode_symbologies.h"
#include "platform/canvas/canvas.h"
#include "platform/rounding.h"

namespace zr {
namespace {

constexpr std::string_view kTypeNames[kBarcodeTypeCount] = {"2_5_interleaved",
                                                            "2_5_industrial",
                                                            "2_5_matrix",
                                                            "Code39",
                                                            "Code39 Extended",
                                                            "Code128A",
                                                            "Code128B",
                                                            "Code128C",
                                                            "Code93",
                                                            "Code93 Extended",
                                                            "MSI",
                                                            "PostNet",
                                                            "Codebar",
                                                            "EAN8",
                                                            "EAN13",
                                                            "UPC_A",
                                                            "UPC_E0",
                                                            "UPC_E1",
                                                            "UPC Supp2",
                                                            "UPC Supp5",
                                                            "EAN128A",
                                                            "EAN128B",
                                                            "EAN128C"};

// Symbologies whose widths are counted in modules or fixed: their Ratio is taken as it is.
bool keeps_ratio(int type) {
  switch (type) {
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCode93:
    case bcCode93Extended:
    case bcCodeMSI:
    case bcCodePostNet:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C:
      return true;
    default:
      return false;
  }
}

// A width held in a byte: only the low eight bits of the rounded value survive. Values past
// any integer (a huge or not-a-number Ratio) give 0 rather than undefined behaviour.
uint8_t byte_width(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 9.0e18) return 0;
  return static_cast<uint8_t>(static_cast<uint64_t>(round_half_even(value)));
}

int32_t round_i32(double v) {
  return round_half_even_to_int(v);
}

}  // namespace

std::string_view BarcodeTypeName(int type) {
  return type >= 0 && type < kBarcodeTypeCount ? kTypeNames[type] : std::string_view();
}

bool BarcodeTypeIsNumeric(int type) {
  switch (type) {
    case bcCode_2_5_interleaved:
    case bcCode_2_5_industrial:
    case bcCode_2_5_matrix:
    case bcCode128C:
    case bcCodeMSI:
    case bcCodePostNet:
    case bcCodeEAN8:
    case bcCodeEAN13:
    case bcCodeUPC_A:
    case bcCodeUPC_E0:
    case bcCodeUPC_E1:
    case bcCodeUPC_Supp2:
    case bcCodeUPC_Supp5:
    case bcCodeEAN128C:
      return true;
    default:
      return false;
  }
}

char Modulo10CheckDigit(std::string_view text) {
  int sum = 0;
  int weight = 3;
  for (size_t i = text.size(); i-- > 0;) {
    if (text[i] < '0' || text[i] > '9') continue;
    sum = (sum + (text[i] - '0') * weight) % 10;
    weight = weight == 3 ? 1 : 3;
  }
  return static_cast<char>('0' + (10 - sum) % 10);
}

void TvtBarcode::SetModul(int32_t modul) {
  if (modul >= 1 && modul < 50) modul_ = modul;
}

std::array<uint8_t, 4> TvtBarcode::Widths() {
  if (Typ == bcCode_2_5_matrix) {
    Ratio = std::isnan(Ratio) ? 2.25 : std::clamp(Ratio, 2.25, 3.0);
  } else if (!keeps_ratio(Typ)) {
    Ratio = std::isnan(Ratio) ? 2.0 : std::clamp(Ratio, 2.0, 3.0);
  }
  const uint8_t w0 = static_cast<uint8_t>(modul_);
  const uint8_t w1 = byte_width(modul_ * Ratio);
  return {w0, w1, static_cast<uint8_t>(w1 * 3 / 2), static_cast<uint8_t>(w1 * 2)};
}

int TvtBarcode::ElementWidth(char code, const std::array<uint8_t, 4>& widths) {
  if (code >= '0' && code <= '3') return widths[code - '0'];
  if (code >= '5' && code <= '8') return widths[code - '5'];
  if (code >= 'A' && code <= 'D') return widths[code - 'A'];
  throw BarcodeError(kClassName + ": internal Error");
}

std::string TvtBarcode::Encode() {
  Widths();
  std::string text = text_;
  if (BarcodeTypeIsNumeric(Typ)) {
    const size_t first = text.find_first_not_of(' ');
    text = first == std::string::npos ? std::string()
                                      : text.substr(first, text.find_last_not_of(' ') - first + 1);
    for (char c : text)
      if (c < '0' || c > '9') throw BarcodeError("Barcode must be numeric");
  }
  if (Typ < 0 || Typ >= kBarcodeTypeCount) throw BarcodeError(kClassName + ": wrong BarcodeType");
  std::string codes = barcode::EncodeSymbology({Typ, text, Checksum, CheckSumMethod});
  text_ = std::move(text);
  return codes;
}

int32_t TvtBarcode::Width() {
  const std::string codes = Encode();
  const std::array<uint8_t, 4> widths = Widths();
  int64_t sum = 0;
  for (char c : codes) sum += ElementWidth(c, widths);
  return static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX));
}

void TvtBarcode::SetWidth(int32_t wanted) {
  const int32_t current = Width();
  if (current > 0) SetModul(static_cast<int32_t>(int64_t{modul_} * wanted / current));
}

void TvtBarcode::DrawBarcode(Canvas& canvas) {
  const std::string codes = Encode();
  const std::array<uint8_t, 4> widths = Widths();
  int64_t total = 0;
  for (char c : codes) total += ElementWidth(c, widths);
  const double w = static_cast<double>(total), h = Height;
  const double radians = Angle * std::numbers::pi / 180.0;
  const double sa = std::sin(radians), ca = std::cos(radians);
  int32_t ox = Left, oy = Top;
  // Keep the turned figure at non-negative coordinates from the origin.
  if (sa >= 0 && ca >= 0) {
    oy += round_i32(sa * w);
  } else if (sa >= 0) {
    ox += -round_i32(ca * w);
    oy += round_i32(sa * w - ca * h);
  } else if (ca >= 0) {
    ox += -round_i32(sa * h);
  } else {
    ox += -round_i32(ca * w) - round_i32(sa * h);
    oy += -round_i32(ca * h);
  }
  auto turn = [&](double px, double py) {
    return Point{round_i32(px * ca + py * sa) + ox, round_i32(-px * sa + py * ca) + oy};
  };
  CanvasStateSaver saver(canvas);
  const zr::Color bar_color(static_cast<uint32_t>(ColorBar));
  const zr::Color space_color(static_cast<uint32_t>(Color));
  int64_t x = 0;
  for (char c : codes) {
    const int ew = ElementWidth(c, widths);
    const bool bar = c >= '5';
    const int32_t eh = c >= 'A' ? Height * 2 / 5 : Height;
    const zr::Color color = bar ? bar_color : space_color;
    canvas.set_pen(Pen{color, 1, PenStyle::Solid});
    canvas.set_brush(Brush::solid(color));
    const double left = static_cast<double>(x), right = static_cast<double>(x + ew - 1);
    const Point polygon[4] = {turn(left, 0), turn(left, eh), turn(right, eh), turn(right, 0)};
    canvas.polygon(polygon);
    x += ew;
  }
}

}  // namespace zr
