#pragma once
// The object bookkeeping both metafile writers share. GDI metafiles create pens, brushes and
// fonts into numbered slots, select them, and must delete them once unused; a saved state
// still refers to the objects it had selected, so those live until it is restored.

#include <array>
#include <vector>

namespace zr {

enum class GdiObjectKind { Pen = 0, Brush = 1, Font = 2 };

class ObjectTable {
 public:
  static constexpr int kStock = -1;  // a stock object: never created, never deleted

  // `first_slot` is the lowest slot objects go to (1 in EMF, where 0 is the file itself).
  explicit ObjectTable(int first_slot) : first_(first_slot) { current_.fill(kStock); }

  // The lowest free slot, now taken.
  int create();
  // The slot selected for `kind` becomes `slot`; returns the slot to delete, or kStock.
  int select(GdiObjectKind kind, int slot);
  void save() { saved_.push_back(current_); }
  // Whether there was a save to restore; fills `to_delete` with slots freed by the restore.
  bool restore(std::vector<int>& to_delete);
  // Slots needed at most at one time: the count metafile headers declare.
  int slots_needed() const { return static_cast<int>(used_.size()) + first_; }

 private:
  bool referenced(int slot) const;
  void release(int slot) { used_[slot - first_] = false; }

  int first_;
  std::vector<bool> used_;
  std::array<int, 3> current_;
  std::vector<std::array<int, 3>> saved_;
};

}  // namespace zr
