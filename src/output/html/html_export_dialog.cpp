#include "output/html/html_export_dialog.h"

#include "engine/locale/locale_strings.h"

namespace zr {

namespace {

std::string html_caption(int offset) {
  return LoadStr(kStrHtmlOptions + offset);
}

}  // namespace

TOxvtHTMLExportDialog::TOxvtHTMLExportDialog(TOxvtHTMLExport& filter)
    : TOxvtExportDialog(filter),
      TabCaptions{"Content", "File && Navigator Options"},
      SepFilePerPageCaption(html_caption(1)),
      ShowNavigatorCaption(html_caption(2)),
      HoverForeCaption(html_caption(3)),
      HoverBackCaption(html_caption(4)),
      BackgroundCaption(html_caption(5)),
      UseTextLinksCaption(html_caption(6)),
      UseGraphicLinksCaption(html_caption(7)),
      FontCaption(html_caption(8)),
      LinkCaptionsCaption(html_caption(13)),
      ImageFolderCaption(html_caption(14)),
      ImageSourceCaption(html_caption(15)),
      // Numbers 64994-64996 hold the PDF dialog's texts in this build's table (so do the
      // title and subject labels of the base).
      NavigatorTypeCaption("Navigator Type"),
      LinkCaptions{html_caption(9), html_caption(10), html_caption(11), html_caption(12)},
      NavigatorTypes{LoadStr(kStrFixedToPage), LoadStr(kStrFixedToScreen)},
      html_(filter) {
  Caption = html_caption(0);
}

void TOxvtHTMLExportDialog::Show() {
  TOxvtExportDialog::Show();
  edTitle = html_.Title;
  edSubject = html_.Subject;
  edImageDirectory = html_.ImageDir;
  chkSepFilePerPage = html_.SeparateFilePerPage;
  chkShowNavigator = html_.ShowNavigator;
  cbNavigatorType = html_.NavigatorType;
  shpBackgroundColor = html_.LinkBackColor;
  shpHoverForeColor = html_.LinkHoverForeColor;
  shpHoverBackColor = html_.LinkHoverBackColor;
  rbtnUseTextLinks = html_.UseTextLinks;
  const std::string* texts[4] = {&html_.LinkTextFirst, &html_.LinkTextPrev, &html_.LinkTextNext,
                                 &html_.LinkTextLast};
  const std::string* pictures[4] = {&html_.LinkImgSRCFirst, &html_.LinkImgSRCPrev,
                                    &html_.LinkImgSRCNext, &html_.LinkImgSRCLast};
  for (int i = 0; i < 4; ++i) {
    edLinkTexts[i] = *texts[i];
    edLinkPictures[i] = *pictures[i];
  }
  LinkFont = html_.LinkFont;
}

void TOxvtHTMLExportDialog::OkClick() {
  TOxvtExportDialog::OkClick();
  html_.Title = edTitle;
  html_.Subject = edSubject;
  html_.SeparateFilePerPage = chkSepFilePerPage;
  html_.ShowNavigator = chkShowNavigator;
  html_.LinkBackColor = shpBackgroundColor;
  html_.LinkHoverForeColor = shpHoverForeColor;
  html_.LinkHoverBackColor = shpHoverBackColor;
  html_.UseTextLinks = rbtnUseTextLinks;
  std::string* texts[4] = {&html_.LinkTextFirst, &html_.LinkTextPrev, &html_.LinkTextNext,
                           &html_.LinkTextLast};
  std::string* pictures[4] = {&html_.LinkImgSRCFirst, &html_.LinkImgSRCPrev, &html_.LinkImgSRCNext,
                              &html_.LinkImgSRCLast};
  for (int i = 0; i < 4; ++i) {
    *texts[i] = edLinkTexts[i];
    *pictures[i] = edLinkPictures[i];
  }
  html_.LinkFont = LinkFont;
  html_.ImageDir = edImageDirectory;
  if (cbNavigatorType == ntFixedToPage || cbNavigatorType == ntFixedToScreen)
    html_.NavigatorType = static_cast<TOxvtNavigatorType>(cbNavigatorType);
}

}  // namespace zr
