#include "engine/model/memo_view.h"

#include <algorithm>
#include <array>
#include <utility>

#include "engine/model/export_filter.h"
#include "engine/model/memo_font.h"
#include "engine/model/memo_text_wrap.h"
#include "engine/report/report.h"
#include "engine/report/tvt_globals.h"
#include "platform/canvas/canvas.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"
#include "platform/rounding.h"
#include "platform/text_limit.h"
#include "platform/text_lines.h"

namespace zr {

namespace {

// Runs a function when the scope ends, also when it is left by an exception.
template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() { f_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F f_;
};

int32_t saturate_int(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

struct FlagName {
  const char* name;
  uint16_t bit;
};

// The flag bits scripts read and write by name.
constexpr std::array<FlagName, 9> kFlagNames = {{
    {"WORDWRAP", kMemoWordWrap},
    {"WORDBREAK", kMemoWordBreak},
    {"AUTOWIDTH", kMemoAutoWidth},
    {"TEXTONLY", kMemoTextOnly},
    {"SUPPRESS", kMemoSuppress},
    {"HIDEZEROS", kMemoHideZeros},
    {"UNDERLINES", kMemoUnderlines},
    {"RTLREADING", kMemoRTLReading},
    {"STRETCHED", kFlagStretched},
}};

const FlagName* find_flag(const std::string& upper_name) {
  for (const FlagName& f : kFlagNames)
    if (upper_name == f.name) return &f;
  return nullptr;
}

// The whole text as one string, as the lines' joined text compares for Suppress.
std::string joined_text(const TvtStrings& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// The highlight replaces font style, font colour and fill for one operation.
class HighlightScope {
 public:
  explicit HighlightScope(TvtMemoView& memo)
      : memo_(memo), style_(memo.Font.Style), color_(memo.Font.Color), fill_(memo.FillColor) {
    if (memo.HighlightHolds()) {
      memo.Font.Style = memo.Highlight.FontStyle;
      memo.Font.Color = memo.Highlight.FontColor;
      memo.FillColor = memo.Highlight.FillColor;
    }
  }
  ~HighlightScope() {
    memo_.Font.Style = style_;
    memo_.Font.Color = color_;
    memo_.FillColor = fill_;
  }
  HighlightScope(const HighlightScope&) = delete;
  HighlightScope& operator=(const HighlightScope&) = delete;

 private:
  TvtMemoView& memo_;
  uint16_t style_;
  int32_t color_;
  int32_t fill_;
};

}  // namespace

TvtMemoView::TvtMemoView() {
  NamePrefix = "Memo";
  ObjectType = kObjMemo;
  Flags = kFlagStretched | kMemoWordWrap;
}

// --- Record ---

void TvtMemoView::LoadFromStream(ByteReader& stream) {
  LoadCommonRecord(stream);
  const int version = stream.version();
  Font.Name = stream.read_string();
  Font.Size = stream.read_i32();
  Font.Style = stream.read_u16();
  Font.Color = stream.read_i32();
  Alignment = stream.read_i32();
  uint16_t charset = stream.read_u16();
  // Older forms stored character sets of the machine that wrote them.
  Font.Charset = version < 23 ? kDefaultCharset : static_cast<uint8_t>(charset & 0xFF);
  if (!PreparedMode) {
    Highlight.FontStyle = stream.read_u16();
    Highlight.FontColor = stream.read_i32();
    Highlight.FillColor = stream.read_i32();
    HighlightCondition = stream.read_string();
    HighlightPostfix.clear();
  }
  if (version > 23) {
    LineSpacing = stream.read_i32();
    CharSpacing = stream.read_i32();
  }
  CharWidth = ExtensionVersion >= 3 ? stream.read_i32() : 100;
  // Memos of version 21 always wrapped, whatever their flags said.
  if (version == 21) SetFlag(kMemoWordWrap, true);
}

void TvtMemoView::SaveToStream(ByteWriter& stream) {
  SaveCommonRecord(stream);
  stream.write_string(Font.Name);
  stream.write_i32(Font.Size);
  stream.write_u16(Font.Style);
  stream.write_i32(Font.Color);
  stream.write_i32(Alignment);
  stream.write_u16(Font.Charset);
  if (!PreparedMode) {
    stream.write_u16(Highlight.FontStyle);
    stream.write_i32(Highlight.FontColor);
    stream.write_i32(Highlight.FillColor);
    stream.write_string(HighlightCondition);
  }
  stream.write_i32(LineSpacing);
  stream.write_i32(CharSpacing);
  stream.write_i32(CharWidth);
}

// --- Properties ---

void TvtMemoView::RegisterProperties() {
  TvtView::RegisterProperties();
  for (const char* name :
       {"Font.Name",     "Font.Size",   "Font.Style",  "Font.Color",  "Font",     "Alignment",
        "DisplayFormat", "Highlight",   "LineSpacing", "CharSpacing", "GapX",     "GapY",
        "Stretched",     "WordWrap",    "WordBreak",   "AutoWidth",   "TextOnly", "Suppress",
        "HideZeros",     "Lines.Count", "Underlines",  "RTLReading",  "CharWidth"})
    AddProperty(name);
}

Value TvtMemoView::GetProperty(const std::string& name) {
  Value common = TvtView::GetProperty(name);
  if (!common.is_null()) return common;
  const std::string n = upper_ascii(name);
  if (n == "FONT.NAME") return Value(Font.Name);
  if (n == "FONT.SIZE") return Value(Font.Size);
  if (n == "FONT.STYLE") return Value(int32_t{Font.Style});
  if (n == "FONT.COLOR") return Value(Font.Color);
  if (n == "ALIGNMENT") return Value(Alignment);
  if (n == "LINESPACING") return Value(LineSpacing);
  if (n == "CHARSPACING") return Value(CharSpacing);
  if (n == "CHARWIDTH") return Value(CharWidth);
  if (n == "LINES.COUNT") return Value(static_cast<int32_t>(Memo.size()));
  if (const FlagName* flag = find_flag(n)) return Value(HasFlag(flag->bit));
  return common;
}

void TvtMemoView::SetProperty(const std::string& name, const Value& value) {
  TvtView::SetProperty(name, value);
  const std::string n = upper_ascii(name);
  if (n == "FONT.NAME") {
    Font.Name = value.to_string();
  } else if (n == "FONT.SIZE") {
    Font.Size = value.to_int();
  } else if (n == "FONT.STYLE") {
    Font.Style = static_cast<uint16_t>(value.to_int());
  } else if (n == "FONT.COLOR") {
    Font.Color = value.to_int();
  } else if (n == "ALIGNMENT") {
    Alignment = value.to_int();
  } else if (n == "LINESPACING") {
    LineSpacing = value.to_int();
  } else if (n == "CHARSPACING") {
    CharSpacing = value.to_int();
  } else if (n == "CHARWIDTH") {
    CharWidth = value.to_int();
  } else if (const FlagName* flag = find_flag(n)) {
    SetFlag(flag->bit, value.to_bool());
  }
}

Value TvtMemoView::CallMethod(const std::string& name, const Value& p1, const Value& p2,
                              const Value& p3) {
  // "LINES" is another name of the text: its methods are those of "MEMO".
  static constexpr std::string_view kLines = "LINES";
  if (name.starts_with("LINES."))
    return TvtView::CallMethod("MEMO" + name.substr(kLines.size()), p1, p2, p3);
  if ((name == "SETINDEXPROPERTY" || name == "GETINDEXPROPERTY") &&
      upper_ascii(p1.to_string()) == kLines)
    return TvtView::CallMethod(name, Value("MEMO"), p2, p3);
  return TvtView::CallMethod(name, p1, p2, p3);
}

// --- Text ---

void TvtMemoView::LoadFromBlobField(const std::optional<std::string>& content) {
  ExpandedMemo = content ? split_lines(*content) : TvtStrings{};
}

void TvtMemoView::ExpandMemo() {
  ExpandedMemo.clear();
  size_t length = 0;  // of the text so far, as joined_length counts it
  for (const std::string& line : Memo) {
    std::string text = HasFlag(kMemoTextOnly) ? line : ExpandBrackets(line);
    length += text.size() + 2;
    check_text_length(length);
    if (text.empty()) {
      ExpandedMemo.emplace_back();
      continue;
    }
    // Line breaks inside a value make further lines.
    for (std::string& piece : split_lines(text)) ExpandedMemo.push_back(std::move(piece));
  }
}

void TvtMemoView::CompileHighlight() {
  HighlightPostfix.clear();
  if (HighlightCondition.empty()) return;
  try {
    HighlightPostfix = TvtGlobals::Get().GlobalParser.ToPostfix(HighlightCondition);
  } catch (const ZorelError&) {
    HighlightPostfix.clear();
  }
}

bool TvtMemoView::HighlightHolds() {
  if (HighlightCondition.empty()) return false;
  try {
    TvtParser& parser = TvtGlobals::Get().GlobalParser;
    Value result = HighlightPostfix.empty() ? parser.Evaluate(HighlightCondition)
                                            : parser.EvaluatePostfix(HighlightPostfix);
    return !(result == Value(int32_t{0}));
  } catch (const ZorelError&) {
    return false;  // a faulty condition just does not highlight
  }
}

int32_t TvtMemoView::WrapText() {
  TvtGlobals& g = TvtGlobals::Get();
  Canvas& canvas = g.measuring_canvas;
  CanvasStateSaver saver(canvas);
  const bool vertical = Alignment & vttaVertical;
  const int pixels = DesignFontPixels(Font.Size);
  canvas.set_font(MemoFontSelection(Font, pixels, vertical));
  canvas.set_text_char_extra(CharSpacing);
  canvas.set_text_justification(0, 0);

  MemoWrapOptions options;
  options.available_width = saturate_int(vertical ? int64_t{Height} - 2 * int64_t{GapY}
                                                  : int64_t{Width} - 2 * int64_t{GapX});
  options.word_wrap = HasFlag(kMemoWordWrap);
  options.word_break = HasFlag(kMemoWordBreak);
  options.vertical = vertical;
  options.design_mode = !g.run_mode();
  options.already_wrapped = HasParagraphMarks || HasParagraphMark(ExpandedMemo);
  options.code_page = g.fonts->code_page();
  ExpandedMemo = WrapMemoLines(
      ExpandedMemo, options, [&](std::string_view text) { return canvas.text_extent(text).width; });

  LineHeight = LineSpacing + pixels;
  int64_t height =
      int64_t{vertical ? GapX : GapY} + static_cast<int64_t>(ExpandedMemo.size()) * LineHeight;
  return static_cast<int32_t>(std::clamp<int64_t>(height, INT32_MIN, INT32_MAX));
}

// --- Heights for the band engine ---

int32_t TvtMemoView::CalcHeight() {
  DrawMode = 1;
  TvtGlobals& g = TvtGlobals::Get();
  ApplyBandAlign(&g.measuring_canvas);
  g.RunScript(Script);
  if (!Visible) return 0;
  ExpandedMemo = Memo;
  if (g.CurReport) g.CurReport->EnterRect(ExpandedMemo, *this);
  // Text a before-print handler set is final: it is not expanded again.
  if (ExpandedMemo == Memo) ExpandMemo();
  HighlightScope highlight(*this);
  ScaledGeometry scaled(*this);
  if (ExpandedMemo.empty()) return 0;
  HasParagraphMarks = false;
  return WrapText();
}

int32_t TvtMemoView::MinimalHeight() {
  const int64_t frame = round_half_even_to_int(2.0 * FrameWidth);
  LineHeight = saturate_int(int64_t{LineSpacing} + DesignFontPixels(Font.Size));
  return saturate_int(frame + LineHeight + 2 * int64_t{GapY});
}

int32_t TvtMemoView::LeftoverHeight() {
  const int64_t frame = round_half_even_to_int(2.0 * FrameWidth);
  const int64_t gaps = 2 * int64_t{GapY};
  LineHeight = saturate_int(int64_t{LineSpacing} + DesignFontPixels(Font.Size));
  // A pitch of 0 or less (negative spacing) has no lines to leave over.
  const int64_t rest = LineHeight > 0 ? (Height - frame - gaps) % LineHeight : 0;
  return saturate_int(gaps + frame + rest);
}

// --- Prepared pages ---

void TvtMemoView::WriteToPreparedPage(ByteWriter& stream) {
  TvtGlobals& g = TvtGlobals::Get();
  ScopeExit reset_mode([this] { DrawMode = 0; });
  ApplyBandAlign(&g.measuring_canvas);
  ClipLines = true;

  bool expanded_by_handler = false;
  if (DrawMode == 0) {
    g.RunScript(Script);
    if (g.CurReport && g.CurReport->OnBeforePrint) {
      ExpandedMemo = Memo;
      g.CurReport->EnterRect(ExpandedMemo, *this);
      expanded_by_handler = ExpandedMemo != Memo;
    }
  }
  // DrawMode 1 and 2 carry text prepared by CalcHeight or by the previous page.
  if (DrawMode == 0 && !expanded_by_handler) ExpandMemo();
  if (!Visible) return;

  HighlightScope highlight(*this);
  TvtStrings all_lines;
  if (DrawMode == 2) {
    ScaledGeometry scaled(*this);
    LinesDrawn = DrawLines(g.measuring_canvas, 0);
    all_lines = ExpandedMemo;
    ExpandedMemo.resize(std::min<size_t>(ExpandedMemo.size(), std::max(LinesDrawn, 0)));
    // The part carries a mark so that drawing takes its lines as wrapped.
    if (!HasParagraphMark(ExpandedMemo)) ExpandedMemo.emplace_back(1, kParagraphMark);
  }

  const std::string tag = Tag;
  const uint8_t band_align = BandAlign;
  ScopeExit restore([&] {
    Tag = tag;
    BandAlign = band_align;
  });
  if (Tag.find('[') != std::string::npos) {
    const int32_t format = DisplayFormat;
    ScopeExit restore_format([&] { DisplayFormat = format; });
    DisplayFormat = 0;
    Tag = ExpandBrackets(Tag);
  }
  ApplyBandRelativeAlign();

  const std::string text = joined_text(ExpandedMemo);
  const bool suppress = HasFlag(kMemoSuppress);
  if (!suppress || text != LastText) {
    WritePreparedRecord(stream);
    if (suppress) LastText = text;
  }

  if (DrawMode == 2) {
    size_t printed = std::min<size_t>(all_lines.size(), std::max(LinesDrawn, 0));
    ExpandedMemo.assign(all_lines.begin() + static_cast<std::ptrdiff_t>(printed), all_lines.end());
  }
}

void TvtMemoView::ExportTo() {
  TvtGlobals& g = TvtGlobals::Get();
  TvtExportFilter* filter = g.CurReport ? g.CurReport->ExportFilter : nullptr;
  if (!filter) return;
  filter->OnData(Left, Top, *this);
  Exporting = true;
  ScopeExit done([this] { Exporting = false; });
  Draw(g.measuring_canvas);
}

}  // namespace zr
