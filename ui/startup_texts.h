// The texts the driver needs before any other window exists: the box shown when a
// second copy is started, the product title (main window and tray tip) and the
// main window's menu, each chosen by the stored language index.
#pragma once

#include <cstdint>

namespace astro {

struct MessageBoxTexts {
  const char* text;
  const char* caption;
};

// Any index outside 0..4 selects English.
MessageBoxTexts AlreadyRunningTexts(std::int32_t language);
const char* ProductTitle(std::int32_t language);
// Resource id of the main window's menu for the language.
int MainMenuResource(std::int32_t language);

}  // namespace astro
