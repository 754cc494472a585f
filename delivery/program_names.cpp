#include "delivery/program_names.h"

#include "config/program_list.h"

namespace astro {

const std::string& ProgramNames::FileName(std::uint32_t processId) {
  if (!lastKnown_ || processId != lastProcess_) {
    lastName_ = processId == 0 ? std::string() : Ask(processId);
    lastProcess_ = processId;
    lastKnown_ = true;
  }
  return lastName_;
}

std::string ProgramNames::Ask(std::uint32_t processId) {
  std::uint64_t created = 0;
  if (!query_.CreationTime(processId, &created)) return std::string();
  Entry* slot = nullptr;
  for (Entry& entry : entries_) {
    if (entry.processId != processId) continue;
    if (entry.created == created) return entry.name;
    slot = &entry;  // the id of a process that ended: its entry is renewed
    break;
  }
  std::string path;
  if (!query_.ImagePath(processId, &path)) return std::string();
  if (slot == nullptr) {
    slot = &entries_[oldest_];
    oldest_ = (oldest_ + 1) % kCapacity;
  }
  *slot = {processId, created, ProgramFileName(path)};
  return slot->name;
}

}  // namespace astro
