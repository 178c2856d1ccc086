#include "viewer/com_result.h"

#include <cstdio>
#include <exception>

#include "platform/errors.h"

namespace zr {

std::string hresult_name(int32_t code) {
  switch (code) {
    case S_OK:
      return "S_OK";
    case S_FALSE:
      return "S_FALSE";
    case E_NOTIMPL:
      return "E_NOTIMPL";
    case E_NOINTERFACE:
      return "E_NOINTERFACE";
    case E_POINTER:
      return "E_POINTER";
    case E_FAIL:
      return "E_FAIL";
    case E_UNEXPECTED:
      return "E_UNEXPECTED";
    case E_INVALIDARG:
      return "E_INVALIDARG";
    case DISP_E_MEMBERNOTFOUND:
      return "DISP_E_MEMBERNOTFOUND";
    case DISP_E_TYPEMISMATCH:
      return "DISP_E_TYPEMISMATCH";
    case DISP_E_UNKNOWNNAME:
      return "DISP_E_UNKNOWNNAME";
    case DISP_E_OVERFLOW:
      return "DISP_E_OVERFLOW";
    case DISP_E_BADPARAMCOUNT:
      return "DISP_E_BADPARAMCOUNT";
  }
  char hex[16];
  std::snprintf(hex, sizeof(hex), "0x%08X", static_cast<uint32_t>(code));
  return hex;
}

ComResult com_failure(int32_t code, std::string description) {
  ComResult result;
  result.code = code;
  result.description = std::move(description);
  result.interface_name = kViewerInterfaceName;
  return result;
}

ComResult com_call(const std::function<void(ComResult&)>& body) {
  try {
    ComResult result;
    body(result);
    return result;
  } catch (const SystemError& e) {
    return com_failure(e.code() < 0 ? e.code() : E_UNEXPECTED, e.what());
  } catch (const std::exception& e) {
    return com_failure(E_UNEXPECTED, e.what());
  } catch (...) {
    return com_failure(E_UNEXPECTED, "Unknown error");
  }
}

}  // namespace zr
