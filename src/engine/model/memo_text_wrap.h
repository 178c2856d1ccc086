#pragma once
// Breaking a memo's text into display lines. The last piece of every paragraph carries the
// paragraph mark (byte 1), which tells drawing and justification where paragraphs end and
// tells a later layout that the text is wrapped already.

#include <functional>
#include <string_view>

#include "engine/model/view.h"

namespace zr {

// Width in device pixels of a piece of text as the canvas would draw it. Widths must add up:
// the width of "ab" is the width of "a" plus that of "b".
using TextWidthFunction = std::function<int(std::string_view text)>;

struct MemoWrapOptions {
  int available_width = 0;  // pixels along the line
  bool word_wrap = true;
  bool word_break = false;
  // Vertical text takes unwrapped lines without a mark.
  bool vertical = false;
  // Design mode keeps a single over-long line that starts with "[" (an expression) whole.
  bool design_mode = false;
  // The text was wrapped before (it holds marks): every line is taken as it is.
  bool already_wrapped = false;
  int code_page = 949;
};

// The display lines of `lines`. Double-byte characters are never split. Cost is linear in
// the text plus one width call per character.
TvtStrings WrapMemoLines(const TvtStrings& lines, const MemoWrapOptions& options,
                         const TextWidthFunction& width);

// Whether any line holds a paragraph mark.
bool HasParagraphMark(const TvtStrings& lines);

}  // namespace zr
