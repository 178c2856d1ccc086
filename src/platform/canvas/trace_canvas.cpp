#include "platform/canvas/trace_canvas.h"

#include <sstream>

#include "platform/codepage.h"
#include "platform/fonts/font.h"
#include "platform/fonts/font_resolver.h"
#include "platform/graphics/bitmap.h"

namespace zr {
namespace {

std::string rect_text(const Rect& r) {
  std::ostringstream out;
  out << r.left << ' ' << r.top << ' ' << r.right << ' ' << r.bottom;
  return out.str();
}

std::string points_text(std::span<const Point> points) {
  std::ostringstream out;
  for (const Point& p : points) out << ' ' << p.x << ' ' << p.y;
  return out.str();
}

std::string quoted(std::string_view utf8) {
  std::string text = "\"";
  for (char c : utf8) {
    if (c == '"' || c == '\\') text += '\\';
    text += c;
  }
  return text + '"';
}

std::string font_text(const FontSelection& font, int code_page) {
  std::ostringstream out;
  out << quoted(ansi_to_utf8(font.name, code_page)) << '/' << font.height << '/';
  if (font.bold()) out << 'b';
  if (font.italic()) out << 'i';
  if (font.underline()) out << 'u';
  if (font.strike_out()) out << 's';
  if (font.style == 0) out << '-';
  if (font.charset != kDefaultCharset) out << " charset=" << int{font.charset};
  if (font.escapement != 0) out << " esc=" << font.escapement;
  if (font.width != 0) out << " width=" << font.width;
  return out.str();
}

}  // namespace

TraceCanvas::TraceCanvas(std::shared_ptr<FontResolver> fonts, Rect device, Resolution resolution)
    : FontCanvas(std::move(fonts)), device_(device), resolution_(resolution) {}

void TraceCanvas::write(const std::string& call) {
  trace_ += call;
  if (state().clip) {
    trace_ += " clip=";
    const auto& rects = state().clip->rects();
    if (rects.empty()) trace_ += "empty";
    for (size_t i = 0; i < rects.size(); ++i) {
      const Rect& r = rects[i];
      if (i > 0) trace_ += ';';
      trace_ += std::to_string(r.left) + ',' + std::to_string(r.top) + ',' +
                std::to_string(r.right) + ',' + std::to_string(r.bottom);
    }
  }
  trace_ += '\n';
}

void TraceCanvas::line_to(Point p) {
  std::ostringstream out;
  Point from = state().position;
  out << "line " << from.x << ' ' << from.y << ' ' << p.x << ' ' << p.y << " pen=" << state().pen;
  write(out.str());
  Canvas::line_to(p);
}

void TraceCanvas::polyline(std::span<const Point> points) {
  std::ostringstream out;
  out << "polyline" << points_text(points) << " pen=" << state().pen;
  write(out.str());
}

void TraceCanvas::rectangle(const Rect& rect) {
  std::ostringstream out;
  out << "rectangle " << rect_text(rect) << " pen=" << state().pen << " brush=" << state().brush;
  write(out.str());
}

void TraceCanvas::fill_rect(const Rect& rect) {
  std::ostringstream out;
  out << "fill_rect " << rect_text(rect) << " brush=" << state().brush;
  write(out.str());
}

void TraceCanvas::ellipse(const Rect& rect) {
  std::ostringstream out;
  out << "ellipse " << rect_text(rect) << " pen=" << state().pen << " brush=" << state().brush;
  write(out.str());
}

void TraceCanvas::round_rect(const Rect& rect, int corner_width, int corner_height) {
  std::ostringstream out;
  out << "round_rect " << rect_text(rect) << ' ' << corner_width << ' ' << corner_height
      << " pen=" << state().pen << " brush=" << state().brush;
  write(out.str());
}

void TraceCanvas::polygon(std::span<const Point> points) {
  std::ostringstream out;
  out << "polygon" << points_text(points) << " pen=" << state().pen << " brush=" << state().brush;
  write(out.str());
}

void TraceCanvas::flood_fill(Point start, Color color, FloodFillType type) {
  std::ostringstream out;
  out << "flood_fill " << start.x << ' ' << start.y << ' ' << color << ' '
      << (type == FloodFillType::Border ? "border" : "surface") << " brush=" << state().brush;
  write(out.str());
}

void TraceCanvas::text_out(Point origin, std::string_view text, const TextOutParams& params) {
  const CanvasState& s = state();
  std::ostringstream out;
  out << "text_out " << origin.x << ' ' << origin.y << ' '
      << quoted(ansi_to_utf8(text, current_font().code_page()))
      << " font=" << font_text(s.font, fonts()->code_page()) << " color=" << s.text_color << " bk=";
  if (s.bk_mode == BkMode::Opaque) {
    out << "opaque:" << s.bk_color;
  } else {
    out << "transparent";
  }
  if (s.char_extra != 0) out << " extra=" << s.char_extra;
  if (s.break_count != 0) out << " justify=" << s.break_extra << '/' << s.break_count;
  if (params.rect) out << " rect=" << rect_text(*params.rect);
  if (params.clipped) out << " clipped";
  if (params.opaque) out << " opaque";
  if (params.rtl_reading) out << " rtl";
  if (!params.advances.empty()) {
    out << " advances=";
    for (size_t i = 0; i < params.advances.size(); ++i) {
      out << (i ? "," : "") << params.advances[i];
    }
  }
  write(out.str());
}

void TraceCanvas::stretch_draw(const Rect& dest, const Bitmap& bitmap) {
  std::ostringstream out;
  out << "stretch_draw " << rect_text(dest) << " bitmap=" << bitmap.width() << 'x'
      << bitmap.height();
  write(out.str());
}

}  // namespace zr
