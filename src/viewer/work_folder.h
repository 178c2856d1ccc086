#pragma once
// The control's work folder: where a load keeps the data page and its section files while it
// runs, where exports land, and (in History/) the local history. It is $ZOREL_HOME when that
// is set, else ~/Zorel.

#include <filesystem>

namespace zr {

class WorkFolder {
 public:
  // The folder named by the environment ($ZOREL_HOME, else $HOME/Zorel).
  static WorkFolder from_environment();
  explicit WorkFolder(std::filesystem::path root) : root_(std::move(root)) {}

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path history() const { return root_ / "History"; }

  // Creates the folder when it is missing; raises IoError when that fails.
  void ensure_exists() const;

 private:
  std::filesystem::path root_;
};

}  // namespace zr
