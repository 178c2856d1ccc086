#pragma once
// The control's dispatch interface (`IzrViewer`): the one table of its members, the
// form-level ones and its own, with name, DISPID, kind, get/put availability and argument
// types, and invoke(), which calls a member by name or DISPID under the COM error
// convention. This is the boundary where hosts talk to the control: strings cross it as
// UTF-8 and are ANSI inside; integers may come as numbers or as numeric text (the
// command-line host passes text).

#include <concepts>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/value.h"
#include "viewer/com_result.h"
#include "viewer/host_window.h"
#include "viewer/zr_viewer.h"

namespace zr {

enum class MemberKind : uint8_t { Property, Method };
enum class DispKind : uint8_t { Get, Put, Call };

// Types at the boundary.
enum class DispType : uint8_t {
  None,
  String,  // BSTR: UTF-8 outside, ANSI inside
  Int32,
  Int16,
  Int8,  // signed
  Bool,
  Color,    // OLE colour: 0..0xFFFFFFFF, or the same bits as a negative 32-bit number
  Enum,     // 0 .. enum_count - 1
  Unknown,  // an interface: DispValue::object
  Font,     // the form's font, exchanged as its face name (String)
};

// One argument or result at the boundary: a Value, or an object for Unknown.
struct DispValue {
  Value value;
  std::shared_ptr<HostObject> object;

  DispValue() = default;
  template <typename T>
  requires std::constructible_from<Value, T> DispValue(T&& v) : value(std::forward<T>(v)) {}
  template <std::derived_from<HostObject> T>
  DispValue(std::shared_ptr<T> o) : object(std::move(o)) {}
};

using DispGetter = DispValue (*)(TzrViewer&);
using DispPutter = void (*)(TzrViewer&, const DispValue&);
using DispCaller = void (*)(TzrViewer&, std::span<const DispValue>);

struct DispMember {
  std::string_view name;
  int32_t dispid;
  MemberKind kind;
  bool form_level;  // one of the properties every active form exposes
  DispType type;    // a property's type
  int32_t enum_count = 0;
  std::span<const DispType> params = {};  // a method's arguments, in order
  DispGetter get = nullptr;               // null: cannot be read
  DispPutter put = nullptr;               // null: cannot be written
  DispCaller call = nullptr;              // methods only

  bool can_get() const { return get != nullptr; }
  bool can_put() const { return put != nullptr; }
};

// Every member in declaration order: the form-level ones, then the control's own.
std::span<const DispMember> viewer_members();
// Case-insensitive (a-z) name lookup; null when there is no such member.
const DispMember* find_member(std::string_view name);
const DispMember* find_member(int32_t dispid);

// Calls a member. Get takes no argument and returns the value in the result; Put takes the
// one new value; Call takes the method's arguments. Never throws. Failures:
//   DISP_E_MEMBERNOTFOUND  no such member, or it cannot be read, written or called that way
//   DISP_E_BADPARAMCOUNT   wrong number of arguments
//   DISP_E_TYPEMISMATCH    an argument that cannot be converted to its type
//   DISP_E_OVERFLOW        a number out of its type's range (enumerations: E_INVALIDARG)
//   otherwise              what the member raised, by the COM error convention
// The description and a string result are UTF-8.
ComResult invoke(TzrViewer& viewer, std::string_view name, DispKind kind,
                 const std::vector<DispValue>& args = {});
ComResult invoke(TzrViewer& viewer, int32_t dispid, DispKind kind,
                 const std::vector<DispValue>& args = {});
ComResult invoke(TzrViewer& viewer, const DispMember& member, DispKind kind,
                 const std::vector<DispValue>& args = {});

}  // namespace zr
