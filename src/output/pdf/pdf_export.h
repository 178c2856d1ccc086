#pragma once
// TOxvtPDFExport: the prepared report as a PDF 1.3 file written in one pass. Each page's
// objects (page, content stream, its length, new pictures) are written when the page ends;
// the shared objects (page tree, resources, procedure set, fonts, document information) and
// the cross-reference table follow at the end. Texts are placed character by character,
// other objects become pictures, frames stroked lines and fills rectangles.
//
// Object numbers: 1 catalogue, 2 page tree, 3 document information, 4 procedure set, 5
// resources; from 6 on allocated in order of use (the first page takes 6, 7, 8).
//
// Memory: only the current page's content and pictures are buffered; the font and picture
// tables and one offset per object live for the document. Errors of the output stream raise
// IoError and end the export.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "output/document/document_export.h"
#include "output/pdf/pdf_deflate.h"
#include "output/pdf/pdf_fonts.h"

namespace zr {

class PdfObjectWriter;
class TOxvtPDFExportDialog;

class TOxvtPDFExport : public TOxvtExportFilter {
 public:
  TOxvtPDFExport();
  ~TOxvtPDFExport() override;

  bool UseCompression = true;
  TPDFCompressionMethod CompressionMethod = cmMaxCompress;
  std::string Title;
  std::string Subject;
  // UTC = local time + bias, in minutes (Korea: -540). The machine's standard bias unless set.
  int TimeZoneBias;

  // Before a picture is written: may share an earlier picture (UniqueImage false, then
  // ReuseImageIndex names it, or -1 for the first picture of an object of the same name)
  // and set an alternative text.
  std::function<void(TOxvtPDFExport& sender, const std::string& view_name, bool& unique_image,
                     int& reuse_image_index, std::string& alt_text)>
      BeforeSaveGraphic;
  std::function<void(TOxvtPDFExport& sender, const std::string& view_name, int image_index)>
      AfterSaveGraphic;

  // GIF cannot be written into a PDF: that setting is ignored.
  void SetExportImageFormat(TOxvtImageFormat format) override;

  int ShowModal() override;
  void OnBeginDoc() override;
  void OnEndDoc() override;
  void OnBeginPage() override;
  void OnEndPage() override;

 private:
  struct Image {
    int object_number = 0;
    int name_number = 0;
  };

  int NewObjectNumber() { return ++NextObjectNumber; }
  PdfObjectWriter& Writer();
  double Flip(double y_points) const;

  // Page content.
  void WriteObjectRecord(const TOxvtDataRec& rec);
  std::string PlacePicture(const TOxvtDataRec& rec);
  int PictureIndex(const TOxvtDataRec& rec);
  int WriteNewPicture(const TOxvtDataRec& rec);
  void WriteTextRecord(const TOxvtTextRec& rec);
  int FontIndex(const TOxvtFontInfo& font);
  void WritePage();

  // Document end.
  void WritePageTree();
  void WriteResources();
  void WriteDocumentInformation();

  int NextObjectNumber = 5;
  std::unique_ptr<PdfObjectWriter> writer_;
  std::vector<TOxvtFontMetrics> fonts_;
  std::map<std::string, int> font_index_;  // by font key
  std::vector<Image> images_;
  std::vector<int> page_objects_;
  int page_object_ = 0, content_object_ = 0, length_object_ = 0;
  std::string content_;
  std::string image_buffer_;
  std::vector<std::pair<int, size_t>> image_offsets_;  // object number, offset in the buffer
  double page_width_pt_ = 0, page_height_pt_ = 0;
};

}  // namespace zr
