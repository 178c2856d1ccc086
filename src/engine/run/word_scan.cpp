#include "engine/run/word_scan.h"

namespace zr {

WordScan::WordScan(std::string_view text, std::string_view delimiters) : text_(text) {
  for (char c : delimiters) set_[static_cast<unsigned char>(c)] = true;
}

bool WordScan::is_delimiter(char c) const {
  return set_[static_cast<unsigned char>(c)];
}

size_t WordScan::word_start(size_t from) const {
  while (from < text_.size() && is_delimiter(text_[from])) ++from;
  return from;
}

size_t WordScan::word_end(size_t start) const {
  while (start < text_.size() && !is_delimiter(text_[start])) ++start;
  return start;
}

int WordScan::Count() const {
  int count = 0;
  for (size_t pos = word_start(0); pos < text_.size(); pos = word_start(word_end(pos))) ++count;
  return count;
}

int WordScan::Position(int number) const {
  if (number < 1) return 0;
  int count = 0;
  for (size_t pos = word_start(0); pos < text_.size(); pos = word_start(word_end(pos))) {
    if (++count == number) return static_cast<int>(pos + 1);
  }
  return 0;
}

std::string WordScan::Word(int number) const {
  const int position = Position(number);
  if (position == 0) return {};
  const size_t start = static_cast<size_t>(position - 1);
  return std::string(text_.substr(start, word_end(start) - start));
}

bool WordScan::Contains(std::string_view word) const {
  for (size_t pos = word_start(0); pos < text_.size();) {
    const size_t end = word_end(pos);
    if (text_.substr(pos, end - pos) == word) return true;
    pos = word_start(end);
  }
  return false;
}

}  // namespace zr
