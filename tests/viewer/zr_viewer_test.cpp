#include "viewer/zr_viewer.h"

#include <gtest/gtest.h>

#include "platform/errors.h"
#include "viewer/com_result.h"
#include "viewer/notice.h"
#include "viewer_test_support.h"

namespace zr {
namespace {

using testing::PageWindow;
using testing::PlainObject;
using testing::RecordingRunner;
using testing::RecordingSink;

class ViewerTest : public ::testing::Test {
 protected:
  HeadlessUi ui{nullptr};
  TzrViewer viewer{ui, WorkFolder("/nonexistent/zorel")};
};

TEST(SiteRootTest, CutsAfterTheFirstSlashFromTheTenthCharacter) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://abcd/page.html", "http://abcd/"},  // slash is the 12th character
      {"http://x", "http://x"},                   // 8 characters, no slash after the 9th
      {"http://host:8080/app/page.html", "http://host:8080/"},
      {"https://host/a/b", "https://host/"},
      {"http://a/b/c", "http://a/b/"},  // a host shorter than 2 characters keeps a path part
      {"http://abc", "http://ab"},      // no slash: the first 9 characters
      {"", ""},
  };
  for (const auto& [url, root] : cases) EXPECT_EQ(site_root_of(url), root) << url;
}

TEST_F(ViewerTest, WindowPutQueriesForAWindowAndKeepsTheSiteRoot) {
  auto page = std::make_shared<PageWindow>("http://host:8080/app/page.html");
  viewer.Set_Window(page);
  EXPECT_EQ(viewer.Get_Window(), page);
  EXPECT_EQ(viewer.SiteRoot, "http://host:8080/");

  try {
    viewer.Set_Window(std::make_shared<PlainObject>());
    FAIL() << "a plain object is not a window";
  } catch (const SystemError& e) {
    EXPECT_EQ(e.code(), E_NOINTERFACE);
    EXPECT_STREQ(e.what(), "Interface not supported");
  }
  EXPECT_EQ(viewer.Get_Window(), page);  // nothing changed
  EXPECT_EQ(viewer.SiteRoot, "http://host:8080/");

  viewer.Set_Window(nullptr);
  EXPECT_EQ(viewer.Get_Window(), nullptr);
  EXPECT_EQ(viewer.SiteRoot, "");
}

TEST_F(ViewerTest, ColorHeaderTextsSetThePreviewColours) {
  EXPECT_EQ(viewer.preview_colors().HeaderColor, 10803944);
  EXPECT_EQ(viewer.preview_colors().HeaderLineColor, 4754333);
  viewer.Set_ColorHeader("255");
  EXPECT_EQ(viewer.preview_colors().HeaderColor, 0x0000FF);
  viewer.Set_ColorHeader("$FF0000");
  EXPECT_EQ(viewer.preview_colors().HeaderColor, 0xFF0000);
  viewer.Set_ColorHeaderLine("$00FF00");
  EXPECT_EQ(viewer.preview_colors().HeaderLineColor, 0x00FF00);
  EXPECT_THROW(viewer.Set_ColorHeader("red"), ConversionError);
  EXPECT_THROW(viewer.Set_ColorHeaderLine(""), ConversionError);
  EXPECT_EQ(viewer.preview_colors().HeaderColor, 0xFF0000);
  EXPECT_EQ(viewer.preview_colors().HeaderLineColor, 0x00FF00);
}

TEST_F(ViewerTest, OnlyExactlyOneShowsTheReportInsideTheControl) {
  const std::pair<const char*, bool> cases[] = {{"1", true},     {"", false},   {"0", false},
                                                {"true", false}, {" 1", false}, {"1 ", false}};
  for (const auto& [text, inside] : cases) {
    viewer.Set_InHtml(text);
    EXPECT_EQ(viewer.ShowsInControl(), inside) << '"' << text << '"';
  }
}

TEST_F(ViewerTest, ShowNoticeIsAnInformationBoxCaptionedNotice) {
  viewer.ShowNotice("Time out.");
  ASSERT_EQ(ui.calls().size(), 1u);
  const UiCall& call = ui.calls()[0];
  EXPECT_EQ(call.kind, UiCall::Kind::Message);
  EXPECT_EQ(call.caption, "\xBE\xC8\xB3\xBB");  // "안내"
  EXPECT_EQ(call.text, "Time out.");
  EXPECT_EQ(call.flags, MB_OK | MB_ICONINFORMATION);
}

TEST_F(ViewerTest, ProgressWindowIsSingleAndFollowsTheTransfer) {
  viewer.HttpWorkEvent(10);  // no window yet: nothing
  viewer.ShowProgressWindow();
  viewer.ShowProgressWindow();
  viewer.HttpWorkEvent(42);
  viewer.Progress = 1;
  viewer.HttpWorkEvent(50);  // silent runs do not move the bar
  viewer.HideProgressWindow();
  viewer.HideProgressWindow();
  viewer.Progress = 0;
  viewer.UpdateProgressWindow(100, 60);

  std::vector<UiCall> expected = {
      {.kind = UiCall::Kind::ShowProgress,
       .caption = "\xBB\xF3\xC5\xC2",  // "상태"
       .text = "\xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 \xC0\xD0\xB4\xC2\xC1\xDF "
               "\xC0\xD4\xB4\xCF\xB4\xD9."},  // "데이타를 읽는중 입니다."
      {.kind = UiCall::Kind::UpdateProgress, .maximum = 100, .position = 42},
      {.kind = UiCall::Kind::HideProgress},
  };
  EXPECT_EQ(ui.calls(), expected);
}

TEST_F(ViewerTest, MethodsWithoutARunnerFailAndWithOneAreRouted) {
  try {
    viewer.PreviewReport();
    FAIL() << "no runner is attached";
  } catch (const ZorelError& e) {
    EXPECT_STREQ(e.what(), "PreviewReport is not available: no report runner is attached");
  }
  std::vector<std::string> log;
  viewer.attach_runner(std::make_unique<RecordingRunner>(log));
  viewer.PreviewReport();
  viewer.PrintReport();
  viewer.SaveImage(3, "a.jpg");
  viewer.SendEMail(-1, "b");
  viewer.GetFile();
  viewer.ClearHistory();
  EXPECT_EQ(log, (std::vector<std::string>{"PreviewReport", "PrintReport", "SaveImage(3,a.jpg)",
                                           "SendEMail(-1,b)", "GetFile", "ClearHistory"}));
  viewer.attach_runner(nullptr);
  EXPECT_THROW(viewer.GetFile(), ZorelError);
}

TEST_F(ViewerTest, RunnerAndSinkMayDetachThemselvesDuringACall) {
  // The host may re-enter the control from inside a call; what it detaches must outlive
  // the call that is still running.
  struct SelfDetachingRunner : RecordingRunner {
    using RecordingRunner::RecordingRunner;
    void PreviewReport(TzrViewer& v) override {
      v.attach_runner(nullptr);
      RecordingRunner::PreviewReport(v);
    }
  };
  struct SelfDisconnectingSink : RecordingSink {
    TzrViewer* viewer = nullptr;
    void Invoke(ViewerEvent event, int16_t* key) override {
      viewer->disconnect_events();
      RecordingSink::Invoke(event, key);
    }
  };
  std::vector<std::string> log;
  viewer.attach_runner(std::make_unique<SelfDetachingRunner>(log));
  viewer.PreviewReport();
  EXPECT_EQ(log, std::vector<std::string>{"PreviewReport"});
  EXPECT_EQ(viewer.runner(), nullptr);

  auto sink = std::make_shared<SelfDisconnectingSink>();
  sink->viewer = &viewer;
  viewer.connect_events(sink);
  std::weak_ptr<SelfDisconnectingSink> watch = sink;
  sink.reset();
  viewer.ClickEvent();
  EXPECT_EQ(viewer.event_sink(), nullptr);
  EXPECT_TRUE(watch.expired());
}

TEST_F(ViewerTest, EventsReachAConnectedSinkWithTheirDispids) {
  char key = 'a';
  viewer.ClickEvent();  // no sink: nothing happens
  viewer.KeyPressEvent(key);
  EXPECT_EQ(key, 'a');

  auto sink = std::make_shared<RecordingSink>();
  viewer.connect_events(sink);
  viewer.ActivateEvent();
  viewer.ClickEvent();
  viewer.CreateEvent();
  viewer.DblClickEvent();
  viewer.DestroyEvent();
  viewer.DeactivateEvent();
  viewer.PaintEvent();
  sink->replace_key = 'Z';
  key = '\xC7';  // a lead byte travels as its unsigned code
  viewer.KeyPressEvent(key);
  EXPECT_EQ(sink->dispids, (std::vector<int32_t>{1, 2, 3, 5, 6, 7, 16, 11}));
  EXPECT_EQ(sink->keys, std::vector<int16_t>{0xC7});
  EXPECT_EQ(key, 'Z');

  viewer.disconnect_events();
  viewer.PaintEvent();
  EXPECT_EQ(sink->dispids.size(), 8u);
  EXPECT_EQ(viewer_event_by_name("onkeypress"), ViewerEvent::OnKeyPress);
  EXPECT_EQ(viewer_event_by_name("OnScroll"), std::nullopt);
}

}  // namespace
}  // namespace zr
