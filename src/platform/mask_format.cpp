#include "platform/mask_format.h"

#include <optional>
#include <vector>

#include "platform/codepage.h"

namespace zr {
namespace {

enum class Case { AsGiven, Upper, Lower };

struct MaskItem {
  bool placeholder = false;
  std::string literal;
  Case letter_case = Case::AsGiven;
};

struct Mask {
  std::vector<MaskItem> items;
  bool save_literals = true;
  char blank = '_';
  bool from_right = false;
};

// A ";" not escaped by a "\" (which itself is not escaped).
bool is_separator(std::string_view mask, size_t i) {
  if (mask[i] != ';') return false;
  const bool escaped = i > 0 && mask[i - 1] == '\\';
  const bool escape_escaped = i > 1 && mask[i - 2] == '\\';
  return !escaped || escape_escaped;
}

// The flags live in the last four characters only ("...;0;_"); a ";" elsewhere is a literal.
// Returns the mask text without them.
std::string_view read_trailer(std::string_view mask, Mask& m) {
  const size_t n = mask.size();
  if (n < 4) return mask;
  std::vector<size_t> separators;  // from the end
  for (size_t i = n; i-- > n - 4;) {
    if (is_separator(mask, i)) separators.push_back(i);
  }
  if (separators.empty()) return mask;
  if (is_separator(mask, n - 2) && (is_separator(mask, n - 3) || is_separator(mask, n - 4))) {
    m.blank = mask[n - 1];
  }
  const size_t save_separator = separators.size() > 1 ? separators[1] : separators[0];
  if (save_separator != n - 1) m.save_literals = mask[save_separator + 1] != '0';
  return mask.substr(0, separators.back());
}

Mask parse_mask(std::string_view text, const FormatSettings& fs) {
  Mask m;
  const std::string_view body = read_trailer(text, m);
  Case letter_case = Case::AsGiven;
  auto literal = [&](std::string_view s) { m.items.push_back({false, std::string(s)}); };
  for (size_t i = 0; i < body.size();) {
    const size_t length = char_length(body, i);
    if (length == 2) {
      literal(body.substr(i, 2));
      i += 2;
      continue;
    }
    const char c = body[i++];
    switch (c) {
      case '\\':
        if (i < body.size()) {
          const size_t next = char_length(body, i);
          literal(body.substr(i, next));
          i += next;
        }
        break;
      case '!':
        m.from_right = true;
        break;
      case '>':
        letter_case = Case::Upper;
        break;
      case '<':
        letter_case = Case::Lower;
        if (i < body.size() && body[i] == '>') {
          letter_case = Case::AsGiven;
          ++i;
        }
        break;
      case 'L':
      case 'l':
      case 'A':
      case 'a':
      case 'C':
      case 'c':
      case '0':
      case '9':
      case '#':
        m.items.push_back({true, {}, letter_case});
        break;
      case ':':
        literal(std::string_view(&fs.time_separator, 1));
        break;
      case '/':
        literal(std::string_view(&fs.date_separator, 1));
        break;
      case '_':
        literal(" ");
        break;
      default:
        literal(std::string_view(&c, 1));
    }
  }
  return m;
}

std::vector<std::string_view> characters(std::string_view text) {
  std::vector<std::string_view> chars;
  for (size_t i = 0; i < text.size();) {
    const size_t length = char_length(text, i);
    chars.push_back(text.substr(i, length));
    i += length;
  }
  return chars;
}

std::string cased(std::string_view ch, Case letter_case) {
  if (ch.size() != 1 || letter_case == Case::AsGiven) return std::string(ch);
  return letter_case == Case::Upper ? upper_ascii(ch) : lower_ascii(ch);
}

}  // namespace

std::string format_mask_text(std::string_view mask_text, std::string_view text,
                             const FormatSettings& fs) {
  const Mask mask = parse_mask(mask_text, fs);
  const std::vector<std::string_view> chars = characters(text);
  const size_t count = mask.items.size();
  const size_t total = chars.size();

  // Hand the text's characters to the placeholders, from the chosen end.
  std::vector<std::optional<std::string_view>> slots(count);
  size_t used = 0;
  for (size_t step = 0; step < count && used < total; ++step) {
    const size_t item = mask.from_right ? count - 1 - step : step;
    const std::string_view next = chars[mask.from_right ? total - 1 - used : used];
    if (mask.items[item].placeholder) {
      slots[item] = next;
      ++used;
    } else if (mask.save_literals && next == mask.items[item].literal) {
      ++used;
    }
  }

  std::string out;
  auto append_rest = [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i) out.append(chars[i]);
  };
  if (mask.from_right) append_rest(0, total - used);
  for (size_t i = 0; i < count; ++i) {
    const MaskItem& item = mask.items[i];
    if (!item.placeholder) {
      out += item.literal;
    } else if (slots[i]) {
      out += cased(*slots[i], item.letter_case);
    } else {
      out += mask.blank;
    }
  }
  if (!mask.from_right) append_rest(used, total);
  return out;
}

}  // namespace zr
