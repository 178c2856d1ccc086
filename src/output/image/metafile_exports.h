#pragma once
// The metafile picture formats: each page recorded as drawing calls at the display
// resolution and written as an enhanced metafile (EMF) or a placeable Windows metafile (WMF).

#include "output/image/graphic_export.h"

namespace zr {

class TOxvtEMFExport : public TOxvtGraphicExport {
 public:
  // Registers as "Enhanced Metafile (*.emf)".
  TOxvtEMFExport();

 protected:
  void WritePage(TvtEMFPages& pages, int index, int width, int height, std::ostream& out) override;
};

class TOxvtWMFExport : public TOxvtGraphicExport {
 public:
  // Registers as "Windows Metafile (*.wmf)".
  TOxvtWMFExport();

 protected:
  void WritePage(TvtEMFPages& pages, int index, int width, int height, std::ostream& out) override;
};

}  // namespace zr
