#pragma once
// Owning handles for the fontconfig objects the resolver uses; each frees its object with the
// matching fontconfig call.

#include <fontconfig/fontconfig.h>

#include <memory>

namespace zr {

struct FcConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct FcPatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FcFontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct FcCharSetDeleter {
  void operator()(FcCharSet* set) const { FcCharSetDestroy(set); }
};

using FcConfigHandle = std::unique_ptr<FcConfig, FcConfigDeleter>;
using FcPatternHandle = std::unique_ptr<FcPattern, FcPatternDeleter>;
using FcFontSetHandle = std::unique_ptr<FcFontSet, FcFontSetDeleter>;
using FcCharSetHandle = std::unique_ptr<FcCharSet, FcCharSetDeleter>;

}  // namespace zr
