#include "ui/win/dialog_icon.h"

#include "driver/win/driver_state.h"
#include "driver/win/image_ids.h"

namespace astro {

void SetDialogIcon(HWND dialog) {
  SetClassLongPtrA(
      dialog, GCLP_HICON,
      reinterpret_cast<LONG_PTR>(LoadIconA(programInstance, MAKEINTRESOURCEA(kProgramIcon))));
}

}  // namespace astro
