#pragma once
// Data fields as reports name them: "dataset.field" references resolved to a client dataset
// and a field name, and field values as the engine shows and computes with them.

#include <string>
#include <string_view>

#include "engine/run/component_directory.h"
#include "platform/value.h"

namespace zr {

class ClientDataset;

// Resolves a field reference such as Orders.Amount. `dataset` comes in as the current band's
// data set (or null) and goes out as the data set the text names (null when it names none
// that is a client dataset). The text is cut at each "." up to the first double quote, whose
// rest (at most 255 characters) ends the last part; a trailing "." adds no empty part. By the
// number of cuts: 0, a field of the incoming data set; 1, a component of the report's owner;
// 2 or 3, a path from a top-level container (TvtComponentDirectory::FindPath); more, nothing.
// A field name of more than two characters in double quotes loses them. The result is the
// field name as written when the data set has such a field (ignoring case), else "".
// Raises ZorelError "Missing <name>" only when a one-cut path has no owner to look in.
std::string FindDatasetField(std::string_view text, ClientDataset*& dataset,
                             const TvtComponentDirectory& components);

// The field's value for display and computing. The data set is opened when closed (its
// errors propagate); an unknown field raises ZorelError. Dates come as date-times, large
// integers as their display text; null becomes 0 for ftSmallint, ftInteger, ftWord, ftFloat
// and ftCurrency, "" for ftString and false for ftBoolean, and stays null for other types.
Value GetFieldValue(ClientDataset& dataset, std::string_view field_name);

// True for a field of a binary-object kind; false for no data set or no such field.
bool IsBlobField(const ClientDataset* dataset, std::string_view field_name);

}  // namespace zr
