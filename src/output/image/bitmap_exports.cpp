#include "output/image/bitmap_exports.h"

#include <algorithm>
#include <ostream>

#include "engine/locale/locale_strings.h"
#include "engine/model/prepared_pages.h"
#include "engine/report/tvt_globals.h"
#include "output/image/graphic_export_dialog.h"
#include "platform/canvas/cairo_canvas.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/graphics/gif_codec.h"
#include "platform/graphics/jpeg_codec.h"

namespace zr {

namespace {

BmpPixelFormat bmp_format(TPixelFormat format, bool monochrome) {
  if (monochrome) return BmpPixelFormat::k1Bit;
  switch (format) {
    case pf1bit:
      return BmpPixelFormat::k1Bit;
    case pf4bit:
      return BmpPixelFormat::k4Bit;
    case pf8bit:
      return BmpPixelFormat::k8Bit;
    case pf15bit:
      return BmpPixelFormat::k15Bit;
    case pf16bit:
      return BmpPixelFormat::k16Bit;
    case pf32bit:
      return BmpPixelFormat::k32Bit;
    default:  // the device's depth and custom formats are true colour here
      return BmpPixelFormat::k24Bit;
  }
}

void write_bytes(std::ostream& out, const std::string& bytes) {
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

Bitmap DrawPageBitmap(TvtEMFPages& pages, int index, int width, int height) {
  Bitmap bitmap(width, height, argb_from_color(0xFFFFFF));
  auto canvas = CairoCanvas::for_bitmap(bitmap, TvtGlobals::Get().fonts);
  pages.Draw(index, *canvas, Rect{0, 0, width, height});
  canvas->flush();
  return bitmap;
}

TOxvtBMPExport::TOxvtBMPExport() : TOxvtGraphicExport(LoadStr(kStrBmpExtension)) {
  RegisterFilter(LoadStr(kStrBmpDescription), "*." + LoadStr(kStrBmpExtension));
}

std::unique_ptr<TOxvtGraphicExportDialog> TOxvtBMPExport::MakeDialog() {
  return std::make_unique<TOxvtBitmapExportDialog>(*this);
}

void TOxvtBMPExport::WritePage(TvtEMFPages& pages, int index, int width, int height,
                               std::ostream& out) {
  write_bytes(out, encode_bmp(DrawPageBitmap(pages, index, width, height),
                              bmp_format(PixelFormat, Monochrome)));
}

TOxvtGIFExport::TOxvtGIFExport() : TOxvtGraphicExport(LoadStr(kStrGifExtension)) {
  RegisterFilter(LoadStr(kStrGifDescription), "*." + LoadStr(kStrGifExtension));
}

std::unique_ptr<TOxvtGraphicExportDialog> TOxvtGIFExport::MakeDialog() {
  return std::make_unique<TOxvtBitmapExportDialog>(*this);
}

void TOxvtGIFExport::WritePage(TvtEMFPages& pages, int index, int width, int height,
                               std::ostream& out) {
  GifEncodeOptions options;
  options.monochrome = Monochrome || PixelFormat == pf1bit;
  write_bytes(out, encode_gif(DrawPageBitmap(pages, index, width, height), options));
}

TOxvtJPEGExport::TOxvtJPEGExport() : TOxvtGraphicExport(LoadStr(kStrJpegExtension)) {
  RegisterFilter(LoadStr(kStrJpegDescription), "*." + LoadStr(kStrJpegExtension));
}

std::unique_ptr<TOxvtGraphicExportDialog> TOxvtJPEGExport::MakeDialog() {
  return std::make_unique<TOxvtJPEGExportDialog>(*this);
}

void TOxvtJPEGExport::WritePage(TvtEMFPages& pages, int index, int width, int height,
                                std::ostream& out) {
  JpegEncodeOptions options;
  options.quality = std::clamp(Quality, 1, 100);
  options.grayscale = Grayscale;
  options.progressive = ProgressiveEncoding;
  write_bytes(out, encode_jpeg(DrawPageBitmap(pages, index, width, height), options));
}

}  // namespace zr
