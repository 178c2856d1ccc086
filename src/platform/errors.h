#pragma once
// The one exception hierarchy of the system. Every error carries a kind and a message;
// readers of outside input add where it happened (file and byte offset or record).
// Errors become result codes only at the control's edge and exit codes only in the tools.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace zr {

enum class ErrorKind {
  General,     // anything without a more specific kind
  Conversion,  // a text that is not a number, date or time where one is needed
  Format,      // malformed outside input (form, data packet, prepared report, metafile ...)
  Io,          // a file that cannot be opened, read or written
  Argument,    // a caller passed something the callee cannot accept
  System,      // a failure with a COM/OLE system error code (HRESULT)
};

class ZorelError : public std::runtime_error {
 public:
  explicit ZorelError(const std::string& message, ErrorKind kind = ErrorKind::General)
      : std::runtime_error(message), kind_(kind) {}
  ErrorKind kind() const { return kind_; }

 private:
  ErrorKind kind_;
};

// The platform's conversion error: raised when a text cannot be read as the number, date or
// time that is asked for. Scripts and report functions let it propagate.
class ConversionError : public ZorelError {
 public:
  explicit ConversionError(const std::string& message)
      : ZorelError(message, ErrorKind::Conversion) {}
};

// Malformed outside input. `where` names the file (or "<memory>") and `offset` the byte
// position when known; `line` is 1-based when the reader can tell it.
class FormatError : public ZorelError {
 public:
  FormatError(const std::string& what, std::string where = {}, std::optional<int64_t> offset = {},
              std::optional<int64_t> line = {})
      : ZorelError(compose(what, where, offset, line), ErrorKind::Format),
        where_(std::move(where)),
        offset_(offset),
        line_(line) {}
  const std::string& where() const { return where_; }
  std::optional<int64_t> offset() const { return offset_; }
  std::optional<int64_t> line() const { return line_; }

 private:
  static std::string compose(const std::string& what, const std::string& where,
                             std::optional<int64_t> offset, std::optional<int64_t> line) {
    std::string text = where.empty() ? std::string() : where + ": ";
    if (line) text += "line " + std::to_string(*line) + ": ";
    if (offset && !line) text += "offset " + std::to_string(*offset) + ": ";
    return text + what;
  }
  std::string where_;
  std::optional<int64_t> offset_;
  std::optional<int64_t> line_;
};

class IoError : public ZorelError {
 public:
  explicit IoError(const std::string& message) : ZorelError(message, ErrorKind::Io) {}
};

// A failure that carries a system (HRESULT) code, such as an interface query that fails.
class SystemError : public ZorelError {
 public:
  SystemError(int32_t code, const std::string& message)
      : ZorelError(message, ErrorKind::System), code_(code) {}
  int32_t code() const { return code_; }

 private:
  int32_t code_;
};

}  // namespace zr
