#include "viewer/notice.h"

namespace zr {

void ShowNotice(UiServices& ui, const std::string& text) {
  ui.show_message(text, kNoticeCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace zr
