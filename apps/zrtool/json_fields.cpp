#include "json_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/table/packet_values.h"

namespace zr::tool {
namespace {

constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

const char* type_name(const Json& value) {
  if (value.is_null()) return "null";
  if (value.is_boolean()) return "a boolean";
  if (value.is_number()) return "a number";
  if (value.is_string()) return "a string";
  if (value.is_array()) return "an array";
  return "an object";
}

std::string hex_text(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%08X", value);
  return buffer;
}

// "$" followed by 1-8 hex digits.
std::optional<uint32_t> parse_hex(const std::string& text) {
  if (text.size() < 2 || text.size() > 9 || text[0] != '$') return std::nullopt;
  uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data() + 1, text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The shortest decimal form that reads back as the same float, as a double, so that the
// JSON shows 0.1 rather than the float's exact binary value.
double float_for_json(float value) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  double shown = value;
  if (error == std::errc()) std::from_chars(buffer, end, shown);
  return shown;
}

}  // namespace

Json float_to_json(float value) {
  return float_for_json(value);
}

std::string encode_base64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    uint32_t n = (uint8_t(bytes[i]) << 16) | (uint8_t(bytes[i + 1]) << 8) | uint8_t(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += kBase64Alphabet[(n >> shift) & 63];
  }
  if (i < bytes.size()) {
    uint32_t n = uint8_t(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= uint8_t(bytes[i + 1]) << 8;
    out += kBase64Alphabet[(n >> 18) & 63];
    out += kBase64Alphabet[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kBase64Alphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

FieldMapper::FieldMapper(Direction direction, Json& node, std::string path,
                         const std::string& source, int code_page)
    : direction_(direction),
      node_(node),
      path_(std::move(path)),
      source_(source),
      code_page_(code_page) {
  if (!building()) {
    if (!node_.is_object()) node_ = Json::object();
  } else if (!node_.is_object()) {
    throw FormatError((path_.empty() ? std::string("the form") : path_) +
                          ": expected an object, not " + type_name(node_),
                      source_);
  }
}

std::string FieldMapper::child_path(const std::string& key) const {
  return path_.empty() ? key : path_ + "." + key;
}

void FieldMapper::fail(const std::string& key, const std::string& what) const {
  throw FormatError(child_path(key) + ": " + what, source_);
}

bool FieldMapper::has(const char* key) const {
  return building() && node_.contains(key);
}

void FieldMapper::accept(const char* key) {
  used_.emplace_back(key);
}

const Json* FieldMapper::input(const char* key) {
  used_.emplace_back(key);
  auto it = node_.find(key);
  return it == node_.end() ? nullptr : &*it;
}

void FieldMapper::finish() const {
  if (!building()) return;
  for (const auto& item : node_.items())
    if (std::find(used_.begin(), used_.end(), item.key()) == used_.end())
      fail(item.key(), "unknown key");
}

int64_t FieldMapper::integer(const char* key, const Json& value, int64_t low, int64_t high) const {
  int64_t number = 0;
  if (value.is_number_integer()) {
    number = value.is_number_unsigned()
                 ? static_cast<int64_t>(std::min<uint64_t>(value.get<uint64_t>(), INT64_MAX))
                 : value.get<int64_t>();
  } else if (value.is_string()) {
    std::optional<uint32_t> hex = parse_hex(value.get<std::string>());
    if (!hex)
      fail(key,
           "expected an integer or \"$\" and hex digits, not \"" + value.get<std::string>() + "\"");
    // Hex gives the bit pattern: $8000000F is the int32 0x8000000F.
    number = high == INT32_MAX ? static_cast<int32_t>(*hex) : static_cast<int64_t>(*hex);
  } else {
    fail(key, std::string("expected an integer, not ") + type_name(value));
  }
  if (number < low || number > high)
    fail(key, std::to_string(number) + " is out of range " + std::to_string(low) + ".." +
                  std::to_string(high));
  return number;
}

void FieldMapper::field(const char* key, int32_t& value) {
  if (!building()) {
    node_[key] = value;
  } else if (const Json* in = input(key)) {
    value = static_cast<int32_t>(integer(key, *in, INT32_MIN, INT32_MAX));
  }
}

void FieldMapper::hex(const char* key, int32_t& value) {
  if (!building()) {
    node_[key] = hex_text(static_cast<uint32_t>(value));
  } else if (const Json* in = input(key)) {
    value = static_cast<int32_t>(integer(key, *in, INT32_MIN, INT32_MAX));
  }
}

void FieldMapper::field(const char* key, uint16_t& value) {
  if (!building()) {
    node_[key] = value;
  } else if (const Json* in = input(key)) {
    value = static_cast<uint16_t>(integer(key, *in, 0, UINT16_MAX));
  }
}

void FieldMapper::field(const char* key, uint8_t& value) {
  if (!building()) {
    node_[key] = value;
  } else if (const Json* in = input(key)) {
    value = static_cast<uint8_t>(integer(key, *in, 0, UINT8_MAX));
  }
}

void FieldMapper::field(const char* key, bool& value) {
  if (!building()) {
    node_[key] = value;
  } else if (const Json* in = input(key)) {
    if (!in->is_boolean()) fail(key, std::string("expected true or false, not ") + type_name(*in));
    value = in->get<bool>();
  }
}

void FieldMapper::field(const char* key, float& value) {
  if (!building()) {
    node_[key] = float_for_json(value);
  } else if (const Json* in = input(key)) {
    if (!in->is_number()) fail(key, std::string("expected a number, not ") + type_name(*in));
    double number = in->get<double>();
    if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max())
      fail(key, "number out of range");
    value = static_cast<float>(number);
  }
}

void FieldMapper::field(const char* key, double& value) {
  if (!building()) {
    if (!std::isfinite(value)) throw ZorelError(path() + "." + key + ": " + "not a finite number");
    node_[key] = value;
  } else if (const Json* in = input(key)) {
    if (!in->is_number()) fail(key, std::string("expected a number, not ") + type_name(*in));
    value = in->get<double>();
  }
}

Json FieldMapper::text_to_json(const std::string& ansi) const {
  std::string utf8 = ansi_to_utf8(ansi, code_page_);
  if (utf8_to_ansi(utf8, code_page_) == ansi) return utf8;
  return Json{{"bytes", encode_base64(ansi)}};
}

std::string FieldMapper::text_from_json(const Json& value, const std::string& key) const {
  if (value.is_string()) {
    const std::string& utf8 = value.get_ref<const std::string&>();
    std::string ansi = utf8_to_ansi(utf8, code_page_);
    if (ansi_to_utf8(ansi, code_page_) != utf8)
      fail(key, "\"" + utf8 + "\" has characters that code page " + std::to_string(code_page_) +
                    " cannot hold (give {\"bytes\": BASE64} for raw bytes)");
    return ansi;
  }
  if (value.is_object() && value.size() == 1 && value.contains("bytes") &&
      value["bytes"].is_string()) {
    std::optional<std::string> bytes = decode_base64(value["bytes"].get<std::string>());
    if (!bytes) fail(key, "\"bytes\" is not valid base64");
    return *bytes;
  }
  fail(key, std::string("expected a string or {\"bytes\": BASE64}, not ") + type_name(value));
}

void FieldMapper::text(const char* key, std::string& value) {
  if (!building()) {
    node_[key] = text_to_json(value);
  } else if (const Json* in = input(key)) {
    value = text_from_json(*in, key);
  }
}

void FieldMapper::lines(const char* key, std::vector<std::string>& value) {
  if (!building()) {
    Json array = Json::array();
    for (const std::string& line : value) array.push_back(text_to_json(line));
    node_[key] = std::move(array);
  } else if (const Json* in = input(key)) {
    if (!in->is_array())
      fail(key, std::string("expected an array of lines, not ") + type_name(*in));
    value.clear();
    for (size_t i = 0; i < in->size(); ++i)
      value.push_back(text_from_json((*in)[i], std::string(key) + "[" + std::to_string(i) + "]"));
  }
}

void FieldMapper::object(const char* key, const std::function<void(FieldMapper&)>& map) {
  if (!building()) {
    FieldMapper child(direction_, node_[key], child_path(key), source_, code_page_);
    map(child);
  } else if (const Json* in = input(key)) {
    FieldMapper child(direction_, const_cast<Json&>(*in), child_path(key), source_, code_page_);
    map(child);
    child.finish();
  }
}

void FieldMapper::custom(const char* key, const std::function<Json()>& dump,
                         const std::function<void(const Json&)>& build) {
  if (!building()) {
    node_[key] = dump();
  } else if (const Json* in = input(key)) {
    build(*in);
  }
}

void FieldMapper::array(const char* key, size_t count,
                        const std::function<void(FieldMapper&, size_t index)>& map) {
  if (!building()) {
    Json items = Json::array();
    for (size_t i = 0; i < count; ++i) {
      Json item = Json::object();
      FieldMapper child(direction_, item, child_path(key) + "[" + std::to_string(i) + "]", source_,
                        code_page_);
      map(child, i);
      items.push_back(std::move(item));
    }
    node_[key] = std::move(items);
    return;
  }
  const Json* in = input(key);
  if (!in) return;
  if (!in->is_array()) fail(key, std::string("expected an array, not ") + type_name(*in));
  for (size_t i = 0; i < in->size(); ++i) {
    FieldMapper child(direction_, const_cast<Json&>((*in)[i]),
                      child_path(key) + "[" + std::to_string(i) + "]", source_, code_page_);
    map(child, i);
    child.finish();
  }
}

}  // namespace zr::tool
