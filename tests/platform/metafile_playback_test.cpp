#include <gtest/gtest.h>

#include <variant>

#include "metafile_scene.h"
#include "platform/fonts/font_resolver.h"
#include "platform/metafile/metafile_recorder.h"

namespace zr {
namespace {

const std::shared_ptr<FontResolver>& fonts() {
  static auto resolver = std::make_shared<FontResolver>();
  return resolver;
}

// Playback brackets the drawing with one save and restore; between them it must repeat the
// calls that made the metafile.
TEST(MetafilePlayback, PlayingAtTheFrameRepeatsTheCalls) {
  Metafile direct = test::record_scene(fonts());
  MetafileRecorder replay(test::kSceneFrame, {96, 96}, fonts());
  direct.play(replay);
  const auto& got = replay.metafile().records();
  ASSERT_EQ(got.size(), direct.records().size() + 2);
  EXPECT_TRUE(std::holds_alternative<mf::SaveState>(got.front()));
  EXPECT_TRUE(std::holds_alternative<mf::RestoreState>(got.back()));
  std::vector<mf::Record> inner(got.begin() + 1, got.end() - 1);
  for (size_t i = 0; i < inner.size(); ++i)
    EXPECT_TRUE(inner[i] == direct.records()[i])
        << "record " << i << " " << mf::record_name(inner[i]);
  EXPECT_EQ(replay.saved_state_count(), 0);
  EXPECT_EQ(replay.state(), CanvasState{});
}

TEST(MetafilePlayback, ScalesIntoTheTargetAndStartsFromDefaults) {
  Metafile m(Rect{0, 0, 100, 50}, {96, 96});
  m.add(mf::SetPen{{kBlack, 2, PenStyle::Solid}});
  m.add(mf::Rectangle{{10, 10, 30, 20}});
  m.add(mf::SetFont{{"Arial", -10, 0, kAnsiCharset, 0, 0}});
  m.add(mf::TextOut{{0, 0}, "ab", {}, false, false, false, {}, {5, 6}, {0, 0, 11, 12}});
  MetafileRecorder target(Rect{0, 0, 400, 400}, {96, 96}, fonts());
  target.set_text_color(Color::rgb(255, 0, 0));  // must not leak into the playback
  m.play(target, Rect{100, 100, 300, 200});
  const auto& r = target.metafile().records();
  // own setter, save, scaled default pen and font, default colour, 4 records, restore
  ASSERT_EQ(r.size(), 10u);
  EXPECT_EQ(std::get<mf::SetPen>(r[2]).pen.width, 2);
  EXPECT_EQ(std::get<mf::SetFont>(r[3]).font.height, -24);
  EXPECT_EQ(std::get<mf::SetTextColor>(r[4]).color, kBlack);
  EXPECT_EQ(std::get<mf::SetPen>(r[5]).pen.width, 4);
  EXPECT_EQ(std::get<mf::Rectangle>(r[6]).rect, (Rect{120, 120, 160, 140}));
  EXPECT_EQ(std::get<mf::SetFont>(r[7]).font.height, -20);
  const auto& text = std::get<mf::TextOut>(r[8]);
  EXPECT_EQ(text.origin, (Point{100, 100}));
  EXPECT_EQ(text.advances, (std::vector<int>{10, 12}));  // scaled recorded layout
  EXPECT_EQ(target.state().text_color, Color::rgb(255, 0, 0));
}

TEST(MetafilePlayback, UnbalancedRestoresStayInsideThePlayback) {
  Metafile m(Rect{0, 0, 10, 10}, {96, 96});
  m.add(mf::RestoreState{});
  m.add(mf::RestoreState{});
  m.add(mf::SaveState{});
  m.add(mf::SaveState{});
  MetafileRecorder target(Rect{0, 0, 10, 10}, {96, 96}, fonts());
  target.save_state();
  m.play(target);
  EXPECT_EQ(target.saved_state_count(), 1);
}

TEST(MetafileText, TextRecordsComeWithTheirBounds) {
  Metafile m = test::record_scene(fonts());
  std::vector<MetafileText> texts = m.texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "Total 1,234");
  EXPECT_EQ(texts[0].origin, (Point{12, 142}));
  EXPECT_EQ(texts[0].bounds.left, 12);
  EXPECT_GT(texts[0].bounds.right, 60);
  EXPECT_GT(texts[0].bounds.height(), 12);
  // The opaque box widens the bounds of the second text.
  EXPECT_EQ(texts[1].bounds, (Rect{10, 180, 150, 200}));
  EXPECT_TRUE(std::holds_alternative<mf::TextOut>(m.records()[texts[1].record_index]));
}

TEST(MetafileRecorder, MeasuresWithSpacingAndJustification) {
  MetafileRecorder r(Rect{0, 0, 100, 100}, {96, 96}, fonts());
  int plain = r.text_extent("a b c").width;
  r.set_text_char_extra(1);
  EXPECT_EQ(r.text_extent("a b c").width, plain + 5);
  r.set_text_justification(5, 2);
  EXPECT_EQ(r.text_extent("a b c").width, plain + 10);
  EXPECT_EQ(r.text_extent("a b c").height, r.text_metrics().height);
}

}  // namespace
}  // namespace zr
