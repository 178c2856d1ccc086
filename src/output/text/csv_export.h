#pragma once
// TvtCSVExport: the page as delimiter-separated values. Lines are collected as by the text
// export; each distinct left edge of the page becomes a column (in the order of the
// five-digit texts of the positions), each row with text a line whose field k + 1 holds
// column k, texts in double quotes.

#include "output/text/text_export.h"

namespace zr {

class TvtCSVExport : public TvtTextExport {
 public:
  // Registers as "CSV File (*.csv)".
  TvtCSVExport();

  char Delimiter = ';';

  int ShowModal() override;
  void OnEndPage() override;
};

}  // namespace zr
