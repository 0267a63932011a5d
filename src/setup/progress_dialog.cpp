#include "setup/progress_dialog.h"

#include <climits>

#include "common/narrow_text.h"
#include "setup/resource.h"

namespace setup {
namespace {

// The text control's format is read back whole up to this many characters.
constexpr int kProgressFormatChars = 255;

void ShowProductName(HWND window, const char* productName)
{
    SetWindowTextA(window, productName);
    char format[kProgressFormatChars + 1] = {};
    GetDlgItemTextA(window, IDC_PROGRESS_TEXT, format, sizeof format);
    // Formatted to its full length: a long product name cannot overrun a buffer.
    const std::string progressText = text::FormatText(format, {productName});
    SetDlgItemTextA(window, IDC_PROGRESS_TEXT, progressText.c_str());
}

}  // namespace

INT_PTR CALLBACK ProgressDialogProc(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG) return FALSE;
    const char* productName = reinterpret_cast<const char*>(lParam);
    if (IsBadStringPtrA(productName, UINT_MAX)) {
        EndDialog(window, -1);
        return FALSE;
    }
    ShowProductName(window, productName);
    return FALSE;
}

UniqueDialog ShowProgressDialog(HINSTANCE instance, const std::string& productName)
{
    return UniqueDialog(CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PROGRESS), nullptr, &ProgressDialogProc,
                                           reinterpret_cast<LPARAM>(productName.c_str())));
}

}  // namespace setup
