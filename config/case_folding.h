// How the system compares the names it keeps without regard to case (registry
// key names, file names) for texts in the Windows ANSI code page: the letters
// of ASCII and the accented letters of Windows-1252 fold to their capitals;
// nothing else folds (ß has no capital, ÷ and × are no pair).
#pragma once

#include <string>

namespace astro {

// The capital of a Windows-1252 character, or the character itself.
unsigned char FoldedCapital(unsigned char c);

// Whether a and b are the same name for the system.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

// Whether a sorts before b when case is ignored (bytes compared as unsigned
// after folding).
bool NameBeforeIgnoringCase(const std::string& a, const std::string& b);

}  // namespace astro
