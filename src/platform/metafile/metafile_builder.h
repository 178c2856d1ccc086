#pragma once
// What the two metafile readers share: turning a file's state changes into records. Files
// select objects and set modes whether or not anything changes; the builder keeps the state
// as playback will have it (saved states included) and records only real changes.

#include "platform/metafile/metafile.h"

namespace zr {

class MetafileBuilder {
 public:
  MetafileBuilder(const Rect& frame, Resolution resolution) : metafile_(frame, resolution) {}

  const CanvasState& state() const { return state_; }

  void set_pen(const Pen& pen);
  void set_brush(const Brush& brush);
  void set_font(const FontSelection& font);
  void set_text_color(Color color);
  void set_bk_mode(BkMode mode);
  void set_bk_color(Color color);
  void save();
  // Restores `count` saved states, as many as there are.
  void restore(int64_t count);
  int depth() const { return static_cast<int>(saved_.size()); }

  void add(mf::Record record) { metafile_.add(std::move(record)); }
  void set_frame(const Rect& frame, Resolution resolution) {
    metafile_.set_frame(frame, resolution);
  }
  const Metafile& metafile() const { return metafile_; }
  Metafile take() { return std::move(metafile_); }

 private:
  Metafile metafile_;
  CanvasState state_;
  std::vector<CanvasState> saved_;
};

}  // namespace zr
