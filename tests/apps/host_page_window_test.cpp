#include "host_page_window.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "viewer/com_result.h"

namespace zr::host {
namespace {

std::string read_all(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(HostPageWindowTest, NavigateAndOpenHandTheAddressToTheOpener) {
  const auto record =
      std::filesystem::path(::testing::TempDir()) / ("opened_" + std::to_string(getpid()) + ".txt");
  std::filesystem::remove(record);
  // The opener gets the address as its last argument, as xdg-open does ($0 of the script).
  HostPageWindow window(utf8_to_ansi("http://h/페이지.html"),
                        {"sh", "-c", "printf '%s\\n' \"$0\" >> '" + record.string() + "'"});
  EXPECT_EQ(window.document_url(), utf8_to_ansi("http://h/페이지.html"));
  window.navigate(utf8_to_ansi("http://h/a b.html?x=1&y=한"));
  window.open("http://h/new.html");
  EXPECT_EQ(read_all(record), "http://h/a b.html?x=1&y=한\nhttp://h/new.html\n");
  std::filesystem::remove(record);
}

TEST(HostPageWindowTest, AnOpenerThatFailsRaises) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"false"}, "false could not open http://h/x"},
      {{"/nonexistent/opener"}, "cannot start /nonexistent/opener: "},
  };
  for (const auto& [opener, message] : cases) {
    HostPageWindow window("http://h/", opener);
    try {
      window.open("http://h/x");
      ADD_FAILURE() << opener[0] << " succeeded";
    } catch (const SystemError& e) {
      EXPECT_EQ(e.code(), E_FAIL);
      EXPECT_TRUE(std::string(e.what()).starts_with(message)) << e.what();
    }
  }
}

}  // namespace
}  // namespace zr::host
