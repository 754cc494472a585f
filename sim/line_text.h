// Command lines as readable text: the simulator's log shows every received line
// quoted, with bytes outside printable ASCII as \xHH, and scripts name lines the
// same way.
#pragma once

#include <string>

namespace sim {

// Printable ASCII stays; backslash, quote and every other byte become \\, \" and \xHH.
std::string EscapeLine(const std::string& bytes);

// The reverse of EscapeLine (without the quotes): \xHH, \\, \" and \r are decoded.
// False on a malformed escape.
bool UnescapeText(const std::string& text, std::string& bytes);

}  // namespace sim
