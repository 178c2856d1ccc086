// The PDF export's page: frames, fills and pictures of the objects, then every character of
// the texts, written into the page's content stream when the page ends.
#include <algorithm>
#include <string>

#include "engine/model/view.h"
#include "engine/report/tvt_globals.h"
#include "output/pdf/pdf_export.h"
#include "output/pdf/pdf_object_writer.h"
#include "output/pdf/pdf_syntax.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/fonts/font_selection.h"

namespace zr {

namespace {

constexpr int kPageTree = 2;

double points(double pixels) {
  return pixels / ScreenPPI * 72;
}

std::string point_pair(double x, double y) {
  return PdfNumber(x) + " " + PdfNumber(y);
}

// The Korean fixed-pitch face that draws non-ASCII text of Latin-named fonts.
const std::string& korean_face() {
  static const std::string face = utf8_to_ansi("굴림체");
  return face;
}

std::string without_blanks(const std::string& name) {
  std::string out;
  for (char c : name)
    if (c != ' ') out += c;
  return out;
}

// UTF-16 units: one per character in the Korean code page.
int character_count(const std::string& text) {
  const int code_page = TvtGlobals::Get().fonts->code_page();
  int count = 0;
  for (size_t pos = 0; pos < text.size(); ++count)
    pos += std::max<size_t>(1, char_length(text, pos, code_page));
  return count;
}

}  // namespace

int TOxvtPDFExport::FontIndex(const TOxvtFontInfo& font) {
  std::string key = PdfFontKey(font);
  auto found = font_index_.find(key);
  if (found != font_index_.end()) return found->second;
  TOxvtFontMetrics metrics = MakeFontMetrics(font, key);
  metrics.FontObject = NewObjectNumber();
  metrics.DescriptorObject = NewObjectNumber();
  const int index = static_cast<int>(fonts_.size());
  fonts_.push_back(std::move(metrics));
  font_index_.emplace(std::move(key), index);
  return index;
}

void TOxvtPDFExport::WriteObjectRecord(const TOxvtDataRec& rec) {
  const double x = points(rec.X), w = points(rec.Width), h = points(rec.Height);
  const double y = Flip(points(rec.Y));
  const bool memo = rec.ClassName == "TvtMemoView";
  const bool line = rec.ClassName == "TvtLineView";

  std::string placement;
  if (ExportImages && rec.Image && (!memo || rec.RotatedText) && !line) {
    const int k = PictureIndex(rec);
    placement = "q\r" + PdfNumber(w) + " 0 0 " + PdfNumber(h) + " " + point_pair(x, y - h) +
                " cm\r/Img" + std::to_string(k) + " Do\rQ\n";
    if (AfterSaveGraphic) AfterSaveGraphic(*this, rec.Name, k);
  }

  std::string fill, frame;
  if (ExportFrames) {
    if (memo && rec.FillColor != kClNone)
      fill = "0 w\r" + PdfColor(rec.FillColor) + " rg\r" + point_pair(x, y - h) + " " +
             point_pair(w, h) + " re f";
    if (memo || line) {
      frame = "\r" + PdfNumber(points(rec.FrameWidth)) + " w " + PdfColor(rec.FrameColor) + " RG";
      if ((rec.FrameTyp & kFrameAll) == kFrameAll) {
        frame += "\r" + point_pair(x, y - h) + " " + point_pair(w, h) + " re\rS\r";
      } else {
        auto segment = [&](double x1, double y1, double x2, double y2) {
          frame += "\r" + point_pair(x1, y1) + " m " + point_pair(x2, y2) + " l S\r";
        };
        if (rec.FrameTyp & kFrameTop) segment(x, y, x + w, y);
        if (rec.FrameTyp & kFrameRight) segment(x + w, y, x + w, y - h);
        if (rec.FrameTyp & kFrameBottom) segment(x + w, y - h, x, y - h);
        if (rec.FrameTyp & kFrameLeft) segment(x, y - h, x, y);
      }
    }
  }
  if (!fill.empty() || !frame.empty()) content_ += "q\r" + fill + frame + "\rQ\n";
  content_ += placement;
}

void TOxvtPDFExport::WriteTextRecord(const TOxvtTextRec& rec) {
  TOxvtFontInfo font = rec.Font;
  if (IsPlainAscii(without_blanks(font.Name)) && !IsPlainAscii(rec.Text)) {
    TOxvtFontInfo korean;
    korean.Name = korean_face();
    korean.Charset = kHangulCharset;
    korean.Size = 10;
    korean.Color = 0;
    korean.Style = font.Style;
    korean.PixelsPerInch = font.PixelsPerInch;
    font = korean;
  }
  const int index = FontIndex(font);
  const TOxvtFontMetrics& metrics = fonts_[static_cast<size_t>(index)];

  const double x = points(rec.X), h = points(rec.TextHeight);
  const double y = Flip(points(rec.Y));
  const int size = rec.Font.Size;
  const int units = character_count(rec.Text);
  const double drawn = points(static_cast<double>(units) * rec.CharSpacing + rec.TextWidth);
  const double natural = GlyphWidthSum(metrics, rec.Text) * static_cast<double>(size) / 1000;
  // An empty text has no character to space.
  const double spacing = rec.Text.empty() ? 0 : (drawn - natural) / rec.Text.size();
  const std::string colour = PdfColor(rec.Font.Color);

  std::string text = "BT\r" + colour + " rg\r/F" + std::to_string(index) + " " +
                     std::to_string(size) + " Tf\r" + PdfNumber(spacing) + " Tc\r";
  const std::string origin = point_pair(x, y - h + 3);
  if (rec.TextScale != 100)  // a scale of 0 or less from a damaged record would be singular
    text += PdfNumber(std::max(rec.TextScale, 1.0) / 100) + " 0 0 1 " + origin + " Tm (";
  else
    text += origin + " Td (";
  text += PdfString(rec.Text) + ") Tj\rET";

  auto rule = [&](int width, double yl) {
    text += "\r" + colour + " RG\r" + std::to_string(width) + " w " + point_pair(x, yl) + " m\r" +
            point_pair(x + drawn, yl) + " l\rS";
  };
  if (rec.Font.Style & kFsUnderline)
    rule(metrics.UnderlineSize, y - (metrics.UnderlinePosition + 0.9 * rec.TextHeight) + 2);
  if (rec.Font.Style & kFsStrikeOut)
    rule(metrics.StrikeOutSize, y - (h / 2 + metrics.StrikeOutPosition) + 2);
  content_ += text + "\n";
}

void TOxvtPDFExport::WritePage() {
  for (const TOxvtDataRec& rec : DataRecords()) WriteObjectRecord(rec);
  for (const TOxvtTextRec& rec : TextRecords()) WriteTextRecord(rec);

  PdfObjectWriter& out = Writer();
  out.WriteObject(
      "/Type /Page\n/Parent " + PdfRef(kPageTree) + "\n/Contents " + PdfRef(content_object_),
      page_object_);
  const std::string length = PdfRef(length_object_);
  out.WriteObject(UseCompression ? "/Length " + length + "\n/Filter /FlateDecode"
                                 : "<< /Length " + length + " >>",
                  content_object_, false);
  out.Write("stream\n");
  // An empty page keeps an empty stream.
  const std::string data =
      UseCompression && !content_.empty() ? Deflate(content_, CompressionMethod) : content_;
  out.Write(data);
  out.Write("\nendstream\nendobj\n");
  out.WriteObject(std::to_string(data.size()), length_object_);

  const int64_t base = out.Size();
  for (const auto& [number, offset] : image_offsets_)
    out.MarkObject(number, base + static_cast<int64_t>(offset));
  out.Write(image_buffer_);
  content_.clear();
  image_buffer_.clear();
  image_offsets_.clear();
}

}  // namespace zr
