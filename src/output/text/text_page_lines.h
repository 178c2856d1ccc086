#pragma once
// The output lines of one page of the text export, with the frame markers kept apart from
// the text: a cell holds either a character of text or a marker, so a control byte inside a
// text (a tab) is never taken for a frame stroke.
//
// Lines are numbered from 0 for the page. The page is written from the top down: once the
// writer has moved on, the lines above are handed to the sink (Flush) and no longer held.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

namespace zr {

struct TextPageLine {
  std::string text;
  std::string marks;  // per cell: 0 for text, else the marker code
  bool form_feed = false;
};

class TextPageLines {
 public:
  using Sink = std::function<void(const TextPageLine&)>;
  explicit TextPageLines(Sink sink) : sink_(std::move(sink)) {}

  // Lines made so far, the flushed ones included.
  int64_t Count() const { return first_ + static_cast<int64_t>(lines_.size()); }
  // A line not yet flushed.
  TextPageLine& At(int64_t index);
  void Append() { lines_.emplace_back(); }
  // Appends empty lines until `index` exists.
  void Ensure(int64_t index);
  // A new empty line 0, moving the others down; only while nothing was flushed.
  void InsertFirst();
  // Hands every line below `index` to the sink.
  void FlushBefore(int64_t index);
  void FlushAll() { FlushBefore(Count()); }

  // Writes `marker` into 0-based cell `cell` of line `index`, combining it with a marker
  // already there and padding with spaces.
  void PutMarker(int64_t index, int64_t cell, uint8_t marker);
  // True when the line holds a character other than a space or a marker.
  bool HasText(int64_t index);
  // Lays `text` under line `index`: cells beyond the line are appended; a plain space takes
  // the character of `text`, markers and earlier text stay.
  void MergeText(int64_t index, const std::string& text);
  void AppendFormFeed();

 private:
  Sink sink_;
  std::deque<TextPageLine> lines_;
  int64_t first_ = 0;  // number of the first line held
};

}  // namespace zr
