#include "viewer/section_cutter.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "platform/errors.h"
#include "viewer/component_names.h"

namespace zr {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Every file below `dir`, relative to it, sorted.
Names tree(const fs::path& dir) {
  Names names;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    names.push_back(fs::relative(entry.path(), dir).string());
  std::sort(names.begin(), names.end());
  return names;
}

// The work folder lies inside an otherwise empty parent, so that a file written anywhere near
// it shows.
class SectionCutterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = fs::temp_directory_path() / ("zr_cut_" + std::to_string(getpid()));
    fs::remove_all(parent_);
    fs::create_directories(parent_ / "a" / "b");
    work_ = parent_ / "a" / "b" / "work";
  }
  void TearDown() override { fs::remove_all(parent_); }

  fs::path parent_;
  fs::path work_;
};

TEST_F(SectionCutterTest, DataPageWritesOneCrLfFilePerSection) {
  SectionCutter cutter(WorkFolder(work_), "093015");
  cutter.cut_data_page("<PRE>\na\r\nb\rDATANAME=m\r\nc\n\nDATANAME=Orders\n</PRE>\nafter\n");
  EXPECT_EQ(cutter.section_names(), (Names{"DATAMASTER", "ORDERS"}));
  EXPECT_EQ(tree(work_), (Names{"093015DATAMASTER", "093015ORDERS"}));
  EXPECT_EQ(read_file(work_ / "093015DATAMASTER"), "a\r\nb\r\n");
  EXPECT_EQ(read_file(work_ / "093015ORDERS"), "c\r\n\r\n");
  EXPECT_EQ(cutter.section_file("ORDERS"), work_ / "093015ORDERS");
  EXPECT_EQ(cutter.page_file(), work_ / "093015");
}

TEST_F(SectionCutterTest, RepeatedPageNameIsListedTwiceAndTheLaterFileWins) {
  SectionCutter cutter(WorkFolder(work_), "120000");
  cutter.cut_data_page("1\nDATANAME=A\n2\nDATANAME=a\n");
  EXPECT_EQ(cutter.section_names(), (Names{"A", "A"}));
  EXPECT_EQ(read_file(work_ / "120000A"), "2\r\n");
}

TEST_F(SectionCutterTest, DataMetaReplacesAPageSectionWithoutListingItTwice) {
  SectionCutter cutter(WorkFolder(work_), "120000");
  cutter.cut_data_page("page\nDATANAME=M\nrows\nDATANAME=D\n");
  cutter.cut_data_meta("meta\nDATANAME=DataMaster\nextra\nDATANAME=Extra\nagain\nDATANAME=extra\n");
  EXPECT_EQ(cutter.section_names(), (Names{"DATAMASTER", "DATADETAIL", "EXTRA"}));
  EXPECT_EQ(read_file(work_ / "120000DATAMASTER"), "meta\r\n");
  EXPECT_EQ(read_file(work_ / "120000EXTRA"), "again\r\n");
  EXPECT_EQ(read_file(work_ / "120000DATADETAIL"), "rows\r\n");
}

TEST_F(SectionCutterTest, TextWithoutSectionsWritesNothing) {
  SectionCutter cutter(WorkFolder(work_), "120000");
  cutter.cut_data_page("<html>no data</html>\n");
  cutter.cut_data_meta("");
  EXPECT_TRUE(cutter.section_names().empty());
  EXPECT_FALSE(fs::exists(work_));
}

// Each page holds a good section before the bad one: all names are checked before any file is
// written, so not even the work folder appears.
TEST_F(SectionCutterTest, BadNameStopsTheCutBeforeAnyFileIsWritten) {
  const std::string bad_names[] = {"../../x",
                                   "/etc/x",
                                   "a b",
                                   "1ABC",
                                   "",
                                   "\xC7\xD1"
                                   "Ab",
                                   "Report",
                                   "expPdf",
                                   "DSGOOD",
                                   std::string(kMaxSectionNameLength + 1, 'N')};
  for (const std::string& bad : bad_names) {
    SectionCutter cutter(WorkFolder(work_), "120000");
    const std::string page = "row\nDATANAME=GOOD\nrow\nDATANAME=" + bad + "\n";
    EXPECT_THROW(cutter.cut_data_page(page), ZorelError) << bad;
    EXPECT_THROW(cutter.cut_data_meta(page), ZorelError) << bad;
    EXPECT_TRUE(cutter.section_names().empty()) << bad;
    EXPECT_EQ(tree(parent_), (Names{"a", "a/b"})) << bad;
  }
}

TEST_F(SectionCutterTest, BadDataMetaLeavesThePageSectionsAsTheyWere) {
  SectionCutter cutter(WorkFolder(work_), "120000");
  cutter.cut_data_page("p\nDATANAME=ORDERS\n");
  EXPECT_THROW(cutter.cut_data_meta("m\nDATANAME=ORDERS\nx\nDATANAME=DSORDERS\n"), ZorelError);
  EXPECT_EQ(cutter.section_names(), (Names{"ORDERS"}));
  EXPECT_EQ(tree(work_), (Names{"120000ORDERS"}));
  EXPECT_EQ(read_file(work_ / "120000ORDERS"), "p\r\n");
}

TEST_F(SectionCutterTest, TooManySectionsIsAFormatError) {
  std::string page;
  for (size_t i = 0; i <= kMaxSectionsPerLoad; ++i) page += "DATANAME=S\n";
  SectionCutter cutter(WorkFolder(work_), "120000");
  EXPECT_THROW(cutter.cut_data_page(page), FormatError);
  EXPECT_FALSE(fs::exists(work_));
}

TEST_F(SectionCutterTest, TimeStampMustBeDigits) {
  for (const char* stamp : {"", "../12", "12ab", "1/2"})
    EXPECT_THROW(SectionCutter(WorkFolder(work_), stamp), ZorelError) << stamp;
}

TEST_F(SectionCutterTest, GridMetaHandsTextsToTheCallbackAndWritesNoFile) {
  std::vector<std::pair<std::string, std::string>> got;
  SectionCutter::cut_grid_meta(
      "h1\r\n h2 \nGRIDNAME=m\n\nGridName=../x\nleft over\n",
      [&](const std::string& name, const std::string& text) { got.emplace_back(name, text); });
  using Pair = std::pair<std::string, std::string>;
  EXPECT_EQ(got, (std::vector<Pair>{{"M", "h1\r\nh2\r\n"}, {"../X", "\r\n"}}));
  EXPECT_EQ(tree(parent_), (Names{"a", "a/b"}));
}

TEST_F(SectionCutterTest, ReadsTheSavedPageAsRawBytes) {
  fs::create_directories(work_);
  const std::string bytes = "\xB0\xA1\r\nrow\rDATANAME=X\n";
  std::ofstream(work_ / "120000", std::ios::binary) << bytes;
  SectionCutter cutter(WorkFolder(work_), "120000");
  EXPECT_EQ(read_data_page_file(cutter.page_file()), bytes);
  cutter.cut_data_page(read_data_page_file(cutter.page_file()));
  EXPECT_EQ(read_file(work_ / "120000X"), "\xB0\xA1\r\nrow\r\n");
  EXPECT_THROW(read_data_page_file(work_ / "missing"), IoError);
  EXPECT_THROW(read_data_page_file(work_), IoError);
}

}  // namespace
}  // namespace zr
