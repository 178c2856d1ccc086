#include "platform/codepage.h"

#include <iconv.h>

#include <locale.h>
#include <wctype.h>
#include <algorithm>
#include <cerrno>

#include <cwctype>
#include <string>

#include "platform/errors.h"

namespace zr {
namespace {

// RAII over one iconv conversion descriptor.
class Iconv {
 public:
  // Raises ZorelError when iconv does not know one of the two encodings.
  Iconv(const std::string& to, const std::string& from)
      : cd_(iconv_open(to.c_str(), from.c_str())) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw ZorelError("Unsupported character set: " + (to == "UTF-8" ? from : to));
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts all of `in`; an unconvertible or malformed input unit is replaced by
  // `replacement` (already in the target encoding) and skipped by `skip_bytes(in_pos)`.
  template <typename SkipFn>
  std::string convert(std::string_view in, std::string_view replacement, SkipFn skip_bytes) {
    std::string out;
    out.reserve(in.size() * 2 + 16);
    size_t pos = 0;
    char buffer[4096];
    while (pos < in.size()) {
      char* in_ptr = const_cast<char*>(in.data() + pos);
      size_t in_left = in.size() - pos;
      char* out_ptr = buffer;
      size_t out_left = sizeof(buffer);
      size_t rc = iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left);
      out.append(buffer, static_cast<size_t>(out_ptr - buffer));
      pos = in.size() - in_left;
      if (rc != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated unit at the end): replace and step over.
      out.append(replacement);
      pos += skip_bytes(pos);
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* out_ptr = buffer;
    size_t out_left = sizeof(buffer);
    iconv(cd_, nullptr, nullptr, &out_ptr, &out_left);
    out.append(buffer, static_cast<size_t>(out_ptr - buffer));
    return out;
  }

 private:
  iconv_t cd_;
};

std::string iconv_name(int code_page) {
  switch (code_page) {
    case 949:
      return "CP949";
    case 936:
      return "CP936";
    case 950:
      return "BIG5";
    case 932:
      return "CP932";
    case 437:
      return "CP437";
    case 850:
      return "CP850";
    case 866:
      return "CP866";
    default:
      return "CP" + std::to_string(code_page);
  }
}

// Bytes to step over after a malformed UTF-8 sequence starting at text[pos].
size_t utf8_skip(std::string_view text, size_t pos) {
  size_t n = 1;
  while (pos + n < text.size() && (static_cast<unsigned char>(text[pos + n]) & 0xC0) == 0x80 &&
         n < 4)
    ++n;
  return n;
}

// Bytes to step over after a character at text[pos] that does not convert. A lead byte takes
// its follower only when that could be a trail byte: in every double-byte code page trail
// bytes are 0x40 or above, so a quote, blank or digit after a stray lead byte survives.
size_t malformed_unit_length(std::string_view text, size_t pos, int code_page) {
  if (char_length(text, pos, code_page) == 1) return 1;
  return static_cast<unsigned char>(text[pos + 1]) >= 0x40 ? 2 : 1;
}

}  // namespace

bool is_lead_byte(unsigned char byte, int code_page) {
  switch (code_page) {
    case 949:
    case 936:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    default:
      return false;
  }
}

size_t char_length(std::string_view text, size_t pos, int code_page) {
  if (pos + 1 < text.size() && is_lead_byte(static_cast<unsigned char>(text[pos]), code_page))
    return 2;
  return 1;
}

std::string upper_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string lower_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

namespace {
std::string change_case(std::string_view text, int code_page, bool upper) {
  // Names and keywords are nearly always plain ASCII, which every code page spells alike.
  if (std::all_of(text.begin(), text.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return upper ? upper_ascii(text) : lower_ascii(text);
  if (code_page == 949 || code_page == 936 || code_page == 950 || code_page == 932) {
    std::string out(text);
    for (size_t i = 0; i < out.size();) {
      size_t n = char_length(out, i, code_page);
      if (n == 1) {
        char& c = out[i];
        if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      }
      i += n;
    }
    return out;
  }
  // Case tables of the C.UTF-8 locale, independent of the process's own locale.
  static const locale_t unicode = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
  std::u16string wide = ansi_to_utf16(text, code_page);
  for (char16_t& c : wide) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    wint_t changed = upper ? towupper_l(c, unicode) : towlower_l(c, unicode);
    if (changed <= 0xFFFF) c = static_cast<char16_t>(changed);
  }
  return utf16_to_ansi(wide, code_page);
}
}  // namespace

std::string ansi_upper(std::string_view text, int code_page) {
  return change_case(text, code_page, true);
}
std::string ansi_lower(std::string_view text, int code_page) {
  return change_case(text, code_page, false);
}

bool same_text_ascii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

std::string ansi_to_utf8(std::string_view ansi, int code_page) {
  bool ascii = true;
  for (char c : ansi) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(ansi);
  Iconv cd("UTF-8", iconv_name(code_page));
  return cd.convert(ansi, "\xEF\xBF\xBD",
                    [&](size_t pos) { return malformed_unit_length(ansi, pos, code_page); });
}

std::optional<std::string> try_ansi_to_utf8(std::string_view ansi, int code_page) {
  bool malformed = false;
  Iconv cd("UTF-8", iconv_name(code_page));
  std::string out = cd.convert(ansi, "", [&](size_t pos) {
    malformed = true;
    return malformed_unit_length(ansi, pos, code_page);
  });
  if (malformed) return std::nullopt;
  return out;
}

std::string utf8_to_ansi(std::string_view utf8, int code_page) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(utf8);
  Iconv cd(iconv_name(code_page), "UTF-8");
  return cd.convert(utf8, "?", [&](size_t pos) { return utf8_skip(utf8, pos); });
}

std::u16string ansi_to_utf16(std::string_view ansi, int code_page) {
  Iconv cd("UTF-16LE", iconv_name(code_page));
  std::string bytes = cd.convert(ansi, std::string_view("\xFD\xFF", 2), [&](size_t pos) {
    return malformed_unit_length(ansi, pos, code_page);
  });
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return out;
}

std::string utf16_to_ansi(std::u16string_view utf16, int code_page) {
  std::string bytes;
  bytes.reserve(utf16.size() * 2);
  for (char16_t c : utf16) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  Iconv cd(iconv_name(code_page), "UTF-16LE");
  return cd.convert(bytes, "?", [&](size_t pos) {
    // Step over a whole surrogate pair when the unit at pos starts one.
    unsigned hi = static_cast<unsigned char>(bytes[pos + 1 < bytes.size() ? pos + 1 : pos]);
    return (hi >= 0xD8 && hi <= 0xDB && pos + 4 <= bytes.size()) ? size_t{4} : size_t{2};
  });
}

std::string charset_to_utf8(std::string_view bytes, const std::string& charset) {
  Iconv cd("UTF-8", charset);
  return cd.convert(bytes, "\xEF\xBF\xBD", [](size_t) { return size_t{1}; });
}

bool is_valid_utf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n;
    uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3, cp = c & 0x07;
    } else {
      return false;
    }
    for (size_t k = 1; k <= n; ++k) {
      if (i + k >= s.size()) return false;
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    static constexpr uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

int oem_code_page_for(int ansi_code_page) {
  switch (ansi_code_page) {
    case 1250:
      return 852;
    case 1251:
      return 866;
    case 1252:
      return 437;
    case 1253:
      return 737;
    case 1254:
      return 857;
    case 1255:
      return 862;
    case 1256:
      return 720;
    case 1257:
      return 775;
    default:
      return ansi_code_page;  // the East Asian code pages are their own OEM pages
  }
}

std::string ansi_to_oem(std::string_view ansi, int code_page) {
  int oem = oem_code_page_for(code_page);
  if (oem == code_page) return std::string(ansi);
  Iconv cd(iconv_name(oem), iconv_name(code_page));
  return cd.convert(ansi, "?", [](size_t) { return size_t{1}; });
}

}  // namespace zr
