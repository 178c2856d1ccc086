#include "viewer/report_targets.h"

#include "platform/codepage.h"

namespace zr {

bool DictionaryVariables::variable_exists(const std::string& name) const {
  return report_.Dictionary.VariableExists(name);
}

void DictionaryVariables::set_variable(const std::string& name, const std::string& value) {
  report_.Dictionary.VariableList.SetVariable(name, Value(value));
}

FormPictureViews::FormPictureViews(TvtReport& report) {
  for (int i = 0; i < report.Pages.Count(); ++i)
    for (auto& view : report.Pages.Items(i).Objects)
      if (auto* picture = dynamic_cast<TvtPictureView*>(view.get())) views_.push_back(picture);
}

void FormPictureViews::load_picture(size_t index, const std::filesystem::path& path) {
  views_[index]->LoadFromFile(path.string());
}

std::vector<TvtView*> grid_views_named(TvtReport& report, const std::string& section_name) {
  std::vector<TvtView*> grids;
  for (int i = 0; i < report.Pages.Count(); ++i)
    for (auto& view : report.Pages.Items(i).Objects)
      if (view->ClassName() == "TGridView" && upper_ascii(view->Name) == section_name)
        grids.push_back(view.get());
  return grids;
}

}  // namespace zr
