#include "config/win/program_chooser.h"

#include <set>
#include <vector>

#include "config/program_list.h"
#include "delivery/main_menu.h"
#include "delivery/win/win_process_query.h"
#include "driver/win/driver_state.h"
#include "ui/win/dialog_icon.h"
#include "ui/win/tooltips.h"
#include "ui/win/window_dpi.h"

namespace astro {
namespace {

constexpr int kProgramList = 2003;

BOOL CALLBACK CollectProcess(HWND window, LPARAM argument) {
  if (!IsWindowVisible(window)) return TRUE;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != 0) reinterpret_cast<std::set<DWORD>*>(argument)->insert(process);
  return TRUE;
}

// The file names of the programs with a visible top-level window, as offered.
std::vector<std::string> RunningPrograms() {
  std::set<DWORD> processes;
  EnumWindows(CollectProcess, reinterpret_cast<LPARAM>(&processes));
  WinProcessQuery query;
  std::vector<std::string> names;
  for (DWORD process : processes) {
    std::string path;
    if (query.ImagePath(process, &path)) names.push_back(ProgramFileName(path));
  }
  char own[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, own, sizeof own);
  return ProgramChoices(names, ProgramFileName(own));
}

// The chosen entry's text, for the dialog's result.
std::string* chosen = nullptr;

void Initialise(HWND dialog) {
  SetDialogIcon(dialog);
  InstallDialogTooltips(dialog);
  HWND list = GetDlgItem(dialog, kProgramList);
  for (const std::string& name : RunningPrograms()) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  EnableWindow(GetDlgItem(dialog, IDOK), SendMessageA(list, LB_GETCOUNT, 0, 0) > 0);
  SetFocus(list);
}

void Choose(HWND dialog) {
  HWND list = GetDlgItem(dialog, kProgramList);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  const LRESULT length = index == LB_ERR ? LB_ERR : SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (length == LB_ERR) return;
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(length));
  *chosen = text;
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK ChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  FollowDpiChange(dialog, message, lParam);
  if (DialogTooltipMessage(dialog, message, wParam, lParam)) return TRUE;
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog);
      return FALSE;  // the focus is set: on the list
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK ||
          (LOWORD(wParam) == kProgramList && HIWORD(wParam) == LBN_DBLCLK)) {
        Choose(dialog);
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::string ChooseRunningProgram(HWND owner) {
  std::string result;
  chosen = &result;
  DialogBoxParamA(programInstance, MAKEINTRESOURCEA(ProgramChooserResource(settings.language)),
                  owner, ChooserProc, 0);
  chosen = nullptr;
  return result;
}

}  // namespace astro
