// The plain-text export: collecting a page's lines and writing them as rows of characters.
#include "output/text/text_export.h"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "engine/locale/locale_strings.h"
#include "engine/model/memo_view.h"
#include "engine/report/tvt_globals.h"
#include "output/text/text_export_dialog.h"
#include "output/text/text_markers.h"
#include "output/text/text_page_lines.h"
#include "platform/codepage.h"
#include "platform/fonts/font_resolver.h"
#include "platform/rounding.h"

namespace zr {

int64_t TextColumn(double pixels, double cell_width) {
  const double column = round_half_even_double(pixels / cell_width);
  if (std::isnan(column)) return 0;
  const auto limit = static_cast<double>(kMaxTextColumn);
  return static_cast<int64_t>(std::clamp(column, -limit, limit));
}

namespace {

// Writes `marker` at 1-based position `position`; cells off the line's range are skipped.
void Put(TextPageLines& out, int64_t index, int64_t position, uint8_t marker) {
  if (position >= 1 && position <= kMaxTextColumn) out.PutMarker(index, position - 1, marker);
}

// A horizontal border over positions d .. d + w - 1 of line `index`: a corner at each end
// the frame has a side on, the stroke between.
void PutBorder(TextPageLines& out, int64_t index, int64_t d, int64_t w, int frame_typ,
               uint8_t left_corner, uint8_t right_corner) {
  int64_t from = d, to = d + w - 1;
  if (frame_typ & kTextFrameLeft) Put(out, index, from++, left_corner);
  if (frame_typ & kTextFrameRight) Put(out, index, to--, right_corner);
  for (int64_t p = std::max<int64_t>(from, 1); p <= std::min(to, kMaxTextColumn); ++p)
    Put(out, index, p, kMarkHorizontal);
}

int AnsiCodePage() {
  const TvtGlobals* g = TvtGlobals::Find();
  return g && g->fonts ? g->fonts->code_page() : kDefaultAnsiCodePage;
}

}  // namespace

TvtTextExport::TvtTextExport() {
  RegisterFilter(LoadStr(kStrTextFile) + " (*.txt)", "*.txt");
}

int TvtTextExport::ShowModal() {
  if (!ShowDialog) return kModalOk;
  TvtTXTExportForm form(*this);
  const int result = form.ShowModal();
  form.ReadBack(*this);
  return result;
}

void TvtTextExport::OnBeginPage() {
  ClearLines();
}

void TvtTextExport::OnText(const Rect& draw_rect, int /*x*/, int /*y*/, const std::string& text,
                           int frame_typ, int line_no, TvtView& view) {
  // Every line of an object starts at the object's left edge, in the row of its top.
  const int64_t row = int64_t{draw_rect.top} + line_no;
  if (row < -kMaxTextRow || row > kMaxTextRow) return;
  TvtTextRec rec;
  rec.X = view.Left;
  rec.Text = text;
  if (const auto* memo = dynamic_cast<const TvtMemoView*>(&view)) {
    rec.FontName = memo->Font.Name;
    rec.FontSize = memo->Font.Size;
    rec.FontStyle = memo->Font.Style;
    rec.FontColor = memo->Font.Color;
    rec.FontCharset = memo->Font.Charset;
  }
  rec.FillColor = view.FillColor;
  rec.FrameRect = draw_rect;
  rec.FrameTyp = frame_typ;
  lines_.Insert(row, std::move(rec));
}

void TvtTextExport::OnEndPage() {
  TextPageLines out([this](const TextPageLine& line) { WriteOutputLine(line); });
  const double cell = CellWidth();
  auto write_row = [&](const TvtTextRows::Row& records) {
    int64_t r = out.Count();
    out.FlushBefore(r - 1);  // a row reaches back one line at most
    std::string text;
    int64_t length = 0;  // the running length: column plus text of the last record
    for (const TvtTextRec& rec : records) {
      const int64_t b = TextColumn(rec.X, cell);
      if (b > length) text.append(static_cast<size_t>(b - length), ' ');
      text += rec.Text;
      length = b + static_cast<int64_t>(rec.Text.size());
      if (ExportFrames && rec.FrameTyp != 0) DrawFrame(out, r, rec);
    }
    if (records.empty() && KillEmptyLines) return;
    out.Ensure(r);
    out.MergeText(r, text);
  };
  if (!lines_.Empty()) {
    if (KillEmptyLines) {
      for (const auto& [row, records] : lines_.Rows()) write_row(records);
    } else {
      // Rows above the page top are kept too rather than lost.
      for (int64_t row = std::min<int64_t>(0, lines_.FirstRow()); row <= lines_.LastRow(); ++row)
        write_row(lines_.At(row));
    }
  }
  if (PageBreaks) out.AppendFormFeed();
  out.FlushAll();
  ClearLines();
}

void TvtTextExport::DrawFrame(TextPageLines& out, int64_t& r, const TvtTextRec& rec) const {
  const double cell = CellWidth();
  const int64_t d = TextColumn(rec.FrameRect.left, cell);
  const int64_t w = TextColumn(rec.FrameRect.right, cell) - d + 1;
  const int sides = rec.FrameTyp;
  if (sides & kTextFrameTop) {
    // The border shares the line above when that holds no text, else gets a line of its own.
    if (r == 0) {
      out.InsertFirst();
      r = 1;
    } else if (out.HasText(r - 1)) {
      out.Append();
      r = out.Count();
    }
    PutBorder(out, r - 1, d, w, sides, kMarkTopLeft, kMarkTopRight);
  }
  if (sides & kTextFrameBottom) {
    out.Ensure(r + 1);
    PutBorder(out, r + 1, d, w, sides, kMarkBottomLeft, kMarkBottomRight);
  }
  if (sides & (kTextFrameLeft | kTextFrameRight)) out.Ensure(r);
  if (sides & kTextFrameLeft) Put(out, r, d, kMarkVertical);
  if (sides & kTextFrameRight) Put(out, r, d + w - 1, kMarkVertical);
}

void TvtTextExport::WriteOutputLine(const TextPageLine& line) {
  if (line.form_feed) {
    WriteLine(line.text);
    return;
  }
  // Text runs are converted on their own so that the marker characters, already in the DOS
  // code page, are not converted again.
  std::string bytes;
  size_t i = 0;
  while (i < line.text.size()) {
    size_t end = i;
    if (line.marks[i] != 0) {
      bytes += MarkerChar(static_cast<uint8_t>(line.marks[i]), UsePseudographic);
      ++i;
      continue;
    }
    while (end < line.text.size() && line.marks[end] == 0) ++end;
    const std::string_view run(line.text.data() + i, end - i);
    bytes += ConvertToOEM ? ansi_to_oem(run, AnsiCodePage()) : std::string(run);
    i = end;
  }
  WriteBytes(std::move(bytes));
}

void TvtTextExport::WriteLine(const std::string& line) {
  WriteBytes(ConvertToOEM ? ansi_to_oem(line, AnsiCodePage()) : line);
}

void TvtTextExport::WriteBytes(std::string bytes) {
  bytes += "\r\n";
  if (Stream) Stream->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace zr
