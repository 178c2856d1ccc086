#pragma once
// Names of the components on the control's form, and the rule a section name must follow.
// A section N becomes the run-time components N, "dataset" + N and "DS" + N, found again by
// name (compared case-insensitively), and N also names a work file. So a section name must be
// a plain identifier and must not be the name of a component already on the form: the load
// would otherwise take that component for the section's client dataset.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zr {

// The components placed on the control's form, in one place for the control and the checks.
// clang-format off
inline constexpr std::array<std::string_view, 30> kFormComponentNames = {
    "Report", "Previews", "http", "map", "Panel1", "Panel2", "Label1", "ProcMenu",
    "expPdf", "expHtml", "expRtf", "expJpg", "expGif", "expBmp", "expEmf", "expWmf", "expText",
    "expCsv", "expXlsx", "ZoomBtn", "lblZoom", "LoadBtn", "SaveBtn", "PrintBtn", "ExitBtn",
    "Image1", "Image2", "Image3", "Image4", "vtAddFunctionLibrary1"};
// clang-format on

// Longest section name accepted: it is part of a file name, which the file system limits.
inline constexpr size_t kMaxSectionNameLength = 200;

// Letters a-z/A-Z, digits and underscores, not starting with a digit, not empty.
bool is_valid_component_name(std::string_view name);

// True when `name` equals, ignoring the case of a-z, one of kFormComponentNames.
bool is_form_component_name(std::string_view name);

// Raises ZorelError (kind Argument) naming the section when `name` is not a valid component
// name, is longer than kMaxSectionNameLength or is the name of a form component.
void check_section_name(std::string_view name);

// Raises ZorelError (kind Argument) when two names of one load would give clashing run-time
// components: a name equal to "DS" or "dataset" followed by another name of the list.
void check_section_names_apart(const std::vector<std::string>& names);

}  // namespace zr
