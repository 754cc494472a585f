// How a bitmap button shortens its text: characters go from the end until the
// text, with a quarter of its width to spare, fits the button; "..." then marks the
// cut.
#pragma once

#include <functional>
#include <string>

namespace astro {

// measure gives a text's width in the same units as width. The loop stops at the
// empty text, so a width of 0 or less gives "..." for any non-empty text. The
// "..." is appended after fitting and may itself overhang the width.
std::string FitButtonText(const std::string& text, int width,
                          const std::function<int(const std::string&)>& measure);

}  // namespace astro
