#include "config/memory_registry.h"

#include <algorithm>
#include <cstring>

namespace astro {
namespace {

std::string Upper(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// The byte a failed query leaves in the caller's buffer: callers must not read it.
constexpr unsigned char kGarbage = 0xCD;

}  // namespace

class MemoryRegistryKey : public RegistryKey {
 public:
  MemoryRegistryKey(MemoryRegistry& registry, std::uint64_t id, std::string key)
      : registry_(registry), id_(id), key_(std::move(key)) {}

  bool Query(const char* name, void* buffer, std::uint32_t size, std::uint32_t* length) override {
    registry_.journal.push_back(std::string("Query ") + name);
    MemoryRegistry::Node* node = registry_.Find(id_, key_);
    if (!node) return false;
    auto it = node->values.find(Upper(name));
    if (it == node->values.end()) return false;
    const std::string& bytes = it->second.bytes;
    if (length) *length = static_cast<std::uint32_t>(bytes.size());
    if (bytes.size() > size) {
      if (buffer && size) std::memset(buffer, kGarbage, size);
      return false;
    }
    if (!bytes.empty()) std::memcpy(buffer, bytes.data(), bytes.size());
    return true;
  }

  bool Set(const char* name, ValueType type, const void* data, std::uint32_t length) override {
    registry_.journal.push_back(std::string("Set ") + name);
    MemoryRegistry::Node* node = registry_.Find(id_, key_);
    if (!node || registry_.failWrites) return false;
    const std::string upper = Upper(name);
    auto it = node->values.find(upper);
    std::string bytes(static_cast<const char*>(data), length);
    if (it == node->values.end()) {
      node->values.emplace(upper, MemoryRegistry::Value{name, type, std::move(bytes)});
    } else {
      it->second.type = type;
      it->second.bytes = std::move(bytes);
    }
    ++registry_.writeCount_;
    return true;
  }

  bool DeleteValue(const char* name) override {
    registry_.journal.push_back(std::string("Delete ") + name);
    MemoryRegistry::Node* node = registry_.Find(id_, key_);
    return node && node->values.erase(Upper(name)) > 0;
  }

  bool EnumerateSubkey(std::uint32_t index, char* name, std::uint32_t size) override {
    registry_.journal.push_back("Enumerate " + std::to_string(index));
    if (size) name[0] = '\0';
    if (!registry_.Find(id_, key_)) return false;
    const std::string prefix = key_.empty() ? std::string() : key_ + "\\";
    std::uint32_t position = 0;
    for (const auto& [upper, node] : registry_.nodes_) {
      if (upper.empty() || upper.compare(0, prefix.size(), prefix) != 0) continue;
      if (upper.find('\\', prefix.size()) != std::string::npos) continue;
      if (position++ != index) continue;
      const std::string child = node.path.substr(prefix.size());
      if (child.size() + 1 > size) return false;
      std::memcpy(name, child.c_str(), child.size() + 1);
      return true;
    }
    return false;
  }

 private:
  MemoryRegistry& registry_;
  std::uint64_t id_;
  std::string key_;
};

MemoryRegistry::MemoryRegistry() {
  nodes_.emplace("", Node{nextId_++, "", {}});
}

std::optional<std::string> MemoryRegistry::Normalize(const std::string& path) {
  if (path.empty()) return std::string();
  if (path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != std::string::npos) {
    return std::nullopt;
  }
  return Upper(path);
}

MemoryRegistry::Node* MemoryRegistry::Find(std::uint64_t id, const std::string& key) {
  auto it = nodes_.find(key);
  // A key deleted (and perhaps created again) since it was opened is gone for
  // the handle, as on the system.
  return it != nodes_.end() && it->second.id == id ? &it->second : nullptr;
}

const MemoryRegistry::Node* MemoryRegistry::FindPath(const std::string& path) const {
  const auto key = Normalize(path);
  if (!key) return nullptr;
  auto it = nodes_.find(*key);
  return it == nodes_.end() ? nullptr : &it->second;
}

MemoryRegistry::Node& MemoryRegistry::Create(const std::string& path, bool* created) {
  if (created) *created = false;
  Node* node = &nodes_.at("");
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(0, end);
    auto [it, inserted] = nodes_.try_emplace(Upper(part), Node{nextId_, part, {}});
    if (inserted) {
      ++nextId_;
      if (created) *created = true;
    }
    node = &it->second;
    start = end + 1;
  }
  return *node;
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(const char* path) {
  journal.push_back(std::string("Open ") + path);
  const auto key = Normalize(path);
  if (!key) return nullptr;
  auto it = nodes_.find(*key);
  if (it == nodes_.end()) return nullptr;
  return std::make_unique<MemoryRegistryKey>(*this, it->second.id, *key);
}

std::unique_ptr<RegistryKey> MemoryRegistry::CreateKey(const char* path, bool* created) {
  journal.push_back(std::string("Create ") + path);
  if (created) *created = false;
  const auto key = Normalize(path);
  if (!key || failCreate) return nullptr;
  Node& node = Create(path, created);
  return std::make_unique<MemoryRegistryKey>(*this, node.id, *key);
}

bool MemoryRegistry::DeleteKey(const char* path) {
  journal.push_back(std::string("DeleteKey ") + path);
  const auto key = Normalize(path);
  if (!key || key->empty()) return false;
  auto it = nodes_.find(*key);
  if (it == nodes_.end()) return false;
  const std::string prefix = *key + "\\";
  auto child = nodes_.lower_bound(prefix);
  if (child != nodes_.end() && child->first.compare(0, prefix.size(), prefix) == 0) return false;
  nodes_.erase(it);
  return true;
}

void MemoryRegistry::Put(const std::string& path, const std::string& name, const std::string& bytes,
                         ValueType type) {
  Node& node = Create(path, nullptr);
  node.values[Upper(name)] = Value{name, type, bytes};
}

void MemoryRegistry::PutKey(const std::string& path) {
  Create(path, nullptr);
}

bool MemoryRegistry::HasKey(const std::string& path) const {
  return FindPath(path) != nullptr;
}

std::optional<std::string> MemoryRegistry::Bytes(const std::string& path,
                                                 const std::string& name) const {
  const Node* node = FindPath(path);
  if (!node) return std::nullopt;
  auto it = node->values.find(Upper(name));
  if (it == node->values.end()) return std::nullopt;
  return it->second.bytes;
}

std::optional<ValueType> MemoryRegistry::TypeOf(const std::string& path,
                                                const std::string& name) const {
  const Node* node = FindPath(path);
  if (!node) return std::nullopt;
  auto it = node->values.find(Upper(name));
  if (it == node->values.end()) return std::nullopt;
  return it->second.type;
}

std::vector<std::string> MemoryRegistry::ValueNames(const std::string& path) const {
  std::vector<std::string> names;
  if (const Node* node = FindPath(path)) {
    for (const auto& entry : node->values) names.push_back(entry.second.name);
  }
  return names;
}

std::vector<std::string> MemoryRegistry::Entries(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const auto& entry : journal) {
    if (entry.compare(0, prefix.size(), prefix) == 0) out.push_back(entry);
  }
  return out;
}

void MemoryRegistry::ClearRecords() {
  journal.clear();
  writeCount_ = 0;
}

}  // namespace astro
