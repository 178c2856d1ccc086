// The PDF export's pictures: raw RGB (deflated when compressing) or JPEG image objects,
// written by the worker with the page that first shows them.
#include <string>

#include "output/document/export_routines.h"
#include "output/pdf/pdf_export.h"
#include "output/pdf/pdf_object_writer.h"
#include "output/pdf/pdf_syntax.h"

namespace zr {

namespace {

// Rows top first, red, green and blue per pixel, no row padding.
std::string rgb_bytes(const Bitmap& bitmap) {
  std::string data;
  data.resize(static_cast<size_t>(bitmap.width()) * bitmap.height() * 3);
  char* out = data.data();
  for (int y = 0; y < bitmap.height(); ++y) {
    const Argb* row = bitmap.row(y);
    for (int x = 0; x < bitmap.width(); ++x) {
      const uint32_t colour = color_over_white(row[x]);
      *out++ = static_cast<char>(colour & 0xFF);
      *out++ = static_cast<char>((colour >> 8) & 0xFF);
      *out++ = static_cast<char>((colour >> 16) & 0xFF);
    }
  }
  return data;
}

}  // namespace

void TOxvtPDFExport::WriteNewPicture(const TOxvtDataRec& rec, int k, PdfChunk& images) {
  const Bitmap& bitmap = *rec.Image;
  std::string data, filter;
  if (ExportImageFormat() == ifJPG) {
    data = BitmapToJpeg(bitmap, JPEGQuality);
    filter = "/Filter/DCTDecode";
  } else {
    data = rgb_bytes(bitmap);
    if (UseCompression) {
      data = Deflate(data, CompressionMethod);
      filter = "/Filter/FlateDecode";
    }
  }
  const int number = NewObjectNumber();
  image_objects_.push_back(number);  // picture k: pictures are numbered in order of their index
  images.MarkObject(number);
  std::string& out = images.bytes;
  AppendInt(out, number);
  out += " 0 obj\n<< /Type/XObject/Subtype/Image/Name/Img";
  AppendInt(out, k);
  out += "/Width ";
  AppendInt(out, bitmap.width());
  out += "/Height ";
  AppendInt(out, bitmap.height());
  out += "/BitsPerComponent 8/ColorSpace/DeviceRGB" + filter + "/Length ";
  AppendInt(out, static_cast<int64_t>(data.size()));
  out += "\n>>\nstream\n";
  out += data;
  out += "\nendstream\nendobj\n";
}

}  // namespace zr
