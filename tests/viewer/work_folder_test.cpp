#include "viewer/work_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

#include "platform/errors.h"

namespace zr {
namespace {

TEST(WorkFolderTest, EnvironmentChoosesTheFolderAndItIsCreatedOnDemand) {
  auto dir = std::filesystem::temp_directory_path() / ("zr_wf_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  setenv("ZOREL_HOME", (dir / "w").c_str(), 1);
  WorkFolder folder = WorkFolder::from_environment();
  EXPECT_EQ(folder.root(), dir / "w");
  EXPECT_EQ(folder.history(), dir / "w" / "History");
  folder.ensure_exists();
  EXPECT_TRUE(std::filesystem::is_directory(dir / "w"));

  unsetenv("ZOREL_HOME");
  setenv("HOME", dir.c_str(), 1);
  EXPECT_EQ(WorkFolder::from_environment().root(), dir / "Zorel");

  std::filesystem::create_directories(dir);
  { std::ofstream(dir / "file") << "x"; }
  EXPECT_THROW(WorkFolder(dir / "file" / "sub").ensure_exists(), IoError);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zr
