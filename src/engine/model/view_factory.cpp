#include "engine/model/view_factory.h"

#include "engine/model/band_view.h"
#include "engine/model/line_view.h"
#include "engine/model/memo_view.h"
#include "engine/model/picture_view.h"
#include "engine/model/subreport_view.h"
#include "engine/report/tvt_globals.h"
#include "platform/codepage.h"

namespace zr {

static std::unique_ptr<TvtView> create_builtin(uint8_t type) {
  switch (type) {
    case kObjMemo:
      return std::make_unique<TvtMemoView>();
    case kObjPicture:
      return std::make_unique<TvtPictureView>();
    case kObjBand:
      return std::make_unique<TvtBandView>();
    case kObjSubReport:
      return std::make_unique<TvtSubReportView>();
    case kObjLine:
      return std::make_unique<TvtLineView>();
    default:
      return nullptr;
  }
}

std::unique_ptr<TvtView> CreateView(uint8_t type, const std::string& class_name) {
  TvtGlobals& g = TvtGlobals::Get();
  std::unique_ptr<TvtView> view;
  if (upper_ascii(class_name) == "TVTMEMOVIEW") {
    view = std::make_unique<TvtMemoView>();
  } else if (type == kObjAddIn) {
    const TvtAddInObjectInfo* info = g.add_ins.Find(class_name);
    if (!info) {
      g.missing_classes = true;
      g.missing_classes_message += class_name + "\r";
      throw ClassNotFoundError("Class " + class_name + " not found");
    }
    view = info->create();
    view->ObjectType = kObjAddIn;
  } else {
    view = create_builtin(type);
  }
  if (view) view->ObjectId = ++g.next_object_id;
  return view;
}

}  // namespace zr
