// Records of the views: round trips, version rules, frame widths, link fields, pictures.
#include <functional>
#include <memory>

#include "engine/engine_fixture.h"
#include "engine/model/band_view.h"
#include "engine/model/control_view.h"
#include "engine/model/line_view.h"
#include "engine/model/page.h"
#include "engine/model/picture_view.h"
#include "engine/model/subreport_view.h"
#include "engine/model/view_factory.h"
#include "engine/report/report.h"
#include "engine/view_test_support.h"
#include "platform/graphics/picture_record.h"
#include "platform/picture_test_files.h"

namespace zr {
namespace {

using testing_support::common_record_v24;
using testing_support::load_record;
using testing_support::save_record;

class ViewRecordTest : public testing_support::EngineTest {};

void fill_common(TvtView& v) {
  v.Name = "Obj7";
  v.SetBounds(11, -12, 130, 14);
  v.Flags = 0x8005;
  v.FrameTyp = kFrameLeft | kFrameTop;
  v.FrameWidth = 0.5f;
  v.FrameColor = 0x123456;
  v.FrameStyle = psDashDot;
  v.FillColor = 0x00FF00;
  v.DisplayFormat = 0x1234;
  v.FormatText = "#,##0.00";
  v.Memo = {"line 1", "", "[Field]"};
  v.Script = {"if a then", "  b := 1"};
  v.Visible = false;
  v.Restrictions = 9;
  v.Tag = "tag [x]";
  v.GapX = 5;
  v.GapY = 6;
  v.BandAlign = baRest;
  v.LinkUrl = "http://host/a";
  v.DrillData = "d";
  v.DrillFile = "f.zrf";
}

struct RoundTrip {
  const char* name;
  std::function<std::unique_ptr<TvtView>()> make;
  std::function<void(TvtView&)> fill;  // the class's own fields
  std::function<void(TvtView& loaded)> check;
};

template <typename T>
std::unique_ptr<TvtView> make() {
  return std::make_unique<T>();
}

void no_fields(TvtView&) {}

TEST_F(ViewRecordTest, EveryClassReadsBackWhatItWrote) {
  const RoundTrip cases[] = {
      {"view", make<TvtView>, no_fields, no_fields},
      {"band", make<TvtBandView>,
       [](TvtView& v) {
         auto& b = dynamic_cast<TvtBandView&>(v);
         b.ChildBand = "Child1";
         b.Columns = 3;
         b.ColumnWidth = 150;
         b.ColumnGap = 7;
         b.NewColumnAfter = 4;
         b.Master = "MasterData1";
       },
       [](TvtView& v) {
         auto& b = dynamic_cast<TvtBandView&>(v);
         EXPECT_EQ(b.ChildBand, "Child1");
         EXPECT_EQ(b.Columns, 3);
         EXPECT_EQ(b.ColumnWidth, 150);
         EXPECT_EQ(b.ColumnGap, 7);
         EXPECT_EQ(b.NewColumnAfter, 4);
         EXPECT_EQ(b.Master, "MasterData1");
       }},
      {"subreport", make<TvtSubReportView>,
       [](TvtView& v) { dynamic_cast<TvtSubReportView&>(v).SubPage = 2; },
       [](TvtView& v) { EXPECT_EQ(dynamic_cast<TvtSubReportView&>(v).SubPage, 2); }},
      {"picture", make<TvtPictureView>,
       [](TvtView& v) {
         auto& p = dynamic_cast<TvtPictureView&>(v);
         p.Picture = Picture::from_bytes(GraphicKind::Gif, test::gif_file());
         p.BlobType = btGif;
         p.Url = "http://host/[Name].gif";
       },
       [](TvtView& v) {
         auto& p = dynamic_cast<TvtPictureView&>(v);
         EXPECT_EQ(p.Picture.kind(), GraphicKind::Gif);
         EXPECT_EQ(p.Picture.bytes(), test::gif_file());
         EXPECT_EQ(p.BlobType, btGif);
         EXPECT_EQ(p.Url, "http://host/[Name].gif");
       }},
      {"line", make<TvtLineView>, no_fields, no_fields},
      {"control", make<TvtControl>, no_fields, no_fields},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TvtView> original = c.make();
    fill_common(*original);
    c.fill(*original);
    const std::string bytes = save_record(*original);

    std::unique_ptr<TvtView> loaded = c.make();
    load_record(*loaded, bytes);
    EXPECT_EQ(loaded->Name, "Obj7");
    EXPECT_EQ(loaded->Top, -12);
    EXPECT_EQ(loaded->Flags, 0x8005);
    EXPECT_EQ(loaded->FrameWidth, 0.5f);
    EXPECT_EQ(loaded->FormatText, "#,##0.00");
    EXPECT_EQ(loaded->Memo, original->Memo);
    EXPECT_EQ(loaded->Script, original->Script);
    EXPECT_FALSE(loaded->Visible);
    EXPECT_EQ(loaded->BandAlign, baRest);
    EXPECT_EQ(loaded->DrillFile, "f.zrf");
    c.check(*loaded);
    // Everything else the record holds comes back too.
    EXPECT_EQ(save_record(*loaded), bytes);
  }
}

TEST_F(ViewRecordTest, PreparedRecordCarriesTheExpandedTextOnly) {
  TvtView view;
  fill_common(view);
  view.ExpandedMemo = {"expanded"};
  TvtView loaded;
  load_record(loaded, save_record(view, true), 24, true);
  EXPECT_EQ(loaded.Memo, TvtStrings{"expanded"});
  EXPECT_TRUE(loaded.Script.empty());
  EXPECT_TRUE(loaded.Visible);       // not stored in prepared records
  EXPECT_EQ(loaded.FormatText, "");  // nor is the display format
  EXPECT_EQ(loaded.Tag, "tag [x]");
}

TEST_F(ViewRecordTest, FrameWidthStoresWholeWidthsAndThousandths) {
  struct Case {
    float width;
    int32_t stored;
    float read_back;
  };
  const Case cases[] = {{2.0f, 2, 2.0f}, {0.25f, 250, 0.25f}, {15.0f, 15, 0.015f},
                        {1.0f, 1, 1.0f}, {0.5f, 500, 0.5f},   {12.0f, 12, 0.012f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    TvtView view;
    view.Name = "V";
    view.FrameWidth = c.width;
    const std::string bytes = save_record(view);
    ByteReader in(bytes);
    in.seek(4 + 2 + 16 + 4);  // name, version bytes, bounds, Flags and FrameTyp
    EXPECT_EQ(in.read_i32(), c.stored);
    TvtView loaded;
    load_record(loaded, bytes);
    EXPECT_FLOAT_EQ(loaded.FrameWidth, c.read_back);
  }
}

TEST_F(ViewRecordTest, EmptyLinkFieldsTravelAsOneSpace) {
  TvtView view;
  view.Name = "V";
  view.DrillData = "data";
  const std::string bytes = save_record(view);
  EXPECT_EQ(view.LinkUrl, " ");  // kept from writing on
  EXPECT_EQ(view.DrillFile, " ");
  EXPECT_EQ(view.DrillData, "data");
  ByteWriter links;
  for (const char* text : {" ", "data", " "}) links.write_string(text);
  EXPECT_EQ(bytes.substr(bytes.size() - links.bytes().size()), links.bytes());

  TvtView loaded;
  load_record(loaded, bytes);
  EXPECT_EQ(loaded.LinkUrl, "");
  EXPECT_EQ(loaded.DrillData, "data");
  EXPECT_EQ(loaded.DrillFile, "");
}

TEST_F(ViewRecordTest, Version23PreparedRecordGetsAGeneratedName) {
  ByteWriter out(23);
  for (int32_t v : {1, 2, 3, 4}) out.write_i32(v);
  out.write_u16(1);
  out.write_u16(0);
  out.write_i32(1);
  out.write_i32(0);
  out.write_u16(0);
  out.write_i32(kClNone);
  out.write_string_list({"a", "b"});
  const std::string bytes = out.take();

  TvtReport report;
  globals().CurReport = &report;
  TvtPage& page = report.Pages.Add();
  for (const char* expected : {"Memo1", "Memo2"}) {
    TvtView* view = page.Add(std::make_unique<TvtView>());
    view->NamePrefix = "Memo";
    load_record(*view, bytes, 23, true);
    EXPECT_EQ(view->Name, expected);
    EXPECT_EQ(view->Memo, (TvtStrings{"a", "b"}));
    EXPECT_EQ(view->Height, 4);
  }
}

TEST_F(ViewRecordTest, Version22RecordHasNoAlignmentNorLinks) {
  ByteWriter out(22);
  for (int32_t v : {1, 2, 3, 4}) out.write_i32(v);
  out.write_u16(1);
  out.write_u16(0);
  out.write_i32(1);
  out.write_i32(0);
  out.write_u16(0);
  out.write_i32(kClNone);
  out.write_i32(0x22E);
  out.write_string("fmt");
  out.write_string_list({"old text"});
  const std::string bytes = out.take();

  TvtView view;
  load_record(view, bytes, 22);
  EXPECT_EQ(view.RecordVersion, 0);
  EXPECT_EQ(view.BandAlign, baNone);
  EXPECT_EQ(view.LinkUrl, "");
  EXPECT_EQ(view.FormatText, "fmt");
  EXPECT_EQ(view.Memo, TvtStrings{"old text"});
  EXPECT_EQ(view.Name, "View1");
}

TEST_F(ViewRecordTest, BandRecordReadsMasterOnlyFromNewRecords) {
  // Version bytes 1.0: no BandAlign, no links, no Master.
  ByteWriter out(24);
  out.write_bytes(common_record_v24(1, 0));
  out.write_string("Child1");
  for (int32_t v : {2, 100, 10, 3}) out.write_i32(v);
  TvtBandView band;
  band.Master = "keep";
  load_record(band, out.take());
  EXPECT_EQ(band.ChildBand, "Child1");
  EXPECT_EQ(band.Columns, 2);
  EXPECT_EQ(band.NewColumnAfter, 3);
  EXPECT_EQ(band.Master, "keep");

  // Version bytes 2.1 (21 > 20): Master follows.
  ByteWriter with(24);
  with.write_bytes(common_record_v24(2, 1));
  with.write_string("");
  for (int32_t v : {1, 200, 20, 1}) with.write_i32(v);
  with.write_string("MasterData1");
  TvtBandView newer;
  load_record(newer, with.take());
  EXPECT_EQ(newer.Master, "MasterData1");
}

TEST_F(ViewRecordTest, PictureWithoutGraphicIsKind99AndEndsAfterItself) {
  TvtPictureView picture;
  picture.Name = "P";
  const std::string bytes = save_record(picture);
  EXPECT_EQ(picture.Url, "");

  ByteReader in(bytes);
  TvtView common;  // reads the common part and stops where the picture items start
  common.LoadFromStream(in);
  EXPECT_EQ(in.read_u8(), 99);
  EXPECT_EQ(in.read_u8(), btBMP);
  EXPECT_EQ(in.read_string_v23(), " ");
  EXPECT_EQ(in.read_u32(), bytes.size());
  EXPECT_TRUE(in.at_end());

  TvtPictureView loaded;
  loaded.Picture = Picture::from_bytes(GraphicKind::Bitmap, test::bmp_file());
  load_record(loaded, bytes);
  EXPECT_TRUE(loaded.Picture.empty());
  EXPECT_EQ(loaded.Url, "");
}

TEST_F(ViewRecordTest, BlobTypeTwoIsAMetafileAndThreeAnIcon) {
  struct Case {
    uint8_t blob_type;
    std::string data;
    GraphicKind kind;
    uint8_t kind_byte;
  };
  const Case cases[] = {{btICO, test::emf_file(), GraphicKind::Metafile, 3},
                        {btWMF, test::ico_file(), GraphicKind::Icon, 2},
                        {btJPG, test::jpeg_file(), GraphicKind::Jpeg, 1},
                        {btBMP, test::bmp_file(), GraphicKind::Bitmap, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(int{c.blob_type});
    TvtPictureView picture;
    picture.Name = "P";
    picture.BlobType = c.blob_type;
    picture.LoadFromBlobField(c.data);
    ASSERT_EQ(picture.Picture.kind(), c.kind);
    const std::string bytes = save_record(picture);
    ByteReader in(bytes);
    TvtView common;
    common.LoadFromStream(in);
    EXPECT_EQ(in.read_u8(), c.kind_byte);
    TvtPictureView loaded;
    load_record(loaded, bytes);
    EXPECT_EQ(loaded.Picture, picture.Picture);
  }
}

TEST_F(ViewRecordTest, BlobFieldThatIsNullOrNotAGraphicClearsThePicture) {
  TvtPictureView picture;
  const std::optional<std::string> fields[] = {std::nullopt, std::string("not a picture"),
                                               std::string()};
  for (const auto& field : fields) {
    picture.Picture = Picture::from_bytes(GraphicKind::Bitmap, test::bmp_file());
    picture.BlobType = btJPG;
    picture.LoadFromBlobField(field);
    EXPECT_TRUE(picture.Picture.empty());
  }
  // A bitmap field may carry the graphic-field header before the picture.
  std::string with_header("\x01\x00\x00\x01", 4);
  const std::string bmp = test::bmp_file();
  for (int shift : {0, 8, 16, 24}) with_header += static_cast<char>(bmp.size() >> shift);
  picture.BlobType = btBMP;
  picture.LoadFromBlobField(with_header + bmp);
  EXPECT_EQ(picture.Picture.kind(), GraphicKind::Bitmap);
  EXPECT_EQ(picture.Picture.bytes(), bmp);
}

TEST_F(ViewRecordTest, FactoryCreatesEachBuiltInClassWithTheNextId) {
  struct Case {
    uint8_t type;
    const char* class_name;
  };
  const Case cases[] = {{kObjPicture, "TvtPictureView"},
                        {kObjBand, "TvtBandView"},
                        {kObjSubReport, "TvtSubReportView"},
                        {kObjLine, "TvtLineView"}};
  int32_t last_id = globals().next_object_id;
  for (const Case& c : cases) {
    std::unique_ptr<TvtView> view = CreateView(c.type);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->ClassName(), c.class_name);
    EXPECT_EQ(view->ObjectType, c.type);
    EXPECT_EQ(view->ObjectId, ++last_id);
  }
  for (uint8_t type : {5, 9, 11, 255}) EXPECT_EQ(CreateView(type), nullptr) << int{type};
  EXPECT_THROW(CreateView(kObjAddIn, "TvtNoSuchView"), ClassNotFoundError);
  EXPECT_TRUE(globals().missing_classes);
  EXPECT_EQ(globals().missing_classes_message, "TvtNoSuchView\r");
}

TEST_F(ViewRecordTest, AssignFromCopiesThroughADesignRecord) {
  TvtBandView source;
  fill_common(source);
  source.SetBandType(btMasterData);
  source.Master = "M";
  source.PreparedMode = true;
  TvtBandView copy;
  copy.AssignFrom(source);
  EXPECT_TRUE(source.PreparedMode);
  EXPECT_EQ(copy.Name, "Obj7");
  EXPECT_EQ(copy.BandType(), btMasterData);
  EXPECT_EQ(copy.Script, source.Script);  // design form: the script travels
  EXPECT_EQ(copy.Master, "M");
  EXPECT_EQ(save_record(copy), save_record(source));
}

}  // namespace
}  // namespace zr
