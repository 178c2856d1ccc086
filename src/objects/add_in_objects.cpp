#include "objects/add_in_objects.h"

#include <memory>

#include "engine/model/cross_view.h"
#include "engine/report/tvt_globals.h"
#include "objects/barcode_view.h"
#include "objects/check_box_view.h"
#include "objects/grid_view.h"
#include "objects/round_rect_view.h"
#include "objects/shape_view.h"

namespace zr {
namespace {

template <typename View>
void register_view(const char* picture, const char* hint) {
  TvtGlobals::Get().add_ins.Register(
      {View::kClassName, [] { return std::make_unique<View>(); }, picture, hint});
}

template <typename View>
void unregister_view() {
  if (TvtGlobals* g = TvtGlobals::Find()) g->add_ins.Unregister(View::kClassName);
}

}  // namespace

TGridObject::TGridObject() {
  register_view<TGridView>("TfrmGrid.Image1", "darUved");
}
TGridObject::~TGridObject() {
  unregister_view<TGridView>();
}

TvtBarCodeObject::TvtBarCodeObject() {
  register_view<TvtBarCodeView>("VT_BARCODEVIEW", "55338");
}
TvtBarCodeObject::~TvtBarCodeObject() {
  unregister_view<TvtBarCodeView>();
}

TvtShapeObject::TvtShapeObject() {
  register_view<TvtShapeView>("VT_SHAPE", "55226");
}
TvtShapeObject::~TvtShapeObject() {
  unregister_view<TvtShapeView>();
}

TvtCheckBoxObject::TvtCheckBoxObject() {
  register_view<TvtCheckBoxView>("VT_CHECKBOXVIEW", "55224");
}
TvtCheckBoxObject::~TvtCheckBoxObject() {
  unregister_view<TvtCheckBoxView>();
}

TvtRoundRectObject::TvtRoundRectObject() {
  register_view<TvtRoundRectView>("VT_ROUNDRECTVIEW", "55344");
}
TvtRoundRectObject::~TvtRoundRectObject() {
  unregister_view<TvtRoundRectView>();
}

TvtCrossObject::TvtCrossObject() {
  register_view<TvtCrossView>("VT_CROSSVIEW", "55340");
}
TvtCrossObject::~TvtCrossObject() {
  unregister_view<TvtCrossView>();
}

}  // namespace zr
