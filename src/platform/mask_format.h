#pragma once
// Text laid out through an edit mask (the classic FormatMaskText), as FORMATTEXT does.
//
// A mask is the mask text, optionally followed by ";" and the save-literals flag ("0" means
// the text holds only the characters for the placeholders) and by ";" and the blank
// character (default "_"); the engine passes mask + ";0; ". In the mask text:
//   L l A a C c 0 9 #   placeholders (letter, alphanumeric, any character, digit, digit or
//                       sign; upper case required, lower case optional). They are filled
//                       in order and not validated;
//   > <  and  <>        the following placeholders take upper case, lower case, as given;
//   !                   fill from the right: missing characters leave blanks at the start;
//   \x                  the character x as a literal;
//   : /                 fs.time_separator and fs.date_separator;
//   _                   a blank;
//   anything else       a literal.
// Placeholders without a character get the blank character. Characters of the text beyond
// the last placeholder are kept (after the mask, or before it when filling from the right),
// so no text is lost. With save-literals set, literals already present in the text at their
// place are taken as the mask's own. A double-byte character of code page 949 is one
// character on both sides. Never throws.

#include <string>
#include <string_view>

#include "platform/format_settings.h"

namespace zr {

std::string format_mask_text(std::string_view mask, std::string_view text,
                             const FormatSettings& fs = FormatSettings::defaults());

}  // namespace zr
