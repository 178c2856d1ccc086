#pragma once
// The one routine through which the control shows its messages to the user.

#include <string>

#include "platform/ui_services.h"

namespace zr {

// "안내" in code page 949.
inline constexpr const char* kNoticeCaption = "\xBE\xC8\xB3\xBB";

// A modal message box with `text` (ANSI), the caption "안내", an OK button and the
// information icon; returns when the user has closed it.
void ShowNotice(UiServices& ui, const std::string& text);

}  // namespace zr
