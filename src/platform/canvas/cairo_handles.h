#pragma once
// Owning handles for the cairo objects the canvas creates: each releases its reference.

#include <cairo.h>

#include <memory>

namespace zr {

struct CairoReleaser {
  void operator()(cairo_t* p) const { cairo_destroy(p); }
  void operator()(cairo_surface_t* p) const { cairo_surface_destroy(p); }
  void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
  void operator()(cairo_font_face_t* p) const { cairo_font_face_destroy(p); }
  void operator()(cairo_font_options_t* p) const { cairo_font_options_destroy(p); }
};

using CairoContext = std::unique_ptr<cairo_t, CairoReleaser>;
using CairoSurface = std::unique_ptr<cairo_surface_t, CairoReleaser>;
using CairoPattern = std::unique_ptr<cairo_pattern_t, CairoReleaser>;
using CairoFontFace = std::unique_ptr<cairo_font_face_t, CairoReleaser>;
using CairoFontOptions = std::unique_ptr<cairo_font_options_t, CairoReleaser>;

}  // namespace zr
