#include "platform/metafile/metafile_record.h"

namespace zr::mf {

namespace {

struct Namer {
  const char* operator()(const SetPen&) const { return "set_pen"; }
  const char* operator()(const SetBrush&) const { return "set_brush"; }
  const char* operator()(const SetFont&) const { return "set_font"; }
  const char* operator()(const SetTextColor&) const { return "set_text_color"; }
  const char* operator()(const SetBkMode&) const { return "set_bk_mode"; }
  const char* operator()(const SetBkColor&) const { return "set_bk_color"; }
  const char* operator()(const SetCharExtra&) const { return "set_text_char_extra"; }
  const char* operator()(const SetJustification&) const { return "set_text_justification"; }
  const char* operator()(const SaveState&) const { return "save_state"; }
  const char* operator()(const RestoreState&) const { return "restore_state"; }
  const char* operator()(const IntersectClipRect&) const { return "intersect_clip_rect"; }
  const char* operator()(const IntersectClipRegion&) const { return "intersect_clip_region"; }
  const char* operator()(const MoveTo&) const { return "move_to"; }
  const char* operator()(const LineTo&) const { return "line_to"; }
  const char* operator()(const Polyline&) const { return "polyline"; }
  const char* operator()(const Rectangle&) const { return "rectangle"; }
  const char* operator()(const FillRect&) const { return "fill_rect"; }
  const char* operator()(const Ellipse&) const { return "ellipse"; }
  const char* operator()(const RoundRect&) const { return "round_rect"; }
  const char* operator()(const Polygon&) const { return "polygon"; }
  const char* operator()(const FloodFill&) const { return "flood_fill"; }
  const char* operator()(const TextOut&) const { return "text_out"; }
  const char* operator()(const StretchDraw&) const { return "stretch_draw"; }
};

}  // namespace

const char* record_name(const Record& record) {
  return std::visit(Namer{}, record);
}

}  // namespace zr::mf
