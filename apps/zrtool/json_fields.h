#pragma once
// Maps record fields to and from JSON with one description per class: the same code
// `m.field("Left", view.Left)` writes the field into a JSON object when dumping and reads it
// back when building, so the two directions cannot drift apart.
//
// Building is strict: a key that no description asked for, a value of the wrong JSON type or
// out of the field's range raises FormatError naming the key's path ("Pages[0].Objects[2].
// Font.Size") and the source file. Keys that are absent leave the field as it is (the class
// default). Numbers accept a JSON integer or a "$" hex string ("$1FFFFFFF"); colours and
// display formats are dumped in that hex form.
//
// Text fields hold ANSI code page bytes. In JSON a text is a UTF-8 string when its bytes
// convert to UTF-8 and back unchanged; otherwise it is {"bytes": "<base64 of the bytes>"},
// which building also accepts anywhere a text is expected. A UTF-8 string holding characters
// the code page cannot hold is an error, not a silent '?'.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zr::tool {

using Json = nlohmann::ordered_json;

// The shortest decimal that reads back as the same float (0.1, not 0.100000001490116).
Json float_to_json(float value);

// Base64 (standard alphabet, padded).
std::string encode_base64(std::string_view bytes);

class FieldMapper {
 public:
  enum class Direction { ToJson, FromJson };

  // Dumping: fields are added to `node` (made an object). Building: fields are read from
  // `node`, which must be an object. `path` names `node` in messages; `source` is the file.
  FieldMapper(Direction direction, Json& node, std::string path, const std::string& source,
              int code_page);

  bool building() const { return direction_ == Direction::FromJson; }
  bool has(const char* key) const;
  const std::string& path() const { return path_; }

  void field(const char* key, int32_t& value);
  void field(const char* key, uint16_t& value);
  void field(const char* key, uint8_t& value);
  void field(const char* key, bool& value);
  void field(const char* key, float& value);
  // Non-finite values have no JSON form: writing one raises ZorelError.
  void field(const char* key, double& value);
  // Dumped as "$" hex; built from either form.
  void hex(const char* key, int32_t& value);
  void text(const char* key, std::string& value);
  void lines(const char* key, std::vector<std::string>& value);
  // A nested object mapped by `map`.
  void object(const char* key, const std::function<void(FieldMapper&)>& map);
  // A field with its own JSON form: `dump` gives the JSON, `build` takes it (and may raise
  // through fail()).
  void custom(const char* key, const std::function<Json()>& dump,
              const std::function<void(const Json&)>& build);
  // An array of objects, each mapped by `map(mapper, index)`; building calls `map` once per
  // element, dumping `count` times.
  void array(const char* key, size_t count,
             const std::function<void(FieldMapper&, size_t index)>& map);
  // Marks a key as understood without mapping it (read by the caller itself).
  void accept(const char* key);

  // Building: raises for the first key of the object that nothing asked for.
  void finish() const;

  // FormatError "<source>: <path>.<key>: <what>".
  [[noreturn]] void fail(const std::string& key, const std::string& what) const;

  // Text conversions for callers with their own JSON shapes.
  Json text_to_json(const std::string& ansi) const;
  std::string text_from_json(const Json& value, const std::string& key) const;

 private:
  const Json* input(const char* key);  // null when absent; records the key as used
  int64_t integer(const char* key, const Json& value, int64_t low, int64_t high) const;
  std::string child_path(const std::string& key) const;

  Direction direction_;
  Json& node_;
  std::string path_;
  const std::string& source_;
  int code_page_;
  std::vector<std::string> used_;
};

}  // namespace zr::tool
