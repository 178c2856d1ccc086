#include "engine/model/memo_text_wrap.h"

#include <cstdint>
#include <string>
#include <vector>

#include "engine/model/memo_view.h"
#include "platform/codepage.h"

namespace zr {

namespace {

bool is_line_break(char c) {
  return c == '\r' || c == '\n';
}

// Breaks one source line into pieces that fit the width. Positions are character indexes
// (a double-byte character is one), so no cut can fall between the two bytes of one.
class LineBreaker {
 public:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  LineBreaker(std::string_view line, const MemoWrapOptions& options, const TextWidthFunction& width,
              TvtStrings& out)
      : line_(line), options_(options), out_(out) {
    bounds_.push_back(0);
    advance_.push_back(0);
    for (size_t pos = 0; pos < line.size();) {
      size_t length = char_length(line, pos, options.code_page);
      if (length == 0) length = 1;
      advance_.push_back(advance_.back() + width(line.substr(pos, length)));
      pos += length;
      bounds_.push_back(pos);
    }
  }

  void Run() {
    const size_t n = count();
    bool has_break = line_.find_first_of("\r\n") != std::string_view::npos;
    if (!has_break && (n <= 1 || Fits(0, n))) return Emit(0, n, true);

    size_t start = 0;
    size_t k = 0;
    size_t last_space = kNone;
    bool unbreakable = false;  // a cut made no progress: the rest of the paragraph stays whole
    while (k < n) {
      char c = line_[bounds_[k]];
      if (is_line_break(c)) {
        Emit(start, k, true);
        while (k < n && is_line_break(line_[bounds_[k]])) ++k;
        start = k;
        last_space = kNone;
        unbreakable = false;
        continue;
      }
      if (c == ' ') {
        last_space = k++;
        continue;
      }
      if (unbreakable || Fits(start, k + 1)) {
        ++k;
        continue;
      }
      // Cuts are re-examined from the new start with the same character, so a cut that
      // leaves the start where it was would repeat for ever.
      auto [end, next] = FindCut(start, k, last_space);
      if (next == start) {
        unbreakable = true;
        continue;
      }
      Emit(start, end, false);
      start = next;
      last_space = kNone;
    }
    if (start < n) Emit(start, n, true);
  }

 private:
  size_t count() const { return bounds_.size() - 1; }
  bool Fits(size_t from, size_t to) const {
    return advance_[to] - advance_[from] <= options_.available_width;
  }
  // Only the piece that ends a paragraph carries the mark.
  void Emit(size_t from, size_t to, bool paragraph_end) {
    std::string piece(line_.substr(bounds_[from], bounds_[to] - bounds_[from]));
    if (paragraph_end) piece += kParagraphMark;
    out_.push_back(std::move(piece));
  }

  // Where the piece [start, k] that no longer fits is cut: the end of the piece and the start
  // of the next one.
  std::pair<size_t, size_t> FindCut(size_t start, size_t k, size_t last_space) const {
    if (options_.word_break) {
      // The word is cut inside: at least two of its characters, as many as fit.
      size_t word = last_space != kNone ? last_space + 1 : start;
      if (word + 2 <= k && Fits(start, word + 2)) {
        size_t end = word + 2;
        while (end < k && Fits(start, end + 1)) ++end;
        return {end, end};
      }
    }
    if (last_space != kNone) return {last_space, last_space + 1};  // the space is dropped
    return {k, k};
  }

  std::string_view line_;
  const MemoWrapOptions& options_;
  TvtStrings& out_;
  std::vector<size_t> bounds_;    // byte offset of every character, and the end
  std::vector<int64_t> advance_;  // width of the characters before each bound
};

}  // namespace

bool HasParagraphMark(const TvtStrings& lines) {
  for (const std::string& line : lines)
    if (line.find(kParagraphMark) != std::string::npos) return true;
  return false;
}

TvtStrings WrapMemoLines(const TvtStrings& lines, const MemoWrapOptions& options,
                         const TextWidthFunction& width) {
  if (options.already_wrapped) return lines;
  TvtStrings out;
  auto take_whole = [&](const std::string& line) {
    out.push_back(options.vertical ? line : line + kParagraphMark);
  };
  // An expression too wide for its box still reads better whole while designing.
  bool keep_whole = options.design_mode && lines.size() == 1 && !lines[0].empty() &&
                    lines[0][0] == '[' && width(lines[0]) > options.available_width;
  for (const std::string& line : lines) {
    if (options.word_wrap && !keep_whole) {
      LineBreaker(line, options, width, out).Run();
    } else {
      take_whole(line);
    }
  }
  return out;
}

}  // namespace zr
