// Event delivery's state on the main thread: the application table, the client
// list, the activation tracker, the button actions with their playback and the
// push recognizer, and the scope that they all work on.
#pragma once

#include <windows.h>

#include "delivery/activation_tracker.h"
#include "delivery/app_table.h"
#include "delivery/button_actions.h"
#include "delivery/client_list.h"
#include "delivery/delivery_scope.h"
#include "delivery/program_names.h"
#include "delivery/win/key_playback.h"

namespace astro {

extern AppTable appTable;
extern ClientList clientList;

// The driver's context, settings, run-time flags, tables, the Win32 platform, the
// push recognizer and the activation tracker as the client binding.
const DeliveryScope& MainDeliveryScope();
ActivationTracker& MainActivationTracker();
ButtonActions& MainButtonActions();
// Types the buttons' key sequences, one at a time.
KeyPlayback& MainKeyPlayback();
// The file names of the programs in front, as the main thread asks them.
ProgramNames& MainProgramNames();
// The window last reported activated that is not the driver's own (null before
// one is): the program the user works in while a window of the driver is in
// front. Written by the main thread, read by any.
void NoteActivatedWindow(HWND window);
HWND LastForeignWindow();

}  // namespace astro
