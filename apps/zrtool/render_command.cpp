// zrtool render: draws one page of a prepared report (.zrw) as the preview does, one design
// pixel per image pixel at 100 %, on white, and writes it as PNG.
#include <cairo.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "platform/canvas/cairo_canvas.h"
#include "platform/canvas/cairo_handles.h"
#include "platform/errors.h"
#include "platform/graphics/bitmap.h"
#include "platform/number_text.h"
#include "platform/rounding.h"
#include "tool_engine.h"

namespace zr::tool {
namespace {

constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 1000;

struct RenderArguments {
  std::string file;
  int page = 0;  // 1-based
  int zoom = 100;
  std::string output;
};

int parse_number(const std::string& option, const std::string& text, int low, int high) {
  std::optional<int32_t> number = try_str_to_int(text);
  if (!number || *number < low || *number > high)
    throw ZorelError(option + " takes a number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not '" + text + "'");
  return *number;
}

RenderArguments parse_arguments(const std::vector<std::string>& args) {
  RenderArguments parsed;
  std::vector<std::string> files = parse_options(
      args,
      {{"--page",
        [&](const std::string& v) { parsed.page = parse_number("--page", v, 1, INT32_MAX); }},
       {"--zoom",
        [&](const std::string& v) { parsed.zoom = parse_number("--zoom", v, kMinZoom, kMaxZoom); }},
       {"-o", [&](const std::string& v) { parsed.output = v; }}});
  if (files.size() != 1) throw ZorelError("give one prepared report file");
  if (parsed.page == 0) throw ZorelError("give the page with --page N");
  if (parsed.output.empty()) throw ZorelError("give the image file with -o PAGE.png");
  parsed.file = files[0];
  return parsed;
}

void write_png(Bitmap& bitmap, const std::string& path) {
  CairoSurface surface(cairo_image_surface_create_for_data(
      bitmap.data(), CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height(), bitmap.stride()));
  if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
    throw IoError("cannot write " + path);
}

}  // namespace

int run_render_command(const std::vector<std::string>& args, std::ostream&) {
  RenderArguments arguments = parse_arguments(args);
  ToolEngine engine;
  TvtReport report("prepared");
  engine.load_prepared(report, arguments.file);
  TvtEMFPages& pages = report.EMFPages;
  if (arguments.page > pages.Count())
    throw ZorelError("page " + std::to_string(arguments.page) + " of " +
                     std::to_string(pages.Count()));
  const int index = arguments.page - 1;
  TvtPreparedPage& page = pages.PageInfo(index);
  const double scale = arguments.zoom / 100.0;
  int64_t width = round_half_even_to_int(page.PrnInfo.page_width * scale);
  int64_t height = round_half_even_to_int(page.PrnInfo.page_height * scale);
  if (width <= 0 || height <= 0 || !Bitmap::size_allowed(width, height))
    throw ZorelError("a page of " + std::to_string(width) + " x " + std::to_string(height) +
                     " pixels cannot be drawn");
  Bitmap bitmap(static_cast<int>(width), static_cast<int>(height), argb_from_color(0xFFFFFF));
  {
    std::unique_ptr<CairoCanvas> canvas = CairoCanvas::for_bitmap(bitmap, engine.globals().fonts);
    page.Visible = true;
    pages.Draw(index, *canvas, Rect{0, 0, static_cast<int>(width), static_cast<int>(height)});
    canvas->flush();
  }
  write_png(bitmap, arguments.output);
  return 0;
}

}  // namespace zr::tool
