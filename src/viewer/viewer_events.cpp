#include "viewer/viewer_events.h"

#include "platform/codepage.h"

namespace zr {

std::string_view viewer_event_name(ViewerEvent event) {
  switch (event) {
    case ViewerEvent::OnActivate:
      return "OnActivate";
    case ViewerEvent::OnClick:
      return "OnClick";
    case ViewerEvent::OnCreate:
      return "OnCreate";
    case ViewerEvent::OnDblClick:
      return "OnDblClick";
    case ViewerEvent::OnDestroy:
      return "OnDestroy";
    case ViewerEvent::OnDeactivate:
      return "OnDeactivate";
    case ViewerEvent::OnKeyPress:
      return "OnKeyPress";
    case ViewerEvent::OnPaint:
      return "OnPaint";
  }
  return "";
}

std::optional<ViewerEvent> viewer_event_by_name(std::string_view name) {
  for (ViewerEvent event : kViewerEvents)
    if (same_text_ascii(name, viewer_event_name(event))) return event;
  return std::nullopt;
}

}  // namespace zr
