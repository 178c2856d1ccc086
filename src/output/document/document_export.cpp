// The document exporters' common base: object and text records of the current page.
#include "output/document/document_export.h"

#include <algorithm>

#include "engine/locale/locale_strings.h"
#include "engine/model/band_view.h"
#include "engine/model/line_view.h"
#include "engine/model/memo_font.h"
#include "engine/model/memo_view.h"
#include "engine/model/subreport_view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/document/export_dialog.h"
#include "output/document/export_routines.h"
#include "output/document/object_picture.h"

namespace zr {

namespace {

bool is_rotated(const TvtMemoView* memo) {
  return memo && (memo->Alignment & vttaVertical);
}

bool is_round_rect(const TvtView& view) {
  return view.ClassName() == "TvtRoundRectView";
}

TOxvtFontInfo font_info(const TvtMemoFont& font) {
  TOxvtFontInfo info;
  info.Name = font.Name;
  info.Size = font.Size;
  info.Color = font.Color;
  info.Style = CanvasFontStyle(font.Style);
  info.Charset = font.Charset;
  info.PixelsPerInch = ScreenPPI;
  return info;
}

std::string joined_memo_text(const TvtStrings& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += lines[i];
  }
  std::erase(text, kParagraphMark);
  return text;
}

}  // namespace

uint8_t DocumentAlignment(int32_t memo_alignment) {
  switch (memo_alignment) {
    case 0:
      return kAlignLeft | kAlignTop;
    case 1:
      return kAlignRight | kAlignTop;
    case 2:
      return kAlignCenter | kAlignTop;
    case 3:
      return kAlignJustify | kAlignTop;
    case 8:
      return kAlignLeft | kAlignMiddle;
    case 9:
      return kAlignRight | kAlignMiddle;
    case 10:
      return kAlignCenter | kAlignMiddle;
    case 11:
      return kAlignJustify | kAlignMiddle;
    case 16:
      return kAlignLeft | kAlignBottom;
    case 17:
      return kAlignRight | kAlignBottom;
    case 18:
      return kAlignCenter | kAlignBottom;
    case 19:
      return kAlignJustify | kAlignBottom;
    default:
      return 0;
  }
}

TOxvtExportFilter::TOxvtExportFilter() : Creator(LoadStr(kStrDocumentCreator)) {}

int TOxvtExportFilter::ShowOptionsDialog(TOxvtExportDialog& dialog) {
  dialog.Show();
  return DialogPresenter ? DialogPresenter(dialog) : 1;
}

void TOxvtExportFilter::OnBeginDoc() {
  data_.clear();
  texts_.clear();
  names_.clear();
  page_count_ = 0;
  first_width_ = first_height_ = 0;
  TvtReport* report = TvtGlobals::Get().CurReport;
  if (report && report->EMFPages.Count() > 0) {
    const PrinterInfo& info = report->EMFPages.PageInfo(0).PrnInfo;
    first_width_ = ConvertToScreen(info.page_width);
    first_height_ = ConvertToScreen(info.page_height);
  }
}

void TOxvtExportFilter::OnEndDoc() {
  data_.clear();
  texts_.clear();
  names_.clear();
}

void TOxvtExportFilter::OnBeginPage() {
  data_.clear();
  texts_.clear();
}

void TOxvtExportFilter::OnEndPage() {
  ++page_count_;
}

int TOxvtExportFilter::NameNumber(const std::string& name) {
  auto [it, added] = names_.try_emplace(name, static_cast<int>(names_.size()));
  return it->second;
}

void TOxvtExportFilter::OnData(int x, int y, TvtView& view) {
  if (dynamic_cast<TvtBandView*>(&view) || dynamic_cast<TvtSubReportView*>(&view)) return;
  auto* memo = dynamic_cast<TvtMemoView*>(&view);
  TOxvtDataRec rec;
  rec.X = ConvertToScreen(x);
  rec.Y = ConvertToScreen(y);
  rec.Width = ConvertToScreen(view.Width);
  rec.Height = ConvertToScreen(view.Height);
  rec.RotatedText = is_rotated(memo);

  const bool text_object = memo && !rec.RotatedText && !is_round_rect(view);
  if (ExportImages && !text_object && !dynamic_cast<TvtLineView*>(&view))
    rec.Image = RenderObjectPicture(view);

  if (memo) {
    rec.Font = font_info(memo->Font);
    rec.Alignment = DocumentAlignment(memo->Alignment);
    if (ObjectMemoTexts) {
      rec.Text = joined_memo_text(memo->Memo);
      rec.TextWidth = DocumentTextExtent(rec.Text, rec.Font).width;
      if (!memo->HasFlag(kMemoWordWrap))
        rec.Text = TruncateProportionally(rec.Text, rec.Width, rec.TextWidth);
    }
  }
  if (ExportFrames) {
    rec.FrameTyp = static_cast<uint8_t>(view.FrameTyp);
    rec.FrameWidth = view.FrameWidth;
    rec.FrameColor = view.FrameColor;
    rec.FrameStyle = view.FrameStyle;
    rec.FillColor = view.FillColor;
  }
  rec.Name = view.Name;
  rec.NameNumber = NameNumber(view.Name);
  rec.ClassName = view.ClassName();
  rec.Stretched = view.Stretched();
  data_.push_back(std::move(rec));
}

void TOxvtExportFilter::OnText(const Rect& draw_rect, int x, int y, const std::string& text,
                               int /*frame_typ*/, int /*line_no*/, TvtView& view) {
  auto* memo = dynamic_cast<TvtMemoView*>(&view);
  if (!memo || is_rotated(memo) || (ExportImages && is_round_rect(view))) return;
  TOxvtTextRec line;
  line.X = x;
  line.Y = y;
  line.Text = text;
  line.Font = font_info(memo->Font);
  line.DrawRect = draw_rect;
  line.CharSpacing = memo->CharSpacing;
  line.TextScale = memo->CharWidth;
  if (!WholeLines) {
    AddCharacters(view, line);
    return;
  }
  const Size extent = DocumentTextExtent(text, line.Font);
  line.TextHeight = extent.height;
  line.TextWidth = extent.width;
  // A last line the object's bottom cuts by more than a fifth is not shown.
  if (y + 0.8 * extent.height > static_cast<double>(view.Top) + view.Height) return;
  line.X = ConvertToScreen(x);
  line.Y = ConvertToScreen(y);
  line.Text = TruncateProportionally(text, view.Width, extent.width * 96.0 / ScreenPPI);
  texts_.push_back(std::move(line));
}

}  // namespace zr
