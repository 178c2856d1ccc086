// Prepared pages: the prepared-report file in its layouts, drawing, hit tests and the page
// list itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/model/memo_view.h"
#include "engine/model/prepared_pages.h"
#include "engine/report/report.h"
#include "engine_fixture.h"
#include "platform/canvas/trace_canvas.h"
#include "platform/errors.h"
#include "platform/graphics/picture_record.h"
#include "platform/metafile/emf_writer.h"
#include "platform/metafile/metafile_recorder.h"
#include "probe_view.h"

namespace {

using namespace zr;
using testing_support::ProbeView;

// A4 on the virtual printer, in design pixels.
constexpr int kA4Width = 758;
constexpr int kA4Height = 1071;

class PreparedPages : public testing_support::EngineTest {
 protected:
  void SetUp() override {
    ProbeView::Register(globals());
    globals().CurReport = &report;
  }

  // Appends a page with the paper of `form` holding `views`, written as the engine writes
  // prepared pages.
  void add_page(const TvtPage& form, std::vector<std::unique_ptr<TvtView>> views) {
    pages().Insert(pages().Count(), form);
    TvtPreparedPage& info = pages().PageInfo(pages().Count() - 1);
    info.Page = std::make_unique<TvtPage>();
    for (auto& view : views) info.Page->Add(std::move(view));
    pages().PageToObjects(pages().Count() - 1);
    info.Page.reset();
  }
  void add_probes(std::vector<std::unique_ptr<TvtView>> views) {
    add_page(TvtPage(), std::move(views));
  }

  std::string save() {
    ByteWriter out;
    pages().SaveToStream(out);
    return out.take();
  }
  void load(const std::string& bytes) {
    ByteReader in(std::string_view(bytes), "<zrw>");
    pages().LoadFromStream(in);
  }
  std::vector<std::string> names_on(int index) {
    pages().ObjectsToPage(index);
    std::vector<std::string> names;
    for (const auto& view : pages().PageInfo(index).Page->Objects) names.push_back(view->Name);
    return names;
  }

  TvtEMFPages& pages() { return report.EMFPages; }
  TvtReport report;
};

template <typename... Views>
std::vector<std::unique_ptr<TvtView>> views(std::unique_ptr<Views>... v) {
  std::vector<std::unique_ptr<TvtView>> list;
  (list.push_back(std::move(v)), ...);
  return list;
}

std::unique_ptr<ProbeView> probe(const char* name, int left = 0, int top = 0, int width = 10,
                                 int height = 10) {
  return ProbeView::Make(name, left, top, width, height);
}

// The fixed part of a page entry of the current layout.
void write_entry_head(ByteWriter& out, bool with_bin_and_margins) {
  out.write_u16(9);
  out.write_i32(2100);
  out.write_i32(2970);
  out.write_u8(0);
  if (with_bin_and_margins) out.write_i32(-1);
  out.write_u8(1);
  if (with_bin_and_margins)
    for (int i = 0; i < 4; ++i) out.write_i32(5);
}

TEST_F(PreparedPages, FileRoundTripIsByteExact) {
  add_probes(views(probe("Probe1", 1, 2, 3, 4), probe("Probe2")));
  TvtPage landscape;
  landscape.SetPaper(9, 2100, 2970, 1, kDefaultBin);
  landscape.LeftMargin = 40;
  landscape.UseMargins = false;
  auto memo = std::make_unique<TvtMemoView>();
  memo->Name = "Memo1";
  memo->Memo = {"Total: 42"};
  add_page(landscape, views(std::move(memo)));

  const std::string saved = save();
  ByteWriter head;
  head.write_u8(24);
  head.write_u8(0);
  head.write_string_v23("Virtual printer");
  head.write_i32(2);
  ASSERT_EQ(saved.substr(0, head.position()), head.bytes());

  TvtReport other;
  ByteReader in{std::string_view(saved)};
  other.EMFPages.LoadFromStream(in);
  ByteWriter again;
  other.EMFPages.SaveToStream(again);
  EXPECT_EQ(again.bytes(), saved);

  const TvtPreparedPage& second = other.EMFPages.PageInfo(1);
  EXPECT_EQ(second.Orientation, 1);
  EXPECT_EQ(second.PageWidth, 2970);
  EXPECT_EQ(second.LeftMargin, 40);
  EXPECT_FALSE(second.UseMargins);
  EXPECT_EQ(second.PrnInfo.page_width, kA4Height);  // filled from the printer layer
  other.EMFPages.ObjectsToPage(0);
  ASSERT_EQ(other.EMFPages.PageInfo(0).Page->Objects.size(), 2u);
  EXPECT_EQ(other.EMFPages.PageInfo(0).Page->Objects[0]->Height, 4);
}

TEST_F(PreparedPages, FilesOnDisk) {
  add_probes(views(probe("Probe1")));
  const auto path = std::filesystem::temp_directory_path() / "zorel_prepared_pages_test.zrw";
  report.SavePreparedReport(path);
  TvtReport loaded;
  loaded.PreparedHere = true;
  loaded.LoadPreparedReport(path);
  std::filesystem::remove(path);
  EXPECT_FALSE(loaded.PreparedHere);
  EXPECT_EQ(loaded.EMFPages.Count(), 1);
  EXPECT_THROW(loaded.LoadPreparedReport(path), IoError);
  EXPECT_THROW(report.SavePreparedReport(path / "no" / "folder.zrw"), IoError);
}

TEST_F(PreparedPages, OlderAndOddLayouts) {
  const std::string page_data = [] {
    ByteWriter data;
    data.write_u8(24);
    data.write_u8(kObjAddIn);
    data.write_string(ProbeView::kClassName);
    auto p = probe("Old");
    p->PreparedMode = true;
    p->SaveToStream(data);
    return data.take();
  }();
  // A file of one page: `prefix` up to the page count, then the entry.
  auto one_page = [&](const std::string& prefix, bool with_bin_and_margins) {
    ByteWriter out;
    out.write_bytes(prefix);
    out.write_i32(1);
    const size_t end_at = out.position();
    out.write_u32(0);
    write_entry_head(out, with_bin_and_margins);
    out.write_bytes(page_data);
    out.patch_u32(end_at, static_cast<uint32_t>(out.position()));
    return out.take();
  };

  // No version byte: the first byte is the layout, and entries have no bin and margins.
  load(one_page(std::string("\0\x03\0Old\0", 7), false));
  ASSERT_EQ(pages().Count(), 1);
  EXPECT_EQ(pages().PageInfo(0).Bin, -1);
  EXPECT_EQ(pages().PageInfo(0).LeftMargin, 0);
  EXPECT_TRUE(pages().PageInfo(0).UseMargins);
  EXPECT_EQ(names_on(0), std::vector<std::string>{"Old"});

  // A compressed file: this system has no decompressor, so its pages come out empty.
  load(one_page(std::string("\x18\x01\0\0\0", 5), true));
  ASSERT_EQ(pages().Count(), 1);
  EXPECT_EQ(pages().PageInfo(0).LeftMargin, 5);
  EXPECT_TRUE(names_on(0).empty());

  // No pages in either layout.
  load(std::string("\x18\x00\x00\x00\x00\x00\x00\x00\x00", 9));
  EXPECT_EQ(pages().Count(), 0);
  load(std::string("Printer\0\0\0\0\0", 12));
  EXPECT_EQ(pages().Count(), 0);

  // Truncated files and counts larger than the file raise.
  const std::string whole = one_page(std::string("\x18\0\0\0\0", 5), true);
  EXPECT_THROW(load(whole.substr(0, whole.size() - 3)), FormatError);
  EXPECT_THROW(load(std::string("\x18\0\0\0\0\xFF\xFF\xFF\x7F", 9)), FormatError);
  EXPECT_THROW(load(""), FormatError);
}

TEST_F(PreparedPages, OldestLayoutTurnsMetafilesIntoPictures) {
  MetafileRecorder recorder(Rect{0, 0, 200, 100}, Resolution{}, globals().fonts);
  recorder.rectangle(Rect{10, 10, 190, 90});
  const std::string emf = write_emf(recorder.finish());

  // The first byte (20) is no version: the file starts with its printer text.
  ByteWriter out;
  out.write_bytes("\x14 old printer\rsecond line");
  out.write_u8(0);
  out.write_i32(1);
  const size_t end_at = out.position();
  out.write_u32(0);
  out.write_u16(9);
  out.write_i32(2100);
  out.write_i32(2970);
  out.write_u8(0);
  out.write_u8(1);
  out.write_bytes(emf);
  out.patch_u32(end_at, static_cast<uint32_t>(out.position()));
  load(out.take());

  ASSERT_EQ(pages().Count(), 1);
  const std::string& stream = pages().PageInfo(0).Stream.bytes();
  ByteReader in{std::string_view(stream)};
  EXPECT_EQ(in.read_u8(), 24);
  EXPECT_EQ(in.read_u8(), kObjPicture);
  TvtView picture;
  picture.PreparedMode = true;
  picture.LoadFromStream(in);
  EXPECT_EQ(picture.Left, 0);
  EXPECT_EQ(picture.Top, 0);
  EXPECT_EQ(picture.Width, kA4Width);
  EXPECT_EQ(picture.Height, kA4Height);
  PictureRecord record = read_picture_record(in, picture.RecordVersion, picture.ExtensionVersion);
  EXPECT_EQ(record.picture.kind(), GraphicKind::Metafile);
  EXPECT_EQ(record.picture.bytes(), emf);
  EXPECT_TRUE(in.at_end());
}

TEST_F(PreparedPages, DrawingFollowsVisibility) {
  add_probes(views(probe("Near", 10, 10), probe("Far", 600, 900)));
  TvtPreparedPage& info = pages().PageInfo(0);
  TraceCanvas canvas(globals().fonts);
  canvas.intersect_clip_rect(Rect{0, 0, 200, 200});
  const Rect target{5, 7, 5 + 2 * kA4Width, 7 + 2 * kA4Height};

  pages().Draw(0, canvas, target);  // not visible yet
  EXPECT_TRUE(ProbeView::log.drawn.empty());
  EXPECT_EQ(info.Page, nullptr);
  EXPECT_EQ(globals().mode, EngineMode::Run);

  info.Visible = true;
  pages().Draw(0, canvas, target);
  EXPECT_EQ(ProbeView::log.drawn, std::vector<std::string>{"Near"});  // Far is outside the clip
  EXPECT_DOUBLE_EQ(ProbeView::log.scale_x, 2.0);
  EXPECT_DOUBLE_EQ(ProbeView::log.scale_y, 2.0);
  EXPECT_EQ(ProbeView::log.offset_x, 5);
  EXPECT_EQ(ProbeView::log.offset_y, 7);
  EXPECT_FALSE(ProbeView::log.printing);
  ASSERT_NE(info.Page, nullptr);
  EXPECT_EQ(globals().CurPage, info.Page.get());

  info.Visible = false;
  pages().Draw(0, canvas, target);
  EXPECT_EQ(info.Page, nullptr);

  // A metafile records everything; the report's scale halves the page.
  info.Visible = true;
  ProbeView::log = {};
  report.Scale = 50;
  MetafileRecorder recorder(Rect{0, 0, 100, 100}, Resolution{}, globals().fonts);
  pages().Draw(0, recorder, target);
  EXPECT_EQ(ProbeView::log.drawn, (std::vector<std::string>{"Near", "Far"}));
  EXPECT_DOUBLE_EQ(ProbeView::log.scale_x, 1.0);
  EXPECT_NE(info.Page, nullptr);
}

TEST_F(PreparedPages, HitTestFindsTheTopmostObject) {
  add_probes(views(probe("Under", 0, 0, 100, 100), probe("Over", 50, 50, 100, 100),
                   probe("Mapped", 100, 300, 100, 20)));
  std::vector<std::string> clicked;
  int cursor = 0;
  TvtView* hit = nullptr;

  EXPECT_FALSE(pages().HitTestObject(0, {60, 60}, true, cursor, &hit));  // no handler
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->Name, "Over");

  report.OnObjectClick = [&](TvtView& view) { clicked.push_back(view.Name); };
  report.OnMouseOverObject = [&](TvtView&, int& c) { c = 7; };
  EXPECT_TRUE(pages().HitTestObject(0, {60, 60}, true, cursor));
  EXPECT_TRUE(pages().HitTestObject(0, {10, 10}, true, cursor));
  EXPECT_FALSE(pages().HitTestObject(0, {400, 400}, true, cursor));
  EXPECT_EQ(clicked, (std::vector<std::string>{"Over", "Under"}));
  EXPECT_TRUE(pages().HitTestObject(0, {10, 10}, false, cursor));
  EXPECT_EQ(cursor, 7);

  // Without UseMargins the page was stretched into the printable area inside the margins:
  // x = Left * (722 - 40) / 758 + 40 + 18.
  TvtPreparedPage& info = pages().PageInfo(0);
  info.UseMargins = false;
  info.LeftMargin = 40;
  pages().HitTestObject(0, {110, 320}, false, cursor, &hit);
  EXPECT_EQ(hit, nullptr);
  pages().HitTestObject(0, {150, 315}, false, cursor, &hit);
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->Name, "Mapped");
}

TEST_F(PreparedPages, ListOperations) {
  std::vector<int> begun;
  report.OnBeginPage = [&](int page_no) { begun.push_back(page_no); };
  TvtReport master;
  master.OnBeginPage = [&](int page_no) { begun.push_back(100 + page_no); };
  globals().MasterReport = &master;
  globals().CurPageNo = 3;

  TvtPage form;
  form.BottomMargin = 9;
  pages().Add(form);
  EXPECT_EQ(begun, (std::vector<int>{3, 103}));
  TvtPreparedPage& added = pages().PageInfo(0);
  EXPECT_EQ(added.Stream.bytes(), std::string("\x18"));
  EXPECT_EQ(added.BottomMargin, 9);
  EXPECT_EQ(added.PrnInfo, form.PrnInfo);
  globals().MasterReport = nullptr;

  form.BottomMargin = 1;
  pages().Insert(10, form);  // beyond Count: appended
  form.BottomMargin = 0;
  pages().Insert(0, form);
  EXPECT_EQ(pages().Count(), 3);
  EXPECT_EQ(pages().PageInfo(2).BottomMargin, 1);
  pages().Move(0, 2);
  EXPECT_EQ(pages().PageInfo(0).BottomMargin, 9);
  pages().Delete(0);
  EXPECT_EQ(pages().Count(), 2);
  EXPECT_THROW(pages().Delete(2), ZorelError);
  EXPECT_THROW(pages().Move(0, 5), ZorelError);
}

TEST_F(PreparedPages, ExportPageHandsOverEveryObject) {
  add_probes(views(probe("First"), probe("Second")));
  pages().ExportPage(0);
  EXPECT_EQ(ProbeView::log.exported, (std::vector<std::string>{"First", "Second"}));
  EXPECT_EQ(pages().PageInfo(0).Page, nullptr);
}

}  // namespace
