// Runs the built zrtool on generated packets, as a person writing reports would.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zr {
namespace {

struct ToolResult {
  int status = -1;
  std::string output;
};

ToolResult run_tool(const std::string& arguments) {
  ToolResult result;
  std::string command = std::string(ZR_TOOL_PATH) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class DataPacketToolTest : public ::testing::Test {
 protected:
  static constexpr int kRows = 5000;

  void SetUp() override {
    path_ = std::filesystem::path(::testing::TempDir()) / "zrtool_data_packet.xml";
    std::ofstream out(path_, std::ios::binary);
    out << R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>  <DATAPACKET Version="2.0">)"
           R"(<METADATA><FIELDS><FIELD attrname="ID" fieldtype="i4"/>)"
           R"(<FIELD attrname="Name" fieldtype="string" WIDTH="30"/>)"
           R"(<FIELD attrname="Amount" fieldtype="r8"/><FIELD attrname="Day" fieldtype="date"/>)"
           R"(</FIELDS><PARAMS/></METADATA><ROWDATA>)";
    for (int i = 1; i <= kRows; ++i) {
      out << "<ROW ID=\"" << i << "\" Name=\"";
      if (i == 7)
        out << "a, &quot;quoted&quot;&#013;&#010;name";
      else if (i % 2 == 0)
        out << "\xED\x99\x8D" << i;  // "홍" + number
      else
        out << "name" << i;
      out << "\" Amount=\"" << (i * 37 % 1000) << ".5\"";
      int month = i % 12 + 1;
      if (i != 3) out << " Day=\"2024" << (month < 10 ? "0" : "") << month << "01\"";
      out << "/>";
    }
    out << "</ROWDATA></DATAPACKET>";
  }
  void TearDown() override { std::filesystem::remove(path_); }

  std::filesystem::path path_;
};

TEST_F(DataPacketToolTest, PrintsFieldsThenRowsAsCsv) {
  ToolResult result = run_tool("data " + path_.string());
  ASSERT_EQ(result.status, 0) << result.output;
  std::vector<std::string> lines = lines_of(result.output);
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 6),
            (std::vector<std::string>{"ID ftInteger", "Name ftString", "Amount ftFloat",
                                      "Day ftDate", "", "ID,Name,Amount,Day"}));
  // One line per row, plus the second line of the quoted name that holds a line break.
  EXPECT_EQ(lines.size(), 6u + kRows + 1);
  EXPECT_EQ(lines[6], "1,name1,37.5,2024-02-01");
  EXPECT_EQ(lines[7],
            "2,\xED\x99\x8D"
            "2,74.5,2024-03-01");                   // CP949 back to UTF-8
  EXPECT_EQ(lines[8], "3,name3,111.5,");            // null date: empty
  EXPECT_EQ(lines[12], "7,\"a, \"\"quoted\"\"\r");  // RFC 4180 quoting
  EXPECT_EQ(lines[13], "name\",259.5,2024-08-01");
  EXPECT_EQ(lines.back(),
            "5000,\xED\x99\x8D"
            "5000,0.5,2024-09-01");
}

TEST_F(DataPacketToolTest, OrdersByAnIndex) {
  ToolResult result = run_tool("data " + path_.string() + " --index \"Amount;ID\" --desc Amount");
  ASSERT_EQ(result.status, 0) << result.output;
  std::vector<std::string> lines = lines_of(result.output);
  ASSERT_GT(lines.size(), 8u);
  // Amount 999.5 is the largest (ID 27 first: i*37 % 1000 == 999); IDs ascend within.
  EXPECT_EQ(lines[6].substr(0, lines[6].find(',')), "27");
  EXPECT_NE(lines[6].find(",999.5,"), std::string::npos);
  EXPECT_NE(lines.back().find(",0.5,"), std::string::npos);
  double previous = 1e9;
  for (size_t i = 6; i < lines.size(); ++i) {
    if (lines[i].find("quoted") != std::string::npos) continue;  // first half of a quoted name
    size_t end = lines[i].rfind(',');
    size_t start = lines[i].rfind(',', end - 1);
    double amount = std::stod(lines[i].substr(start + 1, end - start - 1));
    EXPECT_LE(amount, previous) << lines[i];
    previous = amount;
  }
}

TEST_F(DataPacketToolTest, ErrorsGoToStderrWithStatusOne) {
  ToolResult missing = run_tool("data /no/such/file.xml");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("Cannot open file /no/such/file.xml"), std::string::npos);
  ToolResult bad_field = run_tool("data " + path_.string() + " --index Nope");
  EXPECT_EQ(bad_field.status, 1);
  EXPECT_NE(bad_field.output.find("Field 'Nope' not found"), std::string::npos);
  ToolResult not_packet =
      run_tool(std::string("data ") + ZR_TEST_DATA_DIR + "/packets/no_datapacket.html");
  EXPECT_EQ(not_packet.status, 1);
  EXPECT_NE(not_packet.output.find("is not a data packet"), std::string::npos);
  EXPECT_EQ(run_tool("").status, 1);
  EXPECT_EQ(run_tool("nonsense").status, 1);
}

}  // namespace
}  // namespace zr
