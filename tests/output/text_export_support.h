#pragma once
// Drives a character-based export over one page of text pieces, as a prepared page's memos
// would hand them over, and reads the written bytes back.

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/model/memo_view.h"
#include "output/text/text_export.h"

namespace testing_support {

// One line of a text object: its drawing rectangle (left/top also place the object), the
// line's text, the frame sides it keeps and its index in the object.
struct TextPiece {
  int left, top, right, bottom;
  std::string text;
  int frame = 0;
  int line_no = 0;
};

inline std::string ExportPieces(zr::TvtTextExport& filter, const std::vector<TextPiece>& pieces) {
  std::ostringstream out;
  filter.Stream = &out;
  filter.OnBeginPage();
  for (const TextPiece& piece : pieces) {
    zr::TvtMemoView view;
    view.Left = piece.left;
    view.Top = piece.top;
    // The line's own position is off on purpose: the export places lines by the object.
    filter.OnText({piece.left, piece.top, piece.right, piece.bottom}, piece.left + 20,
                  piece.top + 40 + 15 * piece.line_no, piece.text, piece.frame, piece.line_no,
                  view);
  }
  filter.OnEndPage();
  filter.Stream = nullptr;
  return out.str();
}

// Output lines joined by "\n" (CR LF checked and removed); DOS box-drawing bytes shown as
// the Unicode box characters so that expected pages read like the page.
inline std::string Readable(const std::string& bytes) {
  static const std::map<unsigned char, std::string> kBoxes = {
      {179, "│"}, {196, "─"}, {218, "┌"}, {191, "┐"}, {192, "└"}, {217, "┘"},
      {193, "┴"}, {195, "├"}, {194, "┬"}, {180, "┤"}, {197, "┼"}};
  std::string text;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) return text + "<no CR LF>" + bytes.substr(start);
    if (start != 0) text += '\n';
    for (size_t i = start; i < end; ++i) {
      const auto byte = static_cast<unsigned char>(bytes[i]);
      const auto box = kBoxes.find(byte);
      text += box != kBoxes.end() ? box->second : byte == 12 ? "<FF>" : std::string(1, bytes[i]);
    }
    start = end + 2;
  }
  return text;
}

}  // namespace testing_support
