// Configure mode and the request for a password change.
#pragma once

#include <windows.h>

#include <cstdint>

// Resource numbers of the program (resources/vimra.rc).
constexpr WORD kAboutIconId = 102;
constexpr WORD kAboutDialogId = 103;
// The configuration dialog asked for after the About box. The program has no
// such template, so the request fails and configure mode ends with -1.
constexpr WORD kConfigureDialogId = 2003;

// Shows the About box, then asks for the (absent) configuration dialog.
std::int32_t RunConfigure(HWND owner);
// The application's hook run before the configuration dialog: shows the
// About box without an owner. Non-zero lets configure mode go on.
std::int32_t PreConfigureHook(HINSTANCE instance);
// The procedure given for the configuration dialog: 1 for every message.
INT_PTR CALLBACK ConfigureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The About box's procedure: centres the box on WM_INITDIALOG, ends it with
// 1 on any WM_COMMAND.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Top-left corner that centres a box of width x height pixels against the
// desktop's right and bottom edges (not its width and height); each half
// truncates toward zero.
POINT AboutBoxPosition(const RECT& desktop, std::int32_t width, std::int32_t height);

// Asks MPR.DLL to let the user change the saver password; nothing if absent.
void ChangePassword(HWND owner);
