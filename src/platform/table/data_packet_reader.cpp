#include "platform/table/data_packet_reader.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <unordered_map>
#include <utility>

#include "platform/errors.h"
#include "platform/table/client_dataset.h"
#include "platform/table/packet_values.h"

namespace zr {
namespace {

constexpr size_t kMaxFields = 4096;
constexpr int kMaxNesting = 16;
constexpr size_t kMaxRows = std::numeric_limits<uint32_t>::max() - 1;  // row numbers are 32-bit

bool equals_ascii_ci(std::string_view a, std::string_view b) {
  return same_text_ascii(a, b);
}

bool is_ascii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The packet's text, isolated from surrounding page text and converted to UTF-8.
struct PreparedText {
  std::string buffer;
  int64_t line_base = 0;  // line breaks before the packet in the input
};

// Value of the `encoding` pseudo-attribute of an XML declaration, or "".
std::string declared_encoding(std::string_view text) {
  if (text.substr(0, 5) != "<?xml") return {};
  std::string_view decl = text.substr(0, text.find("?>"));
  size_t at = decl.find("encoding");
  if (at == std::string_view::npos) return {};
  size_t quote = decl.find_first_of("\"'", at);
  if (quote == std::string_view::npos) return {};
  size_t close = decl.find(decl[quote], quote + 1);
  if (close == std::string_view::npos) return {};
  return std::string(decl.substr(quote + 1, close - quote - 1));
}

// iconv name for a declared encoding; Windows names of the Korean code page included.
std::string iconv_charset(const std::string& declared) {
  for (const char* korean : {"ks_c_5601-1987", "windows-949", "x-windows-949", "euc-kr", "cp949"})
    if (equals_ascii_ci(declared, korean)) return "CP949";
  return declared;
}

// The LCID of the packet's first PARAMS (the table's locale), or 0 when it has none. Read
// from the raw bytes: the attribute and its digits are ASCII whatever the code page.
int packet_lcid(std::string_view text) {
  const std::string upper = upper_ascii(text.substr(0, text.find("<ROWDATA")));
  for (size_t at = upper.find("LCID"); at != std::string::npos; at = upper.find("LCID", at + 4)) {
    size_t i = at + 4;
    while (i < upper.size() && static_cast<unsigned char>(upper[i]) <= 32) ++i;
    if (i >= upper.size() || upper[i] != '=') continue;
    ++i;
    while (i < upper.size() && static_cast<unsigned char>(upper[i]) <= 32) ++i;
    if (i >= upper.size() || (upper[i] != '"' && upper[i] != '\'')) continue;
    int lcid = 0;
    for (++i; i < upper.size() && upper[i] >= '0' && upper[i] <= '9' && lcid < 0x10000; ++i)
      lcid = lcid * 10 + (upper[i] - '0');
    return lcid;
  }
  return 0;
}

// The Windows ANSI code page of a locale identifier; 0 for none (no LCID, neutral language).
int code_page_of_lcid(int lcid) {
  const int language = lcid & 0x3FF, sublanguage = lcid >> 10;
  if (language == 0) return 0;
  if (language == 0x04) return sublanguage == 2 || sublanguage == 4 ? 936 : 950;  // PRC, SG
  if (language == 0x1A) return sublanguage == 3 ? 1251 : 1250;  // Serbian Cyrillic; Latin
  // Primary language -> code page; every other language is Western.
  // clang-format off
  static constexpr std::pair<int, int> kCodePages[] = {
      // Korean, Japanese
      {0x12, 949}, {0x11, 932},
      // Czech, Hungarian, Polish, Romanian, Slovak, Albanian, Slovenian
      {0x05, 1250}, {0x0E, 1250}, {0x15, 1250}, {0x18, 1250}, {0x1B, 1250}, {0x1C, 1250},
      {0x24, 1250},
      // Bulgarian, Russian, Ukrainian, Belarusian, Macedonian, Kazakh, Tatar, Mongolian
      {0x02, 1251}, {0x19, 1251}, {0x22, 1251}, {0x23, 1251}, {0x2F, 1251}, {0x3F, 1251},
      {0x44, 1251}, {0x50, 1251},
      // Greek, Turkish, Hebrew; Arabic, Urdu, Farsi; Estonian, Latvian, Lithuanian
      {0x08, 1253}, {0x1F, 1254}, {0x0D, 1255}, {0x01, 1256}, {0x20, 1256}, {0x29, 1256},
      {0x25, 1257}, {0x26, 1257}, {0x27, 1257},
      // Vietnamese, Thai
      {0x2A, 1258}, {0x1E, 874},
  };
  // clang-format on
  for (const auto& [primary, code_page] : kCodePages)
    if (primary == language) return code_page;
  return 1252;
}

// 8-bit text of a packet without an encoding declaration that is not UTF-8: the code page of
// its LCID; without one, the engine's code page when the bytes are well-formed in it (packets
// made for this engine), else Windows Western.
std::string eight_bit_to_utf8(std::string_view text, int engine_code_page) {
  if (int code_page = code_page_of_lcid(packet_lcid(text))) return ansi_to_utf8(text, code_page);
  if (std::optional<std::string> converted = try_ansi_to_utf8(text, engine_code_page))
    return *std::move(converted);
  return ansi_to_utf8(text, 1252);
}

// An old runtime wrote "</PARAMS>" after a self-closed "<PARAMS .../>"; drop such a closing
// tag. All PARAMS elements precede ROWDATA, so only that part is searched.
void drop_stray_params_end(std::string& buffer) {
  static constexpr std::string_view kEnd = "</PARAMS>";
  size_t region_end = std::min(buffer.find("<ROWDATA"), buffer.size());
  size_t pos = 0;
  while ((pos = buffer.find(kEnd, pos)) != std::string::npos && pos < region_end) {
    size_t back = pos;
    while (back > 0 && static_cast<unsigned char>(buffer[back - 1]) <= 32) --back;
    bool stray = false;
    if (back >= 2 && buffer.compare(back - 2, 2, "/>") == 0) {
      size_t open = buffer.rfind('<', back - 2);
      stray = open != std::string::npos && buffer.compare(open, 7, "<PARAMS") == 0 &&
              (static_cast<unsigned char>(buffer[open + 7]) <= 32 || buffer[open + 7] == '/');
    }
    if (stray) {
      buffer.erase(pos, kEnd.size());
      region_end -= kEnd.size();
    } else {
      pos += kEnd.size();
    }
  }
}

PreparedText prepare_text(std::string_view bytes, const std::string& name, int code_page) {
  std::string wide_converted;
  if (bytes.size() >= 2 &&
      ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))) {
    wide_converted = charset_to_utf8(bytes, "UTF-16");
    bytes = wide_converted;
  } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
  }
  size_t packet = bytes.find("<DATAPACKET");
  if (packet == std::string_view::npos) throw FormatError(name + " is not a data packet");
  // The declaration that belongs to the packet is the one right before it (blanks between);
  // one further up belongs to the page around the packet.
  size_t start = packet;
  size_t declaration = packet == 0 ? std::string_view::npos : bytes.rfind("<?xml", packet - 1);
  if (declaration != std::string_view::npos) {
    size_t close = bytes.find("?>", declaration);
    if (close != std::string_view::npos && close + 2 <= packet &&
        std::all_of(bytes.begin() + static_cast<ptrdiff_t>(close + 2),
                    bytes.begin() + static_cast<ptrdiff_t>(packet),
                    [](char c) { return static_cast<unsigned char>(c) <= 32; }))
      start = declaration;
  }
  size_t end = bytes.find("</DATAPACKET>", packet);
  end = end == std::string_view::npos ? bytes.size() : end + std::strlen("</DATAPACKET>");
  PreparedText prepared;
  prepared.line_base =
      std::count(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(start), '\n');
  std::string_view text = bytes.substr(start, end - start);
  std::string encoding = declared_encoding(text);
  bool utf8 = encoding.empty() || equals_ascii_ci(encoding, "UTF-8") ||
              equals_ascii_ci(encoding, "UTF8") ||
              // The bytes were found as 8-bit text, so a 16-bit declaration cannot be true.
              equals_ascii_ci(encoding.substr(0, 6), "UTF-16") || !wide_converted.empty();
  if (!utf8) {
    try {
      prepared.buffer = charset_to_utf8(text, iconv_charset(encoding));
    } catch (const FormatError&) {
      throw;
    } catch (const ZorelError&) {
      throw FormatError("unsupported encoding '" + encoding + "'", name);
    }
  } else if (encoding.empty() && !is_valid_utf8(text)) {
    prepared.buffer = eight_bit_to_utf8(text, code_page);
  } else {
    prepared.buffer.assign(text);
  }
  drop_stray_params_end(prepared.buffer);
  return prepared;
}

// How one FIELD is read from the rows.
struct FieldSpec {
  FieldDef def;
  std::string attr;  // row attribute (or child element when `from_tag`)
  bool from_tag = false;
  std::vector<FieldSpec> nested;
};

struct TypeMapping {
  FieldType type = FieldType::ftUnknown;
  bool known = true;
};

TypeMapping map_field_type(std::string_view fieldtype, std::string_view subtype) {
  using enum FieldType;
  auto is = [](std::string_view a, std::string_view b) { return equals_ascii_ci(a, b); };
  if (is(fieldtype, "string")) {
    if (is(subtype, "FixedChar")) return {ftFixedChar};
    if (is(subtype, "Guid")) return {ftGuid};
    return {ftString};
  }
  if (is(fieldtype, "string.uni")) return {ftWideString};
  if (is(fieldtype, "i1")) return {ftShortint};
  if (is(fieldtype, "i2")) return {ftSmallint};
  if (is(fieldtype, "i4")) return {is(subtype, "Autoinc") ? ftAutoInc : ftInteger};
  if (is(fieldtype, "i8") || is(fieldtype, "ui8")) return {ftLargeint};
  if (is(fieldtype, "ui1") || is(fieldtype, "byte")) return {ftByte};
  if (is(fieldtype, "ui2")) return {ftWord};
  if (is(fieldtype, "ui4")) return {ftLongWord};
  if (is(fieldtype, "r4")) return {ftSingle};
  if (is(fieldtype, "r8")) return {is(subtype, "Money") ? ftCurrency : ftFloat};
  if (is(fieldtype, "r10")) return {ftExtended};
  if (is(fieldtype, "fixed")) return {ftBCD};
  if (is(fieldtype, "fixedFMT")) return {ftFMTBcd};
  if (is(fieldtype, "boolean")) return {ftBoolean};
  if (is(fieldtype, "date")) return {ftDate};
  if (is(fieldtype, "time")) return {ftTime};
  if (is(fieldtype, "dateTime")) return {ftDateTime};
  if (is(fieldtype, "SQLdateTime")) return {ftTimeStamp};
  if (is(fieldtype, "nested")) return {ftDataSet};
  if (is(fieldtype, "bin.hex")) {
    static constexpr std::pair<std::string_view, FieldType> kSubtypes[] = {
        {"Text", ftMemo},         {"WideText", ftWideMemo}, {"Binary", ftBlob},
        {"Formatted", ftFmtMemo}, {"Graphics", ftGraphic},  {"TypedBinary", ftTypedBinary},
        {"Ole", ftParadoxOle},    {"dBASEOle", ftDBaseOle}, {"AccessOle", ftBlob},
        {"HMemo", ftOraClob},     {"HBinary", ftOraBlob},   {"BFile", ftBlob},
    };
    if (subtype.empty()) return {ftBytes};
    for (const auto& [name, type] : kSubtypes)
      if (is(subtype, name)) return {type};
    return {ftBlob};
  }
  return {ftUnknown, false};
}

class PacketReader {
 public:
  PacketReader(std::string_view input, const std::string& name, const DataPacketOptions& options)
      : input_(input), name_(name), code_page_(options.code_page) {}

  RecordStore read() {
    PreparedText prepared = prepare_text(input_, name_, code_page_);
    pugi::xml_document doc;
    pugi::xml_parse_result result = doc.load_buffer_inplace(
        prepared.buffer.data(), prepared.buffer.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!result) fail(std::string("malformed XML: ") + result.description(), result.offset);
    pugi::xml_node root = doc.child("DATAPACKET");
    if (!root) throw FormatError(name_ + " is not a data packet");
    pugi::xml_node fields = root.child("METADATA").child("FIELDS");
    if (!fields) fail("the data packet has no METADATA/FIELDS", root.offset_debug());
    std::vector<std::string> notes;
    std::vector<FieldSpec> specs = read_fields(fields, 0, notes);
    RecordStore store = read_rows(specs, root.child("ROWDATA"), "ROW");
    store.notes() = std::move(notes);
    return store;
  }

 private:
  [[noreturn]] void fail(const std::string& what, ptrdiff_t offset) const {
    // In-place parsing rewrites the buffer, so lines are counted on a fresh copy.
    int64_t line = 0;
    try {
      PreparedText fresh = prepare_text(input_, name_, code_page_);
      size_t end =
          std::min(static_cast<size_t>(std::max<ptrdiff_t>(offset, 0)), fresh.buffer.size());
      line = fresh.line_base +
             std::count(fresh.buffer.begin(), fresh.buffer.begin() + static_cast<ptrdiff_t>(end),
                        '\n') +
             1;
    } catch (const ZorelError&) {
    }
    if (line > 0) throw FormatError(what, name_, offset, line);
    throw FormatError(what, name_, offset);
  }

  std::string to_ansi(std::string_view utf8) const {
    return is_ascii(utf8) ? std::string(utf8) : utf8_to_ansi(utf8, code_page_);
  }

  std::vector<FieldSpec> read_fields(pugi::xml_node fields, int depth,
                                     std::vector<std::string>& notes) const {
    if (depth > kMaxNesting) fail("nested tables are nested too deeply", fields.offset_debug());
    std::vector<FieldSpec> specs;
    for (pugi::xml_node node : fields.children("FIELD")) {
      if (specs.size() == kMaxFields) fail("too many fields", node.offset_debug());
      specs.push_back(read_field(node, specs.size() + 1, depth, notes));
      for (size_t i = 0; i + 1 < specs.size(); ++i)
        if (same_text_ascii(specs[i].def.name, specs.back().def.name))
          fail("duplicate field name '" + specs.back().def.name + "'", node.offset_debug());
    }
    return specs;
  }

  FieldSpec read_field(pugi::xml_node node, size_t number, int depth,
                       std::vector<std::string>& notes) const {
    std::string attrname, fieldname, fieldtype, subtype, tagname;
    FieldSpec spec;
    int width = 0, decimals = 0;
    for (pugi::xml_attribute a : node.attributes()) {
      std::string_view key = a.name();
      auto flag = [&] { return parse_packet_boolean(a.value()).value_or(false); };
      if (equals_ascii_ci(key, "attrname"))
        attrname = a.value();
      else if (equals_ascii_ci(key, "fieldname"))
        fieldname = a.value();
      else if (equals_ascii_ci(key, "fieldtype"))
        fieldtype = a.value();
      else if (equals_ascii_ci(key, "subtype"))
        subtype = a.value();
      else if (equals_ascii_ci(key, "tagname"))
        tagname = a.value();
      else if (equals_ascii_ci(key, "width"))
        width = static_cast<int>(
            std::clamp<int64_t>(parse_packet_integer(a.value()).value_or(0), 0, 1 << 30));
      else if (equals_ascii_ci(key, "decimals"))
        decimals = static_cast<int>(
            std::clamp<int64_t>(parse_packet_integer(a.value()).value_or(0), 0, 1 << 30));
      else if (equals_ascii_ci(key, "required"))
        spec.def.required = flag();
      else if (equals_ascii_ci(key, "readonly"))
        spec.def.read_only = flag();
      else if (equals_ascii_ci(key, "hidden"))
        spec.def.hidden = flag();
    }
    spec.from_tag = attrname.empty() && !tagname.empty();
    spec.attr = spec.from_tag ? tagname : attrname;
    if (spec.attr.empty())
      fail("FIELD " + std::to_string(number) + " has no attrname", node.offset_debug());
    spec.def.name = to_ansi(fieldname.empty() ? spec.attr : fieldname);
    if (fieldtype.empty())
      fail("field '" + spec.def.name + "' has no fieldtype", node.offset_debug());
    TypeMapping mapping = map_field_type(fieldtype, subtype);
    if (!mapping.known) {
      if (!equals_ascii_ci(fieldtype, "struct") && !equals_ascii_ci(fieldtype, "array") &&
          !equals_ascii_ci(fieldtype, "SQLdateTimeOffset"))
        fail("field '" + spec.def.name + "': unknown field type '" + fieldtype + "'",
             node.offset_debug());
      notes.push_back("field '" + spec.def.name + "': " + fieldtype +
                      " fields are not supported; loaded as ftUnknown, always null");
    }
    spec.def.type = mapping.type;
    if (mapping.type == FieldType::ftBCD || mapping.type == FieldType::ftFMTBcd) {
      spec.def.precision = width;
      spec.def.decimals = decimals;
      spec.def.size = decimals;
    } else if (mapping.type == FieldType::ftWideString) {
      spec.def.size = width / 2;  // WIDTH counts bytes of UTF-16
    } else {
      spec.def.size = width;
    }
    if (mapping.type == FieldType::ftDataSet)
      spec.nested = read_fields(node.child("FIELDS"), depth + 1, notes);
    return spec;
  }

  RecordStore read_rows(const std::vector<FieldSpec>& specs, pugi::xml_node parent,
                        const std::string& row_name) const {
    RecordStore store;
    std::unordered_map<std::string_view, size_t> by_attr;
    for (size_t f = 0; f < specs.size(); ++f) {
      store.add_field(specs[f].def);
      if (!specs[f].from_tag) by_attr.emplace(specs[f].attr, f);
    }
    std::vector<const char*> cells(specs.size());
    size_t row_number = 0;
    for (pugi::xml_node row : parent.children(row_name.c_str())) {
      ++row_number;
      std::fill(cells.begin(), cells.end(), nullptr);
      bool hidden = false;
      size_t expected = 0;  // writers put attributes in field order; try that first
      for (pugi::xml_attribute a : row.attributes()) {
        const char* key = a.name();
        size_t f = specs.size();
        if (expected < specs.size() && !specs[expected].from_tag &&
            std::strcmp(specs[expected].attr.c_str(), key) == 0) {
          f = expected;
        } else if (auto it = by_attr.find(key); it != by_attr.end()) {
          f = it->second;
        }
        if (f < specs.size()) {
          cells[f] = a.value();
          expected = f + 1;
        } else if (equals_ascii_ci(key, "RowState")) {
          // Before-images (1), deleted (2) and unused (32) rows are not data.
          hidden = (parse_packet_integer(a.value()).value_or(0) & (1 | 2 | 32)) != 0;
        }
      }
      if (hidden) continue;
      if (store.row_count() == kMaxRows) fail("too many rows", row.offset_debug());
      for (size_t f = 0; f < specs.size(); ++f) {
        const FieldSpec& spec = specs[f];
        if (spec.def.type == FieldType::ftDataSet) {
          store.set_nested(f, read_nested(spec, row));
          continue;
        }
        const char* text = cells[f];
        if (spec.from_tag)
          if (pugi::xml_node child = row.child(spec.attr.c_str())) text = child.child_value();
        if (text) put(store, f, spec, text, row_number, row);
      }
      store.end_row();
    }
    return store;
  }

  std::unique_ptr<ClientDataset> read_nested(const FieldSpec& spec, pugi::xml_node row) const {
    auto table = std::make_unique<ClientDataset>(spec.def.name);
    // A master without details has an empty container or none at all.
    table->load_from_store(read_rows(spec.nested, row.child(spec.attr.c_str()), "ROW" + spec.attr),
                           code_page_);
    return table;
  }

  [[noreturn]] void bad_value(const FieldSpec& spec, std::string_view text, const char* what,
                              size_t row_number, pugi::xml_node row) const {
    std::string shown(text.substr(0, 60));
    fail("row " + std::to_string(row_number) + ", field '" + spec.def.name + "': '" + shown +
             "' is not " + what,
         row.offset_debug());
  }

  void put(RecordStore& store, size_t f, const FieldSpec& spec, std::string_view text,
           size_t row_number, pugi::xml_node row) const {
    FieldType type = spec.def.type;
    StorageClass storage = storage_class(type);
    if (storage == StorageClass::Text) {
      store.set_bytes(f, to_ansi(text));
      return;
    }
    if (text.empty()) return;  // empty is null for every type that is not text
    switch (storage) {
      case StorageClass::Integer: {
        auto value = parse_packet_integer(text);
        if (!value) bad_value(spec, text, "a valid integer", row_number, row);
        if (!fits(type, *value)) bad_value(spec, text, "in the field's range", row_number, row);
        store.set_int(f, *value);
        return;
      }
      case StorageClass::Real: {
        auto value = parse_packet_float(text);
        if (!value) bad_value(spec, text, "a valid number", row_number, row);
        store.set_real(f, *value);
        return;
      }
      case StorageClass::Boolean: {
        auto value = parse_packet_boolean(text);
        if (!value) bad_value(spec, text, "a valid boolean", row_number, row);
        store.set_int(f, *value ? 1 : 0);
        return;
      }
      case StorageClass::DateTime: {
        std::optional<double> value;
        const char* what = "a valid date and time";
        if (type == FieldType::ftDate) {
          value = parse_packet_date(text);
          what = "a valid date (YYYYMMDD)";
        } else if (type == FieldType::ftTime) {
          value = parse_packet_time(text);
          what = "a valid time (HH:MM:SSmmm)";
        } else {
          value = parse_packet_date_time(text);
        }
        if (!value) bad_value(spec, text, what, row_number, row);
        store.set_real(f, *value);
        return;
      }
      case StorageClass::Bytes: {
        auto bytes = decode_base64(text);
        if (!bytes) bad_value(spec, text.substr(0, 20), "valid Base64", row_number, row);
        if (type == FieldType::ftGraphic || type == FieldType::ftTypedBinary)
          strip_legacy_graphic_header(*bytes);
        store.set_bytes(f, *bytes);
        return;
      }
      default:
        return;
    }
  }

  static bool fits(FieldType type, int64_t v) {
    switch (type) {
      case FieldType::ftShortint:
        return v >= -128 && v <= 127;
      case FieldType::ftByte:
        return v >= 0 && v <= 255;
      case FieldType::ftSmallint:
        return v >= -32768 && v <= 32767;
      case FieldType::ftWord:
        return v >= 0 && v <= 65535;
      case FieldType::ftInteger:
      case FieldType::ftAutoInc:
        return v >= INT32_MIN && v <= INT32_MAX;
      case FieldType::ftLongWord:
        return v >= 0 && v <= UINT32_MAX;
      default:
        return true;
    }
  }

  std::string_view input_;
  const std::string& name_;
  int code_page_;
};

}  // namespace

RecordStore read_data_packet(std::string_view bytes, const std::string& source_name,
                             const DataPacketOptions& options) {
  return PacketReader(bytes, source_name, options).read();
}

RecordStore read_data_packet_file(const std::string& path, const DataPacketOptions& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw IoError("Cannot open file " + path);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw IoError("Cannot read file " + path);
  return read_data_packet(bytes, path, options);
}

}  // namespace zr
