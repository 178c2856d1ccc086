#pragma once
// Words of a text as the additional function library sees them: maximal runs of bytes that
// are not in a delimiter set. Words and positions are 1-based; texts are bytes.

#include <string>
#include <string_view>

namespace zr {

class WordScan {
 public:
  // The delimiter set is the bytes of `delimiters` (empty: none).
  WordScan(std::string_view text, std::string_view delimiters);

  int Count() const;
  // Position of the first byte of word `number`, 0 when there is no such word.
  int Position(int number) const;
  // Word `number`, empty when there is no such word.
  std::string Word(int number) const;
  // Some word equals `word` exactly.
  bool Contains(std::string_view word) const;

 private:
  bool is_delimiter(char c) const;
  // [start, end) of the word beginning at or after `from`; start == size when none.
  size_t word_start(size_t from) const;
  size_t word_end(size_t start) const;

  std::string_view text_;
  bool set_[256] = {};
};

}  // namespace zr
