// The PDF export: the document's start and end and the shared objects.
#include "output/pdf/pdf_export.h"

#include "engine/locale/locale_strings.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/pdf/pdf_document_info.h"
#include "output/pdf/pdf_export_dialog.h"
#include "output/pdf/pdf_object_writer.h"
#include "output/pdf/pdf_syntax.h"
#include "platform/errors.h"
#include "platform/time_zone.h"

namespace zr {

namespace {

constexpr int kCatalog = 1;
constexpr int kPageTree = 2;
constexpr int kInformation = 3;
constexpr int kProcSet = 4;
constexpr int kResources = 5;

}  // namespace

TOxvtPDFExport::TOxvtPDFExport() : TimeZoneBias(standard_time_bias_minutes()) {
  image_format_ = ifBMP;
  RegisterFilter(LoadStr(kStrPdfDescription), "*." + LoadStr(kStrPdfExtension));
}

TOxvtPDFExport::~TOxvtPDFExport() = default;

void TOxvtPDFExport::SetExportImageFormat(TOxvtImageFormat format) {
  if (format != ifGIF) image_format_ = format;
}

int TOxvtPDFExport::ShowModal() {
  if (!ShowDialog) return 1;
  TOxvtPDFExportDialog dialog(*this);
  return ShowOptionsDialog(dialog);
}

PdfObjectWriter& TOxvtPDFExport::Writer() {
  if (!writer_) throw ZorelError("The PDF export has no open document");
  return *writer_;
}

double TOxvtPDFExport::Flip(double y_points) const {
  return page_height_pt_ != 0 ? page_height_pt_ - y_points : y_points;
}

void TOxvtPDFExport::OnBeginDoc() {
  TOxvtExportFilter::OnBeginDoc();
  if (!Stream) throw ZorelError("The PDF export has no output stream");
  writer_ = std::make_unique<PdfObjectWriter>(*Stream);
  NextObjectNumber = 5;
  fonts_.clear();
  font_index_.clear();
  images_.clear();
  page_objects_.clear();
  page_width_pt_ = FirstPageWidth() / ScreenPPI * 72;
  page_height_pt_ = FirstPageHeight() / ScreenPPI * 72;
  Writer().Write("%PDF-1.3\n");
  Writer().WriteObject("/Type /Catalog\n/Pages " + PdfRef(kPageTree), kCatalog);
}

void TOxvtPDFExport::OnBeginPage() {
  TOxvtExportFilter::OnBeginPage();
  content_.clear();
  image_buffer_.clear();
  image_offsets_.clear();
  page_object_ = NewObjectNumber();
  content_object_ = NewObjectNumber();
  page_objects_.push_back(page_object_);
  length_object_ = NewObjectNumber();
}

void TOxvtPDFExport::OnEndPage() {
  WritePage();
  TOxvtExportFilter::OnEndPage();
}

void TOxvtPDFExport::OnEndDoc() {
  WritePageTree();
  if (fonts_.empty()) {
    TOxvtFontInfo arial;
    arial.Name = "Arial";
    FontIndex(arial);
  }
  WriteResources();
  Writer().WriteObject(ExportImages ? "[/PDF /Text /ImageC]" : "[/PDF /Text]", kProcSet);
  for (size_t i = 0; i < fonts_.size(); ++i)
    WriteFontObjects(Writer(), fonts_[i], static_cast<int>(i), NextObjectNumber);
  fonts_.clear();
  font_index_.clear();
  WriteDocumentInformation();
  Writer().WriteCrossReference(NextObjectNumber, kCatalog, kInformation);
  writer_.reset();
  TOxvtExportFilter::OnEndDoc();
}

void TOxvtPDFExport::WritePageTree() {
  std::string kids;
  for (size_t i = 0; i < page_objects_.size(); ++i) {
    if (i > 0) kids += ' ';
    kids += PdfRef(page_objects_[i]);
  }
  Writer().WriteObject("/Type /Pages\n/Count " + std::to_string(page_objects_.size()) +
                           "\n/MediaBox [0 0 " + PdfNumber(page_width_pt_) + " " +
                           PdfNumber(page_height_pt_) + "]\n/Kids [" + kids + "]\n/Resources " +
                           PdfRef(kResources),
                       kPageTree);
}

void TOxvtPDFExport::WriteResources() {
  std::string body = "/Font <<\n";
  for (size_t i = 0; i < fonts_.size(); ++i)
    body += "/F" + std::to_string(i) + " " + PdfRef(fonts_[i].FontObject) + "\n";
  body += ">>\n/ProcSet " + PdfRef(kProcSet);
  if (!images_.empty()) {
    body += "\n/XObject <<";
    for (size_t k = 0; k < images_.size(); ++k)
      body += "\n/Img" + std::to_string(k) + " " + PdfRef(images_[k].object_number);
    body += " >>";
  }
  Writer().WriteObject(body, kResources);
}

void TOxvtPDFExport::WriteDocumentInformation() {
  TvtGlobals& g = TvtGlobals::Get();
  PdfDocumentInfo info;
  info.Author = Author;
  info.Keywords = Keywords;
  info.Creator = Creator;
  info.Title = Title.empty() && g.CurReport ? g.CurReport->Title : Title;
  info.Subject = Subject;
  info.CreationDate = g.clock.now();
  info.TimeZoneBias = TimeZoneBias;
  Writer().WriteObject(PdfDocumentInfoBody(info), kInformation);
}

}  // namespace zr
