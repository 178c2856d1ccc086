#include "engine/run/component_directory.h"

#include "engine/run/report_dataset.h"
#include "platform/codepage.h"
#include "platform/table/client_dataset.h"
#include "platform/table/data_source.h"

namespace zr {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
// Older clang does not deduce aggregate bases by itself.
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

const void* Address(const ComponentRef& component) {
  return std::visit(Overloaded{[](std::monostate) -> const void* { return nullptr; },
                               [](const auto* pointer) -> const void* { return pointer; }},
                    component);
}

// Only client datasets and data sources are referenced by report datasets.
bool IsReferenced(const ComponentRef& component) {
  return std::holds_alternative<ClientDataset*>(component) ||
         std::holds_alternative<DataSource*>(component);
}

}  // namespace

std::string ComponentName(const ComponentRef& component) {
  return std::visit(Overloaded{[](std::monostate) { return std::string(); },
                               [](const TvtDataset* c) { return c->Name; },
                               [](const ClientDataset* c) { return c->name(); },
                               [](const DataSource* c) { return c->name(); },
                               [](const TvtComponentContainer* c) { return c->Name(); }},
                    component);
}

TvtComponentContainer::TvtComponentContainer(std::string name) : name_(std::move(name)) {}

TvtComponentContainer::~TvtComponentContainer() {
  while (!entries_.empty()) Release(entries_.size() - 1);
}

void TvtComponentContainer::Add(ComponentRef ref, std::shared_ptr<void> owned) {
  if (std::holds_alternative<std::monostate>(ref)) return;
  if (auto* const* nested = std::get_if<TvtComponentContainer*>(&ref)) (*nested)->parent_ = this;
  entries_.push_back(Entry{ref, std::move(owned)});
}

void TvtComponentContainer::Release(size_t index) {
  Entry entry = std::move(entries_[index]);
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  if (IsReferenced(entry.ref)) {
    Announce(entry.ref);
    // Datasets listed here hear of it even when this container is out of the tree already.
    Broadcast(Address(entry.ref));
  }
  auto* const* nested = std::get_if<TvtComponentContainer*>(&entry.ref);
  if (nested && !entry.owned) (*nested)->parent_ = nullptr;
  // An owned nested container goes while still attached, so its contents are announced.
  entry.owned.reset();
}

void TvtComponentContainer::Remove(const ComponentRef& component) {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].ref == component) {
      Release(i);
      return;
    }
  }
}

ComponentRef TvtComponentContainer::Find(std::string_view name) const {
  if (name.empty()) return {};
  for (const Entry& entry : entries_) {
    if (same_text_ascii(ComponentName(entry.ref), name)) return entry.ref;
  }
  return {};
}

std::vector<ComponentRef> TvtComponentContainer::Components() const {
  std::vector<ComponentRef> result;
  result.reserve(entries_.size());
  for (const Entry& entry : entries_) result.push_back(entry.ref);
  return result;
}

void TvtComponentContainer::Broadcast(const void* component) const {
  for (const Entry& entry : entries_) {
    if (auto* const* dataset = std::get_if<TvtDataset*>(&entry.ref)) {
      (*dataset)->ComponentRemoved(component);
    } else if (auto* const* nested = std::get_if<TvtComponentContainer*>(&entry.ref)) {
      (*nested)->Broadcast(component);
    }
  }
}

void TvtComponentContainer::Announce(const ComponentRef& component) const {
  const TvtComponentContainer* top = this;
  while (top->parent_) top = top->parent_;
  if (top->directory_) {
    top->directory_->Broadcast(Address(component));
  } else {
    top->Broadcast(Address(component));
  }
}

TvtComponentDirectory::~TvtComponentDirectory() {
  owner_ = nullptr;
  // Each container leaves the list before it goes, so the removals it announces reach only
  // the containers still alive.
  while (!containers_.empty()) {
    std::unique_ptr<TvtComponentContainer> last = std::move(containers_.back());
    containers_.pop_back();
  }
}

TvtComponentContainer& TvtComponentDirectory::AddContainer(std::string name) {
  containers_.push_back(std::make_unique<TvtComponentContainer>(std::move(name)));
  containers_.back()->directory_ = this;
  return *containers_.back();
}

TvtComponentContainer* TvtComponentDirectory::FindContainer(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (const auto& container : containers_) {
    if (same_text_ascii(container->Name(), name)) return container.get();
  }
  return nullptr;
}

std::optional<ComponentRef> TvtComponentDirectory::FindPath(
    const std::vector<std::string>& names) const {
  if (names.empty() || names.size() > 3) return std::nullopt;
  if (names.size() == 1) {
    if (!owner_) return std::nullopt;
    return owner_->Find(names[0]);
  }
  const TvtComponentContainer* container = FindContainer(names[0]);
  if (!container) return std::nullopt;
  ComponentRef found = container->Find(names[1]);
  if (names.size() == 2) return found;
  if (std::holds_alternative<std::monostate>(found)) return std::nullopt;
  // Only containers hold components; anything else owns nothing to find.
  auto* const* nested = std::get_if<TvtComponentContainer*>(&found);
  return nested ? (*nested)->Find(names[2]) : ComponentRef{};
}

void TvtComponentDirectory::Broadcast(const void* component) const {
  for (const auto& container : containers_) container->Broadcast(component);
}

}  // namespace zr
