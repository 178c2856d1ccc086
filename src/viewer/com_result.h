#pragma once
// The COM error convention as a result value. Members of the control run inside com_call:
// an exception that escapes a member body becomes a failure code plus an error description,
// exactly where a COM server would have returned an HRESULT and set an error-information
// object. Everything else in the system raises exceptions.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/value.h"
#include "viewer/host_window.h"

namespace zr {

// HRESULT values (the failure codes are negative as int32_t).
inline constexpr int32_t S_OK = 0;
inline constexpr int32_t S_FALSE = 1;
inline constexpr int32_t E_NOTIMPL = static_cast<int32_t>(0x80004001);
inline constexpr int32_t E_NOINTERFACE = static_cast<int32_t>(0x80004002);
inline constexpr int32_t E_POINTER = static_cast<int32_t>(0x80004003);
inline constexpr int32_t E_FAIL = static_cast<int32_t>(0x80004005);
inline constexpr int32_t E_UNEXPECTED = static_cast<int32_t>(0x8000FFFF);
inline constexpr int32_t E_INVALIDARG = static_cast<int32_t>(0x80070057);
inline constexpr int32_t DISP_E_MEMBERNOTFOUND = static_cast<int32_t>(0x80020003);
inline constexpr int32_t DISP_E_TYPEMISMATCH = static_cast<int32_t>(0x80020005);
inline constexpr int32_t DISP_E_UNKNOWNNAME = static_cast<int32_t>(0x80020006);
inline constexpr int32_t DISP_E_OVERFLOW = static_cast<int32_t>(0x8002000A);
inline constexpr int32_t DISP_E_BADPARAMCOUNT = static_cast<int32_t>(0x8002000E);

// The symbolic name of a code ("E_NOINTERFACE"), or its hexadecimal form ("0x80040154").
std::string hresult_name(int32_t code);

// The interface named in the error information of every failure the control reports.
inline constexpr const char* kViewerInterfaceName = "IzrViewer";

struct ComResult {
  int32_t code = S_OK;
  // On failure: the error's message. com_call leaves its bytes as they were raised (ANSI);
  // the dispatch table hands it out as UTF-8.
  std::string description;
  std::string interface_name;          // kViewerInterfaceName on failure, empty on success
  Value value;                         // a property's value after a successful get
  std::shared_ptr<HostObject> object;  // an interface-typed property's value (`Window`)

  bool ok() const { return code >= 0; }
};

// A failure result with `code` and `description`.
ComResult com_failure(int32_t code, std::string description);

// Runs `body`, which may fill the result's value or object, and converts an escaping
// exception by the convention: a SystemError with a negative code keeps its code, anything
// else becomes E_UNEXPECTED; the description is the exception's message. Never throws.
ComResult com_call(const std::function<void(ComResult&)>& body);

}  // namespace zr
