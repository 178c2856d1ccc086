#pragma once
// The navigator of the page files: the script that keeps it at the window's lower right
// corner, and the four links (first, previous, next, last) of a page.

#include <string>
#include <vector>

namespace zr {

// The script for a navigator of width x height pixels (rounded).
std::string NavigatorScript(long width, long height);

struct NavigatorLink {
  std::string title;    // "First", ...
  std::string caption;  // text link: the link text
  std::string picture;  // picture link: the picture file
};

// The links of page `index` (0-based) among `page_files` (names without folder), in the
// order first, previous, next, last: the first two lead nowhere on the first page, the last
// two nowhere on the last page.
std::string NavigatorLinks(const std::vector<std::string>& page_files, int index,
                           const NavigatorLink (&links)[4], bool text_links);

}  // namespace zr
