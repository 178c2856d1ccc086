#include "output/document/export_routines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/model/memo_font.h"
#include "engine/report/tvt_globals.h"
#include "platform/canvas/color.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/graphics/jpeg_codec.h"
#include "platform/rounding.h"

namespace zr {

namespace {

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equal_ignore_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

std::string base_name(std::string_view file_name) {
  return std::filesystem::path(std::string(file_name)).stem().string();
}

}  // namespace

Size DocumentTextExtent(std::string_view text, const TOxvtFontInfo& font) {
  TvtMemoFont memo_font;
  memo_font.Name = font.Name;
  memo_font.Charset = font.Charset;
  FontSelection selection = MemoFontSelection(memo_font, DesignFontPixels(font.Size), false);
  selection.style = font.Style;
  const TextExtent extent = TvtGlobals::Get().fonts->font(selection)->text_extent(text);
  return {extent.width, extent.height};
}

std::string ReplaceAllIgnoreCase(std::string_view text, std::string_view from,
                                 std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    if (pos + from.size() <= text.size() &&
        equal_ignore_case(text.substr(pos, from.size()), from)) {
      out += to;
      pos += from.size();
    } else {
      out += text[pos++];
    }
  }
  return out;
}

std::string ColorToHex(int32_t color) {
  const uint32_t value = Color(static_cast<uint32_t>(color)).resolved().value_or(0xFFFFFF);
  char text[8];
  std::snprintf(text, sizeof text, "%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF,
                (value >> 16) & 0xFF);
  return text;
}

std::string TruncateProportionally(const std::string& text, double width, double text_width) {
  if (!(width < text_width) || text_width <= 0) return text;
  const double wanted =
      std::ceil(std::max(width, 0.0) * static_cast<double>(text.size()) / text_width);
  const size_t keep =
      static_cast<size_t>(std::clamp(wanted, 0.0, static_cast<double>(text.size())));
  const int code_page =
      TvtGlobals::Find() ? TvtGlobals::Get().fonts->code_page() : kDefaultAnsiCodePage;
  size_t end = 0;
  while (end < keep) {
    const size_t length = std::max<size_t>(1, char_length(text, end, code_page));
    if (end + length > keep) break;
    end += length;
  }
  return text.substr(0, end);
}

std::string PageFileName(std::string_view file_name, int number, std::string_view extension) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%.4d", number);
  return base_name(file_name) + digits + "." + std::string(extension);
}

std::string PictureFileName(std::string_view file_name, int number, std::string_view extension) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "_I%.4d", number);
  return base_name(file_name) + digits + "." + std::string(extension);
}

std::string IncludeTrailingSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

void DeleteFileIfExists(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

std::string ExportProducer() {
  return "OxVTExportFilters V1.2 for Vantor (https://zorel.example.org/)";
}

std::string BitmapToJpeg(const Bitmap& bitmap, int quality) {
  JpegEncodeOptions options;
  options.quality = std::clamp(quality, 1, 100);
  options.progressive = false;  // baseline: every reader of embedded JPEG takes it
  return encode_jpeg(bitmap, options);
}

}  // namespace zr
