// Resolves a face name made of arbitrary bytes and measures arbitrary text with it. The extent
// must be the sum of the characters' advances, each double-byte character counted once.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"

// Input: face name length (mod 16), face name, height byte (signed, pixels), style bits,
// charset, then the text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static zr::FontResolver resolver;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.empty()) return 0;
  size_t name_length = static_cast<uint8_t>(input[0]) % 16;
  if (input.size() < 4 + name_length) return 0;
  zr::FontSelection spec;
  spec.name = std::string(input.substr(1, name_length));
  input.remove_prefix(1 + name_length);
  spec.height = static_cast<int8_t>(input[0]);
  spec.style = static_cast<uint8_t>(input[1]) & 0x0F;
  spec.charset = static_cast<uint8_t>(input[2]);
  std::string_view text = input.substr(3);

  std::shared_ptr<const zr::Font> font = resolver.font(spec);
  int sum = 0;
  for (size_t pos = 0; pos < text.size();) {
    size_t length = zr::char_length(text, pos, font->code_page());
    int width = font->char_width(text.substr(pos, length));
    if (width < 0) std::abort();
    sum += width + 1;
    pos += length;
  }
  if (font->text_width(text, 1) != sum) std::abort();
  if (font->metrics().height <= 0 || font->metrics().em_size <= 0) std::abort();
  return 0;
}
