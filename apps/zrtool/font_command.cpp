// zrtool font: how a face name resolves and measures, for checking the font set-up.
#include <algorithm>
#include <ostream>

#include "arguments.h"
#include "commands.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"
#include "platform/number_text.h"

namespace zr::tool {
namespace {

int parse_number(const std::string& option, const std::string& text) {
  std::optional<int32_t> number = try_str_to_int(text);
  if (!number) throw ZorelError("bad number '" + text + "' for " + option);
  return *number;
}

const char* yes_no(bool value) {
  return value ? "yes" : "no";
}

const char* family_name(uint8_t family) {
  switch (family) {
    case kFamilyRoman:
      return "roman";
    case kFamilySwiss:
      return "swiss";
    case kFamilyModern:
      return "modern";
    case kFamilyScript:
      return "script";
    case kFamilyDecorative:
      return "decorative";
    default:
      return "dontcare";
  }
}

// Whether the face itself is installed, and what stands in for it when it is not.
std::string installed_line(const ResolvedFace& face, uint8_t charset) {
  switch (face.match) {
    case FaceMatch::Installed:
      return "installed: yes";
    case FaceMatch::Substitute:
      return "installed: no; stands in: \"" + face.family + "\"";
    case FaceMatch::Fallback:
      break;
  }
  return "installed: no; nothing answers to the name, fallback for character set " +
         std::to_string(charset) + ": \"" + face.family + "\"";
}

void print_metrics(const FontMetrics& m, std::ostream& out) {
  out << "height: " << m.height << "\nascent: " << m.ascent << "\ndescent: " << m.descent
      << "\ninternal leading: " << m.internal_leading
      << "\nexternal leading: " << m.external_leading
      << "\naverage char width: " << m.ave_char_width << "\nmax char width: " << m.max_char_width
      << "\nweight: " << m.weight << "\nfixed pitch: " << yes_no(m.fixed_pitch())
      << "\nfamily: " << family_name(m.family()) << "\ncharset: " << int{m.charset}
      << "\nem size: " << m.em_size << "\nunits per em: " << m.units_per_em
      << "\nitalic angle: " << m.italic_angle << "\ncap height: " << m.cap_height
      << "\nx height: " << m.x_height << "\nunderline: position " << m.underscore_position
      << " size " << m.underscore_size << "\nstrike-out: position " << m.strikeout_position
      << " size " << m.strikeout_size << "\nbounding box: " << m.box.left << " " << m.box.bottom
      << " " << m.box.right << " " << m.box.top << "\noutline: " << yes_no(m.is_outline) << "\n";
}

}  // namespace

int run_font_command(const std::vector<std::string>& args, std::ostream& out) {
  FontSelection spec;
  spec.height = -16;
  int code_page = kDefaultAnsiCodePage;
  int extra = 0;
  std::string text;
  bool has_text = false;
  auto style = [&](uint8_t bit) { return [&spec, bit] { spec.style |= bit; }; };
  std::vector<std::string> positional = parse_options(
      args, {Switch("--bold", style(kFsBold)),
             Switch("--italic", style(kFsItalic)),
             Switch("--underline", style(kFsUnderline)),
             Switch("--strike-out", style(kFsStrikeOut)),
             {"--height", [&](const std::string& v) { spec.height = parse_number("--height", v); }},
             {"--width", [&](const std::string& v) { spec.width = parse_number("--width", v); }},
             {"--charset",
              [&](const std::string& v) {
                spec.charset = static_cast<uint8_t>(parse_number("--charset", v));
              }},
             {"--extra", [&](const std::string& v) { extra = parse_number("--extra", v); }},
             {"--code-page", [&](const std::string& v) { code_page = parse_code_page(v); }},
             {"--text", [&](const std::string& v) {
                text = v;
                has_text = true;
              }}});
  if (positional.size() != 1) throw ZorelError("give one face name");
  // The command line is UTF-8; the engine's fonts take ANSI text.
  spec.name = utf8_to_ansi(positional[0], code_page);
  FontResolver resolver(code_page);
  std::shared_ptr<const Font> font = resolver.font(spec);
  const ResolvedFace& face = font->face();
  out << "face: " << positional[0] << "\n"
      << installed_line(face, spec.charset) << "\nfile: " << face.file << "\nindex: " << face.index
      << "\nfamily: " << face.family << "\nsynthetic bold: " << yes_no(face.synthetic_bold)
      << "\nsynthetic italic: " << yes_no(face.synthetic_italic) << "\n";
  print_metrics(font->metrics(), out);
  if (has_text) {
    TextExtent extent = font->text_extent(utf8_to_ansi(text, code_page), extra);
    out << "text extent: " << extent.width << " x " << extent.height << "\n";
  }
  return 0;
}

}  // namespace zr::tool
