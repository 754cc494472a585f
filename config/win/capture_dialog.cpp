#include "config/win/capture_dialog.h"

#include "config/key_halves.h"
#include "config/win/key_sense.h"
#include "driver/win/driver_state.h"
#include "ui/language_index.h"
#include "ui/win/bitmap_button.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/scaled_pictures.h"
#include "ui/win/tooltips.h"
#include "ui/win/window_dpi.h"

namespace astro {
namespace {

constexpr int kCaptureControl = 1160;
constexpr int kOkButton = 1205;
constexpr int kCancelButton = 1206;
// The control's two frames: a key, and the same key pushed down.
constexpr int kKeyUpPicture = 113;
constexpr int kKeyDownPicture = 161;
constexpr int kFinishDeliver = 0;
constexpr int kFinishCancel = 1;

// Templates by language index: English, German, French, Spanish, Italian.
constexpr int kCaptureDialog[kLanguageCount] = {143, 109, 144, 145, 146};

struct CaptureSession {
  HWND ownerDialog;
  int buttonControlId;
  KeyListAssembler assembler;
  std::optional<KeyEventList> result;
};

// The session of the dialog that is open, nullptr when none is. Only the main
// thread runs capture dialogs.
CaptureSession* openSession = nullptr;

void CentreOnScreen(HWND dialog) {
  RECT window{};
  GetWindowRect(dialog, &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void Initialise(HWND dialog) {
  SetDialogIcon(dialog);
  // No third frame: the picture alternates between the two every second.
  SetKeySenseFrames(dialog, kCaptureControl, kKeyUpPicture, kKeyDownPicture, 0);
  CentreOnScreen(dialog);
  InstallDialogTooltips(dialog);
}

// What the capture control reports; the delivered list comes in halves.
void OnCaptureNote(HWND dialog, CaptureSession& session, WORD code, WORD value) {
  switch (code) {
    case kKeySenseRecorded:
      SetBitmapButtonText(session.ownerDialog, session.buttonControlId,
                          KeySenseNotation(GetDlgItem(dialog, kCaptureControl)));
      break;
    case kKeySenseListStart:
      session.assembler.Start(value);
      break;
    case kKeySenseListHalf:
      session.assembler.Add(value);
      break;
    case kKeySenseListEnd:
      session.result = session.assembler.Finish();
      EndDialog(dialog, IDOK);
      break;
    case kKeySenseFinished:
      if (value == 1) EndDialog(dialog, IDCANCEL);
      break;
    default:
      break;
  }
}

INT_PTR CALLBACK CaptureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(dialog, message, lParam);
  if (DialogTooltipMessage(dialog, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      Initialise(dialog);
      return TRUE;  // the focus to the first tab stop: the capture control
    case WM_DESTROY:
      ReleaseScaledPicture(kKeyUpPicture);
      ReleaseScaledPicture(kKeyDownPicture);
      return FALSE;
    case WM_COMMAND: {
      auto* session = reinterpret_cast<CaptureSession*>(GetWindowLongPtrA(dialog, DWLP_USER));
      switch (LOWORD(wParam)) {
        case kCaptureControl:
          // The control's notes carry code and value in lParam, not a window.
          if (session != nullptr) {
            OnCaptureNote(dialog, *session, HIWORD(lParam), LOWORD(lParam));
          }
          return TRUE;
        case kOkButton:
          FinishKeySense(dialog, kCaptureControl, kFinishDeliver);
          return TRUE;
        case kCancelButton:
        case IDCANCEL:  // Escape on a button, and the close box through the dialog manager
          FinishKeySense(dialog, kCaptureControl, kFinishCancel);
          return TRUE;
        default:
          return FALSE;
      }
    }
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        FinishKeySense(dialog, kCaptureControl, kFinishCancel);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<KeyEventList> CaptureKeySequence(HWND ownerDialog, int /*slot*/,
                                               int buttonControlId) {
  if (openSession != nullptr) return std::nullopt;
  CaptureSession session{ownerDialog, buttonControlId, KeyListAssembler(), std::nullopt};
  openSession = &session;
  const int dialogId = kCaptureDialog[LanguageIndex(settings.language)];
  DialogBoxParamA(programInstance, MAKEINTRESOURCEA(dialogId), nullptr, CaptureDialogProc,
                  reinterpret_cast<LPARAM>(&session));
  openSession = nullptr;
  return std::move(session.result);
}

}  // namespace astro
