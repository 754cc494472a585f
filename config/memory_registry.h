// A registry held in memory with the system's byte-level rules, for tests and for
// any run without the Windows registry: values keep exactly the bytes given, a
// query into a buffer too small fails (and leaves garbage there, as nothing is
// guaranteed), a missing key cannot be opened, creating a key creates its parents,
// and names compare without regard to case. It records what happens to it, so
// tests can inspect the stored bytes and the order of reads and writes.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "config/registry.h"

namespace astro {

class MemoryRegistry : public Registry {
 public:
  // Every call on a key, in order: "Query NAME", "Set NAME", "Delete NAME",
  // "Enumerate INDEX"; and on the registry "Open PATH", "Create PATH", "DeleteKey PATH".
  std::vector<std::string> journal;
  // Fault injection: CreateKey or Set fails.
  bool failCreate = false;
  bool failWrites = false;

  MemoryRegistry();

  std::unique_ptr<RegistryKey> OpenKey(const char* path) override;
  std::unique_ptr<RegistryKey> CreateKey(const char* path, bool* created) override;
  bool DeleteKey(const char* path) override;

  // Test set-up: stores a value (creating the key) without touching the journal
  // or the write count.
  void Put(const std::string& path, const std::string& name, const std::string& bytes,
           ValueType type = ValueType::kString);
  void PutKey(const std::string& path);

  // Inspection.
  bool HasKey(const std::string& path) const;
  // The stored bytes; nothing when the key or value is missing.
  std::optional<std::string> Bytes(const std::string& path, const std::string& name) const;
  std::optional<ValueType> TypeOf(const std::string& path, const std::string& name) const;
  // Value names of a key as stored (first spelling), sorted without regard to case.
  std::vector<std::string> ValueNames(const std::string& path) const;
  // Successful Set calls since construction or the last ClearRecords.
  int WriteCount() const { return writeCount_; }
  // The journal entries that start with prefix.
  std::vector<std::string> Entries(const std::string& prefix) const;
  void ClearRecords();

 private:
  friend class MemoryRegistryKey;
  struct Value {
    std::string name;  // as first stored
    ValueType type;
    std::string bytes;
  };
  struct Node {
    std::uint64_t id;
    std::string path;                     // as first created
    std::map<std::string, Value> values;  // by upper-case name
  };

  // Upper-case form of a path with its parts checked; nothing for a malformed path
  // (empty part, leading or trailing backslash).
  static std::optional<std::string> Normalize(const std::string& path);
  Node* Find(std::uint64_t id, const std::string& key);
  const Node* FindPath(const std::string& path) const;
  Node& Create(const std::string& path, bool* created);

  std::map<std::string, Node> nodes_;  // by upper-case path; "" is the current user's root
  std::uint64_t nextId_ = 1;
  int writeCount_ = 0;
};

}  // namespace astro
