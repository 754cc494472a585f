#include "ui/win/dialog_text.h"

#include <cstring>

#include "driver/win/driver_state.h"
#include "ui/lang_text.h"

namespace astro {

void SetDlgItemLangText(HWND dialog, int item, std::int32_t id) {
  char shown[256] = {};
  GetDlgItemTextA(dialog, item, shown, sizeof shown);
  const char* text = LangText(settings.language, id);
  if (std::strcmp(shown, text) != 0) SetDlgItemTextA(dialog, item, text);
}

}  // namespace astro
