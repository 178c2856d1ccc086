#pragma once
// The section cutting of one load: the data page and DataMeta are cut into data sections,
// each written to the work file root/(TimeStamp + name) with a CR LF after every line, and
// the load's list of section names is kept for the dataset step; GridMeta sections are handed
// to a callback and never touch the disk.
//
// Section names come from the server and name files, so every name of a text is checked
// (check_section_name, check_section_names_apart) before any file of that text is written:
// a bad name raises ZorelError and leaves the work folder as it was. Not thread-safe; one
// cutter per load.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/work_folder.h"

namespace zr {

// Most section names one load keeps (repeats included); more raise FormatError.
inline constexpr size_t kMaxSectionsPerLoad = 1000;

// Largest data page read_data_page_file accepts.
inline constexpr std::uintmax_t kMaxDataPageBytes = 256u << 20;

class SectionCutter {
 public:
  using GridSectionHandler = std::function<void(const std::string& name, const std::string& text)>;

  // `time_stamp` is the load's "hhmmss" and must be digits only (ZorelError, kind Argument,
  // otherwise), so that it can only name files inside the folder.
  SectionCutter(WorkFolder folder, std::string time_stamp);

  // Data page: every section is written and its name appended, also when it is already in
  // the list (the later file replaces the earlier one). Creates the work folder when missing.
  // Raises ZorelError for a bad name, FormatError past kMaxSectionsPerLoad, IoError when a
  // file cannot be written.
  void cut_data_page(std::string_view text);

  // DataMeta: as cut_data_page, but a name already in the list (ignoring case) is not added
  // again; its file replaces the data page's section of that name.
  void cut_data_meta(std::string_view text);

  // GridMeta: calls `on_section(name, text)` for every grid section in order; `text` is its
  // lines each followed by CR LF. Names are not checked (they only select grid views); "M"
  // and "D" stay as written. Exceptions of the callback propagate.
  static void cut_grid_meta(std::string_view text, const GridSectionHandler& on_section);

  // The names of this load's data sections, in the order their files were written.
  const std::vector<std::string>& section_names() const { return names_; }

  // root/(TimeStamp + name): where the section `name` is written.
  std::filesystem::path section_file(std::string_view name) const;
  // root/TimeStamp: where the data page itself is saved.
  std::filesystem::path page_file() const;

 private:
  void cut(std::string_view text, bool add_known_names);

  WorkFolder folder_;
  std::string time_stamp_;
  std::vector<std::string> names_;
};

// Reads a saved data page as raw bytes. Raises IoError when it cannot be read and FormatError
// when it is larger than kMaxDataPageBytes.
std::string read_data_page_file(const std::filesystem::path& path);

}  // namespace zr
