#include "viewer/section_cutter.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/codepage.h"
#include "platform/errors.h"
#include "viewer/component_names.h"
#include "viewer/section_grammar.h"

namespace zr {
namespace {

bool contains_name(const std::vector<std::string>& names, std::string_view name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& known) { return same_text_ascii(known, name); });
}

void write_file(const std::filesystem::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) throw IoError("Cannot write the section file " + path.string());
}

}  // namespace

SectionCutter::SectionCutter(WorkFolder folder, std::string time_stamp)
    : folder_(std::move(folder)), time_stamp_(std::move(time_stamp)) {
  bool digits = !time_stamp_.empty() && std::all_of(time_stamp_.begin(), time_stamp_.end(),
                                                    [](char c) { return c >= '0' && c <= '9'; });
  if (!digits)
    throw ZorelError("Invalid time stamp \"" + time_stamp_ + "\": digits expected",
                     ErrorKind::Argument);
}

void SectionCutter::cut_data_page(std::string_view text) {
  cut(text, true);
}

void SectionCutter::cut_data_meta(std::string_view text) {
  cut(text, false);
}

void SectionCutter::cut(std::string_view text, bool add_known_names) {
  std::vector<Section> sections = cut_sections(text, SectionKind::Data);
  if (sections.empty()) return;

  // Every name of the text is checked before the first file is written.
  std::vector<std::string> names = names_;
  for (const Section& section : sections) {
    check_section_name(section.name);
    if (add_known_names || !contains_name(names, section.name)) names.push_back(section.name);
  }
  if (names.size() > kMaxSectionsPerLoad)
    throw FormatError("more than " + std::to_string(kMaxSectionsPerLoad) + " data sections",
                      "<data page>");
  check_section_names_apart(names);

  folder_.ensure_exists();
  for (const Section& section : sections)
    write_file(section_file(section.name), join_section_lines(section.lines));
  names_ = std::move(names);
}

void SectionCutter::cut_grid_meta(std::string_view text, const GridSectionHandler& on_section) {
  for (const Section& section : cut_sections(text, SectionKind::Grid))
    on_section(section.name, join_section_lines(section.lines));
}

std::filesystem::path SectionCutter::section_file(std::string_view name) const {
  return folder_.root() / (time_stamp_ + std::string(name));
}

std::filesystem::path SectionCutter::page_file() const {
  return folder_.root() / time_stamp_;
}

std::string read_data_page_file(const std::filesystem::path& path) {
  std::error_code ec;
  std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) throw IoError("Cannot read the data page " + path.string() + ": " + ec.message());
  if (size > kMaxDataPageBytes)
    throw FormatError(
        "the data page is larger than " + std::to_string(kMaxDataPageBytes) + " bytes",
        path.string());
  std::ifstream in(path, std::ios::binary);
  if (!in) throw IoError("Cannot open the data page " + path.string());
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw IoError("Cannot read the data page " + path.string());
  return text;
}

}  // namespace zr
