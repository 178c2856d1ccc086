#pragma once
// Applying the Params and ImageFile lists (see delimited_list.h for their syntax) to the
// report. The targets are small interfaces so that the data dictionary and the form's
// picture views can take them without this code knowing either.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace zr {

// What Params sets: the report's data dictionary.
class VariableTarget {
 public:
  virtual ~VariableTarget() = default;
  virtual bool variable_exists(const std::string& name) const = 0;
  virtual void set_variable(const std::string& name, const std::string& value) = 0;
};

// The picture views of every page of the report form, addressed by index (several views may
// share a name).
class PictureViewTarget {
 public:
  virtual ~PictureViewTarget() = default;
  virtual size_t picture_view_count() const = 0;
  virtual std::string picture_view_name(size_t index) const = 0;
  // Errors of the picture reader propagate.
  virtual void load_picture(size_t index, const std::filesystem::path& path) = 0;
};

// For every item, in order, whose name `variable_exists`: sets that variable, as a string, to
// the value of the name's FIRST occurrence in the list (names compare case-insensitively), so
// "A=1|A=2" sets A to "1". Empty names and unknown names are skipped.
void apply_params(std::string_view params, VariableTarget& target);

// For every picture view: the value listed under its name (first occurrence, ignoring case)
// is a file path; when it is not empty and names an existing regular file, the view loads
// its picture from it. Views not listed, empty values and missing files are skipped silently.
// The path bytes are used as given (ANSI text is not converted); a path holding a NUL byte
// names no file.
void apply_image_files(std::string_view image_files, PictureViewTarget& target);

}  // namespace zr
