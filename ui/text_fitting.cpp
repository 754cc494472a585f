#include "ui/text_fitting.h"

#include <cstdint>

namespace astro {

std::string FitButtonText(const std::string& text, int width,
                          const std::function<int(const std::string&)>& measure) {
  std::string fitted = text;
  // Widened so that a huge measure cannot overflow the 5/4 product.
  while (!fitted.empty() && static_cast<std::int64_t>(measure(fitted)) * 5 / 4 >= width) {
    fitted.pop_back();
  }
  if (fitted.size() < text.size()) fitted += "...";
  return fitted;
}

}  // namespace astro
