#include "objects/barcode_matrix.h"

#include <zint.h>

#include <cmath>
#include <memory>
#include <string>

#include "objects/barcode.h"

namespace zr::barcode {

namespace {

struct SymbolDeleter {
  void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

struct Symbology {
  int zint_type;
  int quiet;  // modules
};

Symbology symbology_of(int type) {
  switch (type) {
    case bcCodeQR:
      return {BARCODE_QRCODE, 4};
    case bcCodeDataMatrix:
      return {BARCODE_DATAMATRIX, 1};
    default:
      return {BARCODE_PDF417, 2};
  }
}

bool plain_ascii(std::string_view bytes) {
  for (unsigned char c : bytes)
    if (c >= 0x80) return false;
  return true;
}

// The ECI number that names a code page's character set; 0 when there is none to name.
int eci_of_code_page(int code_page) {
  switch (code_page) {
    case 949:
      return 30;  // KS X 1001 (EUC-KR), of which CP949's common characters are the same bytes
    case 932:
      return 20;
    case 936:
      return 29;
    case 950:
      return 28;
    case 1252:
      return 3;
    default:
      return 0;
  }
}

}  // namespace

int ModuleMatrix::total_height() const {
  int total = 0;
  for (int h : row_heights) total += h;
  return total;
}

ModuleMatrix EncodeMatrix(int type, std::string_view bytes, TextEncoding encoding, int code_page) {
  const std::string name(BarcodeTypeName(type));
  if (bytes.empty()) throw BarcodeError(name + ": the text is empty");
  // Far beyond what any of the three holds; libzint need not be asked.
  constexpr size_t kMaxBytes = 8000;
  const auto too_long = [&] {
    return BarcodeError(name + ": the text is too long to encode (" + std::to_string(bytes.size()) +
                        " bytes)");
  };
  if (bytes.size() > kMaxBytes) throw too_long();

  const Symbology symbology = symbology_of(type);
  std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
  if (!symbol) throw BarcodeError(name + ": out of memory");
  symbol->symbology = symbology.zint_type;
  symbol->input_mode = DATA_MODE;  // the bytes as they are; the ECI says how to read them
  if (!plain_ascii(bytes))
    symbol->eci = encoding == TextEncoding::Utf8 ? 26 : eci_of_code_page(code_page);
  const int status =
      ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
                      static_cast<int>(bytes.size()));
  if (status >= ZINT_ERROR) {
    if (status == ZINT_ERROR_TOO_LONG) throw too_long();
    throw BarcodeError(name + ": " + symbol->errtxt);
  }

  ModuleMatrix matrix;
  matrix.rows = symbol->rows;
  matrix.columns = symbol->width;
  matrix.quiet = symbology.quiet;
  matrix.dark.resize(static_cast<size_t>(matrix.rows) * static_cast<size_t>(matrix.columns));
  for (int r = 0; r < matrix.rows; ++r) {
    // PDF417 rows are three modules high, the height the symbology recommends; the
    // other two have square modules.
    const float h = symbol->row_height[r];
    matrix.row_heights.push_back(h >= 1                 ? static_cast<int>(std::lround(h))
                                 : type == bcCodePDF417 ? 3
                                                        : 1);
    for (int c = 0; c < matrix.columns; ++c)
      matrix.dark[static_cast<size_t>(r) * static_cast<size_t>(matrix.columns) +
                  static_cast<size_t>(c)] = (symbol->encoded_data[r][c >> 3] >> (c & 7)) & 1;
  }
  return matrix;
}

}  // namespace zr::barcode
