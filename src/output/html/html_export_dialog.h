#pragma once
// TOxvtHTMLExportDialog: the document options plus title, subject and picture folder
// ("Content"), and the page files and navigator ("File && Navigator Options").

#include <string>
#include <vector>

#include "output/document/export_dialog.h"
#include "output/html/html_export.h"

namespace zr {

class TOxvtHTMLExportDialog : public TOxvtExportDialog {
 public:
  explicit TOxvtHTMLExportDialog(TOxvtHTMLExport& filter);

  void Show() override;
  void OkClick() override;

  // The navigator check box needs separate files; the navigator group needs both.
  bool ShowNavigatorEnabled() const { return chkSepFilePerPage; }
  bool NavigatorGroupEnabled() const { return chkSepFilePerPage && chkShowNavigator; }
  // Which page of links shows: the four texts and the font, or the four pictures.
  bool TextLinksPageShown() const { return rbtnUseTextLinks; }

  std::vector<std::string> TabCaptions;  // "Content", "File && Navigator Options"
  std::string SepFilePerPageCaption, ShowNavigatorCaption, HoverForeCaption, HoverBackCaption,
      BackgroundCaption, UseTextLinksCaption, UseGraphicLinksCaption, FontCaption,
      LinkCaptionsCaption, ImageFolderCaption, ImageSourceCaption, NavigatorTypeCaption;
  std::vector<std::string> LinkCaptions;    // First, Previous, Next, Last
  std::vector<std::string> NavigatorTypes;  // TOxvtNavigatorType order

  std::string edImageDirectory;
  bool chkSepFilePerPage = true;
  bool chkShowNavigator = true;
  int cbNavigatorType = ntFixedToScreen;
  int32_t shpBackgroundColor = 0, shpHoverForeColor = 0, shpHoverBackColor = 0;
  bool rbtnUseTextLinks = true;
  std::string edLinkTexts[4];
  std::string edLinkPictures[4];
  TOxvtLinkFont LinkFont;

 private:
  TOxvtHTMLExport& html_;
};

}  // namespace zr
