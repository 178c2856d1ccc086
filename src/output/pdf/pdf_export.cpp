// The PDF export: the document's start and end and the shared objects.
#include "output/pdf/pdf_export.h"

#include "engine/locale/locale_strings.h"
#include "engine/model/prepared_pages.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/pdf/pdf_document_info.h"
#include "output/pdf/pdf_embedded_fonts.h"
#include "output/pdf/pdf_export_dialog.h"
#include "output/pdf/pdf_object_writer.h"
#include "output/pdf/pdf_page_job.h"
#include "output/pdf/pdf_page_worker.h"
#include "output/pdf/pdf_portable_text.h"
#include "output/pdf/pdf_syntax.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"
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
  ObjectMemoTexts = false;  // texts are drawn from the text records
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

void TOxvtPDFExport::OnBeginDoc() {
  TOxvtExportFilter::OnBeginDoc();
  if (!Stream) throw ZorelError("The PDF export has no output stream");
  worker_.reset();  // an export that failed half-way may have left one
  mode_ = PdfMode;
  code_page_ = TvtGlobals::Get().fonts->code_page();
  writer_ = std::make_unique<PdfObjectWriter>(*Stream);
  NextObjectNumber = 5;
  fonts_.clear();
  font_index_.clear();
  portable_text_.reset();  // it refers to the fonts it replaces
  embedded_fonts_ = std::make_unique<PdfEmbeddedFonts>();
  portable_text_ = std::make_unique<PdfPortableText>(*embedded_fonts_);
  image_names_.clear();
  image_objects_.clear();
  page_objects_.clear();
  page_width_pt_ = FirstPageWidth() / ScreenPPI * 72;
  page_height_pt_ = FirstPageHeight() / ScreenPPI * 72;
  first_paper_width_ = first_paper_height_ = 0;
  first_page_height_px_ = static_cast<int>(FirstPageHeight());
  if (Portable()) {
    TvtReport* report = TvtGlobals::Get().CurReport;
    if (report && report->EMFPages.Count() > 0)
      PaperInPoints(report->EMFPages.PageInfo(0), first_paper_width_, first_paper_height_);
  }
  Writer().Write("%PDF-1.3\n");
  Writer().WriteObject("/Type /Catalog\n/Pages " + PdfRef(kPageTree), kCatalog);
  worker_ = std::make_unique<PdfPageWorker>();
}

void TOxvtPDFExport::OnBeginPage() {
  TOxvtExportFilter::OnBeginPage();
}

void TOxvtPDFExport::OnEndPage() {
  std::shared_ptr<PdfPageJob> job = PreparePage();  // shared: the job is copied into a queue
  if (!worker_) throw ZorelError("The PDF export has no open document");
  worker_->Submit([this, job] { return FormatPage(job); });
  WriteFinishedPages(false);
  TOxvtExportFilter::OnEndPage();
}

void TOxvtPDFExport::WriteFinishedPages(bool all) {
  worker_->Take([this](PdfChunk& chunk) { Writer().Append(chunk); }, all);
}

void TOxvtPDFExport::OnEndDoc() {
  if (!worker_) throw ZorelError("The PDF export has no open document");
  WriteFinishedPages(true);
  worker_.reset();
  WritePageTree();
  std::vector<int> font_objects;
  if (Portable()) {
    if (embedded_fonts_->Count() == 0) {
      TOxvtFontInfo arial;
      arial.Name = "Arial";
      embedded_fonts_->UseFace(*LayoutFont(arial));
    }
    // The fonts are numbered after every page and picture.
    font_objects = embedded_fonts_->Number(NextObjectNumber);
    WriteResources(font_objects);
    Writer().WriteObject(ExportImages ? "[/PDF /Text /ImageC]" : "[/PDF /Text]", kProcSet);
    embedded_fonts_->Write(Writer(), UseCompression, CompressionMethod);
  } else {
    if (fonts_.empty()) {
      TOxvtFontInfo arial;
      arial.Name = "Arial";
      ClassicFontNumber(*fonts_[static_cast<size_t>(FontIndex(arial))]);
    }
    for (const auto& font : fonts_) font_objects.push_back(font->FontObject);
    WriteResources(font_objects);
    Writer().WriteObject(ExportImages ? "[/PDF /Text /ImageC]" : "[/PDF /Text]", kProcSet);
    for (size_t i = 0; i < fonts_.size(); ++i)
      WriteFontObjects(Writer(), *fonts_[i], static_cast<int>(i), NextObjectNumber);
  }
  fonts_.clear();
  font_index_.clear();
  portable_text_.reset();
  embedded_fonts_.reset();
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
  std::string box;
  if (Portable()) {
    box = "0 0 ";
    AppendNumber(box, first_paper_width_);
    box += ' ';
    AppendNumber(box, first_paper_height_);
  } else {
    box = "0 0 " + PdfNumber(page_width_pt_) + " " + PdfNumber(page_height_pt_);
  }
  Writer().WriteObject("/Type /Pages\n/Count " + std::to_string(page_objects_.size()) +
                           "\n/MediaBox [" + box + "]\n/Kids [" + kids + "]\n/Resources " +
                           PdfRef(kResources),
                       kPageTree);
}

void TOxvtPDFExport::WriteResources(const std::vector<int>& font_objects) {
  std::string body = "/Font <<\n";
  for (size_t i = 0; i < font_objects.size(); ++i)
    body += "/F" + std::to_string(i) + " " + PdfRef(font_objects[i]) + "\n";
  body += ">>\n/ProcSet " + PdfRef(kProcSet);
  if (!image_objects_.empty()) {
    body += "\n/XObject <<";
    for (size_t k = 0; k < image_objects_.size(); ++k)
      body += "\n/Img" + std::to_string(k) + " " + PdfRef(image_objects_[k]);
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
