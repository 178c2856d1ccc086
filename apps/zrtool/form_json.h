#pragma once
// The JSON description of a report form: the report settings, the pages with their objects
// and the data dictionary, one entry per record field under the system's field names.
//
//   {"HeaderText1": " ", "HeaderText2": " ", "Relations": [...], "InterleavePages": false,
//    "PrintToDefault": false, "TwoPass": false, "PrinterName": "...",
//    "Pages": [{"Name": "Page1", "PageSize": 9, "PageWidth": 2100, ..., "Script": [...],
//               "Objects": [{"Class": "TvtMemoView", "Name": "Memo1", "Left": 10, ...,
//                            "Font": {"Name": "Arial", "Size": 10, ...}, ...}]}],
//    "Dictionary": {"VariableList": [[" Category", ""], ["Total", "[Sum]"]],
//                   "AliasList": [...], "BandSourceList": [...]}}
//
// Classes: TvtMemoView, TvtPictureView, TvtBandView, TvtSubReportView, TvtLineView. A band
// gives its type as "BandType": a number or its name ("Master data"); a picture its graphic
// as "Picture": null or {"Kind": "bitmap"|"JPEG"|"icon"|"metafile"|"GIF", "Data": BASE64}.
// Texts, numbers and errors follow json_fields.h.
//
// Both functions need the engine started (TvtGlobals): building creates views and selects
// paper through the printer layer.

#include <string>

#include "engine/report/report.h"
#include "json_fields.h"

namespace zr::tool {

// Every field of every object, in record order. Raises ZorelError for an object of a class
// that has no JSON form (add-in objects).
Json ReportToJson(TvtReport& report, int code_page);

// Fills a new, empty `report`. Absent keys keep the class defaults; objects without a name
// get a generated one once all named objects are placed. An empty Relations list becomes one
// blank line and an absent PrinterName the selected printer's name, as the file holds them. Raises
// FormatError naming the path of the first key that is unknown, of the wrong type or out of range,
// of a duplicate object name, or of a frame width the record cannot hold. `source` names the file.
void ReportFromJson(const Json& form, TvtReport& report, const std::string& source, int code_page);

}  // namespace zr::tool
