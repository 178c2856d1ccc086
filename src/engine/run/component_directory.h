#pragma once
// Named components as reports find them: the report's owner (the viewer's form, holding the
// run-time report datasets, client datasets and data sources) and the application's other
// top-level containers (forms and data modules), each holding named components and nested
// containers. Names are matched without regard to ASCII case; an empty name matches nothing.
//
// Ownership: a container owns what it creates (Create) and destroys it with itself or on
// Remove; components it merely lists (Insert) stay with their keeper, who removes them before
// destroying them. Whenever a client dataset or data source leaves a container, every report
// dataset in the same directory (or, without a directory, the same container tree) forgets
// its references to it. Not thread-safe.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zr {

class TvtDataset;
class ClientDataset;
class DataSource;
class TvtComponentContainer;
class TvtComponentDirectory;

// One component, not owned; monostate when there is none.
using ComponentRef =
    std::variant<std::monostate, TvtDataset*, ClientDataset*, DataSource*, TvtComponentContainer*>;

// The component's own name ("" for none).
std::string ComponentName(const ComponentRef& component);

class TvtComponentContainer {
 public:
  explicit TvtComponentContainer(std::string name = {});
  ~TvtComponentContainer();
  TvtComponentContainer(const TvtComponentContainer&) = delete;
  TvtComponentContainer& operator=(const TvtComponentContainer&) = delete;

  const std::string& Name() const { return name_; }

  // Creates a component owned by this container: a report dataset class, ClientDataset,
  // DataSource or a nested TvtComponentContainer, constructed from `args` (its name first).
  template <typename T, typename... Args>
  T& Create(Args&&... args) {
    auto component = std::make_shared<T>(std::forward<Args>(args)...);
    T& result = *component;
    Add(ComponentRef(&result), std::move(component));
    return result;
  }
  // Lists a component kept alive elsewhere.
  void Insert(ComponentRef component) { Add(component, nullptr); }
  // Takes the component out (destroying it when owned); nothing when it is not here.
  void Remove(const ComponentRef& component);

  // The component of that name among this container's own components; monostate when none.
  ComponentRef Find(std::string_view name) const;
  std::vector<ComponentRef> Components() const;

 private:
  friend class TvtComponentDirectory;
  struct Entry {
    ComponentRef ref;
    std::shared_ptr<void> owned;  // null for listed components
  };

  void Add(ComponentRef ref, std::shared_ptr<void> owned);
  // Takes out the entry at `index`, announcing the components that report datasets may hold.
  void Release(size_t index);
  // Tells every report dataset of the tree below that `component` is going away.
  void Broadcast(const void* component) const;
  // Where a removal is announced: the directory, else the topmost container.
  void Announce(const ComponentRef& component) const;

  std::string name_;
  std::vector<Entry> entries_;
  TvtComponentContainer* parent_ = nullptr;
  TvtComponentDirectory* directory_ = nullptr;
};

class TvtComponentDirectory {
 public:
  TvtComponentDirectory() = default;
  ~TvtComponentDirectory();
  TvtComponentDirectory(const TvtComponentDirectory&) = delete;
  TvtComponentDirectory& operator=(const TvtComponentDirectory&) = delete;

  // A new top-level container owned by the directory.
  TvtComponentContainer& AddContainer(std::string name);
  // The top-level container of that name; null when none.
  TvtComponentContainer* FindContainer(std::string_view name) const;

  // The report's owner: one of the top-level containers, or null (the default) for a report
  // that has none.
  TvtComponentContainer* Owner() const { return owner_; }
  void SetOwner(TvtComponentContainer* owner) { owner_ = owner; }

  // Follows one to three names: the first among the owner's components (one name) or among
  // the top-level containers (two or three names), each further one inside the previous.
  // Monostate when the last name finds nothing; nullopt when the way there is broken (no
  // owner, an unknown container, more than three names).
  std::optional<ComponentRef> FindPath(const std::vector<std::string>& names) const;

 private:
  friend class TvtComponentContainer;
  void Broadcast(const void* component) const;

  std::vector<std::unique_ptr<TvtComponentContainer>> containers_;
  TvtComponentContainer* owner_ = nullptr;
};

}  // namespace zr
