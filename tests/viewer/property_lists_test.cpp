#include "viewer/property_lists.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "platform/codepage.h"

namespace zr {
namespace {

namespace fs = std::filesystem;

// A dictionary with a fixed set of variables that records every assignment.
class Dictionary : public VariableTarget {
 public:
  explicit Dictionary(std::vector<std::string> names) : names_(std::move(names)) {}
  bool variable_exists(const std::string& name) const override {
    return std::any_of(names_.begin(), names_.end(),
                       [&](const std::string& known) { return same_text_ascii(known, name); });
  }
  void set_variable(const std::string& name, const std::string& value) override {
    values[upper_ascii(name)] = value;
    ++assignments;
  }
  std::map<std::string, std::string> values;
  int assignments = 0;

 private:
  std::vector<std::string> names_;
};

class Pictures : public PictureViewTarget {
 public:
  explicit Pictures(std::vector<std::string> names) : names_(std::move(names)) {}
  size_t picture_view_count() const override { return names_.size(); }
  std::string picture_view_name(size_t index) const override { return names_.at(index); }
  void load_picture(size_t index, const fs::path& path) override {
    loaded.emplace_back(names_.at(index), path.string());
  }
  std::vector<std::pair<std::string, std::string>> loaded;

 private:
  std::vector<std::string> names_;
};

TEST(PropertyListsTest, ParamsSetKnownVariablesOnly) {
  Dictionary dictionary({"A", "B", "C"});
  apply_params("A=1|B=x y|C=2|Other=9", dictionary);
  EXPECT_EQ(dictionary.values,
            (std::map<std::string, std::string>{{"A", "1"}, {"B", "x y"}, {"C", "2"}}));
}

TEST(PropertyListsTest, ParamsRepeatedNameKeepsTheFirstValue) {
  Dictionary dictionary({"A", "B"});
  apply_params("A=1 | b=2|a=3|B=4", dictionary);
  EXPECT_EQ(dictionary.values, (std::map<std::string, std::string>{{"A", "1"}, {"B", "2"}}));
  EXPECT_EQ(dictionary.assignments, 4);
}

TEST(PropertyListsTest, ImageFileLoadsExistingFilesOfNamedViews) {
  auto dir = fs::temp_directory_path() / ("zr_img_" + std::to_string(getpid()));
  fs::create_directories(dir / "folder");
  const std::string logo = (dir / "logo.bmp").string();
  const std::string sign = (dir / "sign.bmp").string();
  std::ofstream(logo) << "x";
  std::ofstream(sign) << "x";

  Pictures pictures({"Logo", "Sign", "Photo", "Folder", "Other", "logo"});
  apply_image_files("LOGO=" + logo + "|logo=" + sign + "|Sign=" + sign +
                        "|Photo=" + (dir / "missing.bmp").string() +
                        "|Folder=" + (dir / "folder").string() + "|Other=",
                    pictures);
  using Pair = std::pair<std::string, std::string>;
  EXPECT_EQ(pictures.loaded, (std::vector<Pair>{{"Logo", logo}, {"Sign", sign}, {"logo", logo}}));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace zr
