#include "output/pdf/pdf_fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "engine/report/tvt_globals.h"
#include "output/pdf/pdf_object_writer.h"
#include "output/pdf/pdf_syntax.h"
#include "platform/fonts/font_resolver.h"
#include "platform/rounding.h"

namespace zr {

namespace {

// Sizes from damaged records may be anything.
int saturate_to_int(double value) {
  return static_cast<int>(
      std::clamp(value, static_cast<double>(INT32_MIN), static_cast<double>(INT32_MAX)));
}

int ceil_points(int pixels, int size) {
  return saturate_to_int(
      std::ceil(pixels / static_cast<double>(ScreenPPI) * 72 * static_cast<double>(size) / 1000));
}

// GDI's integer metrics in points: the division by the resolution comes first.
int whole_inches_in_points(int pixels) {
  return pixels / ScreenPPI * 72;
}

std::string simple_font_body(const TOxvtFontMetrics& m, const std::string& name, int index) {
  std::string widths;
  for (size_t i = 0; i < m.Widths.size(); ++i) {
    if (i > 0) widths += ' ';
    widths += std::to_string(m.Widths[i]);
  }
  return "/Type /Font\n/Subtype /TrueType\n/Name /F" + std::to_string(index) + "\n/BaseFont /" +
         name + "\n/Encoding /WinAnsiEncoding\n/FirstChar 32\n/LastChar 255\n/Widths [" + widths +
         "]\n/FontDescriptor " + PdfRef(m.DescriptorObject);
}

std::string simple_descriptor_body(const TOxvtFontMetrics& m, const std::string& name) {
  char box[96];
  std::snprintf(box, sizeof box, "/FontBBox [%d %d %d %d]", m.FontBBox.left, m.FontBBox.bottom,
                m.FontBBox.right, m.FontBBox.top);
  return "/Type /FontDescriptor\n/FontName /" + name + "\n/Flags " + std::to_string(m.Flags) +
         "\n" + box + "\n/Ascent " + std::to_string(m.Ascent) + "\n/Descent " +
         std::to_string(m.Descent) + "\n/CapHeight " + std::to_string(m.CapHeight) +
         "\n/AvgWidth " + std::to_string(m.AvgWidth) + "\n/MaxWidth " + std::to_string(m.MaxWidth) +
         "\n/StemV " + std::to_string(m.StemV) + "\n/ItalicAngle " + std::to_string(m.ItalicAngle);
}

std::string composite_font_body(const TOxvtFontMetrics& m, const std::string& name, int index) {
  return "/Type /Font\n/Subtype /Type0\n/Name /F" + std::to_string(index) + "\n/BaseFont /" + name +
         "\n/DescendantFonts [ " + PdfRef(m.DescriptorObject) + " ]\n/Encoding /KSCms-UHC-H";
}

std::string descendant_font_body(const std::string& name, int descriptor) {
  return "/Type /Font\n/Subtype /CIDFontType2\n/BaseFont /" + name +
         "\n/WinCharSet 129/FontDescriptor " + PdfRef(descriptor) +
         "\n/CIDSystemInfo\n<<\n/Registry(Adobe)\n/Ordering(Korea1)\n/Supplement 1\n>>\n/DW "
         "1000\n/W "
         "[\n1 94 500\n]";
}

std::string composite_descriptor_body(const std::string& name) {
  char box[96];
  std::snprintf(box, sizeof box, "/FontBBox [ %d %d %d %d ]", -100, -142, 1100, 1000);
  return "/Type /FontDescriptor\n/FontName /" + name + "\n/Flags 7\n" + box +
         "\n/MissingWidth 500\n/StemV 91\n/StemH 91\n/ItalicAngle 0\n/CapHeight 858\n/XHeight "
         "429\n/Ascent 858\n/Descent -142\n/Leading 148\n/MaxWidth 1000\n/AvgWidth 500\n/Style "
         "\n<< /Panose <000000400000000000000000> >>";
}

}  // namespace

std::string PdfFontKey(const TOxvtFontInfo& font) {
  std::string key;
  for (char c : font.Name)
    if (c != ' ') key += c;
  const bool bold = font.Style & kFsBold;
  const bool italic = font.Style & kFsItalic;
  if (bold || italic) key += ',';
  if (bold) key += "Bold";
  if (italic) key += "Italic";
  return key;
}

bool IsCompositeFontName(std::string_view name) {
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 33 || byte > 126) return true;
  }
  return false;
}

bool IsPlainAscii(std::string_view text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte > 126) return false;
  }
  return true;
}

TOxvtFontMetrics MakeFontMetrics(const TOxvtFontInfo& font, std::string key) {
  TOxvtFontMetrics m;
  m.Key = std::move(key);
  m.Composite = IsCompositeFontName(font.Name);
  m.PixelsPerInch = font.PixelsPerInch;
  const int height = static_cast<int>(std::min<int64_t>(
      std::llabs(round_half_even(font.Size * static_cast<double>(font.PixelsPerInch) / 72)),
      INT32_MAX));
  m.StrikeOutSize = font.Size / 20;
  m.StrikeOutPosition = height / 5;
  m.UnderlineSize = font.Size / 10;
  m.UnderlinePosition = -1;
  m.Widths.fill(600);

  FontSelection selection;
  selection.name = font.Name;
  selection.height = -round_half_even_to_int(1000.0 * ScreenPPI / 72);
  selection.style = font.Style & (kFsBold | kFsItalic);
  selection.charset = font.Charset;
  const std::shared_ptr<const Font> face = TvtGlobals::Get().fonts->font(selection);
  const std::array<int, 224> pixels = face->char_widths_32_255();
  for (size_t i = 0; i < pixels.size(); ++i)
    m.Widths[i] = round_half_even_to_int(pixels[i] / static_cast<double>(ScreenPPI) * 72);

  const FontMetrics& tm = face->metrics();
  m.Flags = 0;
  if (tm.fixed_pitch()) m.Flags += 1;
  if (tm.pitch_and_family & 0x10) m.Flags += 2;
  if (tm.charset == kSymbolCharset) m.Flags += 4;
  if (tm.pitch_and_family & 0x40) m.Flags += 8;
  if (tm.charset != kSymbolCharset) m.Flags += 32;
  if (tm.italic) m.Flags += 64;
  m.Ascent = whole_inches_in_points(tm.ascent);
  m.CapHeight = m.Ascent;
  m.Descent = whole_inches_in_points(-std::abs(tm.descent));
  m.AvgWidth = whole_inches_in_points(tm.ave_char_width);
  m.MaxWidth = whole_inches_in_points(tm.max_char_width);
  m.Leading = whole_inches_in_points(tm.external_leading);
  m.FontBBox = {-250, m.Descent, m.MaxWidth, m.Ascent};

  if (tm.is_outline) {
    m.ItalicAngle = tm.italic_angle / 10;
    m.StrikeOutSize = ceil_points(tm.strikeout_size, font.Size);
    m.StrikeOutPosition = ceil_points(tm.strikeout_position, font.Size);
    m.UnderlineSize = ceil_points(tm.underscore_size, font.Size);
    m.UnderlinePosition = ceil_points(tm.underscore_position, font.Size) - 1;
  }
  return m;
}

int GlyphWidthSum(const TOxvtFontMetrics& metrics, std::string_view text) {
  int sum = 0;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (metrics.Composite)
      sum += 500;
    else if (byte >= 32)
      sum += metrics.Widths[byte - 32];
  }
  return sum;
}

void WriteFontObjects(PdfObjectWriter& writer, const TOxvtFontMetrics& metrics, int index,
                      int& next_object_number) {
  const std::string name = PdfName(metrics.Key);
  if (!metrics.Composite) {
    writer.WriteObject(simple_font_body(metrics, name, index), metrics.FontObject);
    writer.WriteObject(simple_descriptor_body(metrics, name), metrics.DescriptorObject);
    return;
  }
  const int descriptor = ++next_object_number;
  writer.WriteObject(composite_font_body(metrics, name, index), metrics.FontObject);
  writer.WriteObject(descendant_font_body(name, descriptor), metrics.DescriptorObject);
  writer.WriteObject(composite_descriptor_body(name), descriptor);
}

}  // namespace zr
