#pragma once
// TOxvtExportFilter: the common base of the document exporters (PDF, HTML, RTF). It turns
// the export calls of a page into two lists, one record per object and one per text line or
// character, which the derived exporter reads in its OnEndPage before calling this
// OnEndPage. Only the current page's records are held.
//
// Call order (the report's export driver): OnBeginDoc, then per page OnBeginPage, OnData and
// OnText for its objects, OnEndPage; last OnEndDoc. Objects are drawn into pictures with the
// engine's fonts (TvtGlobals), so an engine must be installed while exporting.

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/model/export_filter.h"
#include "output/document/document_records.h"

namespace zr {

class TOxvtExportDialog;

class TOxvtExportFilter : public TvtExportFilter {
 public:
  TOxvtExportFilter();

  std::string Author;
  std::string Creator;  // interface text 65061 unless set
  std::string Keywords;
  bool ExportImages = true;
  bool ExportFrames = true;
  int JPEGQuality = 100;  // 1-100

  TOxvtImageFormat ExportImageFormat() const { return image_format_; }
  // Formats may refuse a picture format they cannot write; the setting then stays.
  virtual void SetExportImageFormat(TOxvtImageFormat format) { image_format_ = format; }

  // Presents an options dialog and returns its result (1 = OK); the presenter copies the
  // values back itself (the dialog's OK). Without one, ShowModal answers 1 and changes
  // nothing: headless runs never block.
  std::function<int(TOxvtExportDialog&)> DialogPresenter;

  void OnBeginDoc() override;
  void OnEndDoc() override;
  void OnBeginPage() override;
  void OnEndPage() override;
  void OnData(int x, int y, TvtView& view) override;
  void OnText(const Rect& draw_rect, int x, int y, const std::string& text, int frame_typ,
              int line_no, TvtView& view) override;

  const std::vector<TOxvtDataRec>& DataRecords() const { return data_; }
  const std::vector<TOxvtTextRec>& TextRecords() const { return texts_; }
  // Moves the page's records out (an exporter that writes the page elsewhere, later); the
  // lists are empty afterwards.
  // The next page's lists start as large as this page's (pages of a report look alike).
  std::vector<TOxvtDataRec> TakeDataRecords() { return take_reserved(data_); }
  std::vector<TOxvtTextRec> TakeTextRecords() { return take_reserved(texts_); }
  // Pages finished so far.
  int PageCount() const { return page_count_; }
  // The first prepared page's paper, converted (0 x 0 for a report without pages).
  double FirstPageWidth() const { return first_width_; }
  double FirstPageHeight() const { return first_height_; }

 protected:
  // One record per line (HTML) instead of one per character.
  bool WholeLines = false;
  // Whether object records carry the memo's text and its width; an exporter that draws the
  // texts from the text records alone (PDF) spares the measuring.
  bool ObjectMemoTexts = true;
  TOxvtImageFormat image_format_ = ifJPG;
  int ShowOptionsDialog(TOxvtExportDialog& dialog);
  // Character mode: a line's characters, by default as one text record each. An exporter
  // that keeps the characters in a form of its own overrides it.
  virtual void AddCharacters(const TvtView& view, TOxvtTextRec& line) {
    AddCharacterRecords(view, line);
  }

 private:
  template <typename T>
  static std::vector<T> take_reserved(std::vector<T>& list) {
    std::vector<T> taken = std::exchange(list, {});
    list.reserve(taken.size());
    return taken;
  }
  // The line's characters, measured with the memo's font (which also gives the line height).
  void AddCharacterRecords(const TvtView& view, TOxvtTextRec& line);
  int NameNumber(const std::string& name);

  std::vector<TOxvtDataRec> data_;
  std::vector<TOxvtTextRec> texts_;
  std::map<std::string, int> names_;
  int page_count_ = 0;
  double first_width_ = 0, first_height_ = 0;
};

}  // namespace zr
