#pragma once
// Finding text in the shown pages. The search looks at what a page really draws: the page is
// recorded into a metafile at its paper size and every text-output record is compared with
// the text, so a text the page draws in two records (two lines, two objects) is not found as
// one phrase.

#include <string>

#include "platform/canvas/geometry.h"

namespace zr {

class TvtPreviewModel;

class TvtPreviewSearch {
 public:
  // Stored upper-cased unless the search is case sensitive.
  std::string SearchText;
  bool SearchCaseSensitive = false;
  int SearchPage = 0;    // 0-based page where the next search starts
  int SearchRecord = 0;  // records of SearchPage to pass over before a match counts
  bool Found = false;
  Rect FoundRect;  // the matching text record's bounds, page pixels

  // The find dialog accepted: the text, the case option and the origin (first page, or the
  // current page where a search on it goes on where it stopped).
  void Accept(const TvtPreviewModel& model, const std::string& text, bool case_sensitive,
              bool from_first_page);
  // F3 and "current page": go on where the last search stopped when the current page is
  // still the one it stopped on, else start at the top of the current page.
  void ContinueFromCurrentPage(const TvtPreviewModel& model);
  // Searches from SearchPage/SearchRecord on; on a match makes its page current and scrolls
  // it into view. Nothing changes in view when the text is not found.
  void FindNext(TvtPreviewModel& model);
};

}  // namespace zr
