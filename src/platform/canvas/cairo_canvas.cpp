#include "platform/canvas/cairo_canvas.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <fontconfig/fontconfig.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "platform/errors.h"
#include "platform/fonts/font.h"
#include "platform/fonts/fontconfig_handles.h"
#include "platform/graphics/bitmap.h"

namespace zr {
namespace {

// GDI's cosmetic pen patterns, in pixels on and off.
std::span<const double> dash_pattern(PenStyle style) {
  static constexpr double kDash[] = {18, 6};
  static constexpr double kDot[] = {3, 3};
  static constexpr double kDashDot[] = {9, 6, 3, 6};
  static constexpr double kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case PenStyle::Dash:
      return kDash;
    case PenStyle::Dot:
      return kDot;
    case PenStyle::DashDot:
      return kDashDot;
    case PenStyle::DashDotDot:
      return kDashDotDot;
    default:
      return {};
  }
}

struct Vec {
  double x, y;
};

// The unit vector from a to b (zero when they coincide).
Vec direction(Point a, Point b) {
  double dx = b.x - a.x;
  double dy = b.y - a.y;
  double length = std::hypot(dx, dy);
  return length == 0 ? Vec{0, 0} : Vec{dx / length, dy / length};
}

cairo_surface_t* wrap_bitmap(const Bitmap& bitmap) {
  return cairo_image_surface_create_for_data(const_cast<uint8_t*>(bitmap.data()),
                                             CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height(),
                                             bitmap.stride());
}

// The em size in pixels the Font sized `face` to, horizontally and vertically.
Vec face_em(FT_Face face) {
  if (face->size == nullptr) return {0, 0};
  const FT_Size_Metrics& m = face->size->metrics;
  if (!FT_IS_SCALABLE(face)) return {double(m.x_ppem), double(m.y_ppem)};
  double units = face->units_per_EM;
  return {double(m.x_scale) * units / 65536.0 / 64.0, double(m.y_scale) * units / 65536.0 / 64.0};
}

}  // namespace

CairoCanvas::CairoCanvas(cairo_t* cr, Rect device, Resolution resolution,
                         std::shared_ptr<FontResolver> fonts)
    : FontCanvas(std::move(fonts)),
      cr_(cairo_reference(cr)),
      device_(device),
      resolution_(resolution),
      font_options_(cairo_font_options_create()) {
  // Characters are placed at whole-pixel advances of our own; cairo must not nudge them.
  cairo_font_options_set_hint_metrics(font_options_.get(), CAIRO_HINT_METRICS_OFF);
  cairo_save(cr_.get());  // the caller's state, restored for each new clip and at the end
}

CairoCanvas::~CairoCanvas() {
  try {
    finish();
  } catch (const ZorelError&) {
    // Reported by an explicit finish(); a destructor cannot.
  }
}

std::unique_ptr<CairoCanvas> CairoCanvas::for_bitmap(Bitmap& bitmap,
                                                     std::shared_ptr<FontResolver> fonts,
                                                     Resolution resolution) {
  CairoSurface surface(wrap_bitmap(bitmap));
  CairoContext cr(cairo_create(surface.get()));
  auto canvas = std::make_unique<CairoCanvas>(cr.get(), Rect{0, 0, bitmap.width(), bitmap.height()},
                                              resolution, std::move(fonts));
  canvas->surface_ = std::move(surface);
  return canvas;
}

std::unique_ptr<CairoCanvas> CairoCanvas::for_vector(CairoSurface surface, double width_pt,
                                                     double height_pt, Resolution resolution,
                                                     std::shared_ptr<FontResolver> fonts) {
  if (resolution.x <= 0 || resolution.y <= 0)
    throw ZorelError("Canvas resolution must be positive", ErrorKind::Argument);
  CairoContext cr(cairo_create(surface.get()));
  cairo_scale(cr.get(), 72.0 / resolution.x, 72.0 / resolution.y);
  Rect device{0, 0, static_cast<int>(std::lround(width_pt * resolution.x / 72.0)),
              static_cast<int>(std::lround(height_pt * resolution.y / 72.0))};
  auto canvas = std::make_unique<CairoCanvas>(cr.get(), device, resolution, std::move(fonts));
  canvas->surface_ = std::move(surface);
  return canvas;
}

std::unique_ptr<CairoCanvas> CairoCanvas::for_pdf(const std::filesystem::path& path,
                                                  double width_pt, double height_pt,
                                                  Resolution resolution,
                                                  std::shared_ptr<FontResolver> fonts) {
  CairoSurface surface(cairo_pdf_surface_create(path.c_str(), width_pt, height_pt));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw IoError("Cannot create " + path.string());
  auto canvas = for_vector(std::move(surface), width_pt, height_pt, resolution, std::move(fonts));
  canvas->path_ = path.string();
  return canvas;
}

std::unique_ptr<CairoCanvas> CairoCanvas::for_postscript(const std::filesystem::path& path,
                                                         double width_pt, double height_pt,
                                                         Resolution resolution,
                                                         std::shared_ptr<FontResolver> fonts) {
  CairoSurface surface(cairo_ps_surface_create(path.c_str(), width_pt, height_pt));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw IoError("Cannot create " + path.string());
  auto canvas = for_vector(std::move(surface), width_pt, height_pt, resolution, std::move(fonts));
  canvas->path_ = path.string();
  return canvas;
}

void CairoCanvas::show_page() {
  cairo_surface_type_t type = cairo_surface_get_type(cairo_get_target(cr_.get()));
  if (type == CAIRO_SURFACE_TYPE_PDF || type == CAIRO_SURFACE_TYPE_PS) cairo_show_page(cr_.get());
}

void CairoCanvas::flush() {
  cairo_surface_flush(cairo_get_target(cr_.get()));
}

void CairoCanvas::finish() {
  if (finished_) return;
  finished_ = true;
  cairo_restore(cr_.get());
  flush();
  if (!surface_ || path_.empty()) return;
  cairo_surface_finish(surface_.get());
  if (cairo_surface_status(surface_.get()) != CAIRO_STATUS_SUCCESS)
    throw IoError("Cannot write " + path_);
}

// --- State ---

void CairoCanvas::restore_state() {
  std::optional<Region> before = state().clip;
  Canvas::restore_state();
  if (!(before == state().clip)) apply_clip();
}

void CairoCanvas::intersect_clip_region(const Region& region) {
  Canvas::intersect_clip_region(region);
  apply_clip();
}

void CairoCanvas::apply_clip() {
  if (finished_) return;
  cairo_t* cr = cr_.get();
  cairo_restore(cr);
  cairo_save(cr);
  if (!state().clip) return;
  cairo_new_path(cr);
  for (const Rect& r : state().clip->rects())
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
  if (state().clip->empty()) cairo_rectangle(cr, 0, 0, 0, 0);
  cairo_clip(cr);
}

// --- Pens and brushes ---

void CairoCanvas::set_color(uint32_t color) {
  cairo_set_source_rgb(cr_.get(), (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                       ((color >> 16) & 0xFF) / 255.0);
}

double CairoCanvas::pen_offset() const {
  return state().pen.device_width() % 2 == 1 ? 0.5 : 0.0;
}

CairoCanvas::Box CairoCanvas::outline_box(const Rect& rect) const {
  Rect r = rect.normalized();
  if (!state().pen.visible())
    return {double(r.left), double(r.top), double(r.right - 1), double(r.bottom - 1)};
  double off = pen_offset();
  return {r.left + off, r.top + off, r.right - 1 + off, r.bottom - 1 + off};
}

void CairoCanvas::stroke_path() {
  cairo_t* cr = cr_.get();
  const Pen& pen = state().pen;
  if (!pen.visible()) {
    cairo_new_path(cr);
    return;
  }
  int width = pen.device_width();
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, width <= 1 ? CAIRO_LINE_CAP_BUTT : CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, width <= 1 ? CAIRO_LINE_JOIN_MITER : CAIRO_LINE_JOIN_ROUND);
  std::span<const double> dashes = dash_pattern(pen.effective_style());
  if (!dashes.empty()) {
    // Styled lines fill their gaps with the background colour when it is opaque.
    auto bk = state().bk_color.resolved();
    if (state().bk_mode == BkMode::Opaque && bk) {
      set_color(*bk);
      cairo_stroke_preserve(cr);
    }
    cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
  }
  set_color(*pen.color.resolved());
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

bool CairoCanvas::set_brush_source() {
  const Brush& brush = state().brush;
  if (!brush.visible()) return false;
  uint32_t color = *brush.color.resolved();
  if (brush.style == BrushStyle::Solid) {
    set_color(color);
    return true;
  }
  auto bk = state().bk_color.resolved();
  Argb background = state().bk_mode == BkMode::Opaque && bk ? argb_from_color(*bk) : kTransparent;
  // cairo owns the cell's pixels, so the pattern may outlive this call (vector surfaces
  // record it for later).
  CairoSurface cell(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8));
  cairo_surface_flush(cell.get());
  uint8_t* data = cairo_image_surface_get_data(cell.get());
  const int stride = cairo_image_surface_get_stride(cell.get());
  for (int y = 0; y < 8; ++y) {
    auto* row = reinterpret_cast<Argb*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < 8; ++x) {
      bool set = brush.pattern[static_cast<size_t>(y)] & (0x80 >> x);
      row[x] = set ? argb_from_color(color) : background;
    }
  }
  cairo_surface_mark_dirty(cell.get());
  CairoPattern pattern(cairo_pattern_create_for_surface(cell.get()));
  cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_NEAREST);
  cairo_set_source(cr_.get(), pattern.get());
  return true;
}

void CairoCanvas::fill_then_stroke() {
  if (set_brush_source()) cairo_fill_preserve(cr_.get());
  stroke_path();
}

// --- Lines ---

void CairoCanvas::line_to(Point p) {
  Point from = state().position;
  Canvas::line_to(p);
  if (from == p) return;
  polyline(std::array<Point, 2>{from, p});
}

void CairoCanvas::polyline(std::span<const Point> points) {
  if (points.size() < 2 || !state().pen.visible()) return;
  cairo_t* cr = cr_.get();
  double off = pen_offset();
  // A 1-pixel line covers its first pixel whole and stops short of its last point.
  bool thin = state().pen.device_width() <= 1;
  Vec first = thin ? direction(points[0], points[1]) : Vec{0, 0};
  Vec last = thin ? direction(points[points.size() - 2], points.back()) : Vec{0, 0};
  cairo_new_path(cr);
  cairo_move_to(cr, points[0].x + off - first.x / 2, points[0].y + off - first.y / 2);
  for (size_t i = 1; i + 1 < points.size(); ++i)
    cairo_line_to(cr, points[i].x + off, points[i].y + off);
  cairo_line_to(cr, points.back().x + off - last.x / 2, points.back().y + off - last.y / 2);
  stroke_path();
}

// --- Areas ---

void CairoCanvas::rectangle(const Rect& rect) {
  Box b = outline_box(rect);
  if (b.right < b.left || b.bottom < b.top) return;
  cairo_new_path(cr_.get());
  cairo_rectangle(cr_.get(), b.left, b.top, b.right - b.left, b.bottom - b.top);
  fill_then_stroke();
}

void CairoCanvas::rectangles(std::span<const Rect> rects) {
  cairo_new_path(cr_.get());
  for (const Rect& rect : rects) {
    const Box b = outline_box(rect);
    if (b.right < b.left || b.bottom < b.top) continue;
    cairo_rectangle(cr_.get(), b.left, b.top, b.right - b.left, b.bottom - b.top);
  }
  fill_then_stroke();
}

void CairoCanvas::fill_rect(const Rect& rect) {
  Rect r = rect.normalized();
  if (r.empty() || !set_brush_source()) return;
  cairo_new_path(cr_.get());
  cairo_rectangle(cr_.get(), r.left, r.top, r.width(), r.height());
  cairo_fill(cr_.get());
}

void CairoCanvas::ellipse(const Rect& rect) {
  Box b = outline_box(rect);
  double rx = (b.right - b.left) / 2;
  double ry = (b.bottom - b.top) / 2;
  if (rx <= 0 || ry <= 0) return;
  cairo_t* cr = cr_.get();
  cairo_new_path(cr);
  cairo_save(cr);
  cairo_translate(cr, b.left + rx, b.top + ry);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0, 0, 1, 0, 2 * std::numbers::pi);
  cairo_restore(cr);
  fill_then_stroke();
}

void CairoCanvas::round_rect(const Rect& rect, int corner_width, int corner_height) {
  Box b = outline_box(rect);
  double rx = std::min(corner_width / 2.0, (b.right - b.left) / 2);
  double ry = std::min(corner_height / 2.0, (b.bottom - b.top) / 2);
  if (rx <= 0 || ry <= 0) {
    rectangle(rect);
    return;
  }
  cairo_t* cr = cr_.get();
  constexpr double kPi = std::numbers::pi;
  auto corner = [cr, rx, ry](double cx, double cy, double from, double to) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, from, to);
    cairo_restore(cr);
  };
  cairo_new_path(cr);
  corner(b.right - rx, b.top + ry, -kPi / 2, 0);
  corner(b.right - rx, b.bottom - ry, 0, kPi / 2);
  corner(b.left + rx, b.bottom - ry, kPi / 2, kPi);
  corner(b.left + rx, b.top + ry, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
  fill_then_stroke();
}

void CairoCanvas::polygon(std::span<const Point> points) {
  if (points.size() < 2) return;
  cairo_t* cr = cr_.get();
  double off = state().pen.visible() ? pen_offset() : 0.0;
  cairo_new_path(cr);
  cairo_move_to(cr, points[0].x + off, points[0].y + off);
  for (size_t i = 1; i < points.size(); ++i)
    cairo_line_to(cr, points[i].x + off, points[i].y + off);
  cairo_close_path(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  fill_then_stroke();
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void CairoCanvas::flood_fill(Point start, Color color, FloodFillType type) {
  cairo_surface_t* target = cairo_get_target(cr_.get());
  auto wanted = color.resolved();
  if (!wanted || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
      cairo_image_surface_get_format(target) != CAIRO_FORMAT_ARGB32)
    return;
  cairo_matrix_t matrix;
  cairo_get_matrix(cr_.get(), &matrix);
  if (matrix.xx != 1 || matrix.yy != 1 || matrix.xy != 0 || matrix.yx != 0) return;
  const int width = cairo_image_surface_get_width(target);
  const int height = cairo_image_surface_get_height(target);
  if (start.x < 0 || start.y < 0 || start.x >= width || start.y >= height) return;
  if (state().clip && !state().clip->contains(start)) return;
  cairo_surface_flush(target);
  const uint8_t* data = cairo_image_surface_get_data(target);
  const int stride = cairo_image_surface_get_stride(target);
  auto inside = [&](int x, int y) {
    Argb pixel = reinterpret_cast<const Argb*>(data + static_cast<size_t>(y) * stride)[x];
    bool same = color_from_argb(pixel) == *wanted;
    return type == FloodFillType::Border ? !same : same;
  };
  if (!inside(start.x, start.y)) return;
  // A mask of the area, filled with an explicit stack: areas can be as large as the page.
  CairoSurface mask(cairo_image_surface_create(CAIRO_FORMAT_A8, width, height));
  cairo_surface_flush(mask.get());
  uint8_t* bits = cairo_image_surface_get_data(mask.get());
  const int mask_stride = cairo_image_surface_get_stride(mask.get());
  std::vector<Point> pending{start};
  bits[static_cast<size_t>(start.y) * mask_stride + start.x] = 255;
  while (!pending.empty()) {
    Point p = pending.back();
    pending.pop_back();
    const Point next[] = {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
    for (Point n : next) {
      if (n.x < 0 || n.y < 0 || n.x >= width || n.y >= height) continue;
      uint8_t& bit = bits[static_cast<size_t>(n.y) * mask_stride + n.x];
      if (bit || !inside(n.x, n.y)) continue;
      bit = 255;
      pending.push_back(n);
    }
  }
  cairo_surface_mark_dirty(mask.get());
  if (set_brush_source()) cairo_mask_surface(cr_.get(), mask.get(), 0, 0);
}

// --- Text ---

cairo_font_face_t* CairoCanvas::font_face(const std::string& file, int index, bool bold,
                                          bool italic) {
  auto key = std::make_tuple(file, index, bold, italic);
  auto found = faces_.find(key);
  if (found != faces_.end()) return found->second.get();
  // Cairo takes a reference of its own where it keeps the pattern.
  FcPatternHandle pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FILE, reinterpret_cast<const FcChar8*>(file.c_str()));
  FcPatternAddInteger(pattern.get(), FC_INDEX, index);
  CairoFontFace face(cairo_ft_font_face_create_for_pattern(pattern.get()));
  unsigned synthesize = 0;
  if (bold) synthesize |= CAIRO_FT_SYNTHESIZE_BOLD;
  if (italic) synthesize |= CAIRO_FT_SYNTHESIZE_OBLIQUE;
  if (synthesize) cairo_ft_font_face_set_synthesize(face.get(), synthesize);
  return faces_.emplace(key, std::move(face)).first->second.get();
}

void CairoCanvas::text_out(Point origin, std::string_view text, const TextOutParams& params) {
  cairo_t* cr = cr_.get();
  const CanvasState& s = state();
  auto bk = s.bk_color.resolved();
  cairo_save(cr);
  cairo_new_path(cr);
  if (params.rect) {
    Rect r = params.rect->normalized();
    if (params.opaque && bk) {
      set_color(*bk);
      cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
      cairo_fill(cr);
    }
    if (params.clipped) {
      cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
      cairo_clip(cr);
    }
  }
  const Font& font = current_font();
  const FontMetrics& m = font.metrics();
  TextLayout lay = layout(text, params.advances);
  cairo_translate(cr, origin.x, origin.y);
  if (s.font.escapement != 0) cairo_rotate(cr, -s.font.escapement * std::numbers::pi / 1800.0);
  if (s.bk_mode == BkMode::Opaque && bk && !lay.chars.empty()) {
    set_color(*bk);
    cairo_rectangle(cr, 0, 0, lay.width, m.height);
    cairo_fill(cr);
  }
  auto ink = s.text_color.resolved();
  if (ink && !lay.chars.empty()) {
    set_color(*ink);
    cairo_set_font_options(cr, font_options_.get());
    std::vector<cairo_glyph_t> run;
    FT_Face run_face = nullptr;
    GlyphRef run_ref;
    auto show_run = [&] {
      if (run.empty()) return;
      bool primary = run_face == font.ft_face() || !font.fallback();
      const ResolvedFace& file = primary ? font.face() : *font.fallback();
      cairo_set_font_face(
          cr, font_face(file.file, file.index, run_ref.synthetic_bold, run_ref.synthetic_italic));
      Vec em = face_em(run_face);
      cairo_matrix_t size;
      cairo_matrix_init_scale(&size, em.x, em.y);
      cairo_set_font_matrix(cr, &size);
      cairo_show_glyphs(cr, run.data(), static_cast<int>(run.size()));
      run.clear();
    };
    int64_t x = 0;  // advances from files may add up past an int
    for (size_t i = 0; i < lay.chars.size(); ++i) {
      GlyphRef g = font.glyph(lay.chars[i]);
      if (g.face != run_face || g.synthetic_bold != run_ref.synthetic_bold ||
          g.synthetic_italic != run_ref.synthetic_italic) {
        show_run();
        run_face = g.face;
        run_ref = g;
      }
      run.push_back({g.glyph_index, static_cast<double>(x), double(m.ascent)});
      x += lay.advances[i];
    }
    show_run();
    auto stroke_band = [&](int top_above_baseline, int size) {
      cairo_rectangle(cr, 0, m.ascent - top_above_baseline, lay.width, std::max(size, 1));
      cairo_fill(cr);
    };
    if (s.font.underline()) stroke_band(m.underscore_position, m.underscore_size);
    if (s.font.strike_out()) stroke_band(m.strikeout_position, m.strikeout_size);
  }
  cairo_restore(cr);
}

// --- Pictures ---

void CairoCanvas::stretch_draw(const Rect& dest, const Bitmap& bitmap) {
  Rect d = dest.normalized();
  if (d.empty() || bitmap.empty()) return;
  cairo_t* cr = cr_.get();
  CairoSurface source(wrap_bitmap(bitmap));
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_rectangle(cr, d.left, d.top, d.width(), d.height());
  cairo_clip(cr);
  cairo_translate(cr, d.left, d.top);
  cairo_scale(cr, double(d.width()) / bitmap.width(), double(d.height()) / bitmap.height());
  cairo_set_source_surface(cr, source.get(), 0, 0);
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
  cairo_paint(cr);
  cairo_restore(cr);
  // The source must not outlive `bitmap`: the context drops it with the restore above.
  cairo_surface_finish(source.get());
}

}  // namespace zr
