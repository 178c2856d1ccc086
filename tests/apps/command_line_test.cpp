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
  for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"help"}, Args{"HELP"},
                           Args{"save", "-h"},  // even where the line is incomplete
                           Args{"--ReportFile", "r.zrf", "save", "--help"}})
    EXPECT_TRUE(parse_command_line(args).help) << ::testing::PrintToString(args);
  // After "--" nothing is an option, help neither.
  EXPECT_FALSE(parse_command_line({"--", "save", "0", "--help"}).help);

  const std::string text = help_text();
  for (const DispMember& member : viewer_members()) {
    if (member.kind != MemberKind::Property) continue;
    const std::string name(member.name);
    EXPECT_TRUE(text.find("\n  " + name + " ") != std::string::npos ||
                text.find("\n  --" + name + " ") != std::string::npos)
        << member.name;
  }
  // The properties a command line needs come first, with unit and default, then the rest
  // under their own heading, then the examples.
  const size_t needed = text.find("\nProperties for a command line");
  const size_t others = text.find("\nOther properties of the control");
  const size_t examples = text.find("\nExamples:");
  ASSERT_NE(needed, std::string::npos);
  ASSERT_NE(others, std::string::npos);
  ASSERT_NE(examples, std::string::npos);
  EXPECT_LT(needed, others);
  EXPECT_LT(others, examples);
  for (const char* name : {"ReportFile", "dataFile", "Params", "DataMeta", "GridMeta", "ImageFile",
                           "TimeOut", "publ", "Acl", "Progress", "History", "InHtml"}) {
    const size_t at = text.find("\n  --" + std::string(name) + " ");
    EXPECT_TRUE(at > needed && at < others) << name;
  }
  EXPECT_EQ(text.find("\n  ReportFile "), std::string::npos);  // not listed twice
  EXPECT_NE(text.find("ticks of 100 ms"), std::string::npos);
  EXPECT_NE(text.find("--Params \"Title='"), std::string::npos);
  EXPECT_NE(text.find("Default: 0"), std::string::npos);
  for (size_t from = 0, end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
    EXPECT_LE(end - from, 80u + 20u) << text.substr(from, end - from);  // Hangul is 3 bytes
  for (const HostCommand& entry : host_commands()) {
    EXPECT_NE(text.find("\n  " + std::string(entry.word)), std::string::npos) << entry.word;
    EXPECT_NE(find_member(entry.method), nullptr) << entry.method;  // a real method
  }
  EXPECT_NE(text.find("--host-page URL"), std::string::npos);
  EXPECT_NE(text.find("--time-limit SECONDS"), std::string::npos);
}

}  // namespace
}  // namespace zr::host
