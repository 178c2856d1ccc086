#pragma once
// A bundled example on the loopback server, as its site would serve it: the form built from
// examples/FOLDER/FORM into `work` and served as /NAME.zrf, its data page as /NAME.html.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/http_server.h"
#include "support/tool_run.h"

namespace zr::testing_support {

inline std::string read_example_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void serve_example(HttpTestServer& server, const std::filesystem::path& work,
                          const std::string& folder, const std::string& form,
                          const std::string& name) {
  const std::filesystem::path source = std::filesystem::path(ZR_EXAMPLES_DIR) / folder;
  const std::filesystem::path built_form = work / (name + ".zrf");
  auto built = run_tool("form build " + (source / form).string() + " -o " + built_form.string());
  ASSERT_EQ(built.status, 0) << built.output;
  server.add("/" + name + ".zrf", read_example_file(built_form), "application/octet-stream");
  server.add("/" + name + ".html", read_example_file(source / "data_page.html"));
}

}  // namespace zr::testing_support
