// Output lines of one text export page.
#include "output/text/text_page_lines.h"

#include <algorithm>

#include "platform/errors.h"

namespace zr {

TextPageLine& TextPageLines::At(int64_t index) {
  if (index < first_ || index >= Count())
    throw ZorelError("Text export line " + std::to_string(index) + " is not held",
                     ErrorKind::Argument);
  return lines_[static_cast<size_t>(index - first_)];
}

void TextPageLines::Ensure(int64_t index) {
  while (Count() <= index) Append();
}

void TextPageLines::InsertFirst() {
  if (first_ != 0) throw ZorelError("Text export: line 0 was already written", ErrorKind::Argument);
  lines_.emplace_front();
}

void TextPageLines::FlushBefore(int64_t index) {
  while (first_ < index && !lines_.empty()) {
    sink_(lines_.front());
    lines_.pop_front();
    ++first_;
  }
}

void TextPageLines::PutMarker(int64_t index, int64_t cell, uint8_t marker) {
  TextPageLine& line = At(index);
  const auto at = static_cast<size_t>(cell);
  if (line.text.size() <= at) {
    line.text.resize(at + 1, ' ');
    line.marks.resize(at + 1, 0);
  }
  if (line.marks[at] != 0) {
    line.marks[at] = static_cast<char>(line.marks[at] | marker);
  } else {
    line.marks[at] = static_cast<char>(marker);
    line.text[at] = ' ';
  }
}

bool TextPageLines::HasText(int64_t index) {
  const TextPageLine& line = At(index);
  for (size_t i = 0; i < line.text.size(); ++i)
    if (line.marks[i] == 0 && line.text[i] != ' ') return true;
  return false;
}

void TextPageLines::MergeText(int64_t index, const std::string& text) {
  TextPageLine& line = At(index);
  const size_t common = std::min(line.text.size(), text.size());
  for (size_t i = 0; i < common; ++i)
    if (line.marks[i] == 0 && line.text[i] == ' ') line.text[i] = text[i];
  if (text.size() > line.text.size()) {
    line.text.append(text, line.text.size());
    line.marks.resize(text.size(), 0);
  }
}

void TextPageLines::AppendFormFeed() {
  Append();
  lines_.back().text = "\f";
  lines_.back().marks = std::string(1, '\0');
  lines_.back().form_feed = true;
}

}  // namespace zr
