#pragma once
// TvtMemoView: the text object of a report. Its lines may hold bracketed expressions that
// are replaced by formatted values when the report is prepared; it wraps, measures and
// splits its text for the band engine, and draws its lines or hands them to an export
// filter.

#include <cstdint>
#include <string>

#include "engine/model/view.h"

namespace zr {

// Flags bits of a memo.
inline constexpr uint16_t kMemoWordWrap = 2;
inline constexpr uint16_t kMemoWordBreak = 4;
inline constexpr uint16_t kMemoAutoWidth = 8;
inline constexpr uint16_t kMemoTextOnly = 16;
inline constexpr uint16_t kMemoSuppress = 32;
inline constexpr uint16_t kMemoHideZeros = 64;
inline constexpr uint16_t kMemoUnderlines = 128;
inline constexpr uint16_t kMemoRTLReading = 256;

// Alignment code bits.
inline constexpr int32_t vttaLeft = 0;
inline constexpr int32_t vttaRight = 1;
inline constexpr int32_t vttaCenter = 2;
inline constexpr int32_t vttaJustify = 3;
inline constexpr int32_t vttaVertical = 4;
inline constexpr int32_t vttaMiddle = 8;
inline constexpr int32_t vttaDown = 16;

// Font styles in the record's (and scripts') encoding.
inline constexpr uint16_t fsItalic = 1;
inline constexpr uint16_t fsBold = 2;
inline constexpr uint16_t fsUnderline = 4;
inline constexpr uint16_t fsStrikeOut = 8;

// The paragraph-end mark that wrapped text carries at the end of a paragraph's last line.
inline constexpr char kParagraphMark = '\x01';

struct TvtMemoFont {
  std::string Name = "Arial";
  int32_t Size = 10;    // points
  uint16_t Style = 0;   // fs* bits
  int32_t Color = 0;    // black
  uint8_t Charset = 1;  // the default character set
  bool operator==(const TvtMemoFont&) const = default;
};

struct TvtHighlight {
  uint16_t FontStyle = fsBold;
  int32_t FontColor = 0;
  int32_t FillColor = 0xFFFFFF;
  bool operator==(const TvtHighlight&) const = default;
};

class TvtMemoView : public TvtStretcheable {
 public:
  TvtMemoView();

  std::string ClassName() const override { return "TvtMemoView"; }

  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  Value CallMethod(const std::string& name, const Value& p1, const Value& p2,
                   const Value& p3) override;
  void RegisterProperties() override;

  void LoadFromBlobField(const std::optional<std::string>& content) override;
  void Draw(Canvas& canvas) override;
  void WriteToPreparedPage(ByteWriter& stream) override;
  void ExportTo() override;
  void LoadFromStream(ByteReader& stream) override;
  void SaveToStream(ByteWriter& stream) override;

  int32_t CalcHeight() override;
  int32_t MinimalHeight() override;
  int32_t LeftoverHeight() override;

  // Fills ExpandedMemo from Memo, expanding brackets unless TextOnly.
  void ExpandMemo();
  // Replaces ExpandedMemo by its display lines, laid out on the shared measuring canvas with
  // the font at design size; returns the text height (the top gap plus one pitch per line)
  // and sets LineHeight. Text that holds paragraph marks (or HasParagraphMarks) is wrapped
  // already and is taken as it is.
  int32_t WrapText();
  // Keeps the postfix form of HighlightCondition for the run (the engine calls it when a
  // report starts); an empty or faulty condition leaves none, and the text is used then.
  void CompileHighlight();
  // Whether HighlightCondition holds now; evaluation errors count as false.
  bool HighlightHolds();

  // --- Stored fields ---
  TvtMemoFont Font;
  int32_t Alignment = 0;
  TvtHighlight Highlight;
  std::string HighlightCondition;
  int32_t LineSpacing = 2;
  int32_t CharSpacing = 0;
  int32_t CharWidth = 100;

  // --- Run-time state ---
  uint8_t DrawMode = 0;  // 0 normal, 1 height calculated, 2 print only what fits
  std::string LastText;
  bool HasParagraphMarks = false;
  bool ClipLines = false;
  bool Exporting = false;
  int32_t LineHeight = 0;
  int32_t LinesDrawn = 0;
  std::string HighlightPostfix;

 private:
  // Outputs the wrapped lines of ExpandedMemo inside the scaled geometry (ApplyScale done):
  // to the canvas, or line by line to the report's export filter while Exporting. With
  // ClipLines it stops at the first line that does not fit. Returns the lines output.
  // `text_height` is WrapText's result at design scale.
  int32_t DrawLines(Canvas& canvas, int32_t text_height);
  void DrawUnderlines(Canvas& canvas);
  // AutoWidth: the width (or, for vertical text, the height) the text needs at this scale.
  void FitWidthToText(Canvas& canvas);
  // The character height in device pixels the canvas draws with at the current scale.
  int DrawingFontPixels(const Canvas& canvas) const;
};

}  // namespace zr
