#include "output/document/export_dialog.h"

#include <algorithm>
#include <cstdlib>

#include "engine/locale/locale_strings.h"
#include "output/document/document_export.h"

namespace zr {

namespace {

constexpr const char* kFormatNames[] = {"GIF", "JPG", "BMP"};

std::string login_name() {
  const char* name = std::getenv("USER");
  return name ? name : "";
}

}  // namespace

TOxvtExportDialog::TOxvtExportDialog(TOxvtExportFilter& filter)
    : Caption(LoadStr(kStrExportOptions)),
      ExportFramesCaption(LoadStr(kStrDocumentExportFrames)),
      ExportImagesCaption(LoadStr(kStrExportImages)),
      ImageFormatCaption(LoadStr(kStrExportImageFormat)),
      QualityCaption(LoadStr(kStrJpegQuality)),
      AuthorCaption(LoadStr(kStrAuthor)),
      KeywordsCaption(LoadStr(kStrKeywords)),
      OkCaption(LoadStr(kStrDialogOk)),
      CancelCaption(LoadStr(kStrDialogCancel)),
      ImageFormats(std::begin(kFormatNames), std::end(kFormatNames)),
      filter_(filter) {}

std::string TOxvtExportDialog::SelectedFormat() const {
  if (cbImageFormat < 0 || cbImageFormat >= static_cast<int>(ImageFormats.size())) return {};
  return ImageFormats[static_cast<size_t>(cbImageFormat)];
}

void TOxvtExportDialog::SelectFormat(TOxvtImageFormat format) {
  auto it = std::find(ImageFormats.begin(), ImageFormats.end(), kFormatNames[format]);
  cbImageFormat = it == ImageFormats.end() ? -1 : static_cast<int>(it - ImageFormats.begin());
}

bool TOxvtExportDialog::QualityEnabled() const {
  return chkExportImages && SelectedFormat() == "JPG";
}

void TOxvtExportDialog::Show() {
  chkExportFrames = filter_.ExportFrames;
  chkExportImages = filter_.ExportImages;
  SelectFormat(filter_.ExportImageFormat());
  edJPEGQuality = std::to_string(filter_.JPEGQuality);
  edAuthor = filter_.Author.empty() ? login_name() : filter_.Author;
  edKeyWord = filter_.Keywords;
}

void TOxvtExportDialog::OkClick() {
  filter_.ExportFrames = chkExportFrames;
  filter_.ExportImages = chkExportImages;
  const std::string format = SelectedFormat();
  for (int i = 0; i < 3; ++i)
    if (format == kFormatNames[i]) filter_.SetExportImageFormat(static_cast<TOxvtImageFormat>(i));
  // Only digits can be typed; an empty or overlong entry keeps the filter's value.
  if (!edJPEGQuality.empty() && edJPEGQuality.size() <= 3 &&
      std::all_of(edJPEGQuality.begin(), edJPEGQuality.end(),
                  [](char c) { return c >= '0' && c <= '9'; }))
    filter_.JPEGQuality = std::clamp(std::stoi(edJPEGQuality), 1, 100);
  filter_.Author = edAuthor;
  filter_.Keywords = edKeyWord;
}

}  // namespace zr
