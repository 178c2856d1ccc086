#include "objects/add_in_objects.h"

#include <memory>

#include "engine/report/tvt_globals.h"
#include "objects/barcode_view.h"

namespace zr {

TvtBarCodeObject::TvtBarCodeObject() {
  TvtGlobals::Get().add_ins.Register({TvtBarCodeView::kClassName,
                                      [] { return std::make_unique<TvtBarCodeView>(); },
                                      "VT_BARCODEVIEW", "55338"});
}

TvtBarCodeObject::~TvtBarCodeObject() {
  if (TvtGlobals* g = TvtGlobals::Find()) g->add_ins.Unregister(TvtBarCodeView::kClassName);
}

}  // namespace zr
