// The heights the band engine asks a memo for when it stretches and splits it. Arial is
// measured with Liberation Sans; 10 points are 13 pixels at design scale.
#include <gtest/gtest.h>

#include "engine/engine_fixture.h"
#include "engine/model/memo_view.h"

namespace zr {
namespace {

class MemoHeightTest : public testing_support::EngineTest {};

TEST_F(MemoHeightTest, MinimalAndLeftoverHeightsFollowTheLinePitch) {
  struct Case {
    int32_t font_size;
    float frame_width;
    int32_t gap_y;
    int32_t line_spacing;
    int32_t height;
    int32_t minimal;
    int32_t leftover;
    int32_t pitch;
  };
  const Case cases[] = {
      // frame 2 + pitch 15 + gaps 2; leftover 2 + 2 + (96 mod 15)
      {10, 1.0f, 1, 2, 100, 19, 10, 15},
      // a half-pixel frame counts 1; pitch 13
      {10, 0.5f, 2, 0, 60, 18, 8, 13},
      // 12 points are 16 pixels; a frame of 1.25 counts round(2.5) = 2
      {12, 1.25f, 0, 3, 50, 21, 12, 19},
      // an exact fit leaves only gaps and frame
      {10, 1.0f, 1, 2, 49, 19, 4, 15},
      // a negative pitch has no lines: nothing is left over beyond gaps and frame
      {10, 1.0f, 1, -13, 49, 4, 4, 0},
  };
  for (const Case& c : cases) {
    TvtMemoView memo;
    memo.Font.Size = c.font_size;
    memo.FrameWidth = c.frame_width;
    memo.GapY = c.gap_y;
    memo.LineSpacing = c.line_spacing;
    memo.Height = c.height;
    EXPECT_EQ(memo.MinimalHeight(), c.minimal) << c.font_size << "/" << c.frame_width;
    EXPECT_EQ(memo.LeftoverHeight(), c.leftover) << c.font_size << "/" << c.frame_width;
    EXPECT_EQ(memo.LineHeight, c.pitch);
  }
}

TEST_F(MemoHeightTest, CalcHeightWrapsTheExpandedText) {
  // "Total amount due" is 101 pixels in Arial 13 px; "Total amount" 76.
  struct Case {
    const char* what;
    TvtStrings memo;
    int32_t width;
    uint16_t flags;
    int32_t height;
    TvtStrings lines;
  };
  const Case cases[] = {
      {"three short lines", {"a", "b", "c"}, 100, 3, 1 + 3 * 15, {"a\x01", "b\x01", "c\x01"}},
      {"fits exactly", {"Total amount due"}, 101 + 4, 3, 16, {"Total amount due\x01"}},
      {"one pixel short", {"Total amount due"}, 100 + 4, 3, 31, {"Total amount", "due\x01"}},
      {"without word wrap", {"Total amount due"}, 50, 1, 16, {"Total amount due\x01"}},
      {"no text", {}, 100, 3, 0, {}},
  };
  for (const Case& c : cases) {
    TvtMemoView memo;
    memo.SetFlag(kMemoTextOnly, true);
    memo.Flags = c.flags | kMemoTextOnly;
    memo.SetBounds(0, 0, c.width, 40);
    memo.Memo = c.memo;
    EXPECT_EQ(memo.CalcHeight(), c.height) << c.what;
    EXPECT_EQ(memo.ExpandedMemo, c.lines) << c.what;
    EXPECT_EQ(memo.DrawMode, 1) << c.what;
  }

  TvtMemoView hidden;
  hidden.Memo = {"a"};
  hidden.Visible = false;
  EXPECT_EQ(hidden.CalcHeight(), 0);
}

}  // namespace
}  // namespace zr
