#include "ui/win/application_dialog.h"

#include "delivery/win/delivery_state.h"
#include "driver/win/driver_state.h"
#include "ui/application_choice.h"
#include "ui/language_index.h"
#include "ui/win/dialog_close.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/tooltips.h"
#include "ui/win/window_dpi.h"

namespace astro {
namespace {

constexpr int kApplicationDialogs[kLanguageCount] = {164, 166, 165, 118, 167};
constexpr int kFirstSlotButton = 1043;
constexpr int kLastSlotButton = kFirstSlotButton + ClientList::kSlots - 1;

// Exactly the buttons whose slot holds the target are checked: none while the
// target is a window that is not listed, or no window at all.
void CheckTargetSlot(HWND dialog) {
  for (int i = 0; i < ClientList::kSlots; ++i) {
    const bool target = clientList.Slot(i) == deliveryContext.targetWindow;
    CheckDlgButton(dialog, kFirstSlotButton + i, target ? BST_CHECKED : BST_UNCHECKED);
  }
}

void Initialise(HWND dialog) {
  SetDialogIcon(dialog);
  InstallDialogTooltips(dialog);
  if (!DeviceLinked()) {
    EndDialog(dialog, 1);
    return;
  }
  const auto lines = ListApplications(MainDeliveryScope(), settings.language);
  for (int i = 0; i < ClientList::kSlots; ++i) {
    SetDlgItemTextA(dialog, kFirstSlotButton + i, lines[i].c_str());
    // The dialog checks the buttons itself, several at once when several empty
    // slots hold "no window"; with the current common controls an automatic
    // radio button that gets checked unchecks the others of its group.
    SendDlgItemMessageA(dialog, kFirstSlotButton + i, BM_SETSTYLE, BS_RADIOBUTTON, FALSE);
  }
  CheckTargetSlot(dialog);
}

INT_PTR CALLBACK ApplicationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(dialog, message, lParam);
  if (DialogTooltipMessage(dialog, message, wParam, lParam)) return TRUE;
  if (EndedByOkOrClose(dialog, message, wParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      return TRUE;
    case WM_COMMAND: {
      const int item = LOWORD(wParam);
      if (item >= kFirstSlotButton && item <= kLastSlotButton) {
        ChooseApplication(MainDeliveryScope(), item - kFirstSlotButton);
        CheckTargetSlot(dialog);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

void RunApplicationDialog(HWND owner, std::int32_t language) {
  DialogBoxParamA(programInstance, MAKEINTRESOURCEA(kApplicationDialogs[LanguageIndex(language)]),
                  owner, ApplicationDialogProc, 0);
}

}  // namespace astro
