// The report form file: round trip, the older versions' layouts, and how damaged files and
// missing add-in classes are reported.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/model/memo_view.h"
#include "engine/report/report.h"
#include "engine_fixture.h"
#include "probe_view.h"

namespace {

using namespace zr;
using testing_support::ProbeView;

constexpr char kUnsupported[] = "Unsupported VTF format";

std::string save(TvtReport& report) {
  ByteWriter out;
  report.SaveToStream(out);
  return out.take();
}

void load(TvtReport& report, const std::string& bytes) {
  ByteReader in(std::string_view(bytes), "<form>");
  report.LoadFromStream(in);
}

// An object record of a version-24 body: type, class name, page index, patched end
// position, then whatever `body` writes.
void write_object(ByteWriter& out, uint8_t type, const std::string& class_name, uint8_t page,
                  const std::function<void(ByteWriter&)>& body) {
  out.write_u8(type);
  if (type == kObjAddIn) out.write_string(class_name);
  out.write_u8(page);
  const size_t end_at = out.position();
  out.write_u32(0);
  body(out);
  out.patch_u32(end_at, static_cast<uint32_t>(out.position()));
}

void write_memo(ByteWriter& out, const std::string& name, const std::string& text) {
  write_object(out, kObjMemo, {}, 0, [&](ByteWriter& w) {
    TvtMemoView memo;
    memo.Name = name;
    memo.Memo = {text};
    memo.SaveToStream(w);
  });
}

void write_probe(ByteWriter& out, const std::string& name) {
  write_object(out, kObjAddIn, ProbeView::kClassName, 0,
               [&](ByteWriter& w) { ProbeView::Make(name, 10, 20, 30, 40)->SaveToStream(w); });
}

// A version-24 file: header with the "1.2.1" tag, flags, the virtual printer, one A4 page.
ByteWriter v24_form_with_page() {
  ByteWriter out;
  out.write_u8(24);
  out.write_string_v23(" ");
  out.write_string_v23(" ");
  out.write_string_v23("1.2.1");
  out.write_string_v23(" ");
  out.write_u16(0);  // InterleavePages
  out.write_u16(0);  // PrintToDefault
  out.write_u16(0);  // TwoPass
  out.write_string_v23("\x01");
  out.write_u8(255);
  TvtPage page;
  page.SaveToStream(out);
  return out;
}

std::vector<std::string> object_names(const TvtReport& report) {
  std::vector<std::string> names;
  for (const auto& page : report.Pages.pages())
    for (const auto& view : page->Objects) names.push_back(view->Name);
  return names;
}

class FormFile : public testing_support::EngineTest {
 protected:
  void SetUp() override { ProbeView::Register(globals()); }
  const std::vector<UiCall>& messages() { return env.ui.calls(); }
  TvtReport report;
};

TEST_F(FormFile, RoundTripIsByteExact) {
  report.Relations = {"Orders=Lines;ID;OrderID", "Lines=Notes;ID;LineID"};
  report.InterleavePages = true;
  report.TwoPass = true;
  report.HeaderText1 = "made by hand";
  report.Dictionary.VariableList.SetVariable(" Totals", Value(""));
  report.Dictionary.VariableList.SetVariable("Total", Value("dataset1.\"Amount\""));
  report.Dictionary.AliasList.SetVariable("dataset1", Value("Orders"));

  TvtPage& first = report.Pages.Add();
  first.Name = "Page1";
  auto memo = std::make_unique<TvtMemoView>();
  memo->Name = "Memo1";
  memo->Memo = {"Total:", "[Total]"};
  memo->Script = {"if [Total] > 0 then Memo1.Visible := true"};
  memo->LinkUrl = "http://example.com/orders";
  memo->SetBounds(10, 20, 200, 18);
  first.Add(std::move(memo));

  TvtPage& second = report.Pages.Add();
  second.SetPaper(9, 2100, 2970, 1, kDefaultBin);
  second.Name = "Summary";
  second.LeftMargin = 40;
  second.BottomMargin = 25;
  second.Columns = 2;
  second.ColumnGap = 12;
  second.UseMargins = false;
  second.Script = {"Summary.Visible := true"};
  second.Add(ProbeView::Make("Probe1", 1, 2, 3, 4));
  auto second_memo = std::make_unique<TvtMemoView>();
  second_memo->Name = "Memo2";
  second.Add(std::move(second_memo));

  const std::string saved = save(report);
  TvtReport loaded;
  load(loaded, saved);
  EXPECT_EQ(save(loaded), saved);

  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(ProbeView::log.after_loads, 1);
  EXPECT_EQ(object_names(loaded), (std::vector<std::string>{"Memo1", "Probe1", "Memo2"}));
  EXPECT_EQ(loaded.Relations, report.Relations);
  EXPECT_TRUE(loaded.InterleavePages);
  EXPECT_TRUE(loaded.TwoPass);
  EXPECT_EQ(loaded.HeaderText1, "made by hand");
  ASSERT_EQ(loaded.Pages.Count(), 2);
  const TvtPage& summary = loaded.Pages.Items(1);
  EXPECT_EQ(summary.Name, "Summary");
  EXPECT_EQ(summary.Orientation, 1);
  EXPECT_EQ(summary.PageWidth, 2970);
  EXPECT_EQ(summary.Script, second.Script);
  EXPECT_FALSE(summary.UseMargins);
  EXPECT_EQ(summary.Objects[0]->Parent, &summary);
  EXPECT_EQ(loaded.Dictionary.VariableList.GetVariable("Total").to_string(), "dataset1.\"Amount\"");
  EXPECT_EQ(globals().CurReport, &loaded);
  EXPECT_EQ(globals().mode, EngineMode::Design);
}

TEST_F(FormFile, EmptyFormFrame) {
  // No relations and the virtual printer: a single space and the one-byte printer mark.
  ByteWriter expected;
  expected.write_u8(24);
  for (const char* text : {" ", " ", "1.2.1", " "}) expected.write_string_v23(text);
  expected.write_u16(0);
  expected.write_u16(0);
  expected.write_u16(0);
  expected.write_string_v23("\x01");
  expected.write_u8(254);
  expected.write_i16(-2);
  for (int i = 0; i < 3; ++i) expected.write_i32(0);

  const std::string saved = save(report);
  EXPECT_EQ(saved, expected.bytes());
  EXPECT_EQ(report.Relations, std::vector<std::string>{" "});

  TvtReport loaded;
  loaded.PrinterName = "something else";
  load(loaded, saved);
  EXPECT_EQ(loaded.Relations, std::vector<std::string>{" "});
  EXPECT_EQ(loaded.PrinterName, "Virtual printer");
  EXPECT_EQ(loaded.Pages.Count(), 0);
}

// --- Older versions ---

struct LegacyCase {
  const char* label;
  int version;         // 0: no header at all
  const char* tag;     // block tag, or null
  bool old_page_mark;  // the page record starts with the paper size itself
};

// The common record as versions before 24 wrote it: a name only from 23 on, no version bytes.
void write_legacy_record(ByteWriter& out, int version, const std::string& name) {
  if (version == 23) out.write_string(name);
  for (int32_t v : {10, 20, 30, 40}) out.write_i32(v);
  out.write_u16(1);  // Flags
  out.write_u16(0);  // FrameTyp
  out.write_i32(1);  // frame width
  out.write_i32(0);  // FrameColor
  out.write_u16(0);  // FrameStyle
  out.write_i32(kClNone);
  out.write_i32(0x22E);  // DisplayFormat
  out.write_string("");
  out.write_string_list({"line one", "line two"});
  if (version >= 23) {
    out.write_string_list({});
    out.write_u16(0xFFFF);
  }
}

void write_legacy_page(ByteWriter& out, int version, bool old_mark) {
  out.write_u8(255);
  if (!old_mark) out.write_i32(-1);
  out.write_i32(9);  // A4
  out.write_i32(2100);
  out.write_i32(2970);
  for (int32_t margin : {11, 12, 13, 14}) out.write_i32(margin);
  out.write_u8(0);
  if (version < 23) out.write_bytes("\x7F\x7F\x7F\x7F\x7F\x7F");
  out.write_u16(0);       // PrintToPrevPage
  out.write_u16(0xFFFF);  // UseMargins
  out.write_i32(2);       // Columns
  out.write_i32(7);       // ColumnGap
}

std::string legacy_form(const LegacyCase& c) {
  const int v = c.version == 0 ? 21 : c.version;
  ByteWriter out(v);
  if (c.version != 0) {
    out.write_u8(static_cast<uint8_t>(c.version));
    out.write_string_v23(" ");
    out.write_string_v23(" ");
    if (c.tag) {
      out.write_string_v23(c.tag);
      out.write_string_v23("Orders=Lines;ID;OrderID\r\nLines=Notes;ID;LineID");
      if (std::string(c.tag) == "1.2.1") out.write_u16(0xFFFF);
    }
  }
  out.write_u16(0);  // PrintToDefault; its low byte is the first byte of a file without header
  out.write_u16(0xFFFF);
  out.write_string("\x01");
  write_legacy_page(out, v, c.old_page_mark);
  write_legacy_page(out, v, c.old_page_mark);
  out.write_u8(kObjAddIn);
  out.write_string(ProbeView::kClassName);
  out.write_u8(1);  // page index
  write_legacy_record(out, v, "Box");
  return out.take();
}

TEST_F(FormFile, OlderVersionsFollowTheirLayouts) {
  const LegacyCase cases[] = {
      {"no header, read as 21", 0, nullptr, false},
      {"21 without block tag", 21, nullptr, false},
      {"22 with tag 1.2", 22, "1.2", false},
      {"23 with tag 1.2.1, old page record", 23, "1.2.1", true},
  };
  for (const LegacyCase& c : cases) {
    SCOPED_TRACE(c.label);
    TvtReport loaded;
    load(loaded, legacy_form(c));
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(loaded.TwoPass);
    ASSERT_EQ(loaded.Pages.Count(), 2);
    for (int i = 0; i < 2; ++i) {
      const TvtPage& page = loaded.Pages.Items(i);
      EXPECT_EQ(page.Name, "Page" + std::to_string(i + 1));
      EXPECT_EQ(page.PageSize, 9);
      EXPECT_EQ(page.Bin, kDefaultBin);
      EXPECT_EQ(page.BottomMargin, 14);
      EXPECT_EQ(page.Columns, 2);
      EXPECT_EQ(page.ColumnGap, 7);
      EXPECT_TRUE(page.UseMargins);
      EXPECT_TRUE(page.Script.empty());
    }
    ASSERT_EQ(loaded.Pages.Items(1).Objects.size(), 1u);
    const TvtView& box = *loaded.Pages.Items(1).Objects[0];
    EXPECT_EQ(box.Top, 20);
    EXPECT_EQ(box.Height, 40);
    EXPECT_EQ(box.Memo, (TvtStrings{"line one", "line two"}));
    if (c.version == 23) {
      EXPECT_EQ(box.Name, "Box");
    }
    EXPECT_EQ(box.RecordVersion, 0);  // so no BandAlign and no link fields were read
    const TvtStrings relations =
        c.tag ? TvtStrings{"Orders=Lines;ID;OrderID", "Lines=Notes;ID;LineID"} : TvtStrings{};
    EXPECT_EQ(loaded.Relations, relations);
    EXPECT_EQ(loaded.InterleavePages, c.tag && std::string(c.tag) == "1.2.1");
  }
}

TEST_F(FormFile, PageRecordOfVersion24) {
  // Border style and position as old editors stored them; the second page in the old
  // layout keeps its position byte but has no script.
  ByteWriter out = v24_form_with_page();
  struct Stored {
    int32_t mark;
    uint8_t border, position;
  };
  for (Stored s : {Stored{-1, 0, 2}, Stored{9, 1, 0}}) {
    out.write_u8(255);
    if (s.mark == -1) out.write_i32(-1);
    out.write_i32(8);  // A3
    out.write_i32(2970);
    out.write_i32(4200);
    for (int i = 0; i < 4; ++i) out.write_i32(0);
    out.write_u8(0);
    out.write_i32(-1);  // Bin
    out.write_u16(0xFFFF);
    out.write_u16(0);
    out.write_i32(0);
    out.write_i32(0);
    out.write_u8(1);  // dialog page
    out.write_string_v23("Ask");
    out.write_u8(s.border);
    out.write_string_v23("Parameters");
    for (int32_t v : {0x00FF00, 1, 2, 300, 200}) out.write_i32(v);
    out.write_u8(s.position);
    if (s.mark == -1) out.write_string_list_v23({"Ask.Caption := 'x'"});
  }
  load(report, out.take());
  EXPECT_TRUE(messages().empty());
  ASSERT_EQ(report.Pages.Count(), 3);
  const TvtPage& current = report.Pages.Items(1);
  const TvtPage& old = report.Pages.Items(2);
  EXPECT_EQ(current.BorderStyle, 3);
  EXPECT_EQ(current.Position, 4);
  EXPECT_EQ(current.Script, TvtStrings{"Ask.Caption := 'x'"});
  EXPECT_EQ(old.BorderStyle, 2);
  EXPECT_EQ(old.Position, 0);
  EXPECT_TRUE(old.Script.empty());
  EXPECT_EQ(old.Name, "Ask");  // names are stored from 24 on
  EXPECT_EQ(old.PageSize, 8);
  EXPECT_EQ(old.PageHeight, 4200);
  EXPECT_TRUE(old.PrintToPrevPage);
  EXPECT_EQ(old.DialogWidth, 300);
  EXPECT_EQ(old.Color, 0x00FF00);
}

// --- Failures ---

TEST_F(FormFile, MissingAddInIsListedOnceAndStopsAfterLoad) {
  ByteWriter out = v24_form_with_page();
  write_memo(out, "Memo1", "before");
  write_object(out, kObjAddIn, "TvtChartView", 0, [](ByteWriter& w) { w.write_bytes("chart"); });
  write_probe(out, "Probe1");
  write_memo(out, "Memo2", "after");
  load(report, out.take());

  EXPECT_EQ(object_names(report), (std::vector<std::string>{"Memo1", "Probe1", "Memo2"}));
  EXPECT_EQ(ProbeView::log.after_loads, 0);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].text,
            "Report contains the following non-plugged components:\rTvtChartView\r"
            "You must include these components into your project.");
  EXPECT_EQ(messages()[0].caption, "Error");
  EXPECT_EQ(messages()[0].flags & MB_ICONMASK, MB_ICONERROR);

  // The next form starts with a clean list and runs its hooks.
  env.ui.clear_calls();
  ByteWriter clean = v24_form_with_page();
  write_probe(clean, "Probe1");
  load(report, clean.take());
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(ProbeView::log.after_loads, 1);
}

TEST_F(FormFile, LegacyClassNames) {
  ByteWriter out = v24_form_with_page();
  write_object(out, kObjAddIn, "TvtFramedMemoView", 0, [](ByteWriter& w) {
    TvtMemoView memo;
    memo.Name = "Framed";
    memo.SaveToStream(w);
    w.write_bytes("8 bytes!");  // the framed memo's own part, skipped
  });
  write_object(out, kObjAddIn, "TVTBDELOOKUPCONTROL", 0, [](ByteWriter&) {});
  write_memo(out, "Memo1", "after");
  load(report, out.take());

  EXPECT_EQ(object_names(report), (std::vector<std::string>{"Framed", "Memo1"}));
  EXPECT_EQ(report.Pages.Items(0).Objects[0]->ObjectType, kObjMemo);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_NE(messages()[0].text.find(":\rTvtDBLookupControl\rYou must"), std::string::npos);
}

TEST_F(FormFile, Version24SkipsAFailingObjectRecord) {
  const std::pair<const char*, std::function<void(ByteWriter&)>> failing[] = {
      {"unknown type",
       [](ByteWriter& out) {
         write_object(out, 7, {}, 0, [](ByteWriter& w) { w.write_bytes("no such type"); });
       }},
      // A whole, readable memo that names a page the form does not have.
      {"page not loaded",
       [](ByteWriter& out) {
         write_object(out, kObjMemo, {}, 9, [](ByteWriter& w) {
           TvtMemoView memo;
           memo.Name = "Stray";
           memo.SaveToStream(w);
         });
       }},
  };
  for (const auto& [label, write_failing] : failing) {
    SCOPED_TRACE(label);
    env.ui.clear_calls();
    ByteWriter out = v24_form_with_page();
    write_memo(out, "Memo1", "before");
    write_failing(out);
    write_memo(out, "Memo2", "after");
    TvtReport loaded;
    load(loaded, out.take());
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(loaded.Pages.Count(), 1);
    EXPECT_EQ(object_names(loaded), (std::vector<std::string>{"Memo1", "Memo2"}));
  }
}

TEST_F(FormFile, DamagedFilesLeaveOneEmptyPage) {
  const std::string valid = [] {
    ByteWriter out = v24_form_with_page();
    write_memo(out, "Memo1", "text");
    return out.take();
  }();
  const size_t body_end = v24_form_with_page().position();

  ByteWriter bad_marker = v24_form_with_page();
  bad_marker.write_u8(100);
  // An end position that leads back to the record itself would read it forever.
  ByteWriter looping = v24_form_with_page();
  const size_t loop_start = looping.position();
  write_object(looping, 7, {}, 0, [](ByteWriter&) {});
  looping.patch_u32(loop_start + 2, static_cast<uint32_t>(loop_start));

  const std::pair<const char*, std::string> cases[] = {
      {"marker 100", bad_marker.take()},
      {"end position before the record", looping.take()},
      {"truncated page record", valid.substr(0, body_end - 20)},
      {"truncated header", valid.substr(0, 6)},
      {"version 23 object of an unknown type",
       [] {
         ByteWriter out(23);
         out.write_u8(23);
         out.write_string_v23(" ");
         out.write_string_v23(" ");
         out.write_u16(0);
         out.write_u16(0);
         out.write_string("\x01");
         write_legacy_page(out, 23, false);
         out.write_bytes(std::string_view("\x07\x00garbage", 9));
         return out.take();
       }()},
      // Without end positions a record for a missing page cannot be stepped over.
      {"version 23 object for a page not loaded",
       [] {
         ByteWriter out(23);
         out.write_u8(23);
         out.write_string_v23(" ");
         out.write_string_v23(" ");
         out.write_u16(0);
         out.write_u16(0);
         out.write_string("\x01");
         write_legacy_page(out, 23, false);
         out.write_u8(kObjMemo);
         out.write_u8(3);
         TvtMemoView memo;
         memo.SaveToStream(out);
         return out.take();
       }()},
  };
  for (const auto& [label, bytes] : cases) {
    SCOPED_TRACE(label);
    env.ui.clear_calls();
    TvtReport loaded;
    load(loaded, bytes);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, kUnsupported);
    EXPECT_EQ(messages()[0].caption, "Error");
    ASSERT_EQ(loaded.Pages.Count(), 1);
    EXPECT_TRUE(loaded.Pages.Items(0).Objects.empty());
  }
}

TEST_F(FormFile, NewerVersionLoadsNothing) {
  report.Pages.Add();
  report.Pages.Add();
  std::string newer = save(report);
  newer[0] = 25;
  load(report, newer);
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0].text, kUnsupported);
  EXPECT_EQ(messages()[0].flags & MB_ICONMASK, MB_ICONERROR);
  EXPECT_EQ(report.Pages.Count(), 2);
}

TEST_F(FormFile, EmptyStreamKeepsThePages) {
  report.Pages.Add();
  load(report, "");
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(report.Pages.Count(), 1);
}

TEST_F(FormFile, SelectsThePrinterNamedInTheForm) {
  PrinterCapabilities caps;
  caps.papers = {{"iso_a4_210x297mm", 2100, 2970, {42, 42, 42, 42}}};
  caps.default_paper = 0;
  env.printers.add_printer("Office", caps);
  env.printers.add_printer("Labels", caps);
  env.printers.set_default_printer("Office");
  TvtPrinter& printer = globals().printer;
  printer.SetPrinter();
  printer.SetPrinterIndex(1);
  const std::string made_for_labels = save(report);

  for (bool print_to_default : {false, true}) {
    SCOPED_TRACE(print_to_default);
    printer.SetPrinterIndex(0);
    std::string bytes = made_for_labels;
    // PrintToDefault is the first field of the body, right after the header.
    const size_t body = 1 + 4 + 4 + 8 + 4 + 2;
    bytes[body] = print_to_default ? '\xFF' : 0;
    TvtReport loaded;
    load(loaded, bytes);
    EXPECT_EQ(loaded.PrinterName, "Labels");
    EXPECT_EQ(printer.printer_index(), print_to_default ? 0 : 1);
  }
}

}  // namespace
