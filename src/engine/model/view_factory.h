#pragma once
// CreateView: the factory the form and prepared-page readers create views with.

#include <cstdint>
#include <memory>
#include <string>

#include "engine/model/view.h"
#include "platform/errors.h"

namespace zr {

// Raised for an add-in class that is not registered. The factory has already noted the
// class in TvtGlobals' missing-classes message.
class ClassNotFoundError : public ZorelError {
 public:
  explicit ClassNotFoundError(const std::string& message) : ZorelError(message) {}
};

// Type codes 0-4 create the built-in views, 10 the registered add-in `class_name` (exact
// name); a class name "TVTMEMOVIEW" (any case) always makes a memo. Codes 5-9 and above 10
// give null. Every view created takes the next ObjectId.
std::unique_ptr<TvtView> CreateView(uint8_t type, const std::string& class_name = {});

}  // namespace zr
