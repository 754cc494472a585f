// The symbolic link through which Wine finds the simulated port (dosdevices/comN).
#pragma once

#include <string>

namespace sim {

// Points path at target, replacing an existing link in one step. Refuses to replace
// anything that is not a link. On failure, error says why.
bool ReplaceLink(const std::string& path, const std::string& target, std::string& error);

// Removes path if it is still a link to target (the slave vanishes with the pty).
void RemoveLinkIfTo(const std::string& path, const std::string& target);

}  // namespace sim
