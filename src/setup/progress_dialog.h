#pragma once
// The modeless "please wait" dialog shown while the runtime update runs.

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace setup {

// Closes a modeless dialog: ends it as the dialog manager expects, then
// destroys the window so nothing of it outlives its use.
struct DialogTraits {
    using type = HWND;
    using ErrorKeeper = win::LastErrorKeeper;
    static HWND Invalid() { return nullptr; }
    static bool Close(HWND window)
    {
        EndDialog(window, 0);
        return DestroyWindow(window) != FALSE;
    }
};
using UniqueDialog = win::Unique<DialogTraits>;

// Creates IDD_PROGRESS, visible at once, with the product name as its caption
// and inserted into its text. The waits of the process runner keep it painted.
// Empty when the dialog could not be created.
UniqueDialog ShowProgressDialog(HINSTANCE instance, const std::string& productName);

// The dialog procedure of IDD_PROGRESS; lParam of WM_INITDIALOG is the
// product name. Returns FALSE for every message.
INT_PTR CALLBACK ProgressDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace setup
