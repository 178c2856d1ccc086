#pragma once
// The page the drawing benchmarks share: 60 rows of 6 framed text cells, Korean and Latin,
// on A4 at 96 pixels per inch.
#include <string>

#include "platform/canvas/canvas.h"
#include "platform/codepage.h"

namespace zr::bench {

constexpr int kPageWidth = 794;
constexpr int kPageHeight = 1123;
constexpr int kRows = 60;
constexpr int kColumns = 6;
constexpr Rect kPage{0, 0, kPageWidth, kPageHeight};

inline void draw_page(Canvas& canvas, const std::string& korean) {
  const int cell_width = (kPageWidth - 40) / kColumns;
  const int cell_height = (kPageHeight - 40) / kRows;
  canvas.set_font({.name = utf8_to_ansi("굴림"), .height = -12, .charset = kHangulCharset});
  canvas.set_pen({kBlack, 1, PenStyle::Solid});
  canvas.set_bk_mode(BkMode::Transparent);
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      Rect cell = Rect::from_size(20 + column * cell_width, 20 + row * cell_height, cell_width,
                                  cell_height);
      CanvasStateSaver saver(canvas);
      canvas.line({cell.left, cell.top}, {cell.right, cell.top});
      canvas.line({cell.left, cell.top}, {cell.left, cell.bottom});
      canvas.intersect_clip_rect({cell.left + 1, cell.top, cell.right - 2, cell.bottom - 1});
      std::string text = column % 2 ? korean : "Row " + std::to_string(row) + " 1,234.50";
      canvas.text_out({cell.left + 2, cell.top + 2}, text);
    }
  }
}

}  // namespace zr::bench
