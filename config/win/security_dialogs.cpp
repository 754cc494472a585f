#include "config/win/security_dialogs.h"

#include <cstring>
#include <string>

#include "config/password_scrambling.h"
#include "config/security_texts.h"
#include "config/settings_store.h"
#include "delivery/win/exit_and_locks.h"
#include "driver/win/driver_state.h"
#include "ui/language_index.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/tooltips.h"
#include "ui/win/window_dpi.h"

namespace astro {
namespace {

constexpr int kPasswordPrompts[kLanguageCount] = {151, 153, 152, 125, 154};
constexpr int kNewPasswordDialogs[kLanguageCount] = {147, 126, 148, 149, 150};
constexpr int kSecurityDialogs[kLanguageCount] = {159, 161, 160, 124, 162};
constexpr int kPasswordField = 1031;
constexpr int kNewPasswordField = 1032;
constexpr int kConfirmationField = 1033;
constexpr int kSetNewPassword = 1034;

// The five check boxes of the security dialog and the flags they stand for
// (ticked means allowed).
constexpr struct {
  int box;
  std::int32_t SettingsRecord::*lock;
} kLockBoxes[] = {{1028, &SettingsRecord::lockExit},
                  {1027, &SettingsRecord::lockPanel},
                  {1030, &SettingsRecord::lockKeyboard},
                  {1029, &SettingsRecord::lockApplication},
                  {2009, &SettingsRecord::lockLanguage}};

// Set by the prompt for the right password and by the new-password dialog for a
// stored one; the Security command reads and clears it.
bool passwordAccepted = false;

std::string FieldText(HWND dialog, int field) {
  char text[256] = {};
  GetDlgItemTextA(dialog, field, text, sizeof text);
  return PasswordFieldText(text);
}

// What every dialog of the lock does on opening; false when it must close at
// once because the controller is not connected.
bool OpenLockDialog(HWND dialog) {
  SetDialogIcon(dialog);
  if (!DeviceLinked()) {
    EndDialog(dialog, 0);
    return false;
  }
  InstallDialogTooltips(dialog);
  return true;
}

// A change of DPI, activation, tooltips and the close command, the same in the
// three dialogs.
bool CommonMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(dialog, message, lParam);
  if (DialogTooltipMessage(dialog, message, wParam, lParam)) return true;
  if (message != WM_SYSCOMMAND || (wParam & 0xFFF0) != SC_CLOSE) return false;
  EndDialog(dialog, 0);
  return true;
}

INT_PTR CALLBACK PasswordPromptProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (OpenLockDialog(dialog)) SetFocus(GetDlgItem(dialog, kPasswordField));
    return FALSE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    passwordAccepted = FieldText(dialog, kPasswordField) == settings.password;
    EndDialog(dialog, 1);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    passwordAccepted = false;
    EndDialog(dialog, 0);
    return TRUE;
  }
  return CommonMessage(dialog, message, wParam, lParam) ? TRUE : FALSE;
}

void StoreNewPassword(HWND dialog) {
  const std::string password = FieldText(dialog, kNewPasswordField);
  const NewPasswordVerdict verdict =
      CheckNewPassword(password, FieldText(dialog, kConfirmationField), settings.language);
  for (const BoxText& box : verdict.boxes) {
    MessageBoxA(dialog, box.text, box.caption, MB_OK | MB_ICONSTOP);
  }
  if (!verdict.accepted) {
    SetFocus(GetDlgItem(dialog, kNewPasswordField));
    passwordAccepted = false;
    return;
  }
  std::strncpy(settings.password, password.c_str(), sizeof settings.password - 1);
  settings.password[sizeof settings.password - 1] = '\0';
  SaveSettingsGuardingLock(userRegistry, settings, LockChange::kPassword);
  passwordAccepted = true;
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK NewPasswordProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (OpenLockDialog(dialog)) SetFocus(GetDlgItem(dialog, kNewPasswordField));
    return FALSE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    StoreNewPassword(dialog);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    passwordAccepted = false;
    EndDialog(dialog, 0);
    return TRUE;
  }
  return CommonMessage(dialog, message, wParam, lParam) ? TRUE : FALSE;
}

INT_PTR RunNewPasswordDialog(HWND owner) {
  return DialogBoxParamA(programInstance,
                         MAKEINTRESOURCEA(kNewPasswordDialogs[LanguageIndex(settings.language)]),
                         owner, NewPasswordProc, 0);
}

INT_PTR CALLBACK SecurityProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    if (!OpenLockDialog(dialog)) return FALSE;
    ReloadSettings();
    for (const auto& row : kLockBoxes) {
      CheckDlgButton(dialog, row.box, settings.*row.lock == 0 ? BST_CHECKED : BST_UNCHECKED);
    }
    return TRUE;
  }
  if (message == WM_COMMAND) {
    switch (LOWORD(wParam)) {
      case IDOK:
        for (const auto& row : kLockBoxes) {
          settings.*row.lock = IsDlgButtonChecked(dialog, row.box) == BST_CHECKED ? 0 : 1;
        }
        SaveSettingsGuardingLock(userRegistry, settings, LockChange::kFlags);
        EndDialog(dialog, 1);
        return TRUE;
      case IDCANCEL:
        EndDialog(dialog, 0);
        return TRUE;
      case kSetNewPassword:
        RunNewPasswordDialog(dialog);
        return TRUE;
      default:
        return FALSE;
    }
  }
  return CommonMessage(dialog, message, wParam, lParam) ? TRUE : FALSE;
}

}  // namespace

void RunSecurityCommand(HWND owner) {
  const int language = LanguageIndex(settings.language);
  const bool noPasswordYet = std::strcmp(settings.password, kDefaultPassword) == 0;
  const INT_PTR result =
      noPasswordYet ? RunNewPasswordDialog(owner)
                    : DialogBoxParamA(programInstance, MAKEINTRESOURCEA(kPasswordPrompts[language]),
                                      owner, PasswordPromptProc, 0);
  if (passwordAccepted) {
    DialogBoxParamA(programInstance, MAKEINTRESOURCEA(kSecurityDialogs[language]), owner,
                    SecurityProc, 0);
    UpdateMenuLocks(owner);
  } else if (result != 0) {
    const BoxText denied = AccessDeniedText(settings.language);
    if (denied.text != nullptr)
      MessageBoxA(owner, denied.text, denied.caption, MB_OK | MB_ICONSTOP);
  }
  passwordAccepted = false;
}

}  // namespace astro
