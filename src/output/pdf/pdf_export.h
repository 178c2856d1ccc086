#pragma once
// TOxvtPDFExport: the prepared report as a PDF 1.3 file written in one pass. Each page's
// objects (page, content stream, its length, new pictures) are written when the page ends;
// the shared objects (page tree, resources, procedure set, fonts, document information) and
// the cross-reference table follow at the end. Other objects become pictures, frames stroked
// lines and fills rectangles.
//
// Two modes (PdfMode):
// - portable (the default): the fonts the layout used are embedded as subsets (composite
//   fonts with Identity-H encoding, the layout's advances as widths, ToUnicode maps), each
//   page is as large as its paper (a design pixel is 1/91.6256 inch), and each text line is
//   one text object whose glyphs sit where the layout put each character.
// - classic: fonts named only (Korean ones by their code-page bytes), every page the first
//   page's size with a design pixel taken as 1/96 inch, one text object per character.
//
// Object numbers: 1 catalogue, 2 page tree, 3 document information, 4 procedure set, 5
// resources; from 6 on allocated in order of use (the first page takes 6, 7, 8). Portable
// fonts are numbered at the end.
//
// Threads: the page walk (the report recreating a page's objects and this filter's records)
// runs on the caller's thread; formatting and compressing a finished page runs on a worker
// thread while the next page is walked. Everything that touches fonts, the engine or the
// output stream stays on the caller's thread; the worker sees only the page's records.
//
// Memory: only a few pages' records and content are held at once; the font and picture
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
#include "platform/codepage.h"

namespace zr {

class PdfEmbeddedFonts;
class PdfObjectWriter;
class PdfPageWorker;
class PdfPortableText;
struct PdfChunk;
struct PdfPageJob;
class TOxvtPDFExportDialog;

enum TPdfMode { pmPortable, pmClassic };

class TOxvtPDFExport : public TOxvtExportFilter {
 public:
  TOxvtPDFExport();
  ~TOxvtPDFExport() override;

  TPdfMode PdfMode = pmPortable;
  bool UseCompression = true;
  TPDFCompressionMethod CompressionMethod = cmMaxCompress;
  std::string Title;
  std::string Subject;
  // UTC = local time + bias, in minutes (Korea: -540). The machine's standard bias unless set.
  int TimeZoneBias;

  // Before a picture is written: may share an earlier picture (UniqueImage false, then
  // ReuseImageIndex names it, or -1 for the first picture of an object of the same name)
  // and set an alternative text. Called on the caller's thread.
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

 protected:
  void AddCharacters(const TvtView& view, TOxvtTextRec& line) override;

 private:
  int NewObjectNumber() { return ++NextObjectNumber; }
  PdfObjectWriter& Writer();
  bool Portable() const { return mode_ == pmPortable; }

  // The caller's side of a page: its records with fonts and pictures resolved.
  std::unique_ptr<PdfPageJob> PreparePage();
  void PreparePictures(PdfPageJob& job);
  void PrepareClassicTexts(PdfPageJob& job);
  int FontIndex(const TOxvtFontInfo& font);
  void WriteFinishedPages(bool all);

  // The worker's side: the page's objects.
  // Numbers the page's objects and formats its object records; returns the rest, which may
  // run beside other pages: formatting the texts (most of the content) and compressing.
  std::function<PdfChunk()> FormatPage(const std::shared_ptr<PdfPageJob>& job);
  void FormatObjectRecord(std::string& content, const PdfPageJob& job, size_t index,
                          PdfChunk& images);
  // The colour of the last classic character, spelled: within one page's texts.
  struct ClassicColour {
    int32_t value = 0;
    std::string spelled;
  };
  void FormatClassicText(std::string& content, const TOxvtTextRec& rec, int index,
                         const TOxvtFontMetrics& metrics, ClassicColour& colour) const;
  void FormatPortableTexts(std::string& content, const PdfPageJob& job) const;
  void WriteNewPicture(const TOxvtDataRec& rec, int k, PdfChunk& images);
  int ClassicFontNumber(TOxvtFontMetrics& metrics);

  // Document end.
  void WritePageTree();
  void WriteResources(const std::vector<int>& font_objects);
  void WriteDocumentInformation();

  int NextObjectNumber = 5;
  TPdfMode mode_ = pmPortable;  // PdfMode for the document being written
  std::unique_ptr<PdfObjectWriter> writer_;
  // Classic fonts, in order of first use (the index is the resource number). Made on the
  // caller's thread; their object numbers are set by the worker when it first writes them.
  std::vector<std::unique_ptr<TOxvtFontMetrics>> fonts_;
  std::map<std::string, int> font_index_;  // by font key
  std::unique_ptr<PdfEmbeddedFonts> embedded_fonts_;
  std::unique_ptr<PdfPortableText> portable_text_;  // the page's texts, portable documents
  std::vector<int> image_names_;                    // NameNumber of each picture, by picture index
  std::vector<int> image_objects_;                  // worker: object number of each picture
  std::vector<int> page_objects_;                   // worker
  double page_width_pt_ = 0, page_height_pt_ = 0;
  int code_page_ = kDefaultAnsiCodePage;
  // The paper of the page being walked, and of the first page (the page tree's box).
  double first_paper_width_ = 0, first_paper_height_ = 0;
  int first_page_height_px_ = 0;
  std::unique_ptr<PdfPageWorker> worker_;  // last: stopped before the state it uses goes
};

}  // namespace zr
