#include "sim/pty_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace sim {

bool ReplaceLink(const std::string& path, const std::string& target, std::string& error) {
  struct stat existing {};
  if (lstat(path.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
    error = path + " exists and is not a symbolic link";
    return false;
  }
  // A temporary link renamed over the old one: the path never dangles in between.
  const std::string temporary = path + ".astrosim-" + std::to_string(getpid());
  unlink(temporary.c_str());
  if (symlink(target.c_str(), temporary.c_str()) != 0) {
    error = "cannot create " + temporary + ": " + std::strerror(errno);
    return false;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

void RemoveLinkIfTo(const std::string& path, const std::string& target) {
  char linked[4096];
  const ssize_t length = readlink(path.c_str(), linked, sizeof linked - 1);
  if (length < 0) return;
  linked[length] = '\0';
  if (target == linked) unlink(path.c_str());
}

}  // namespace sim
