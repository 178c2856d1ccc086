#pragma once
// The control's outgoing events (the `IzrViewerEvents` dispatch interface). A host connects
// one sink to the control; the control calls it from its form-event handlers, on the
// user-interface thread, and only while a sink is connected.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zr {

// The events and their DISPIDs.
enum class ViewerEvent : int32_t {
  OnActivate = 1,
  OnClick = 2,
  OnCreate = 3,
  OnDblClick = 5,
  OnDestroy = 6,
  OnDeactivate = 7,
  OnKeyPress = 11,
  OnPaint = 16,
};

// All eight, in DISPID order.
inline constexpr ViewerEvent kViewerEvents[] = {ViewerEvent::OnActivate, ViewerEvent::OnClick,
                                                ViewerEvent::OnCreate,   ViewerEvent::OnDblClick,
                                                ViewerEvent::OnDestroy,  ViewerEvent::OnDeactivate,
                                                ViewerEvent::OnKeyPress, ViewerEvent::OnPaint};

inline constexpr int32_t dispid_of(ViewerEvent event) {
  return static_cast<int32_t>(event);
}
std::string_view viewer_event_name(ViewerEvent event);  // "OnKeyPress"
// Case-insensitive; nullopt for a name that is not an event.
std::optional<ViewerEvent> viewer_event_by_name(std::string_view name);

class ViewerEventSink {
 public:
  virtual ~ViewerEventSink() = default;
  // One event. `key` is set only for OnKeyPress: the character code comes in and the value
  // left there when the call returns replaces the key. An exception raised here reaches the
  // code that fired the event (the form's own event handling).
  virtual void Invoke(ViewerEvent event, int16_t* key) = 0;
};

}  // namespace zr
