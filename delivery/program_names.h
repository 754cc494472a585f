// The file names of the programs behind windows, for the mapping linked to the
// program in front. Asking a process costs a system call or two, so names are
// kept by process id and creation time: a new process that got the id of one
// that ended has another creation time and is asked again. Nothing here runs on
// the motion path; the program in front is asked at most once per activation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace astro {

// What the system tells about a process. The Windows layer opens the process
// with limited query rights (PROCESS_QUERY_LIMITED_INFORMATION) for each call.
class ProcessQuery {
 public:
  virtual ~ProcessQuery() = default;
  // The process's creation time (GetProcessTimes, 100-ns units); false when the
  // process cannot be asked (gone, or not open to this user).
  virtual bool CreationTime(std::uint32_t processId, std::uint64_t* time) = 0;
  // The full path of the process's image (QueryFullProcessImageNameA); false
  // when it cannot be asked.
  virtual bool ImagePath(std::uint32_t processId, std::string* path) = 0;
};

class ProgramNames {
 public:
  // Processes remembered at once; the oldest entry makes room for a new one.
  static constexpr std::size_t kCapacity = 16;

  explicit ProgramNames(ProcessQuery& query) : query_(query) {}

  // A window was activated: the next FileName asks the system again, since the
  // process asked last may have ended and its id gone to a new process.
  void Activated() { lastKnown_ = false; }

  // The file name (without folder) of the program of the process; empty when it
  // cannot be asked, which counts as a program linked to nothing. The same
  // process as the last call's, with no activation between, is not asked again;
  // another is asked for its creation time, and for its image only when no
  // entry holds that id and time. Process id 0 is no process.
  const std::string& FileName(std::uint32_t processId);

 private:
  struct Entry {
    std::uint32_t processId = 0;  // 0: free
    std::uint64_t created = 0;
    std::string name;
  };

  // The name by creation time; empty when the process cannot be asked.
  std::string Ask(std::uint32_t processId);

  ProcessQuery& query_;
  std::array<Entry, kCapacity> entries_;
  std::size_t oldest_ = 0;
  bool lastKnown_ = false;
  std::uint32_t lastProcess_ = 0;
  std::string lastName_;
};

}  // namespace astro
