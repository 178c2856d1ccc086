#pragma once
// Report objects (views): the common base of memos, pictures, bands, subreports, lines and
// add-ins. A view lives in two worlds: on a form page it is a design object the band engine
// reads; on a prepared page it is re-created from its prepared record only to be drawn or
// exported.
//
// Geometry is in design pixels. Texts are ANSI code page bytes. Views are owned by their
// page (TvtPage::Objects); a view keeps a non-owning pointer to it. Everything here runs on
// the engine's one thread and reaches the running engine through TvtGlobals (current report,
// page, view, design or run mode, the shared measuring canvas and interpreter).
//
// Errors: reading a record raises FormatError when the stream ends early; property access
// and methods raise what evaluation raises (ConversionError for a value that does not
// convert).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/canvas/geometry.h"
#include "platform/value.h"

namespace zr {

class Canvas;
class TvtPage;
class TvtBand;
class TvtDataset;
class TvtReport;

using TvtStrings = std::vector<std::string>;

// Object type codes stored in every object record.
inline constexpr uint8_t kObjMemo = 0;
inline constexpr uint8_t kObjPicture = 1;
inline constexpr uint8_t kObjBand = 2;
inline constexpr uint8_t kObjSubReport = 3;
inline constexpr uint8_t kObjLine = 4;
inline constexpr uint8_t kObjAddIn = 10;

// Flags bit shared by every view; the other bits belong to the classes.
inline constexpr uint16_t kFlagStretched = 1;
// Add-in bit: the view wants to hear of every memo written during preparation.
inline constexpr uint16_t kFlagWantHook = 0x8000;

// Frame sides (FrameTyp bits) and styles.
inline constexpr uint16_t kFrameRight = 1;
inline constexpr uint16_t kFrameBottom = 2;
inline constexpr uint16_t kFrameLeft = 4;
inline constexpr uint16_t kFrameTop = 8;
inline constexpr uint16_t kFrameAll = 15;
enum FrameStyle : uint16_t {
  psSolid = 0,
  psDash = 1,
  psDot = 2,
  psDashDot = 3,
  psDashDotDot = 4,
  psDouble = 5
};

enum BandAlign : uint8_t {
  baNone = 0,
  baLeft = 1,
  baRight = 2,
  baCenter = 3,
  baWidth = 4,
  baBottom = 5,
  baTop = 6,
  baRest = 7
};

// The no-fill colour and the button face (system colour 15).
inline constexpr int32_t kClNone = 0x1FFFFFFF;
inline constexpr int32_t kClBtnFace = static_cast<int32_t>(0x8000000F);

// One entry of an object's property table. Only the name matters at run time: a script may
// address object.property only when the table has the property. Kind and enumeration serve
// a design tool.
struct TvtPropRec {
  std::string name;  // at most 32 characters
  int kind = 0;
  std::string enum_names;  // "a;b;c"
  std::vector<int> enum_values;
};

class TvtObject {
 public:
  TvtObject() = default;
  virtual ~TvtObject() = default;
  TvtObject(const TvtObject&) = delete;
  TvtObject& operator=(const TvtObject&) = delete;

  // Names arrive in any case; implementations upper-case them. Unknown names: get gives
  // null, set changes nothing.
  virtual void SetProperty(const std::string& name, const Value& value);
  virtual Value GetProperty(const std::string& name);
  // Method names arrive upper-cased; arguments are the source texts of the call.
  virtual Value CallMethod(const std::string& name, const Value& p1, const Value& p2,
                           const Value& p3);
  // Rebuilds PropRec (empties it first).
  virtual void RegisterProperties() { PropRec.clear(); }

  // Whether the table lists `name` (ignoring case).
  bool HasProperty(std::string_view name) const;
  void AddProperty(std::string name, std::string enum_names = {},
                   std::vector<int> enum_values = {});

  std::vector<TvtPropRec> PropRec;
};

// The scale a Draw works with: ScaleX/Y and the offsets in run mode, none in design mode.
struct ViewScale {
  double kx = 1.0, ky = 1.0;
  int32_t ox = 0, oy = 0;
};

class TvtView : public TvtObject {
 public:
  TvtView();
  ~TvtView() override;

  // The class name written after type code 10 and looked up in the add-in registry.
  virtual std::string ClassName() const { return "TvtView"; }

  void SetProperty(const std::string& name, const Value& value) override;
  Value GetProperty(const std::string& name) override;
  Value CallMethod(const std::string& name, const Value& p1, const Value& p2,
                   const Value& p3) override;
  void RegisterProperties() override;

  virtual void DrawBackground();
  virtual void DrawFrame();
  // Fills the view from a data field: nullopt is a null field, otherwise its bytes.
  virtual void LoadFromBlobField(const std::optional<std::string>& content);
  // Called once for every object after a whole form has loaded.
  virtual void AfterLoad() {}
  // Before each preparation pass: a grid view adds the bands and memos it describes to
  // `report`'s form pages. Others do nothing.
  virtual void ExpandGrid(TvtReport& /*report*/) {}
  // For views with kFlagWantHook: `drawn`, a memo, was just written to a prepared page.
  virtual void OnHook(TvtView& /*drawn*/) {}
  // Scales geometry for drawing (ScaleX/Y, OffsetX/Y) and computes DrawRect; always paired
  // with RestoreGeometry inside one Draw.
  virtual void ApplyScale();
  virtual void RestoreGeometry();
  virtual void Draw(Canvas& canvas);
  // Writes the view, text computed, as a prepared record (type byte, class name for add-ins,
  // record in prepared mode) unless it is invisible.
  virtual void WriteToPreparedPage(ByteWriter& stream);
  // Hands the view to the current report's export filter.
  virtual void ExportTo();
  // The record; callers set PreparedMode and the stream's version first.
  virtual void LoadFromStream(ByteReader& stream);
  virtual void SaveToStream(ByteWriter& stream);
  virtual Region GetClipRegion(bool enlarged);

  // Copies a view of the same kind through a design-form record of version 24.
  void AssignFrom(TvtView& source);
  // NamePrefix + the first free number 1..10000 over the current report; empty when all
  // are taken.
  void CreateUniqueName();
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  // Replaces every bracketed expression by its display text (the current report's
  // FormatExpressionValue); inserted text is not scanned again. Without a report the text is
  // returned unchanged. Raises what evaluation raises.
  std::string ExpandBrackets(const std::string& text);
  // Records the canvas and makes this the current view; then, for a view on a page, applies
  // BandAlign between the printable bounds of the current page (run mode) or of its own
  // page (design mode). Neighbours are the other non-band views of the page with equal Top.
  void ApplyBandAlign(Canvas* canvas);
  // The band-relative alignments against the running band while writing a prepared record;
  // nothing happens without a running band.
  void ApplyBandRelativeAlign();

  ViewScale EffectiveScale() const;

  // ApplyScale on construction, RestoreGeometry on destruction: a Draw's bracket that also
  // holds when drawing raises.
  class ScaledGeometry {
   public:
    explicit ScaledGeometry(TvtView& view) : view_(view) { view_.ApplyScale(); }
    ~ScaledGeometry() { view_.RestoreGeometry(); }
    ScaledGeometry(const ScaledGeometry&) = delete;
    ScaledGeometry& operator=(const ScaledGeometry&) = delete;

   private:
    TvtView& view_;
  };

  bool Stretched() const { return Flags & kFlagStretched; }
  bool HasFlag(uint16_t bit) const { return (Flags & bit) != 0; }
  void SetFlag(uint16_t bit, bool on) { Flags = on ? (Flags | bit) : (Flags & ~bit); }

  // --- Stored fields ---
  std::string Name;
  std::string NamePrefix = "View";
  uint8_t ObjectType = kObjAddIn;
  int32_t ObjectId = 0;
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  uint16_t Flags = 1;
  uint16_t FrameTyp = 0;
  float FrameWidth = 1.0f;
  int32_t FrameColor = 0;
  uint16_t FrameStyle = psSolid;
  int32_t FillColor = kClNone;
  int32_t DisplayFormat = 0;  // set by the constructor from the locale decimal separator
  std::string FormatText;
  bool Visible = true;
  uint16_t Restrictions = 0;
  std::string Tag;
  int32_t GapX = 2, GapY = 1;
  uint8_t BandAlign = baNone;
  TvtStrings Memo;
  TvtStrings Script;
  TvtStrings ExpandedMemo;
  std::string LinkUrl, DrillData, DrillFile;
  uint8_t RecordVersion = 0, ExtensionVersion = 0;
  bool PreparedMode = false;

  // --- Run-time links ---
  TvtPage* Parent = nullptr;      // the owning page
  TvtBand* ParentBand = nullptr;  // while a report is prepared
  // The field the view's text names while a report is prepared: FieldName is set only when it
  // is bound; FieldDataSet marks the dataset of the band serving it, null when there is none.
  TvtDataset* FieldDataSet = nullptr;
  std::string FieldName;

  // --- Drawing state, set by whoever draws ---
  Canvas* DrawCanvas = nullptr;
  Rect DrawRect;
  double ScaleX = 1.0, ScaleY = 1.0;
  int32_t OffsetX = 0, OffsetY = 0;
  bool IsPrinting = false;

 protected:
  // Reads and writes the common record; subclasses append their items.
  void LoadCommonRecord(ByteReader& stream);
  void SaveCommonRecord(ByteWriter& stream);
  // The type byte, the class name for add-ins and the record in prepared mode.
  void WritePreparedRecord(ByteWriter& stream);
  // The scaled right and bottom edges without frame adjustment (valid after ApplyScale).
  int32_t ScaledRight() const;
  int32_t ScaledBottom() const;

  struct SavedGeometry {
    int32_t left, top, width, height;
    float frame_width;
    int32_t gap_x, gap_y;
  };
  SavedGeometry saved_{};
};

// Views that stretch and split: the band engine asks them for heights.
class TvtStretcheable : public TvtView {
 public:
  virtual int32_t CalcHeight() { return 0; }
  virtual int32_t MinimalHeight() { return 0; }
  virtual int32_t LeftoverHeight() { return 0; }
};

// The bracket scan of ExpandBrackets with the display text supplied by `display` (called
// with the text between the outermost brackets). An opening bracket without its closing one
// is left as it stands, with the rest of the text.
std::string ExpandBracketedText(const std::string& text,
                                const std::function<std::string(const std::string&)>& display);

// Geometry from files may be anything: sums of it are taken in 64 bits and clamped back.
constexpr int32_t SaturateInt32(int64_t value) {
  return value < INT32_MIN   ? INT32_MIN
         : value > INT32_MAX ? INT32_MAX
                             : static_cast<int32_t>(value);
}

// Frame width as stored: whole widths as the number, fractional ones in thousandths.
int32_t EncodeFrameWidth(float width);
float DecodeFrameWidth(int32_t stored);

}  // namespace zr
