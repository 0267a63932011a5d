// The progress dialog as setup.exe carries it: the resource is loaded from
// the built program, the dialog procedure is the launcher's own.
#include "setup/progress_dialog.h"

#include <gtest/gtest.h>

#include <string>

#include "common/module_path.h"
#include "setup/resource.h"

namespace {

class ProgressDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setupProgram_ = LoadLibraryExA((win::GetSetupFolder() + "\\setup.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(setupProgram_, nullptr);
    }
    void TearDown() override
    {
        if (setupProgram_) FreeLibrary(setupProgram_);
    }
    HINSTANCE Program() const { return setupProgram_; }

private:
    HMODULE setupProgram_ = nullptr;
};

std::string TextOf(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Percent signs in the name stay as they are: the name is data, not a format.
TEST_F(ProgressDialogTest, ShowsTheProductNameInCaptionAndText)
{
    const setup::UniqueDialog dialog = setup::ShowProgressDialog(Program(), "Zove 100%s %d%%");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsWindowVisible(dialog.Get()));
    EXPECT_EQ(TextOf(dialog.Get()), "Zove 100%s %d%%");
    EXPECT_EQ(TextOf(GetDlgItem(dialog.Get(), IDC_PROGRESS_TEXT)),
              "Please wait while Zove 100%s %d%% updates the Microsoft Installer....");
}

TEST_F(ProgressDialogTest, LayoutAndStylesOfTheResource)
{
    const setup::UniqueDialog dialog = setup::ShowProgressDialog(Program(), "");
    ASSERT_TRUE(dialog);
    const LONG style = GetWindowLongA(dialog.Get(), GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | DS_MODALFRAME), WS_POPUP | WS_CAPTION | DS_MODALFRAME);
    EXPECT_EQ(style & (WS_SYSMENU | WS_CHILD), 0);

    RECT expectedClient = {0, 0, 240, 55};
    ASSERT_TRUE(MapDialogRect(dialog.Get(), &expectedClient));
    RECT client = {};
    GetClientRect(dialog.Get(), &client);
    EXPECT_EQ(client.right, expectedClient.right);
    EXPECT_EQ(client.bottom, expectedClient.bottom);

    HWND text = GetDlgItem(dialog.Get(), IDC_PROGRESS_TEXT);
    ASSERT_NE(text, nullptr);
    char className[32] = {};
    GetClassNameA(text, className, sizeof className);
    EXPECT_STRCASEEQ(className, "Static");
    const LONG textStyle = GetWindowLongA(text, GWL_STYLE);
    EXPECT_EQ(textStyle & (WS_CHILD | WS_VISIBLE | WS_GROUP), WS_CHILD | WS_VISIBLE | WS_GROUP);
    EXPECT_EQ(textStyle & SS_TYPEMASK, SS_LEFT);
    RECT expectedText = {33, 22, 33 + 185, 22 + 15};
    MapDialogRect(dialog.Get(), &expectedText);
    RECT textRect = {};
    GetWindowRect(text, &textRect);
    MapWindowPoints(nullptr, dialog.Get(), reinterpret_cast<POINT*>(&textRect), 2);
    EXPECT_EQ(textRect.left, expectedText.left);
    EXPECT_EQ(textRect.top, expectedText.top);
    EXPECT_EQ(textRect.right - textRect.left, expectedText.right - expectedText.left);
    EXPECT_EQ(textRect.bottom - textRect.top, expectedText.bottom - expectedText.top);

    LOGFONTA font = {};
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(dialog.Get(), WM_GETFONT, 0, 0));
    ASSERT_NE(dialogFont, nullptr);
    ASSERT_NE(GetObjectA(dialogFont, sizeof font, &font), 0);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
}

TEST_F(ProgressDialogTest, UnreadableProductNameEndsTheDialogUntouched)
{
    const setup::UniqueDialog dialog = setup::ShowProgressDialog(Program(), "Zove");
    ASSERT_TRUE(dialog);
    // A pointer into the never-mapped first page of the address space.
    setup::ProgressDialogProc(dialog.Get(), WM_INITDIALOG, 0, static_cast<LPARAM>(16));
    EXPECT_FALSE(IsWindowVisible(dialog.Get()));
    EXPECT_EQ(TextOf(dialog.Get()), "Zove");
}

}  // namespace
