// Feeds one input to every reader of the control's text formats: the section cutter (data
// page, DataMeta, GridMeta), the Params/ImageFile list and the relation records. Expected
// errors are ZorelError; anything else, a hang, or a file outside the work folder is a find.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/errors.h"
#include "platform/text_lines.h"
#include "viewer/component_names.h"
#include "viewer/delimited_list.h"
#include "viewer/property_lists.h"
#include "viewer/relation_record.h"
#include "viewer/section_cutter.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kStamp = "123456";

// One work folder per process, removed at exit. Held by a pointer that is never freed, so it
// is still alive when the exit handler runs.
const fs::path* g_root = nullptr;

void remove_work_root() {
  fs::remove_all(*g_root);
}

const fs::path& work_root() {
  if (!g_root) {
    std::string pattern = (fs::temp_directory_path() / "zr_fuzz_page_XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    g_root = new fs::path(pattern);
    std::atexit(remove_work_root);
  }
  return *g_root;
}

// Every file the cutter left must sit directly in the folder and be named stamp + valid name;
// then the folder is emptied for the next input.
void check_and_clean(const fs::path& root) {
  for (const auto& entry : fs::directory_iterator(root)) {
    std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || name.rfind(kStamp, 0) != 0 ||
        !zr::is_valid_component_name(std::string_view(name).substr(6)))
      std::abort();
    fs::remove(entry.path());
  }
}

class Variables : public zr::VariableTarget {
 public:
  bool variable_exists(const std::string& name) const override { return name.size() % 2 == 0; }
  void set_variable(const std::string&, const std::string&) override {}
};

class Pictures : public zr::PictureViewTarget {
 public:
  size_t picture_view_count() const override { return 2; }
  std::string picture_view_name(size_t index) const override { return index ? "B" : "A"; }
  void load_picture(size_t, const fs::path&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const fs::path& root = work_root();
  try {
    zr::SectionCutter cutter(zr::WorkFolder(root), kStamp);
    cutter.cut_data_page(text);
    cutter.cut_data_meta(text);
  } catch (const zr::ZorelError&) {
  }
  check_and_clean(root);

  size_t grid_bytes = 0;
  zr::SectionCutter::cut_grid_meta(
      text, [&](const std::string&, const std::string& grid) { grid_bytes += grid.size(); });

  zr::DelimitedList list = zr::DelimitedList::parse(text);
  for (const zr::ListItem& item : list.items())
    if (!list.find(item.name)) std::abort();  // every listed name must be found again
  Variables variables;
  zr::apply_params(text, variables);
  Pictures pictures;
  zr::apply_image_files(text, pictures);

  for (const std::string& line : zr::split_lines(text)) {
    auto record = zr::parse_relation(line);
    if (record && zr::split_relation_fields(line).size() < 5) std::abort();
  }
  return 0;
}
