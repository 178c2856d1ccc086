#include "output/pdf/pdf_embedded_fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "output/pdf/pdf_object_writer.h"
#include "output/pdf/pdf_syntax.h"
#include "platform/errors.h"
#include "platform/fonts/truetype_subset.h"
#include "platform/mapped_file.h"

namespace zr {

namespace {

// Six capital letters that tell this subset from other subsets of the same face: a hash of
// the face's name and the glyphs kept, so equal subsets get equal names.
std::string subset_tag(const std::string& name, const std::vector<uint16_t>& glyphs) {
  uint64_t hash = 1469598103934665603ull;
  auto mix = [&hash](uint64_t value) {
    hash ^= value;
    hash *= 1099511628211ull;
  };
  for (char c : name) mix(static_cast<unsigned char>(c));
  for (uint16_t gid : glyphs) mix(gid);
  std::string tag;
  for (int i = 0; i < 6; ++i, hash /= 26) tag += static_cast<char>('A' + hash % 26);
  return tag;
}

// A font name of printable ASCII without the characters names reserve.
std::string name_from_family(const std::string& family, size_t face) {
  std::string name;
  for (char c : family)
    if (c > 32 && c < 127 && std::string_view("[](){}<>/%#").find(c) == std::string_view::npos)
      name += c;
  return name.empty() ? "Font" + std::to_string(face) : name;
}

// 1000 units per em.
int per_mille(int units, int units_per_em) {
  return static_cast<int>(std::lround(units * 1000.0 / units_per_em));
}

void append_hex4(std::string& out, uint32_t value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(value >> shift) & 0xF];
}

// The character as UTF-16 big-endian hexadecimal digits.
void append_utf16_hex(std::string& out, char32_t c) {
  if (c >= 0x10000 && c <= 0x10FFFF) {
    c -= 0x10000;
    append_hex4(out, 0xD800 + (c >> 10));
    append_hex4(out, 0xDC00 + (c & 0x3FF));
  } else {
    append_hex4(out, c <= 0xFFFF ? c : 0xFFFD);
  }
}

std::string to_unicode_cmap(const std::vector<char32_t>& characters) {
  std::vector<std::pair<uint16_t, char32_t>> pairs;
  for (size_t gid = 0; gid < characters.size() && gid <= 0xFFFF; ++gid)
    if (characters[gid] != 0) pairs.emplace_back(static_cast<uint16_t>(gid), characters[gid]);
  std::string map =
      "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n/CIDSystemInfo\n<< "
      "/Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n/CMapName /Adobe-Identity-UCS "
      "def\n/CMapType 2 def\n1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
  for (size_t start = 0; start < pairs.size(); start += 100) {
    const size_t end = std::min(pairs.size(), start + 100);
    AppendInt(map, static_cast<int64_t>(end - start));
    map += " beginbfchar\n";
    for (size_t i = start; i < end; ++i) {
      map += '<';
      append_hex4(map, pairs[i].first);
      map += "> <";
      append_utf16_hex(map, pairs[i].second);
      map += ">\n";
    }
    map += "endbfchar\n";
  }
  map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend";
  return map;
}

// The widths array: runs of consecutive glyphs as "first [w w ...]".
std::string widths_array(const std::vector<int32_t>& advances, int em) {
  std::string out = "[";
  size_t gid = 0;
  while (gid < advances.size()) {
    if (advances[gid] < 0) {
      ++gid;
      continue;
    }
    out += '\n';
    AppendInt(out, static_cast<int64_t>(gid));
    out += " [";
    for (bool first = true; gid < advances.size() && advances[gid] >= 0; ++gid, first = false) {
      if (!first) out += ' ';
      AppendInt(out, PdfGlyphWidth(advances[gid], em));
    }
    out += ']';
  }
  return out + "\n]";
}

// number 0 obj << /Length ... >> stream ... endstream endobj, deflated when compressing.
void write_stream_object(PdfObjectWriter& writer, int number, std::string_view dictionary,
                         const std::string& data, bool compress, TPDFCompressionMethod method) {
  const std::string bytes = compress ? Deflate(data, method) : data;
  std::string object;
  AppendInt(object, number);
  object += " 0 obj\n<<\n/Length ";
  AppendInt(object, static_cast<int64_t>(bytes.size()));
  object += dictionary;
  if (compress) object += "\n/Filter /FlateDecode";
  object += "\n>>\nstream\n";
  object += bytes;
  object += "\nendstream\nendobj\n";
  writer.MarkObject(number);
  writer.Write(object);
}

}  // namespace

int PdfEmbeddedFonts::FaceFor(const ResolvedFace& face, FT_Face ft_face) {
  auto key = std::make_tuple(face.file, face.index);
  auto found = face_index_.find(key);
  if (found != face_index_.end()) return found->second;
  Face entry;
  entry.file = face.file;
  entry.index = face.index;
  entry.family = face.family;
  const size_t count = ft_face && ft_face->num_glyphs > 0 ? size_t(ft_face->num_glyphs) : 1;
  entry.characters.assign(count, 0);
  entry.used.assign(count, false);
  faces_.push_back(std::move(entry));
  const int index = static_cast<int>(faces_.size()) - 1;
  face_index_.emplace(std::move(key), index);
  return index;
}

int PdfEmbeddedFonts::FontFor(const std::shared_ptr<const Font>& font, const GlyphRef& glyph) {
  if (font == last_font_ && glyph.face == last_ft_face_ && glyph.synthetic_bold == last_bold_ &&
      glyph.synthetic_italic == last_italic_)
    return last_index_;
  const bool primary = glyph.face == font->ft_face() || !font->fallback();
  const int face = FaceFor(primary ? font->face() : *font->fallback(), glyph.face);
  const int em = font->metrics().em_size;
  auto key = std::make_tuple(face, em, glyph.synthetic_bold, glyph.synthetic_italic);
  auto found = font_index_.find(key);
  int index;
  if (found != font_index_.end()) {
    index = found->second;
  } else {
    PdfFont entry;
    entry.face = face;
    entry.em = em;
    entry.synthetic_bold = glyph.synthetic_bold;
    entry.synthetic_italic = glyph.synthetic_italic;
    entry.advances.assign(faces_[static_cast<size_t>(face)].used.size(), -1);
    fonts_.push_back(std::move(entry));
    index = static_cast<int>(fonts_.size()) - 1;
    font_index_.emplace(key, index);
  }
  last_font_ = font;
  last_ft_face_ = glyph.face;
  last_bold_ = glyph.synthetic_bold;
  last_italic_ = glyph.synthetic_italic;
  last_index_ = index;
  return index;
}

int PdfEmbeddedFonts::Use(const std::shared_ptr<const Font>& font, const GlyphRef& glyph,
                          int advance) {
  const int index = FontFor(font, glyph);
  PdfFont& entry = fonts_[static_cast<size_t>(index)];
  Face& face = faces_[static_cast<size_t>(entry.face)];
  if (glyph.glyph_index < face.used.size()) {
    face.used[glyph.glyph_index] = true;
    if (face.characters[glyph.glyph_index] == 0 && glyph.glyph_index != 0)
      face.characters[glyph.glyph_index] = glyph.code_point;
    int32_t& width = entry.advances[glyph.glyph_index];
    if (width < 0) width = std::max(0, advance);
  }
  return index;
}

int PdfEmbeddedFonts::UseFace(const Font& font) {
  const int face = FaceFor(font.face(), font.ft_face());
  auto key = std::make_tuple(face, font.metrics().em_size, false, false);
  auto found = font_index_.find(key);
  if (found != font_index_.end()) return found->second;
  PdfFont entry;
  entry.face = face;
  entry.em = font.metrics().em_size;
  entry.advances.assign(faces_[static_cast<size_t>(face)].used.size(), -1);
  fonts_.push_back(std::move(entry));
  font_index_.emplace(key, static_cast<int>(fonts_.size()) - 1);
  return static_cast<int>(fonts_.size()) - 1;
}

std::vector<int> PdfEmbeddedFonts::Number(int& next_object_number) {
  font_objects_.clear();
  face_objects_.clear();
  for (size_t i = 0; i < fonts_.size(); ++i) {
    font_objects_.push_back(++next_object_number);
    ++next_object_number;
  }
  for (size_t f = 0; f < faces_.size(); ++f) {
    face_objects_.push_back(next_object_number + 1);
    next_object_number += 3;
  }
  return font_objects_;
}

void PdfEmbeddedFonts::Write(PdfObjectWriter& writer, bool compress,
                             TPDFCompressionMethod method) const {
  const std::vector<int>& font_objects = font_objects_;
  const std::vector<int>& face_objects = face_objects_;

  std::vector<std::string> names;
  for (size_t f = 0; f < faces_.size(); ++f) {
    const Face& face = faces_[f];
    // Mapped, not read: only the glyphs kept and the small tables are touched.
    const MappedFile mapped(face.file);
    const std::string_view file = mapped.bytes();
    std::vector<uint16_t> glyphs;
    for (size_t gid = 0; gid < face.used.size() && gid <= 0xFFFF; ++gid)
      if (face.used[gid]) glyphs.push_back(static_cast<uint16_t>(gid));
    const bool outlines = HasTrueTypeOutlines(file, face.index);
    TrueTypeFaceInfo info;
    if (outlines) info = ReadTrueTypeFaceInfo(file, face.index);
    std::string base =
        info.postscript_name.empty() ? name_from_family(face.family, f) : info.postscript_name;
    const std::string name = subset_tag(base, glyphs) + "+" + base;
    names.push_back(name);

    const int descriptor = face_objects[f];
    const int upem = info.units_per_em;
    std::string body = "/Type /FontDescriptor\n/FontName /" + name + "\n/Flags ";
    AppendInt(body, 4 + (info.fixed_pitch ? 1 : 0) + (info.serif ? 2 : 0) +
                        (info.italic_angle != 0 ? 64 : 0));
    body += "\n/FontBBox [";
    const int box[] = {info.x_min, info.y_min, info.x_max, info.y_max};
    for (size_t k = 0; k < 4; ++k) {
      if (k > 0) body += ' ';
      AppendInt(body, per_mille(box[k], upem));
    }
    body += "]\n/ItalicAngle ";
    AppendNumber(body, info.italic_angle);
    body += "\n/Ascent ";
    AppendInt(body, per_mille(info.ascent, upem));
    body += "\n/Descent ";
    AppendInt(body, per_mille(info.descent, upem));
    body += "\n/CapHeight ";
    AppendInt(body, per_mille(info.cap_height, upem));
    body += "\n/StemV ";
    AppendInt(body, 50 + info.weight * info.weight / 4225);
    if (outlines) {
      body += "\n/FontFile2 ";
      body += PdfRef(descriptor + 1);
    }
    writer.WriteObject(body, descriptor);
    if (outlines) {
      const std::string program = SubsetTrueType(file, face.index, glyphs);
      std::string length1 = "\n/Length1 ";
      AppendInt(length1, static_cast<int64_t>(program.size()));
      write_stream_object(writer, descriptor + 1, length1, program, compress, method);
    } else {
      // Not a TrueType program (a CFF or bitmap face): there is nothing this writer can
      // embed, and readers draw the glyphs with a face of their own.
      writer.WriteObject("null", descriptor + 1);
    }
    write_stream_object(writer, descriptor + 2, "", to_unicode_cmap(face.characters), compress,
                        method);
  }

  for (size_t i = 0; i < fonts_.size(); ++i) {
    const PdfFont& font = fonts_[i];
    const std::string& name = names[static_cast<size_t>(font.face)];
    const int descriptor = face_objects[static_cast<size_t>(font.face)];
    std::string body = "/Type /Font\n/Subtype /Type0\n/Name /F";
    AppendInt(body, static_cast<int64_t>(i));
    body += "\n/BaseFont /" + name + "\n/Encoding /Identity-H\n/DescendantFonts [" +
            PdfRef(font_objects[i] + 1) + "]\n/ToUnicode " + PdfRef(descriptor + 2);
    writer.WriteObject(body, font_objects[i]);
    body = "/Type /Font\n/Subtype /CIDFontType2\n/BaseFont /" + name +
           "\n/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
           "\n/FontDescriptor " +
           PdfRef(descriptor) + "\n/CIDToGIDMap /Identity\n/DW 1000\n/W " +
           widths_array(font.advances, font.em);
    writer.WriteObject(body, font_objects[i] + 1);
  }
}

}  // namespace zr
