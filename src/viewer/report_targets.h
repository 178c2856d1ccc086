#pragma once
// The report as the targets of the control's Params, ImageFile and GridMeta lists: its data
// dictionary's variables, the picture views of every form page, and the grid views by name.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/model/picture_view.h"
#include "engine/report/report.h"
#include "viewer/property_lists.h"

namespace zr {

// Params sets the dictionary's variables (the value as a string).
class DictionaryVariables : public VariableTarget {
 public:
  explicit DictionaryVariables(TvtReport& report) : report_(report) {}
  bool variable_exists(const std::string& name) const override;
  void set_variable(const std::string& name, const std::string& value) override;

 private:
  TvtReport& report_;
};

// The picture views of all form pages, in page and object order.
class FormPictureViews : public PictureViewTarget {
 public:
  explicit FormPictureViews(TvtReport& report);
  size_t picture_view_count() const override { return views_.size(); }
  std::string picture_view_name(size_t index) const override { return views_[index]->Name; }
  void load_picture(size_t index, const std::filesystem::path& path) override;

 private:
  std::vector<TvtPictureView*> views_;
};

// The grid views of the form pages whose name, upper-cased, equals `section_name` (grid
// objects are add-ins of class "TGridView").
std::vector<TvtView*> grid_views_named(TvtReport& report, const std::string& section_name);

}  // namespace zr
