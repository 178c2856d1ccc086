#pragma once
// The two-dimensional symbologies (QR Code, Data Matrix, PDF417): a text becomes a matrix of
// dark and light modules, encoded by libzint. Only the module matrix is taken from it; the
// drawing is ours (TvtBarcode::DrawBarcode), so the codes go through the canvas like every
// other object. TvtBarcode uses it; its tests read the matrix.

#include <cstdint>
#include <string_view>
#include <vector>

namespace zr::barcode {

struct ModuleMatrix {
  int rows = 0, columns = 0;
  std::vector<uint8_t> dark;     // rows x columns, row by row; 1 = dark module
  std::vector<int> row_heights;  // in modules (PDF417 rows are several modules high)
  int quiet = 0;                 // light modules the symbology wants around the symbol

  bool is_dark(int row, int column) const {
    return dark[static_cast<size_t>(row) * static_cast<size_t>(columns) +
                static_cast<size_t>(column)] != 0;
  }
  int total_height() const;  // in modules, without the quiet zone
};

// How the text's bytes are to be read by a scanner.
enum class TextEncoding {
  Utf8,      // the bytes are UTF-8; marked as such (ECI 26) when they are not plain ASCII
  CodePage,  // the engine's code-page bytes as they are (CP949: marked as ECI 30, KS X 1001)
};

// Raises BarcodeError "<name>: the text is empty", "<name>: the text is too long to encode
// (<n> bytes)" or "<name>: <libzint's reason>" for the other refusals.
ModuleMatrix EncodeMatrix(int type, std::string_view bytes, TextEncoding encoding, int code_page);

}  // namespace zr::barcode
