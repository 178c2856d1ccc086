#include "command_line.h"

#include <gtest/gtest.h>

#include <optional>

#include "viewer/viewer_dispatch.h"

namespace zr::host {
namespace {

using Args = std::vector<std::string>;

struct ParseCase {
  Args args;
  std::vector<PropertySetting> settings;
  std::string method;
  Args arguments;
  std::optional<double> time_limit{};
};

TEST(CommandLineTest, SettingsAndCommandsInEveryForm) {
  const ParseCase cases[] = {
      {{"--ReportFile", "http://s/r.zrf", "preview"},
       {{"ReportFile", "http://s/r.zrf"}},
       "PreviewReport",
       {}},
      {{"--dataFile=http://s/d.html", "--TimeOut", "25", "print"},
       {{"dataFile", "http://s/d.html"}, {"TimeOut", "25"}},
       "PrintReport",
       {}},
      // Only the first "=" separates; values may hold more and may be empty.
      {{"--Params=A=1|B=x=y", "--ImageFile=", "save", "0", "/tmp/out.pdf"},
       {{"Params", "A=1|B=x=y"}, {"ImageFile", ""}},
       "SaveImage",
       {"0", "/tmp/out.pdf"}},
      // Names are kept as written; the control matches them ignoring case.
      {{"--publ", "1", "--ACL", "0", "mail", "2"},
       {{"publ", "1"}, {"ACL", "0"}},
       "SendEMail",
       {"2"}},
      // The value after a bare option is taken whatever it looks like.
      {{"--Log", "--odd", "get-file"}, {{"Log", "--odd"}}, "GetFile", {}},
      // Options may follow the command; "-1" is an argument, not an option.
      {{"save", "-1", "--History", "1"}, {{"History", "1"}}, "SaveImage", {"-1"}},
      {{"--host-page", "http://h:8080/app/p.html", "CLEAR-HISTORY"},
       {{"Window", "http://h:8080/app/p.html", true}},
       "ClearHistory",
       {}},
      {{"--window=http://h/p", "PreviewReport"},
       {{"Window", "http://h/p", true}},
       "PreviewReport",
       {}},
      {{"--", "saveimage", "3", "--x.jpg"}, {}, "SaveImage", {"3", "--x.jpg"}},
      // The time limit is zrviewer's own, not a property.
      {{"--time-limit", "30", "preview"}, {}, "PreviewReport", {}, 30.0},
      {{"--Progress", "1", "--TIME-LIMIT=0.5", "print"},
       {{"Progress", "1"}},
       "PrintReport",
       {},
       0.5},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    CommandLine line = parse_command_line(c.args);
    EXPECT_FALSE(line.help);
    EXPECT_EQ(line.settings, c.settings);
    ASSERT_NE(line.command, nullptr);
    EXPECT_EQ(line.command->method, c.method);
    EXPECT_EQ(line.arguments, c.arguments);
    EXPECT_EQ(line.time_limit, c.time_limit);
  }
}

TEST(CommandLineTest, MalformedLinesAreUsageErrors) {
  const std::pair<Args, const char*> cases[] = {
      {{}, "no command given"},
      {{"--ReportFile", "http://s/r.zrf"}, "no command given"},
      {{"show"}, "unknown command 'show'"},
      {{"save"}, "save takes TYPE [NAME], not 0 argument(s)"},
      {{"save", "0", "a", "b"}, "save takes TYPE [NAME], not 3 argument(s)"},
      {{"preview", "now"}, "preview takes no arguments, not 1 argument(s)"},
      {{"preview", "--ReportFile"}, "option --ReportFile needs a value"},
      {{"--=1", "preview"}, "option '--=1' has no name"},
      {{"--time-limit", "0", "preview"}, "--time-limit takes a number of seconds above 0, not '0'"},
      {{"--time-limit=-3", "preview"}, "--time-limit takes a number of seconds above 0, not '-3'"},
      {{"--time-limit=10s", "preview"},
       "--time-limit takes a number of seconds above 0, not '10s'"},
      {{"--time-limit=", "preview"}, "--time-limit takes a number of seconds above 0, not ''"},
      {{"--time-limit=1e10", "preview"},
       "--time-limit takes a number of seconds above 0, not '1e10'"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    try {
      parse_command_line(args);
      ADD_FAILURE() << "accepted";
    } catch (const UsageError& e) {
      EXPECT_STREQ(e.what(), message);
    }
  }
}

TEST(CommandLineTest, HelpNeedsNothingElseAndListsEveryPropertyAndCommand) {
  EXPECT_TRUE(parse_command_line({"--help"}).help);
  EXPECT_TRUE(parse_command_line({"save", "-h"}).help);  // even where the line is incomplete

  const std::string text = help_text();
  for (const DispMember& member : viewer_members()) {
    if (member.kind != MemberKind::Property) continue;
    EXPECT_NE(text.find("\n  " + std::string(member.name) + " "), std::string::npos) << member.name;
  }
  for (const HostCommand& entry : host_commands()) {
    EXPECT_NE(text.find("\n  " + std::string(entry.word)), std::string::npos) << entry.word;
    EXPECT_NE(find_member(entry.method), nullptr) << entry.method;  // a real method
  }
  EXPECT_NE(text.find("--host-page URL"), std::string::npos);
  EXPECT_NE(text.find("--time-limit SECONDS"), std::string::npos);
}

}  // namespace
}  // namespace zr::host
