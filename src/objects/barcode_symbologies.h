#pragma once
// The element codes of each symbology (see barcode.h for the codes). Internal to TvtBarcode.

#include <string>

namespace zr::barcode {

struct EncodeInput {
  int type;
  std::string& text;  // may be changed: fitted lengths, added check digits
  bool checksum;
  int checksum_method;
};

// Raises BarcodeError for texts the symbology refuses.
std::string EncodeSymbology(const EncodeInput& input);

}  // namespace zr::barcode
