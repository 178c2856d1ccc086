// The PDF export's pictures: raw RGB (deflated when compressing) or JPEG image objects,
// shared between objects when the BeforeSaveGraphic handler asks for it.
#include <string>

#include "output/document/export_routines.h"
#include "output/pdf/pdf_export.h"

namespace zr {

namespace {

// Rows top first, red, green and blue per pixel, no row padding.
std::string rgb_bytes(const Bitmap& bitmap) {
  std::string data;
  data.reserve(static_cast<size_t>(bitmap.width()) * bitmap.height() * 3);
  for (int y = 0; y < bitmap.height(); ++y) {
    const Argb* row = bitmap.row(y);
    for (int x = 0; x < bitmap.width(); ++x) {
      const uint32_t colour = color_over_white(row[x]);
      data += static_cast<char>(colour & 0xFF);
      data += static_cast<char>((colour >> 8) & 0xFF);
      data += static_cast<char>((colour >> 16) & 0xFF);
    }
  }
  return data;
}

}  // namespace

int TOxvtPDFExport::PictureIndex(const TOxvtDataRec& rec) {
  bool unique = true;
  int reuse = -1;
  std::string alt_text;
  if (BeforeSaveGraphic) BeforeSaveGraphic(*this, rec.Name, unique, reuse, alt_text);
  if (unique) return WriteNewPicture(rec);
  const int count = static_cast<int>(images_.size());
  if (reuse == -1) {
    for (int k = 0; k < count; ++k)
      if (images_[static_cast<size_t>(k)].name_number == rec.NameNumber) return k;
    return WriteNewPicture(rec);  // no earlier picture of that name
  }
  // Any index that names no picture makes a new one.
  return reuse >= 0 && reuse < count ? reuse : WriteNewPicture(rec);
}

int TOxvtPDFExport::WriteNewPicture(const TOxvtDataRec& rec) {
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
  const int k = static_cast<int>(images_.size());
  images_.push_back({number, rec.NameNumber});
  image_offsets_.emplace_back(number, image_buffer_.size());
  image_buffer_ += std::to_string(number) + " 0 obj\n<< /Type/XObject/Subtype/Image/Name/Img" +
                   std::to_string(k) + "/Width " + std::to_string(bitmap.width()) + "/Height " +
                   std::to_string(bitmap.height()) + "/BitsPerComponent 8/ColorSpace/DeviceRGB" +
                   filter + "/Length " + std::to_string(data.size()) + "\n>>\nstream\n";
  image_buffer_ += data;
  image_buffer_ += "\nendstream\nendobj\n";
  return k;
}

}  // namespace zr
