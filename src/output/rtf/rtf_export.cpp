#include "output/rtf/rtf_export.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "engine/locale/locale_strings.h"
#include "engine/model/view.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "output/document/export_routines.h"
#include "output/rtf/rtf_export_dialog.h"
#include "platform/date_time.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"
#include "platform/fonts/font_selection.h"
#include "platform/graphics/bmp_codec.h"
#include "platform/rounding.h"

namespace zr {

namespace {

std::string n(int64_t value) {
  return std::to_string(value);
}

// A number as 2 or 4 bytes, least significant first, in upper-case hexadecimal.
std::string le_hex(uint32_t value, int bytes) {
  std::string out;
  char pair[3];
  for (int i = 0; i < bytes; ++i) {
    std::snprintf(pair, sizeof pair, "%02X", (value >> (8 * i)) & 0xFF);
    out += pair;
  }
  return out;
}

std::string hex_bytes(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

struct Rgb {
  int r = 0, g = 0, b = 0;
};

Rgb rgb_of(int32_t color) {
  const std::string hex = ColorToHex(color);
  return {std::stoi(hex.substr(0, 2), nullptr, 16), std::stoi(hex.substr(2, 2), nullptr, 16),
          std::stoi(hex.substr(4, 2), nullptr, 16)};
}

// A 24-bit BMP inside a Windows metafile of one stretched-bitmap record, as hexadecimal text.
std::string bmp_metafile_hex(const Bitmap& image) {
  const std::string bmp = encode_bmp(image);
  const uint32_t file_size = static_cast<uint32_t>(bmp.size());
  const uint32_t d = file_size / 2 + 7;  // the bitmap record's size in words
  const uint32_t w = static_cast<uint32_t>(image.width()),
                 h = static_cast<uint32_t>(image.height());
  return "010009000003" + le_hex(d + 36, 4) + "0000" + le_hex(d, 4) +
         "0000050000000b0200000000050000000c02" + le_hex(h, 2) + le_hex(w, 2) +
         "05000000090200000000050000000102ffffff000400000007010300" + le_hex(d, 4) +
         "430f2000cc000000" + le_hex(h, 2) + le_hex(w, 2) + "00000000" + le_hex(h, 2) +
         le_hex(w, 2) + "00000000" + "\n" + hex_bytes(std::string_view(bmp).substr(14)) +
         "030000000000";
}

}  // namespace

int64_t Twips(double pixels) {
  return round_half_even(pixels / ScreenPPI * 72 * 20);
}

std::string RtfText(const std::string& text) {
  std::string_view body = text;
  if (body.ends_with("\r\n")) body.remove_suffix(2);
  std::string out;
  out.reserve(body.size() + 16);
  for (char c : body) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '{':
        out += "\\{";
        break;
      case '}':
        out += "\\}";
        break;
      case '\n':
        out += "\n\\par ";
        break;
      default:
        out += c;
    }
  }
  return out;
}

TOxvtRTFExport::TOxvtRTFExport() {
  RegisterFilter(LoadStr(kStrRtfDescription), "*." + LoadStr(kStrRtfExtension));
}

void TOxvtRTFExport::SetExportImageFormat(TOxvtImageFormat format) {
  if (format == ifJPG || format == ifBMP) image_format_ = format;
}

int TOxvtRTFExport::ShowModal() {
  if (!ShowDialog) return 1;
  TOxvtRTFExportDialog dialog(*this);
  return ShowOptionsDialog(dialog);
}

void TOxvtRTFExport::OnBeginDoc() {
  TOxvtExportFilter::OnBeginDoc();
  body_ = std::make_unique<RtfBody>(BodyMemoryLimit);
  fonts_.clear();
  colors_.clear();
  spilled_ = false;
  TvtReport* report = TvtGlobals::Get().CurReport;
  page_total_ = report ? report->EMFPages.Count() : 0;
}

void TOxvtRTFExport::OnBeginPage() {
  TOxvtExportFilter::OnBeginPage();
  body_->Append("{\n");
}

void TOxvtRTFExport::OnEndPage() {
  std::string page;
  for (const TOxvtDataRec& rec : DataRecords()) page += ObjectText(rec);
  page += PageCount() + 1 < page_total_ ? "\\par\\page}\n" : "\\par}\n";
  body_->Append(page);
  TOxvtExportFilter::OnEndPage();
}

void TOxvtRTFExport::OnEndDoc() {
  // The output file is open and is written whole here; it is not deleted first.
  if (!Stream) throw ZorelError("no output file is open");
  const std::string header = Header();
  Stream->write(header.data(), static_cast<std::streamsize>(header.size()));
  spilled_ = body_->Spilled();
  body_->WriteTo(*Stream);
  *Stream << "}";
  body_.reset();
  TOxvtExportFilter::OnEndDoc();
}

int TOxvtRTFExport::FontNumber(const std::string& name) {
  auto it = std::find(fonts_.begin(), fonts_.end(), name);
  if (it != fonts_.end()) return static_cast<int>(it - fonts_.begin());
  fonts_.push_back(name);
  return static_cast<int>(fonts_.size()) - 1;
}

int TOxvtRTFExport::ColorNumber(int32_t color) {
  const std::string hex = ColorToHex(color);
  auto it = std::find(colors_.begin(), colors_.end(), hex);
  if (it != colors_.end()) return static_cast<int>(it - colors_.begin()) + 1;
  colors_.push_back(hex);
  return static_cast<int>(colors_.size());
}

std::string TOxvtRTFExport::Header() const {
  TvtGlobals& g = TvtGlobals::Get();
  std::string h =
      "{\\rtf1\\ansi\\ansicpg" + n(g.fonts->code_page()) + "\\deff0\\deftab720{\\fonttbl";
  for (size_t i = 0; i < fonts_.size(); ++i)
    h += "{\\f" + n(static_cast<int64_t>(i)) + "\\fnil " + fonts_[i] + ";}";
  h += "}{\\colortbl;";
  for (const std::string& hex : colors_)
    h += "\\red" + n(std::stoi(hex.substr(0, 2), nullptr, 16)) + "\\green" +
         n(std::stoi(hex.substr(2, 2), nullptr, 16)) + "\\blue" +
         n(std::stoi(hex.substr(4, 2), nullptr, 16)) + ";";
  h += "}";

  TvtReport* report = g.CurReport;
  const std::string title = Title.empty() && report ? report->Title : Title;
  h += "{\\info{\\title " + title + "}";
  if (!Subject.empty()) h += "{\\subject " + Subject + "}";
  const double now = g.clock.now();
  const DateParts date = decode_date(now);
  const TimeParts time = decode_time(now);
  h += "{\\author " + Author + "}{\\keywords " + Keywords +
       "}{\\doccomm Produced by: " + ExportProducer() + "}{\\creatim\\yr" + n(date.year) + "\\mo" +
       n(date.month) + "\\dy" + n(date.day) + "\\hr" + n(time.hour) + "\\min" + n(time.minute) +
       "}}";

  h +=
      "\\viewkind1\\paperw" + n(Twips(FirstPageWidth())) + "\\paperh" + n(Twips(FirstPageHeight()));
  if (report && report->EMFPages.Count() > 0) {
    const TvtPreparedPage& last = report->EMFPages.PageInfo(report->EMFPages.Count() - 1);
    h += "\\margl" + n(Twips(ConvertToScreen(last.LeftMargin))) + "\\margr" +
         n(Twips(ConvertToScreen(last.RightMargin))) + "\\margt" +
         n(Twips(ConvertToScreen(last.TopMargin))) + "\\margb" +
         n(Twips(ConvertToScreen(last.BottomMargin)));
    if (report->EMFPages.PageInfo(0).Orientation == 1) h += "\\landscape";
  }
  h += "\\headery0\\footery0\n";
  return h;
}

std::string TOxvtRTFExport::ObjectText(const TOxvtDataRec& rec) {
  const bool memo = rec.ClassName == "TvtMemoView";
  const bool line = rec.ClassName == "TvtLineView";
  std::string out;
  if (ExportImages && rec.Image && (!memo || rec.RotatedText) && !line) out += PictureText(rec);
  if (ExportFrames && (memo || line)) out += FrameText(rec);
  if (memo && !rec.RotatedText && !rec.Text.empty()) out += TextText(rec);
  return out;
}

std::string TOxvtRTFExport::PictureText(const TOxvtDataRec& rec) const {
  std::string data;
  const bool jpeg = ExportImageFormat() == ifJPG;
  if (jpeg) {
    const std::string bytes = BitmapToJpeg(*rec.Image, JPEGQuality);
    data = GraphicDataInBinary ? "\\bin" + n(static_cast<int64_t>(bytes.size())) + " " + bytes
                               : hex_bytes(bytes) + "030000000000";
  } else {
    data = bmp_metafile_hex(*rec.Image);
  }
  return "\\par\\pard\\pvpg\\phpg\\posx" + n(Twips(rec.X)) + "\\posy" + n(Twips(rec.Y)) +
         "{\\pict" + (jpeg ? "\\jpegblip" : "\\wmetafile8") +
         "\\picscalex100\\picscaley100\\picbmp\\picbpp4\n" + data +
         "}\\par\\pard\\widctlpar\\par\n";
}

std::string TOxvtRTFExport::FrameText(const TOxvtDataRec& rec) {
  const bool with_text = rec.ClassName == "TvtMemoView" && !rec.Text.empty();
  if (!with_text) return DrawingText(rec);
  const int64_t x = Twips(rec.X), y = Twips(rec.Y), w = Twips(rec.Width);
  const double h = static_cast<double>(Twips(rec.Height));
  const int64_t bw = Twips(rec.FrameWidth);
  std::string keywords;
  if (rec.FrameTyp != 0) {
    const std::string b = "\\absh-" + n(round_half_even(h + static_cast<double>(bw))) + "\\absw" +
                          n(w) + "\\brdrs\\brdrw" + n(bw) + "\\brdrcf" +
                          n(ColorNumber(rec.FrameColor));
    if ((rec.FrameTyp & 15) == 15) {
      keywords = "\\box" + b;
    } else {
      if (rec.FrameTyp & 8) keywords += "\\brdrt" + b;
      if (rec.FrameTyp & 1) keywords += "\\brdrr" + b;
      if (rec.FrameTyp & 2) keywords += "\\brdrb" + b;
      if (rec.FrameTyp & 4) keywords += "\\brdrl" + b;
    }
  } else {
    if (!rec.Stretched) keywords += "\\absh-" + n(round_half_even(static_cast<double>(bw) + h));
    if (rec.Width >= rec.TextWidth) keywords += "\\absw" + n(w);
  }
  std::string out = "\\par\\pard" + keywords + "\\pvpg\\phpg\\posy" + n(y) + "\\posx" + n(x);
  if (rec.FillColor != kClNone)
    out += "\\shading10000\\cfpat" + n(ColorNumber(rec.FillColor)) + " ";
  return out;
}

std::string TOxvtRTFExport::DrawingText(const TOxvtDataRec& rec) const {
  const int64_t x = Twips(rec.X), y = Twips(rec.Y), w = Twips(rec.Width), h = Twips(rec.Height);
  const int64_t bw = Twips(rec.FrameWidth);
  // A line has no area: its fill colour is nothing to draw.
  const bool fill = rec.FillColor != kClNone && rec.ClassName != "TvtLineView";
  const bool all_sides = (rec.FrameTyp & 15) == 15;
  std::string fill_part = "\\dpfillpat0";
  if (fill) {
    const Rgb c = rgb_of(rec.FillColor);
    fill_part = "\\dpfillfgcr" + n(c.r) + "\\dpfillfgcg" + n(c.g) + "\\dpfillfgcb" + n(c.b) +
                "\\dpfillbgcr" + n(c.r) + "\\dpfillbgcg" + n(c.g) + "\\dpfillbgcb" + n(c.b) +
                "\\dpfillpat1";
  }
  const Rgb line = rgb_of(rec.FrameColor);
  const std::string line_part = "\\dplinecor" + n(line.r) + "\\dplinecog" + n(line.g) +
                                "\\dplinecob" + n(line.b) + "\\dplinew" + n(bw);
  const std::string head = "\n{\\*\\do\\dobxpage\\dobypage\\dprect\\dpx" + n(x) + "\\dpy" + n(y) +
                           "\\dpxsize" + n(w + 1) + "\\dpysize" + n(h + 1);
  std::string out;
  if (all_sides || fill) {
    out = head + (all_sides ? "\\dplinesolid" + line_part : std::string("\\dplinehollow")) +
          fill_part + "}\n";
  } else if (rec.FrameTyp & 15) {
    auto edge = [&](int64_t x0, int64_t y0, int64_t dx, int64_t dy) {
      return "{\\*\\do\\dobxpage\\dobypage\\dpline\\dpptx0\\dppty0\\dpptx" + n(dx) + "\\dppty" +
             n(dy) + "\\dpx" + n(x0) + "\\dpy" + n(y0) + "\\dpxsize" + n(dx + 1) + "\\dpysize" +
             n(dy + 1) + "\\dplinesolid" + line_part + "}\n";
    };
    if (rec.FrameTyp & 8) out += edge(x, y, w, 0);
    if (rec.FrameTyp & 1) out += edge(x + w, y, 0, h);
    if (rec.FrameTyp & 2) out += edge(x, y + h, w, 0);
    if (rec.FrameTyp & 4) out += edge(x, y, 0, h);
  } else {
    out = head + "\\dplinehollow }\n";
  }
  return "{\\lang1024 " + out + "}";
}

std::string TOxvtRTFExport::TextText(const TOxvtDataRec& rec) {
  std::string align;
  if (rec.Alignment & 4) align += "\\vertalt";
  if (rec.Alignment & 8) align += "\\vertalb";
  if (rec.Alignment & 64) align += "\\vertalc";
  if (rec.Alignment & 1) align += "\\ql";
  if (rec.Alignment & 2) align += "\\qr";
  if (rec.Alignment & 32) align += "\\qc";
  if (rec.Alignment & 16) align += "\\qj";
  const int font = FontNumber(rec.Font.Name);
  const int color = ColorNumber(rec.Font.Color);
  std::string on, off;
  const struct {
    uint8_t bit;
    const char* on;
    const char* off;
  } kStyles[] = {{kFsBold, " \\b", " \\b0"},
                 {kFsItalic, " \\i", " \\i0"},
                 {kFsStrikeOut, " \\strike", " \\strike0"},
                 {kFsUnderline, " \\ul", " \\ul0"}};
  for (const auto& style : kStyles)
    if (rec.Font.Style & style.bit) {
      on += style.on;
      off += style.off;
    }
  std::string out;
  if (!ExportFrames) {
    out = "\\par\\pard\\pvpg\\phpg\\absw" + n(Twips(rec.Width));
    if (!rec.Stretched) out += "\\absh-" + n(Twips(rec.Height));
    out += "\\posy" + n(Twips(rec.Y)) + "\\posx" + n(Twips(rec.X));
  }
  return out + "\\f" + n(font) + "\\cf" + n(color) + "\\fs" + n(2 * int64_t{rec.Font.Size}) + on +
         align + " " + RtfText(rec.Text) + "\n" + " " + off + "\n";
}

}  // namespace zr
