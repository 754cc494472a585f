// Tooltip help for the program's dialogs: one tooltip window at a time, installed
// by each dialog when it opens and again whenever it is activated, so that the
// tooltips always belong to the active dialog. The texts are composed at every
// request, in the current language.
#pragma once

#include <windows.h>

namespace astro {

// Makes the tooltip window for dialog (with a tool for every child that is not a
// static) and the relay hook for the calling thread, discarding the previous
// ones. False on failure.
bool InstallTooltips(HWND dialog, HINSTANCE instance);

// InstallTooltips, and on failure the box "Could not install ToolTip Control";
// the dialog carries on without tooltips.
void InstallDialogTooltips(HWND dialog);

// A dialog that goes takes its tooltips and relay hook with it, if they are still
// its own.
void RemoveTooltips(HWND dialog);

// Hands a dialog's WM_NOTIFY to the tooltip help: answers the tooltip's text
// request (TTN_NEEDTEXTA) for the control named by the tool.
void TooltipNeedText(LPARAM notification);

// The tooltip upkeep every dialog shares, for its dialog procedure to call first:
// tooltips installed again whenever the dialog is activated, texts on request,
// removed with the dialog. True for a notification it answered; the procedure
// returns TRUE for it and handles every other message as it would anyway.
bool DialogTooltipMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace astro
