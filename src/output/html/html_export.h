#pragma once
// TOxvtHTMLExport: the prepared report as absolutely positioned HTML. Every object with a
// background, a border or a picture becomes a DIV at its page position, every text line a
// DIV with its font. Pages go into one file each, linked by a navigator (first, previous,
// next, last), or one below the other into a single file. Pictures are separate files.
//
// The files are written in the system's ANSI code page, which the header declares.

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "output/document/document_export.h"

namespace zr {

enum TOxvtNavigatorType : uint8_t { ntFixedToPage, ntFixedToScreen };

// The navigator's font (the link font).
struct TOxvtLinkFont {
  std::string Name = "Wingdings";
  int32_t Size = 18;         // points
  int32_t Color = 0xFF0000;  // blue
  uint8_t Style = 0;
};

class TOxvtHTMLExport : public TOxvtExportFilter {
 public:
  // Registers as "HTML Document (*.htm)".
  TOxvtHTMLExport();

  bool SeparateFilePerPage = true;
  bool ShowNavigator = true;
  TOxvtNavigatorType NavigatorType = ntFixedToScreen;
  bool UseTextLinks = true;
  std::string LinkTextFirst, LinkTextPrev, LinkTextNext, LinkTextLast;
  std::string LinkImgSRCFirst, LinkImgSRCPrev, LinkImgSRCNext, LinkImgSRCLast;
  TOxvtLinkFont LinkFont;
  int32_t LinkBackColor = 0xFFFFFF;
  int32_t LinkHoverForeColor = 0xFFFFFF;
  int32_t LinkHoverBackColor = 0xFF0000;
  bool PageEndLines = true;
  std::string ImageDir;  // relative to the HTML file
  std::string Title, Subject;

  // As in the PDF export: may share an earlier picture file and set the picture's
  // alternative text.
  std::function<void(TOxvtHTMLExport& sender, const std::string& view_name, bool& unique_image,
                     int& reuse_image_index, std::string& alt_text)>
      BeforeSaveGraphic;
  std::function<void(TOxvtHTMLExport& sender, const std::string& view_name, int image_index)>
      AfterSaveGraphic;

  int ShowModal() override;
  void OnBeginDoc() override;
  void OnEndPage() override;
  void OnEndDoc() override;

  // After an export, until the next one starts: the HTML files (the report's file first)
  // and the picture files written.
  const std::vector<std::string>& HtmlFiles() const { return page_files_; }
  std::vector<std::string> PictureFiles() const;

  // The navigator's size, measured at document start.
  double NavigatorWidth() const { return navigator_width_; }
  double NavigatorHeight() const { return navigator_height_; }

 private:
  struct PictureFile {
    std::string path;
    int name_number = 0;
  };

  bool WithNavigator() const;
  std::ostream& PageStream(int index);
  std::string Header() const;
  std::string ObjectDiv(const TOxvtDataRec& rec, double offset);
  std::string PictureTag(const TOxvtDataRec& rec);
  std::string WritePicture(const Bitmap& image);
  std::string TextDiv(const TOxvtTextRec& rec, double offset) const;
  std::string Footer(int index) const;
  std::string Links(int index) const;
  void MeasureNavigator();

  std::vector<std::string> page_files_;
  std::vector<PictureFile> pictures_;
  std::string picture_folder_;  // on disk, with a trailing separator
  std::string picture_prefix_;  // in the HTML
  std::string alt_text_;
  double navigator_width_ = 0, navigator_height_ = 0;
  int page_total_ = 0;
  std::ofstream page_file_;
};

// The charset name the header declares for an ANSI code page ("" when it has none).
std::string HtmlCharsetName(int code_page);

// A text as the page shows it: one that starts with three characters of code 1 is HTML
// already and goes out without them; any other is escaped and its blanks kept as &nbsp;.
std::string HtmlText(const std::string& text);

}  // namespace zr
