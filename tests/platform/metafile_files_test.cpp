#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "metafile_scene.h"
#include "platform/errors.h"
#include "platform/fonts/font_resolver.h"
#include "platform/graphics/metafile_header.h"
#include "platform/graphics/picture.h"
#include "platform/metafile/emf_writer.h"
#include "platform/metafile/metafile_builder.h"
#include "platform/metafile/metafile_reader.h"
#include "platform/metafile/metafile_recorder.h"
#include "platform/metafile/wmf_writer.h"

namespace zr {
namespace {

const std::shared_ptr<FontResolver>& fonts() {
  static auto resolver = std::make_shared<FontResolver>();
  return resolver;
}

enum class Kind { Emf, Wmf };

// What a file keeps of a metafile: the state changes that change something, the text as laid
// out (spacing records live on in the advances) and, in WMF, no text bounds and clip regions
// as their bounding rectangle.
Metafile as_stored(const Metafile& m, Kind kind) {
  MetafileBuilder b(m.frame(), m.resolution());
  for (mf::Record r : m.records()) {
    if (auto* p = std::get_if<mf::SetPen>(&r)) {
      b.set_pen(p->pen);
    } else if (auto* p = std::get_if<mf::SetBrush>(&r)) {
      b.set_brush(p->brush);
    } else if (auto* p = std::get_if<mf::SetFont>(&r)) {
      b.set_font(p->font);
    } else if (auto* p = std::get_if<mf::SetTextColor>(&r)) {
      b.set_text_color(p->color);
    } else if (auto* p = std::get_if<mf::SetBkColor>(&r)) {
      b.set_bk_color(p->color);
    } else if (auto* p = std::get_if<mf::SetBkMode>(&r)) {
      b.set_bk_mode(p->mode);
    } else if (std::holds_alternative<mf::SaveState>(r)) {
      b.save();
    } else if (std::holds_alternative<mf::RestoreState>(r)) {
      b.restore(1);
    } else if (std::holds_alternative<mf::SetCharExtra>(r) ||
               std::holds_alternative<mf::SetJustification>(r)) {
    } else if (auto* t = std::get_if<mf::TextOut>(&r)) {
      t->advances = t->widths;
      if (kind == Kind::Wmf) t->bounds = {};
      b.add(*t);
    } else if (auto* c = std::get_if<mf::IntersectClipRegion>(&r); c && kind == Kind::Wmf) {
      b.add(mf::IntersectClipRect{c->region.bounds()});
    } else {
      b.add(r);
    }
  }
  return b.take();
}

Metafile without_text_bounds(Metafile m) {
  Metafile out(m.frame(), m.resolution());
  for (mf::Record r : m.records()) {
    if (auto* t = std::get_if<mf::TextOut>(&r)) t->bounds = {};
    out.add(r);
  }
  return out;
}

void expect_same_records(const Metafile& want, const Metafile& got) {
  EXPECT_EQ(got.frame(), want.frame());
  EXPECT_EQ(got.resolution(), want.resolution());
  ASSERT_EQ(got.records().size(), want.records().size());
  for (size_t i = 0; i < want.records().size(); ++i)
    EXPECT_TRUE(got.records()[i] == want.records()[i])
        << "record " << i << " " << mf::record_name(want.records()[i]) << " read back as "
        << mf::record_name(got.records()[i]);
}

TEST(MetafileFiles, EmfRoundTripKeepsTheRecordsWeWrite) {
  Metafile m = test::record_scene(fonts());
  std::string emf = write_emf(m);
  EXPECT_EQ(emf.size() % 4, 0u);
  EXPECT_TRUE(is_enhanced_metafile(emf));
  ImageSize size = read_metafile_size(emf);
  EXPECT_EQ(size.width, 320);
  EXPECT_EQ(size.height, 240);
  expect_same_records(as_stored(m, Kind::Emf), read_emf(emf));
}

TEST(MetafileFiles, WmfRoundTripKeepsTheRecordsWeWrite) {
  Metafile m = test::record_scene(fonts());
  std::string wmf = write_wmf(m);
  ImageSize size = read_metafile_size(wmf);
  EXPECT_EQ(size.width, 320);
  EXPECT_EQ(size.height, 240);
  expect_same_records(as_stored(m, Kind::Wmf), without_text_bounds(read_wmf(wmf)));
}

TEST(MetafileFiles, SpacingAndSavedObjectsSurviveTheFiles) {
  // Character spacing reaches the files through the advances; a pen changed inside a saved
  // state comes back after the restore.
  Metafile m(Rect{0, 0, 200, 100}, {120, 120});
  MetafileRecorder r(m.frame(), m.resolution(), fonts());
  r.set_pen({Color::rgb(1, 2, 3), 3, PenStyle::Solid});
  r.set_text_char_extra(2);
  r.text_out({5, 5}, "a b");
  r.save_state();
  r.set_pen({Color::rgb(9, 9, 9), 0, PenStyle::Dot});
  r.line({0, 0}, {10, 10});
  r.restore_state();
  r.restore_state();  // unbalanced: dropped by the writers
  r.line({0, 0}, {20, 20});
  Metafile recorded = r.finish();
  for (Kind kind : {Kind::Emf, Kind::Wmf}) {
    Metafile back = kind == Kind::Emf ? read_emf(write_emf(recorded))
                                      : without_text_bounds(read_wmf(write_wmf(recorded)));
    Metafile want = as_stored(recorded, kind);
    expect_same_records(want, back);
    const auto& text = std::get<mf::TextOut>(back.records()[1]);
    EXPECT_EQ(text.widths.size(), 3u);
    MetafileRecorder plain(m.frame(), m.resolution(), fonts());
    EXPECT_EQ(text.widths[0], plain.text_extent("a").width + 2);
  }
}

TEST(MetafileFiles, WmfWindowRecordsSetTheFrame) {
  // Logical coordinates twice the box's size: the window names them, the box shows them.
  Metafile m(Rect{0, 0, 100, 50}, {96, 96});
  m.add(mf::Rectangle{{20, 20, 60, 40}});
  std::string wmf = write_wmf(m);
  size_t ext = 40 + 10;  // after META_HEADER and SETWINDOWORG: SETWINDOWEXT height, width
  ASSERT_EQ(static_cast<uint8_t>(wmf[ext + 4]), 0x0C);
  wmf[ext + 6] = 100;
  wmf[ext + 8] = static_cast<char>(200);
  Metafile back = read_wmf(wmf);
  EXPECT_EQ(back.frame(), (Rect{0, 0, 200, 100}));
  EXPECT_EQ(back.resolution(), (Resolution{192, 192}));
  MetafileRecorder target(Rect{0, 0, 100, 50}, {96, 96}, fonts());
  back.play(target, Rect{0, 0, 100, 50});
  const auto& records = target.metafile().records();
  EXPECT_EQ(std::get<mf::Rectangle>(records[records.size() - 2]).rect, (Rect{10, 10, 30, 20}));
}

TEST(MetafileFiles, PictureOfAMetafilePlays) {
  Metafile m = test::record_scene(fonts());
  Picture picture = Picture::from_bytes(GraphicKind::Metafile, write_emf(m));
  MetafileRecorder target(Rect{0, 0, 640, 480}, {96, 96}, fonts());
  play_picture(picture, target, Rect{0, 0, 640, 480});
  auto texts = target.metafile().texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, "\xC7\xD1\xB1\xDB abc");
  EXPECT_EQ(texts[1].origin, (Point{24, 364}));
  Picture bitmap_picture;
  EXPECT_THROW(play_picture(bitmap_picture, target, Rect{0, 0, 1, 1}), ZorelError);
}

// Cuts and patches of a good file, each of which must be refused, never crash.
TEST(MetafileFiles, MalformedFilesRaiseFormatError) {
  Metafile m = test::record_scene(fonts());
  std::string emf = write_emf(m);
  std::string wmf = write_wmf(m);
  auto patched = [](std::string bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
    return bytes;
  };
  size_t first_emf_record = 108;
  size_t first_wmf_record = 40;
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::vector<Case> emf_cases{
      {"empty", ""},
      {"header only", emf.substr(0, 60)},
      {"truncated", emf.substr(0, emf.size() / 2)},
      {"no end record", patched(emf, 48, static_cast<uint32_t>(emf.size() - 20))},
      {"record size not aligned", patched(emf, first_emf_record + 4, 13)},
      {"record past the end", patched(emf, first_emf_record + 4, 0x7FFFFFF0)},
      {"record size zero", patched(emf, first_emf_record + 4, 0)},
      {"file size beyond the bytes", patched(emf, 48, 0xFFFFFFF0)},
  };
  for (const Case& c : emf_cases) EXPECT_THROW(read_emf(c.bytes), FormatError) << c.what;
  std::vector<Case> wmf_cases{
      {"empty", ""},
      {"no placeable header", wmf.substr(22)},
      {"truncated", wmf.substr(0, wmf.size() / 2)},
      {"record past the end", patched(wmf, first_wmf_record, 0x7FFFFFF0)},
      {"record too small", patched(wmf, first_wmf_record, 1)},
  };
  for (const Case& c : wmf_cases) EXPECT_THROW(read_wmf(c.bytes), FormatError) << c.what;
}

TEST(MetafileFiles, AbsurdCountsInsideRecordsRaiseFormatError) {
  Metafile m(Rect{0, 0, 50, 50}, {96, 96});
  m.add(mf::Polygon{{{1, 1}, {20, 1}, {10, 20}}});
  std::string emf = write_emf(m);
  std::string wmf = write_wmf(m);
  // The polygon is the last record before EOF: its point count follows type, size, bounds.
  size_t emf_poly = emf.size() - 20 - (8 + 16 + 4 + 12);
  ASSERT_EQ(static_cast<uint8_t>(emf[emf_poly]), 86);
  emf[emf_poly + 24] = '\xFF';
  emf[emf_poly + 25] = '\xFF';
  EXPECT_THROW(read_emf(emf), FormatError);
  size_t wmf_poly = wmf.size() - 6 - (6 + 2 + 12);
  ASSERT_EQ(static_cast<uint8_t>(wmf[wmf_poly + 4]), 0x24);
  wmf[wmf_poly + 6] = '\xFF';
  wmf[wmf_poly + 7] = '\x7F';
  EXPECT_THROW(read_wmf(wmf), FormatError);
}

// A character made of two units (a surrogate pair, a double-byte character) takes the sum of
// their advances; absurd advances saturate instead of overflowing.
TEST(MetafileFiles, AdvancesOfOneCharacterAddUpSaturated) {
  Metafile m(Rect{0, 0, 100, 50}, {96, 96});
  mf::TextOut text;
  text.text = "ab";
  text.widths = {1, 2};
  m.add(text);
  const std::string emf = write_emf(m);
  auto u32_at = [&](size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{static_cast<uint8_t>(emf[at + i])} << (8 * i);
    return v;
  };
  size_t record = u32_at(4);  // after the header: the records, type and size first
  while (record + 8 <= emf.size() && u32_at(record) != 84) record += u32_at(record + 4);
  ASSERT_LT(record + 76, emf.size()) << "no EMR_EXTTEXTOUTW";
  const size_t string_at = record + u32_at(record + 48);
  const size_t dx_at = record + u32_at(record + 72);
  auto patched = [&](bool wide, std::string units, int32_t dx0, int32_t dx1) {
    std::string bytes = emf;
    if (!wide) bytes[record] = 83;  // EMR_EXTTEXTOUTA: the same layout with one byte a unit
    bytes.replace(string_at, units.size(), units);
    for (int i = 0; i < 4; ++i) {
      bytes[dx_at + i] = static_cast<char>(static_cast<uint32_t>(dx0) >> (8 * i));
      bytes[dx_at + 4 + i] = static_cast<char>(static_cast<uint32_t>(dx1) >> (8 * i));
    }
    return bytes;
  };
  const std::string pair("\x3D\xD8\x00\xDE", 4);  // U+1F600 as UTF-16LE
  const std::string hangul("\xB0\xA1");           // one double-byte character
  struct Case {
    const char* what;
    bool wide;
    std::string units;
    int32_t dx0, dx1;
    int width;
  } cases[] = {
      {"pair", true, pair, 7, 8, 15},
      {"pair, below int", true, pair, -606348325, -2105409317, INT32_MIN},
      {"pair, above int", true, pair, INT32_MAX, 1, INT32_MAX},
      {"double-byte", false, hangul, 7, 8, 15},
      {"double-byte, below int", false, hangul, INT32_MIN, -1, INT32_MIN},
      {"double-byte, above int", false, hangul, 2000000000, 2000000000, INT32_MAX},
  };
  for (const Case& c : cases) {
    Metafile back = read_emf(patched(c.wide, c.units, c.dx0, c.dx1));
    ASSERT_EQ(back.texts().size(), 1u) << c.what;
    const auto& out = std::get<mf::TextOut>(back.records()[back.texts()[0].record_index]);
    EXPECT_EQ(out.widths, std::vector<int>{c.width}) << c.what;
    MetafileRecorder target(Rect{0, 0, 100, 50}, {96, 96}, fonts());
    back.play(target, Rect{0, 0, 200, 100});  // scaled: the advances are summed again
  }
}

}  // namespace
}  // namespace zr
