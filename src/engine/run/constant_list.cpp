#include "engine/run/constant_list.h"

#include <cstdint>

namespace zr {
namespace {

struct Constant {
  const char* name;
  int64_t value;
};

constexpr Constant kColours[] = {
    {"clWhite", 0xFFFFFF},
    {"clBlack", 0},
    {"clMaroon", 0x80},
    {"clGreen", 0x8000},
    {"clOlive", 0x8080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0xFF},
    {"clLime", 0xFF00},
    {"clYellow", 0xFFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clTransparent", 0x1FFFFFFF},
};

// System colours 0x80000000 + n, in the order of n.
constexpr const char* kSystemColours[] = {
    "clScrollBar",    "clBackground",  "clActiveCaption", "clInactiveCaption",
    "clMenu",         "clWindow",      "clWindowFrame",   "clMenuText",
    "clWindowText",   "clCaptionText", "clActiveBorder",  "clInactiveBorder",
    "clAppWorkSpace", "clHighlight",   "clHighlightText", "clBtnFace",
    "clBtnShadow",    "clGrayText",    "clBtnText",       "clInactiveCaptionText",
    "clBtnHighlight", "cl3DDkShadow",  "cl3DLight",       "clInfoText",
    "clInfoBk",
};

constexpr Constant kSmall[] = {
    {"mrNone", 0},
    {"mrOk", 1},
    {"mrCancel", 2},
    {"mrYes", 6},
    {"mrNo", 7},
    {"fsBold", 2},
    {"fsItalic", 1},
    {"fsUnderline", 4},
    {"fsStrikeOut", 8},
    {"vtftNone", 0},
    {"vtftRight", 1},
    {"vtftBottom", 2},
    {"vtftLeft", 4},
    {"vtftTop", 8},
    {"vttaLeft", 0},
    {"vttaRight", 1},
    {"vttaCenter", 2},
    {"vttaVertical", 4},
    {"vttaMiddle", 8},
    {"vttaDown", 16},
    {"baNone", 0},
    {"baLeft", 1},
    {"baRight", 2},
    {"baCenter", 3},
    {"baWidth", 4},
    {"baBottom", 5},
    {"baTop", 6},
    {"baRest", 7},
    {"psSolid", 0},
    {"psDash", 1},
    {"psDot", 2},
    {"psDashDot", 3},
    {"psDashDotDot", 4},
    {"psDouble", 5},
    {"mb_Ok", 0},
    {"mb_OkCancel", 1},
    {"mb_YesNo", 4},
    {"mb_YesNoCancel", 3},
    {"mb_IconError", 16},
    {"mb_IconQuestion", 32},
    {"mb_IconInformation", 64},
    {"mb_IconWarning", 48},
};

}  // namespace

void FillConstantList(TvtVariables& list) {
  list.SetSorted(true);
  for (const Constant& c : kColours) list.SetVariable(c.name, Value(static_cast<int32_t>(c.value)));
  uint32_t system = 0x80000000u;
  for (const char* name : kSystemColours) {
    list.SetVariable(name, Value(static_cast<int32_t>(system++)));
  }
  for (const Constant& c : kSmall) list.SetVariable(c.name, Value(static_cast<int32_t>(c.value)));
  list.SetVariable("CRLF", Value("\r\n"));
  list.SetVariable("Null", Value::null());
}

}  // namespace zr
