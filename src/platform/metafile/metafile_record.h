#pragma once
// One recorded canvas call with its arguments. A metafile is a list of these; playing it calls
// the same canvas operations in the same order. Coordinates are the metafile's own device
// pixels (see Metafile::frame).

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/canvas/canvas.h"
#include "platform/graphics/bitmap.h"

namespace zr::mf {

struct SetPen {
  Pen pen;
  friend bool operator==(const SetPen&, const SetPen&) = default;
};
struct SetBrush {
  Brush brush;
  friend bool operator==(const SetBrush&, const SetBrush&) = default;
};
struct SetFont {
  FontSelection font;
  friend bool operator==(const SetFont&, const SetFont&) = default;
};
struct SetTextColor {
  Color color;
  friend bool operator==(const SetTextColor&, const SetTextColor&) = default;
};
struct SetBkMode {
  BkMode mode = BkMode::Opaque;
  friend bool operator==(const SetBkMode&, const SetBkMode&) = default;
};
struct SetBkColor {
  Color color;
  friend bool operator==(const SetBkColor&, const SetBkColor&) = default;
};
struct SetCharExtra {
  int extra = 0;
  friend bool operator==(const SetCharExtra&, const SetCharExtra&) = default;
};
struct SetJustification {
  int break_extra = 0;
  int break_count = 0;
  friend bool operator==(const SetJustification&, const SetJustification&) = default;
};
struct SaveState {
  friend bool operator==(const SaveState&, const SaveState&) = default;
};
struct RestoreState {
  friend bool operator==(const RestoreState&, const RestoreState&) = default;
};
struct IntersectClipRect {
  Rect rect;
  friend bool operator==(const IntersectClipRect&, const IntersectClipRect&) = default;
};
struct IntersectClipRegion {
  Region region;
  friend bool operator==(const IntersectClipRegion&, const IntersectClipRegion&) = default;
};
struct MoveTo {
  Point point;
  friend bool operator==(const MoveTo&, const MoveTo&) = default;
};
struct LineTo {
  Point point;
  friend bool operator==(const LineTo&, const LineTo&) = default;
};
struct Polyline {
  std::vector<Point> points;
  friend bool operator==(const Polyline&, const Polyline&) = default;
};
struct Rectangle {
  Rect rect;
  friend bool operator==(const Rectangle&, const Rectangle&) = default;
};
struct FillRect {
  Rect rect;
  friend bool operator==(const FillRect&, const FillRect&) = default;
};
struct Ellipse {
  Rect rect;
  friend bool operator==(const Ellipse&, const Ellipse&) = default;
};
struct RoundRect {
  Rect rect;
  int corner_width = 0;
  int corner_height = 0;
  friend bool operator==(const RoundRect&, const RoundRect&) = default;
};
struct Polygon {
  std::vector<Point> points;
  friend bool operator==(const Polygon&, const Polygon&) = default;
};
struct FloodFill {
  Point start;
  Color color;
  FloodFillType type = FloodFillType::Border;
  friend bool operator==(const FloodFill&, const FloodFill&) = default;
};

struct TextOut {
  Point origin;
  std::string text;  // ANSI bytes
  std::optional<Rect> rect;
  bool clipped = false;
  bool opaque = false;
  bool rtl_reading = false;
  std::vector<int> advances;  // as the caller gave them (may be empty or short)
  // One advance per character as the text was laid out when recorded: the given advances, or
  // the font's with character extra spacing and justification. The files store these.
  std::vector<int> widths;
  Rect bounds;  // what the text covers (with the opaque rectangle, within the clip rectangle)
  friend bool operator==(const TextOut&, const TextOut&) = default;
};

struct StretchDraw {
  Rect dest;
  std::shared_ptr<const Bitmap> bitmap;  // never null; shared by copies of the metafile
  friend bool operator==(const StretchDraw& a, const StretchDraw& b) {
    return a.dest == b.dest && *a.bitmap == *b.bitmap;
  }
};

using Record =
    std::variant<SetPen, SetBrush, SetFont, SetTextColor, SetBkMode, SetBkColor, SetCharExtra,
                 SetJustification, SaveState, RestoreState, IntersectClipRect, IntersectClipRegion,
                 MoveTo, LineTo, Polyline, Rectangle, FillRect, Ellipse, RoundRect, Polygon,
                 FloodFill, TextOut, StretchDraw>;

// "set_pen", "text_out", ...: for dumps and test messages.
const char* record_name(const Record& record);

}  // namespace zr::mf
