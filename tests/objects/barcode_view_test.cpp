// TvtBarCodeView: its record, what Draw does to its size and text, and the evaluation of its
// expression when it is written to a prepared page.
#include "objects/barcode_view.h"

#include <gtest/gtest.h>

#include "engine/model/view_factory.h"
#include "engine/report_fixture.h"
#include "engine/view_test_support.h"
#include "objects/add_in_objects.h"
#include "platform/canvas/trace_canvas.h"

namespace zr {
namespace {

class BarCodeViewTest : public testing_support::ReportTest {
 protected:
  BarCodeViewTest() { globals().mode = EngineMode::Run; }

  // Draws on a trace canvas and gives the trace.
  std::string DrawTrace(TvtBarCodeView& view) {
    TraceCanvas canvas(globals().fonts);
    view.Draw(canvas);
    return canvas.trace();
  }

  static int Count(const std::string& trace, const std::string& what) {
    int n = 0;
    for (size_t at = trace.find(what); at != std::string::npos; at = trace.find(what, at + 1)) ++n;
    return n;
  }

  TvtAddInObjects add_ins_;
};

TEST_F(BarCodeViewTest, RecordRoundTripsAfterTheCommonRecord) {
  TvtBarCodeView view;
  view.Name = "Bar1";
  view.Checksum = false;
  view.ShowText = false;
  view.Reserved = 7;
  view.BarType = bcCodeEAN13;
  view.Modul = 3;
  view.Ratio = 2.5;
  view.Angle = 90;
  const std::string bytes = testing_support::save_record(view);
  TvtBarCodeView back;
  testing_support::load_record(back, bytes);
  EXPECT_FALSE(back.Checksum);
  EXPECT_FALSE(back.ShowText);
  EXPECT_EQ(back.Reserved, 7);
  EXPECT_EQ(back.BarType, bcCodeEAN13);
  EXPECT_EQ(back.Modul, 3);
  EXPECT_EQ(back.Ratio, 2.5);
  EXPECT_EQ(back.Angle, 90);
  // The 24 bytes follow the common record.
  TvtView common;
  common.Name = "Bar1";
  common.Memo = view.Memo;
  EXPECT_EQ(bytes.size(), testing_support::save_record(common).size() + 24);
}

TEST_F(BarCodeViewTest, RegisteredAddInIsCreatedByClassName) {
  std::unique_ptr<TvtView> view = CreateView(kObjAddIn, "TvtBarCodeView");
  ASSERT_NE(dynamic_cast<TvtBarCodeView*>(view.get()), nullptr);
  EXPECT_EQ(view->NamePrefix, "Bar");
  EXPECT_EQ(view->Memo, TvtStrings{"12345678"});
}

TEST_F(BarCodeViewTest, DefaultsDrawCode39WithCheckAndText) {
  TvtBarCodeView view;
  view.SetBounds(10, 10, 50, 60);
  const std::string trace = DrawTrace(view);
  TvtBarcode expected;
  expected.Typ = bcCode39;
  expected.Checksum = true;
  expected.SetText("12345678");
  EXPECT_EQ(view.Width, expected.Width());
  EXPECT_EQ(view.Barcode().Text(), "12345678");
  // Bars and spaces: "*", 8 characters, the check character, "*": 11 x 10 elements.
  EXPECT_EQ(Count(trace, "polygon"), 110);
  EXPECT_EQ(Count(trace, "\"12345678\""), 1);
  EXPECT_EQ(view.Barcode().Height, 60 - 14);
}

TEST_F(BarCodeViewTest, SizeFollowsTheCodeByAngle) {
  TvtBarCodeView view;
  view.BarType = bcCodeEAN13;
  view.Memo = {"590123412345"};
  view.SetBounds(0, 0, 80, 300);
  view.Angle = 90;
  DrawTrace(view);
  EXPECT_EQ(view.Width, 80);
  EXPECT_EQ(view.Height, 95);
  EXPECT_EQ(view.Barcode().Text(), "5901234123457");  // the check digit is shown
  view.Angle = 270;
  DrawTrace(view);
  EXPECT_EQ(view.Barcode().Left, 80 - (80 - 14));
  view.Angle = 0;
  view.SetBounds(0, 0, 1, 70);
  DrawTrace(view);
  EXPECT_EQ(view.Width, 95);
}

TEST_F(BarCodeViewTest, TextsThatDrawTheSampleOrNothing) {
  struct Case {
    TvtStrings memo;
    uint8_t type;
    std::string shown;  // empty: nothing drawn
  };
  const Case cases[] = {
      {{"[Order.Code]"}, bcCode39, "12345678"},  // not evaluated yet
      {{}, bcCode39, "12345678"},
      {{"12ab"}, bcCode128C, "12345678"},  // a numeric type given letters
      {{"0"}, bcCode39, ""},               // a failed expression left "0"
      {{""}, bcCode39, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.memo.empty() ? std::string("(no lines)") : c.memo[0]);
    TvtBarCodeView view;
    view.Memo = c.memo;
    view.BarType = c.type;
    view.SetBounds(0, 0, 50, 60);
    const std::string trace = DrawTrace(view);
    if (c.shown.empty()) {
      EXPECT_EQ(Count(trace, "polygon"), 0);
    } else {
      EXPECT_GT(Count(trace, "polygon"), 0);
      EXPECT_EQ(view.Barcode().Text(), c.shown);
    }
  }
}

TEST_F(BarCodeViewTest, PostNetBarsStandOnTheBaseLine) {
  TvtBarCodeView view;
  view.BarType = bcCodePostNet;
  view.Memo = {"12345"};
  view.SetBounds(0, 0, 50, 40);
  DrawTrace(view);
  EXPECT_EQ(view.Barcode().Top, 40 - 14);
  EXPECT_EQ(view.Barcode().Height, -(40 - 14));
}

TEST_F(BarCodeViewTest, EncodingErrorsReachTheDrawer) {
  TvtBarCodeView view;
  view.BarType = bcCode93;
  view.Memo = {"lower"};
  view.SetBounds(0, 0, 50, 40);
  EXPECT_THROW(DrawTrace(view), BarcodeError);
}

TEST_F(BarCodeViewTest, PreparedRecordHoldsTheValueOfTheExpression) {
  struct Case {
    std::string line;
    std::string written;
  };
  const Case cases[] = {
      {"[2 * 3]", "6"},
      {"[1 +]", "0"},  // fails: prints nothing
      {"4711", "4711"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TvtBarCodeView view;
    view.Memo = {c.line};
    ByteWriter out;
    view.WriteToPreparedPage(out);
    const std::string bytes = out.take();
    ByteReader in(bytes, "prepared");
    EXPECT_EQ(in.read_u8(), kObjAddIn);
    EXPECT_EQ(in.read_string(), "TvtBarCodeView");
    TvtBarCodeView back;
    back.PreparedMode = true;
    back.LoadFromStream(in);
    EXPECT_EQ(back.Memo, TvtStrings{c.written});
    EXPECT_EQ(view.Memo, TvtStrings{c.line});
  }
}

TEST_F(BarCodeViewTest, TwoDimensionalCodeTakesTheSizeOfItsSymbol) {
  // "HELLO" is a QR Code of 21 modules with 4 of quiet zone on each side; no text is shown
  // beside it. At 90 degrees the sides swap (a PDF417 symbol is wider than high).
  TvtBarCodeView qr;
  qr.BarType = bcCodeQR;
  qr.Modul = 2;
  qr.Memo = {"HELLO"};
  const std::string trace = DrawTrace(qr);
  EXPECT_EQ(qr.Width, 29 * 2);
  EXPECT_EQ(qr.Height, 29 * 2);
  EXPECT_EQ(Count(trace, "text_out"), 0) << trace;

  TvtBarCodeView stack;
  stack.BarType = bcCodePDF417;
  stack.Memo = {"HELLO"};
  DrawTrace(stack);
  const int32_t wide = stack.Width, high = stack.Height;
  EXPECT_GT(wide, high);
  stack.Angle = 90;
  DrawTrace(stack);
  EXPECT_EQ(stack.Width, high);
  EXPECT_EQ(stack.Height, wide);

  // A failed expression ("0") draws nothing, as for the other types; an empty text raises.
  qr.Memo = {"0"};
  EXPECT_EQ(Count(DrawTrace(qr), "polygon"), 0);
  qr.Memo = {""};
  qr.Memo.push_back("");
  EXPECT_THROW(DrawTrace(qr), BarcodeError);
}

}  // namespace
}  // namespace zr
