#include "platform/fonts/truetype_subset.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <set>

#include "platform/errors.h"

namespace zr {
namespace {

constexpr const char* kWhere = "TrueType font";

constexpr uint32_t tag_of(std::string_view name) {
  return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 |
         uint32_t(uint8_t(name[2])) << 8 | uint8_t(name[3]);
}

// Big-endian reads with bounds checks.
class BigEndian {
 public:
  explicit BigEndian(std::string_view bytes) : bytes_(bytes) {}
  uint32_t u8(size_t at) const { return uint8_t(at_(at, 1)[0]); }
  uint32_t u16(size_t at) const {
    const char* p = at_(at, 2);
    return uint32_t(uint8_t(p[0])) << 8 | uint8_t(p[1]);
  }
  int32_t s16(size_t at) const { return int16_t(u16(at)); }
  uint32_t u32(size_t at) const { return u16(at) << 16 | u16(at + 2); }
  std::string_view slice(size_t at, size_t length) const {
    return std::string_view(at_(at, length), length);
  }
  size_t size() const { return bytes_.size(); }

 private:
  const char* at_(size_t at, size_t length) const {
    if (at > bytes_.size() || length > bytes_.size() - at)
      throw FormatError("table data outside the file", kWhere, static_cast<int64_t>(at));
    return bytes_.data() + at;
  }
  std::string_view bytes_;
};

// The table directory of one face.
class Tables {
 public:
  Tables(std::string_view file, int index) : file_(file) {
    BigEndian in(file);
    size_t offset = 0;
    if (in.u32(0) == tag_of("ttcf")) {
      const uint32_t count = in.u32(8);
      if (index < 0 || static_cast<uint32_t>(index) >= count)
        throw FormatError("no face " + std::to_string(index) + " in the collection", kWhere);
      offset = in.u32(12 + 4 * static_cast<size_t>(index));
    }
    const uint32_t count = in.u16(offset + 4);
    for (uint32_t i = 0; i < count; ++i) {
      const size_t entry = offset + 12 + 16 * static_cast<size_t>(i);
      const uint32_t tag = in.u32(entry);
      const uint32_t start = in.u32(entry + 8), length = in.u32(entry + 12);
      tables_[tag] = in.slice(start, length);  // checks the range
    }
  }

  bool has(uint32_t tag) const { return tables_.count(tag) > 0; }
  std::string_view get(uint32_t tag) const {
    auto found = tables_.find(tag);
    return found == tables_.end() ? std::string_view() : found->second;
  }
  std::string_view need(std::string_view name) const {
    auto found = tables_.find(tag_of(name));
    if (found == tables_.end()) throw FormatError("no " + std::string(name) + " table", kWhere);
    return found->second;
  }

 private:
  std::string_view file_;
  std::map<uint32_t, std::string_view> tables_;
};

void put16(std::string& out, uint32_t value) {
  out += static_cast<char>((value >> 8) & 0xFF);
  out += static_cast<char>(value & 0xFF);
}

void put32(std::string& out, uint32_t value) {
  put16(out, value >> 16);
  put16(out, value & 0xFFFF);
}

void set16(std::string& out, size_t at, uint32_t value) {
  out[at] = static_cast<char>((value >> 8) & 0xFF);
  out[at + 1] = static_cast<char>(value & 0xFF);
}

void set32(std::string& out, size_t at, uint32_t value) {
  set16(out, at, value >> 16);
  set16(out, at + 2, value & 0xFFFF);
}

uint32_t checksum(std::string_view data) {
  uint32_t sum = 0;
  for (size_t i = 0; i < data.size(); i += 4) {
    uint32_t word = 0;
    for (size_t k = 0; k < 4; ++k)
      word = word << 8 | (i + k < data.size() ? uint8_t(data[i + k]) : 0u);
    sum += word;
  }
  return sum;
}

// Glyph `gid`'s bytes in glyf, through loca.
std::string_view glyph_data(const BigEndian& loca, bool long_offsets, const BigEndian& glyf,
                            uint32_t gid) {
  const size_t start = long_offsets ? loca.u32(4 * gid) : size_t{loca.u16(2 * gid)} * 2;
  const size_t end = long_offsets ? loca.u32(4 * (gid + 1)) : size_t{loca.u16(2 * (gid + 1))} * 2;
  if (end <= start) return {};
  return glyf.slice(start, end - start);
}

// The glyphs a composite glyph is built from.
std::vector<uint32_t> components(std::string_view glyph) {
  std::vector<uint32_t> found;
  BigEndian in(glyph);
  if (glyph.size() < 10 || in.s16(0) >= 0) return found;  // simple glyph
  constexpr uint32_t kWords = 0x0001, kScale = 0x0008, kMore = 0x0020, kXyScale = 0x0040,
                     kTwoByTwo = 0x0080;
  size_t at = 10;
  for (uint32_t flags = kMore; flags & kMore;) {
    flags = in.u16(at);
    found.push_back(in.u16(at + 2));
    at += 4 + ((flags & kWords) ? 4 : 2);
    if (flags & kScale)
      at += 2;
    else if (flags & kXyScale)
      at += 4;
    else if (flags & kTwoByTwo)
      at += 8;
  }
  return found;
}

// The PostScript name (name ID 6), printable ASCII without the characters PDF names and
// font names reserve.
std::string postscript_name(std::string_view table) {
  if (table.empty()) return {};
  BigEndian in(table);
  const uint32_t count = in.u16(2), strings = in.u16(4);
  for (uint32_t i = 0; i < count; ++i) {
    const size_t record = 6 + 12 * static_cast<size_t>(i);
    const uint32_t platform = in.u16(record), name_id = in.u16(record + 6);
    if (name_id != 6 || (platform != 1 && platform != 3)) continue;
    const std::string_view text = in.slice(strings + in.u16(record + 10), in.u16(record + 8));
    std::string name;
    const size_t step = platform == 3 ? 2 : 1;
    for (size_t k = step - 1; k < text.size(); k += step) {
      const char c = text[k];
      if (platform == 3 && text[k - 1] != 0) continue;
      if (c > 32 && c < 127 && std::strchr("[](){}<>/%#", c) == nullptr) name += c;
    }
    if (!name.empty()) return name;
  }
  return {};
}

}  // namespace

bool HasTrueTypeOutlines(std::string_view file, int index) {
  try {
    Tables tables(file, index);
    return tables.has(tag_of("glyf")) && tables.has(tag_of("loca")) && tables.has(tag_of("head")) &&
           tables.has(tag_of("hhea")) && tables.has(tag_of("maxp")) && tables.has(tag_of("hmtx"));
  } catch (const FormatError&) {
    return false;
  }
}

TrueTypeFaceInfo ReadTrueTypeFaceInfo(std::string_view file, int index) {
  Tables tables(file, index);
  TrueTypeFaceInfo info;
  BigEndian head(tables.need("head")), hhea(tables.need("hhea")), maxp(tables.need("maxp"));
  info.units_per_em = std::max<int>(16, static_cast<int>(head.u16(18)));
  info.x_min = head.s16(36);
  info.y_min = head.s16(38);
  info.x_max = head.s16(40);
  info.y_max = head.s16(42);
  info.ascent = hhea.s16(4);
  info.descent = hhea.s16(6);
  info.cap_height = info.ascent;
  info.glyph_count = static_cast<int>(maxp.u16(4));
  if (std::string_view os2_table = tables.get(tag_of("OS/2")); os2_table.size() >= 78) {
    BigEndian os2(os2_table);
    info.weight = static_cast<int>(os2.u16(4));
    const uint32_t family_class = os2.u16(30) >> 8;
    const uint32_t serif_style = os2.u8(33);  // PANOSE serif style
    info.serif =
        (family_class >= 1 && family_class <= 7) || (serif_style >= 2 && serif_style <= 10);
    if (os2.u16(0) >= 2 && os2_table.size() >= 90 && os2.s16(88) > 0) info.cap_height = os2.s16(88);
  }
  if (std::string_view post_table = tables.get(tag_of("post")); post_table.size() >= 16) {
    BigEndian post(post_table);
    info.italic_angle = static_cast<int32_t>(post.u32(4)) / 65536.0;
    info.fixed_pitch = post.u32(12) != 0;
  }
  info.postscript_name = postscript_name(tables.get(tag_of("name")));
  return info;
}

std::string SubsetTrueType(std::string_view file, int index, const std::vector<uint16_t>& glyphs) {
  Tables tables(file, index);
  std::string head(tables.need("head"));
  std::string hhea(tables.need("hhea"));
  std::string maxp(tables.need("maxp"));
  if (head.size() < 54 || hhea.size() < 36 || maxp.size() < 6)
    throw FormatError("short head, hhea or maxp table", kWhere);
  const BigEndian loca(tables.need("loca")), glyf(tables.need("glyf")), hmtx(tables.need("hmtx"));
  const bool long_offsets = BigEndian(head).s16(50) != 0;
  const uint32_t count = BigEndian(maxp).u16(4);
  const uint32_t metrics = std::max<uint32_t>(1, BigEndian(hhea).u16(34));

  // The glyphs to keep, with their components (composites nest only a few levels).
  std::set<uint32_t> keep{0};
  std::vector<uint32_t> pending;
  for (uint16_t gid : glyphs)
    if (gid < count && keep.insert(gid).second) pending.push_back(gid);
  pending.push_back(0);
  for (int guard = 0; !pending.empty() && guard < 1 << 20; ++guard) {
    const uint32_t gid = pending.back();
    pending.pop_back();
    for (uint32_t part : components(glyph_data(loca, long_offsets, glyf, gid)))
      if (part < count && keep.insert(part).second) pending.push_back(part);
  }
  const uint32_t kept_count = *keep.rbegin() + 1;  // glyphs past the last kept are cut off

  std::string new_glyf, new_loca, new_hmtx;
  for (uint32_t gid = 0; gid < kept_count; ++gid) {
    put32(new_loca, static_cast<uint32_t>(new_glyf.size()));
    if (!keep.count(gid)) {
      put32(new_hmtx, 0);
      continue;
    }
    // Past the font's long metrics the advance is the last one's and the side bearings
    // follow as a plain list.
    put16(new_hmtx, hmtx.u16(4 * static_cast<size_t>(std::min(gid, metrics - 1))));
    put16(new_hmtx, gid < metrics ? hmtx.u16(4 * size_t{gid} + 2)
                                  : hmtx.u16(4 * size_t{metrics} + 2 * size_t{gid - metrics}));
    new_glyf += glyph_data(loca, long_offsets, glyf, gid);
    while (new_glyf.size() % 4) new_glyf += '\0';
  }
  put32(new_loca, static_cast<uint32_t>(new_glyf.size()));
  set16(head, 50, 1);  // long loca offsets
  set32(head, 8, 0);   // checkSumAdjustment, set below
  set16(hhea, 34, kept_count);
  set16(maxp, 4, kept_count);
  // post format 3: no glyph names.
  std::string post(tables.get(tag_of("post")).substr(0, 32));
  if (post.size() == 32) set32(post, 0, 0x00030000);

  std::vector<std::pair<uint32_t, std::string>> out_tables = {
      {tag_of("glyf"), std::move(new_glyf)}, {tag_of("head"), std::move(head)},
      {tag_of("hhea"), std::move(hhea)},     {tag_of("hmtx"), std::move(new_hmtx)},
      {tag_of("loca"), std::move(new_loca)}, {tag_of("maxp"), std::move(maxp)},
  };
  for (const char* name : {"OS/2", "cvt ", "fpgm", "name", "prep"}) {
    const uint32_t tag = tag_of(name);
    if (tables.has(tag)) out_tables.emplace_back(tag, std::string(tables.get(tag)));
  }
  if (!post.empty()) out_tables.emplace_back(tag_of("post"), std::move(post));
  std::sort(out_tables.begin(), out_tables.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });

  // The table directory, then the tables, each padded to four bytes.
  const auto table_count = static_cast<uint32_t>(out_tables.size());
  uint32_t power = 1, log2 = 0;
  while (power * 2 <= table_count) power *= 2, ++log2;
  std::string font;
  put32(font, 0x00010000);
  put16(font, table_count);
  put16(font, power * 16);
  put16(font, log2);
  put16(font, table_count * 16 - power * 16);
  size_t offset = 12 + 16 * out_tables.size();
  size_t head_offset = 0;
  for (const auto& [tag, data] : out_tables) {
    put32(font, tag);
    put32(font, checksum(data));
    put32(font, static_cast<uint32_t>(offset));
    put32(font, static_cast<uint32_t>(data.size()));
    if (tag == tag_of("head")) head_offset = offset;
    offset += (data.size() + 3) / 4 * 4;
  }
  for (const auto& [tag, data] : out_tables) {
    font += data;
    while (font.size() % 4) font += '\0';
  }
  set32(font, head_offset + 8, 0xB1B0AFBAu - checksum(font));
  return font;
}

}  // namespace zr
