#pragma once
// The record types and constants of the two metafile formats, in one place: the numbers of
// the published EMF and WMF layouts that our writers emit and our readers understand.

#include <array>
#include <cstdint>
#include <optional>

#include "platform/canvas/brush.h"

namespace zr::emr {

inline constexpr uint32_t kHeader = 1;
inline constexpr uint32_t kPolygon = 3;
inline constexpr uint32_t kPolyline = 4;
inline constexpr uint32_t kEof = 14;
inline constexpr uint32_t kSetBkMode = 18;
inline constexpr uint32_t kSetTextColor = 24;
inline constexpr uint32_t kSetBkColor = 25;
inline constexpr uint32_t kMoveToEx = 27;
inline constexpr uint32_t kIntersectClipRect = 30;
inline constexpr uint32_t kSaveDc = 33;
inline constexpr uint32_t kRestoreDc = 34;
inline constexpr uint32_t kSelectObject = 37;
inline constexpr uint32_t kCreatePen = 38;
inline constexpr uint32_t kCreateBrushIndirect = 39;
inline constexpr uint32_t kDeleteObject = 40;
inline constexpr uint32_t kEllipse = 42;
inline constexpr uint32_t kRectangle = 43;
inline constexpr uint32_t kRoundRect = 44;
inline constexpr uint32_t kExtFloodFill = 53;
inline constexpr uint32_t kLineTo = 54;
inline constexpr uint32_t kExtSelectClipRgn = 75;
inline constexpr uint32_t kBitBlt = 76;
inline constexpr uint32_t kStretchDiBits = 81;
inline constexpr uint32_t kExtCreateFontIndirectW = 82;
inline constexpr uint32_t kExtTextOutA = 83;
inline constexpr uint32_t kExtTextOutW = 84;
inline constexpr uint32_t kPolygon16 = 86;
inline constexpr uint32_t kPolyline16 = 87;
inline constexpr uint32_t kExtCreatePen = 95;

inline constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
inline constexpr uint32_t kVersion = 0x10000;
inline constexpr uint32_t kStockObject = 0x80000000;  // handle bit of stock objects

}  // namespace zr::emr

namespace zr::wmf {

inline constexpr uint16_t kEof = 0x0000;
inline constexpr uint16_t kSaveDc = 0x001E;
inline constexpr uint16_t kSetBkColor = 0x0201;
inline constexpr uint16_t kSetBkMode = 0x0102;
inline constexpr uint16_t kSetTextColor = 0x0209;
inline constexpr uint16_t kSetTextCharExtra = 0x0108;
inline constexpr uint16_t kSetWindowOrg = 0x020B;
inline constexpr uint16_t kSetWindowExt = 0x020C;
inline constexpr uint16_t kLineTo = 0x0213;
inline constexpr uint16_t kMoveTo = 0x0214;
inline constexpr uint16_t kIntersectClipRect = 0x0416;
inline constexpr uint16_t kEllipse = 0x0418;
inline constexpr uint16_t kRectangle = 0x041B;
inline constexpr uint16_t kRoundRect = 0x061C;
inline constexpr uint16_t kPatBlt = 0x061D;
inline constexpr uint16_t kRestoreDc = 0x0127;
inline constexpr uint16_t kExtFloodFill = 0x0548;
inline constexpr uint16_t kTextOut = 0x0521;
inline constexpr uint16_t kPolygon = 0x0324;
inline constexpr uint16_t kPolyline = 0x0325;
inline constexpr uint16_t kSelectObject = 0x012D;
inline constexpr uint16_t kDeleteObject = 0x01F0;
inline constexpr uint16_t kExtTextOut = 0x0A32;
inline constexpr uint16_t kStretchDib = 0x0F43;
inline constexpr uint16_t kCreatePenIndirect = 0x02FA;
inline constexpr uint16_t kCreateFontIndirect = 0x02FB;
inline constexpr uint16_t kCreateBrushIndirect = 0x02FC;

inline constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

}  // namespace zr::wmf

namespace zr::gdi {

// Brush styles of LOGBRUSH.
inline constexpr uint32_t kBsSolid = 0;
inline constexpr uint32_t kBsNull = 1;
inline constexpr uint32_t kBsHatched = 2;

// ExtTextOut options.
inline constexpr uint32_t kEtoOpaque = 0x0002;
inline constexpr uint32_t kEtoClipped = 0x0004;
inline constexpr uint32_t kEtoRtlReading = 0x0080;

inline constexpr uint32_t kSrcCopy = 0x00CC0020;
inline constexpr uint32_t kPatCopy = 0x00F00021;
inline constexpr uint32_t kRgnAnd = 1;
inline constexpr uint32_t kPsStyleMask = 0x0F;

inline constexpr int kFwNormal = 400;
inline constexpr int kFwBold = 700;
inline constexpr int kFaceNameChars = 32;  // with the terminating 0

// The hatch style whose pattern the brush carries, if any.
inline std::optional<HatchStyle> hatch_of(const Brush& brush) {
  for (int h = 0; h <= static_cast<int>(HatchStyle::DiagCross); ++h) {
    if (Brush::hatch(static_cast<HatchStyle>(h), brush.color) == brush)
      return static_cast<HatchStyle>(h);
  }
  return std::nullopt;
}

}  // namespace zr::gdi
