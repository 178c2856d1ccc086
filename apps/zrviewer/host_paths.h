#pragma once
// What a command line means by a file: zrviewer is the host, so it settles local paths before
// the control sees them. The control's own rules (addresses only; a relative ImageName lands
// in the work folder) stay as they are for other hosts.

#include <filesystem>
#include <string>

namespace zr::host {

// A ReportFile or dataFile value as an address: text with "://" (and the empty text) as it
// is, a plain path as the file:// address of its absolute path (percent-encoded, UTF-8). An
// empty `cwd` (the folder is gone) leaves a relative path as it is.
std::string address_for(const std::string& value, const std::filesystem::path& cwd);

// A save or mail NAME: empty and absolute names as they are, a relative one inside `cwd`.
std::string output_name_for(const std::string& name, const std::filesystem::path& cwd);

}  // namespace zr::host
