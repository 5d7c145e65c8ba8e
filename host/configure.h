// Configure mode and the request for a password change.
#pragma once

#include <windows.h>

#include <cstdint>

// Shows the About box, then asks for the (absent) configuration dialog.
std::int32_t RunConfigure(HWND owner);
// Asks MPR.DLL to let the user change the saver password; nothing if absent.
void ChangePassword(HWND owner);
