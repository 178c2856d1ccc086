#include "viewer/viewer_dispatch.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/errors.h"

#include "viewer_test_support.h"

namespace zr {
namespace {

using testing::PageWindow;
using testing::PlainObject;
using testing::RecordingRunner;

// "한글" in UTF-8 and in code page 949.
const std::string kHangulUtf8 = "\xED\x95\x9C\xEA\xB8\x80";
const std::string kHangulAnsi = "\xC7\xD1\xB1\xDB";

class DispatchTest : public ::testing::Test {
 protected:
  ComResult get(std::string_view name) { return invoke(viewer, name, DispKind::Get); }
  ComResult put(std::string_view name, DispValue value) {
    return invoke(viewer, name, DispKind::Put, {std::move(value)});
  }

  HeadlessUi ui{nullptr};
  TzrViewer viewer{ui, WorkFolder("/nonexistent/zorel")};
};

TEST_F(DispatchTest, FreshControlReadsEmptyAndZero) {
  int readable = 0;
  for (const DispMember& member : viewer_members()) {
    if (member.form_level || !member.can_get()) continue;
    ++readable;
    if (member.name == "PdfMode") continue;  // the one with a value of its own (below)
    ComResult result = invoke(viewer, member, DispKind::Get);
    ASSERT_TRUE(result.ok()) << member.name;
    if (member.type == DispType::String)
      EXPECT_TRUE(result.value.identical(Value(""))) << member.name;
    else if (member.type == DispType::Int32)
      EXPECT_TRUE(result.value.identical(Value(int32_t{0}))) << member.name;
    else
      EXPECT_EQ(result.object, nullptr) << member.name;
  }
  EXPECT_EQ(readable, 15);
  EXPECT_TRUE(get("TimeOut").value.identical(Value(int32_t{0})));
  EXPECT_EQ(get("PdfMode").value.raw_string(), "portable");
}

TEST_F(DispatchTest, PdfModeTakesTheTwoModesInAnyCase) {
  EXPECT_TRUE(put("PdfMode", Value("Classic")).ok());
  EXPECT_EQ(viewer.PdfMode, "classic");
  const ComResult wrong = put("PdfMode", Value("modern"));
  EXPECT_FALSE(wrong.ok());
  EXPECT_EQ(viewer.PdfMode, "classic");
  EXPECT_TRUE(put("pdfmode", Value("PORTABLE")).ok());
  EXPECT_EQ(get("PdfMode").value.raw_string(), "portable");
}

TEST_F(DispatchTest, FormLevelPropertiesHaveTheFormsDefaults) {
  EXPECT_EQ(get("Caption").value.raw_string(), "zrViewer");
  EXPECT_TRUE(invoke(viewer, -501, DispKind::Get).value.identical(Value(int64_t{0x8000000F})));
  EXPECT_TRUE(get("PixelsPerInch").value.identical(Value(int32_t{96})));
  EXPECT_TRUE(get("Visible").value.identical(Value(true)));
  EXPECT_TRUE(get("Enabled").value.identical(Value(true)));
  EXPECT_TRUE(get("Cursor").value.identical(Value::small_int(0)));
  EXPECT_EQ(get("Font").value.raw_string(), "MS Sans Serif");

  EXPECT_TRUE(put("Visible", Value(false)).ok());
  EXPECT_FALSE(viewer.form_properties().Visible);
  EXPECT_TRUE(put("Color", Value(int64_t{0x8000000F})).ok());
  EXPECT_EQ(viewer.form_properties().Color, clBtnFace);
  EXPECT_TRUE(put("Cursor", Value("-21")).ok());
  EXPECT_EQ(viewer.form_properties().Cursor, -21);

  struct Case {
    const char* name;
    DispValue value;
    int32_t code;
  };
  const Case failures[] = {
      {"Active", Value(true), DISP_E_MEMBERNOTFOUND},  // read only
      {"AlignDisabled", Value(true), DISP_E_MEMBERNOTFOUND},
      {"VisibleDockClientCount", Value(int32_t{1}), DISP_E_MEMBERNOTFOUND},
      {"AxBorderStyle", Value(int32_t{4}), E_INVALIDARG},  // afbNone .. afbRaised
      {"Cursor", Value(int32_t{40000}), DISP_E_OVERFLOW},
      {"Visible", Value::null(), DISP_E_TYPEMISMATCH},
  };
  for (const Case& c : failures) EXPECT_EQ(put(c.name, c.value).code, c.code) << c.name;
  EXPECT_TRUE(put("AxBorderStyle", Value(int32_t{afbRaised})).ok());
}

TEST_F(DispatchTest, PutOnlyPropertiesCannotBeRead) {
  for (const char* name : {"ColorHeader", "ColorHeaderLine", "History", "IconFile"}) {
    ComResult result = get(name);
    EXPECT_EQ(result.code, DISP_E_MEMBERNOTFOUND) << name;
    EXPECT_FALSE(result.description.empty());
  }
  for (DispValue anything :
       {DispValue(Value("c:\\x.ico")), DispValue(Value("")), DispValue(Value(int32_t{5}))})
    EXPECT_TRUE(put("IconFile", anything).ok());
  EXPECT_TRUE(put("History", Value(int32_t{1})).ok());
  EXPECT_EQ(viewer.History, 1);
}

TEST_F(DispatchTest, ColorHeaderThroughTheInterface) {
  EXPECT_TRUE(put("ColorHeader", Value("255")).ok());
  EXPECT_EQ(viewer.preview_colors().HeaderColor, 0x0000FF);
  EXPECT_TRUE(put("ColorHeaderLine", Value("$FF0000")).ok());
  EXPECT_EQ(viewer.preview_colors().HeaderLineColor, 0xFF0000);

  ComResult result = put("ColorHeader", Value("red"));
  EXPECT_EQ(result.code, E_UNEXPECTED);
  EXPECT_NE(result.description.find("red"), std::string::npos) << result.description;
  EXPECT_EQ(result.interface_name, "IzrViewer");
  EXPECT_EQ(viewer.preview_colors().HeaderColor, 0x0000FF);
  // The message quotes the ANSI text; the host reads it back as UTF-8.
  result = put("ColorHeader", Value(kHangulUtf8));
  EXPECT_NE(result.description.find(kHangulUtf8), std::string::npos) << result.description;
}

TEST_F(DispatchTest, WindowThroughTheInterface) {
  ComResult result = put("Window", DispValue(std::make_shared<PlainObject>()));
  EXPECT_EQ(result.code, E_NOINTERFACE);
  EXPECT_EQ(result.description, "Interface not supported");
  EXPECT_EQ(result.interface_name, "IzrViewer");
  EXPECT_EQ(put("Window", Value("http://host/")).code, DISP_E_TYPEMISMATCH);

  auto page = std::make_shared<PageWindow>("http://abcd/page.html");
  EXPECT_TRUE(put("Window", DispValue(page)).ok());
  EXPECT_EQ(viewer.SiteRoot, "http://abcd/");
  EXPECT_EQ(get("Window").object, page);

  // A window whose document cannot be read fails with its own code and changes nothing.
  class BrokenWindow : public PageWindow {
   public:
    BrokenWindow() : PageWindow("") {}
    std::string document_url() const override { throw SystemError(E_FAIL, "no document"); }
  };
  result = put("Window", DispValue(std::make_shared<BrokenWindow>()));
  EXPECT_EQ(result.code, E_FAIL);
  EXPECT_EQ(get("Window").object, page);
  EXPECT_EQ(viewer.SiteRoot, "http://abcd/");
}

TEST_F(DispatchTest, MembersAreFoundByNameInAnyCaseAndByDispid) {
  std::set<int32_t> own;
  for (const DispMember& member : viewer_members()) {
    EXPECT_EQ(find_member(member.dispid), &member) << member.name;
    EXPECT_EQ(find_member(member.name), &member);
    if (!member.form_level) own.insert(member.dispid);
  }
  std::set<int32_t> expected;
  for (int32_t id = 0x12; id <= 0x2a; ++id) expected.insert(id);
  EXPECT_EQ(own, expected);
  EXPECT_EQ(find_member("REPORTFILE"), find_member(0x12));
  EXPECT_EQ(find_member("datafile")->dispid, 0x17);
  EXPECT_EQ(find_member(-518)->name, "Caption");

  EXPECT_TRUE(invoke(viewer, "reportfile", DispKind::Put, {Value("http://s/r.zrf")}).ok());
  EXPECT_EQ(invoke(viewer, 0x12, DispKind::Get).value.raw_string(), "http://s/r.zrf");
}

TEST_F(DispatchTest, StringsAreUtf8OutsideAndAnsiInside) {
  EXPECT_TRUE(put("Params", Value("NAME=" + kHangulUtf8)).ok());
  EXPECT_EQ(viewer.Params, "NAME=" + kHangulAnsi);
  viewer.Log = kHangulAnsi;
  EXPECT_EQ(get("Log").value.raw_string(), kHangulUtf8);
  // A number given for a string property arrives as its text.
  EXPECT_TRUE(put("InHtml", Value(int32_t{1})).ok());
  EXPECT_TRUE(viewer.ShowsInControl());
}

TEST_F(DispatchTest, IntegersAcceptNumbersAndNumericText) {
  EXPECT_TRUE(put("TimeOut", Value("25")).ok());
  EXPECT_EQ(viewer.TimeOut, 25);
  EXPECT_TRUE(put("Acl", Value("$10")).ok());
  EXPECT_EQ(viewer.Acl, 16);
  EXPECT_TRUE(put("publ", Value(int64_t{1})).ok());
  EXPECT_EQ(viewer.publ, 1);
  EXPECT_EQ(put("TimeOut", Value("abc")).code, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(put("TimeOut", Value(int64_t{1} << 40)).code, DISP_E_OVERFLOW);
  EXPECT_EQ(viewer.TimeOut, 25);
}

TEST_F(DispatchTest, MethodsCheckArgumentsAndNeedARunner) {
  for (const char* name :
       {"PreviewReport", "PrintReport", "GetFile", "ClearHistory", "SaveImage", "SendEMail"}) {
    const DispMember* member = find_member(name);
    std::vector<DispValue> args(member->params.size(), DispValue(Value("1")));
    ComResult result = invoke(viewer, name, DispKind::Call, args);
    EXPECT_EQ(result.code, E_UNEXPECTED) << name;
    EXPECT_EQ(result.description,
              std::string(name) + " is not available: no report runner is attached");
  }

  std::vector<std::string> log;
  viewer.attach_runner(std::make_unique<RecordingRunner>(log));
  EXPECT_TRUE(invoke(viewer, "SaveImage", DispKind::Call, {Value("-3"), Value(kHangulUtf8)}).ok());
  EXPECT_TRUE(invoke(viewer, 0x13, DispKind::Call, {Value(int32_t{0}), Value("x.pdf")}).ok());
  EXPECT_TRUE(invoke(viewer, "previewreport", DispKind::Call).ok());
  EXPECT_EQ(log, (std::vector<std::string>{"SaveImage(-3," + kHangulAnsi + ")",
                                           "SendEMail(0,x.pdf)", "PreviewReport"}));

  EXPECT_EQ(invoke(viewer, "SaveImage", DispKind::Call, {Value(int32_t{128}), Value("x")}).code,
            DISP_E_OVERFLOW);  // ImageType is signed 8-bit
  EXPECT_EQ(invoke(viewer, "SaveImage", DispKind::Call, {Value(int32_t{0})}).code,
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(viewer, "PrintReport", DispKind::Call, {Value(int32_t{0})}).code,
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(viewer, "TimeOut", DispKind::Put).code, DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(viewer, "PrintReport", DispKind::Get).code, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(invoke(viewer, "ReportFile", DispKind::Call).code, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(log.size(), 3u);
}

TEST_F(DispatchTest, UnknownMembersAreNotFound) {
  ComResult by_name = invoke(viewer, "Refresh", DispKind::Call);
  EXPECT_EQ(by_name.code, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(by_name.description, "IzrViewer has no member 'Refresh'");
  EXPECT_EQ(invoke(viewer, 0x2B, DispKind::Get).code, DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(invoke(viewer, 0, DispKind::Get).code, DISP_E_MEMBERNOTFOUND);
}

}  // namespace
}  // namespace zr
