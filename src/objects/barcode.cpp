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

constexpr std::string_view kTypeNames[kAllBarcodeTypeCount] = {"2_5_interleaved",
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
                                                               "EAN128C",
                                                               "QR Code",
                                                               "Data Matrix",
                                                               "PDF417"};

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
  return type >= 0 && type < kAllBarcodeTypeCount ? kTypeNames[type] : std::string_view();
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

bool BarcodeTypeIs2D(int type) {
  return type >= bcCodeQR && type <= bcCodePDF417;
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
  if (Typ < 0 || Typ >= kAllBarcodeTypeCount)
    throw BarcodeError(kClassName + ": wrong BarcodeType");
  if (BarcodeTypeIs2D(Typ)) {
    Matrix();
    return {};
  }
  std::string codes = barcode::EncodeSymbology({Typ, text, Checksum, CheckSumMethod});
  text_ = std::move(text);
  return codes;
}

barcode::ModuleMatrix TvtBarcode::Matrix() const {
  if (!BarcodeTypeIs2D(Typ)) throw BarcodeError(kClassName + ": wrong BarcodeType");
  return barcode::EncodeMatrix(
      Typ, text_, TextUtf8 ? barcode::TextEncoding::Utf8 : barcode::TextEncoding::CodePage,
      CodePage);
}

namespace {

int32_t scaled(int64_t modules, int32_t modul) {
  return static_cast<int32_t>(std::min<int64_t>(modules * modul, INT32_MAX));
}

}  // namespace

int32_t TvtBarcode::SymbolHeight() {
  if (!BarcodeTypeIs2D(Typ)) return Height;
  const barcode::ModuleMatrix m = Matrix();
  return scaled(m.total_height() + 2 * m.quiet, modul_);
}

int32_t TvtBarcode::Width() {
  if (BarcodeTypeIs2D(Typ)) {
    const barcode::ModuleMatrix m = Matrix();
    return scaled(m.columns + 2 * m.quiet, modul_);
  }
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
  std::string codes;
  std::array<uint8_t, 4> widths{};
  barcode::ModuleMatrix matrix;
  int64_t total = 0;
  double h = Height;
  const bool two_d = BarcodeTypeIs2D(Typ);
  if (two_d) {
    matrix = Matrix();
    total = int64_t{matrix.columns + 2 * matrix.quiet} * modul_;
    h = static_cast<double>(int64_t{matrix.total_height() + 2 * matrix.quiet} * modul_);
  } else {
    codes = Encode();
    widths = Widths();
    for (char c : codes) total += ElementWidth(c, widths);
  }
  const double w = static_cast<double>(total);
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
  if (two_d) {
    // Each area is filled between its exact edges, so that at right angles neighbouring
    // modules share their edges: no seams, no overlaps. At other angles the corners are
    // rounded one by one and edges that should meet leave hairline seams, which an outline
    // of one pixel closes.
    const bool right_angle = std::fmod(Angle, 90.0) == 0;
    auto area = [&](double left, double top, double right, double bottom, const zr::Color& color) {
      canvas.set_pen(Pen{color, 1, right_angle ? PenStyle::Clear : PenStyle::Solid});
      canvas.set_brush(Brush::solid(color));
      const Point polygon[4] = {turn(left, top), turn(left, bottom), turn(right, bottom),
                                turn(right, top)};
      canvas.polygon(polygon);
    };
    // The light background with its quiet zone, then each run of dark modules of a row as
    // one area.
    area(0, 0, w, h, space_color);
    const double m = modul_;
    double y = matrix.quiet * m;
    for (int r = 0; r < matrix.rows; ++r) {
      const double rh = matrix.row_heights[static_cast<size_t>(r)] * m;
      for (int c = 0; c < matrix.columns;) {
        if (!matrix.is_dark(r, c)) {
          ++c;
          continue;
        }
        int end = c;
        while (end < matrix.columns && matrix.is_dark(r, end)) ++end;
        area((matrix.quiet + c) * m, y, (matrix.quiet + end) * m, y + rh, bar_color);
        c = end;
      }
      y += rh;
    }
    return;
  }
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
