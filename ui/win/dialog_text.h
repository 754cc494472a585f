// Localized texts written into dialogs whose templates serve every language.
#pragma once

#include <windows.h>

#include <cstdint>

namespace astro {

// Writes text `id` of the current language into the dialog item, only when the
// item shows something else (at most 255 characters are compared): a repaint
// that rewrites its texts must not set them, and so repaint, again and again.
void SetDlgItemLangText(HWND dialog, int item, std::int32_t id);

}  // namespace astro
