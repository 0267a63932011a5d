// The launcher's main flow end to end under Wine, with a stub installer that
// records its command line and ends with planned exit codes.
#include <gtest/gtest.h>

#include "launcher_harness.h"

namespace {

using harness::LauncherFolder;
using harness::MessageBoxSeen;
using harness::RunLauncher;
using harness::StubInstaller;

constexpr char kProduct[] = "Zove Antivirus";
constexpr DWORD kTurnedAway = 0xFFFFFFFF;

const std::map<std::string, std::string> kTypicalIni = {
    {"RuntimeVersion", "2.0"},
    {"ProductName", kProduct},
    {"ProductFile", "Package\\Product.msi"},
    {"ProductOpts", "REBOOT=ReallySuppress"},
};

std::string InstallerCommandLine(const std::string& packagePath, const std::string& arguments,
                                 const std::string& productOptions)
{
    return harness::SystemFolder() + "\\msiexec.exe /i \"" + packagePath + "\" " + arguments +
           " " + productOptions + " /l*v " + harness::WindowsFolder() + "\\Temp\\ZEL.log";
}

// Both OEM switches are cut out, so either run gives the installer an empty
// argument text between two blanks.
TEST(LauncherFlow, TypicalRunComposesTheInstallerCommandLine)
{
    for (const char* arguments : {"/vg:1 /noreboot", ""}) {
        SCOPED_TRACE(arguments);
        DeleteFileA("C:\\stubinst\\calls.txt");
        StubInstaller stub;
        LauncherFolder setup;
        setup.WriteIni(kTypicalIni);

        const auto result = RunLauncher(setup.ExePath(), arguments);

        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.boxes.empty());
        ASSERT_EQ(stub.Calls().size(), 1u);
        EXPECT_EQ(stub.Calls()[0], InstallerCommandLine("C:\\setuptest\\Package\\Product.msi", "",
                                                        "REBOOT=ReallySuppress"));
    }
}

TEST(LauncherFlow, OrdinaryInstallerOutcomesEndQuietly)
{
    for (const char* code : {"0", "1602", "1603"}) {
        SCOPED_TRACE(code);
        DeleteFileA("C:\\stubinst\\calls.txt");
        DeleteFileA("C:\\stubinst\\state.ini");
        StubInstaller stub;
        stub.PlanExitCodes(code);
        LauncherFolder setup;
        setup.WriteIni(kTypicalIni);

        const auto result = RunLauncher(setup.ExePath(), "");

        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.boxes.empty());
        EXPECT_EQ(stub.Calls().size(), 1u);
    }
}

std::string RetryText()
{
    return std::string("The Microsoft Windows Installer may be corrupted\nor your system may be "
                       "infected with a virus. \n") +
           kProduct + " will attempt to install again.";
}

TEST(LauncherFlow, UnusableInstallerTwiceRepairsRetriesOnceAndReports)
{
    StubInstaller stub;
    stub.PlanExitCodes("1601,1601,1601");
    LauncherFolder setup;
    setup.WriteIni(kTypicalIni);

    const auto result = RunLauncher(setup.ExePath(), "");

    EXPECT_EQ(result.exitCode, 0u);
    ASSERT_EQ(result.boxes.size(), 2u);
    EXPECT_EQ(result.boxes[0].caption, "Setup");
    EXPECT_EQ(result.boxes[0].text, RetryText());
    EXPECT_TRUE(result.boxes[0].hasIcon);
    EXPECT_EQ(result.boxes[1].text,
              std::string("The ") + kProduct +
                  " installation failed due to either the\nMicrosoft Windows Installer being "
                  "corrupted or your system \nbeing infected. For more information, please "
                  "visit:\n\nhttp://support.kestrova.com/installtutorial");
    EXPECT_FALSE(result.boxes[1].hasIcon);
    EXPECT_FALSE(result.boxes[1].hasCancel);

    const auto calls = stub.Calls();
    ASSERT_EQ(calls.size(), 4u);
    const std::string installer = harness::SystemFolder() + "\\msiexec.exe";
    EXPECT_NE(calls[0].find(" /i "), std::string::npos);
    EXPECT_NE(calls[1].find("/unregister"), std::string::npos) << calls[1];
    EXPECT_NE(calls[2].find("/regserver"), std::string::npos) << calls[2];
    EXPECT_EQ(calls[3], calls[0]);  // the same command line once more, never a third time
}

TEST(LauncherFlow, InstallerThatNeedsANewerServiceIsRetriedOnce)
{
    StubInstaller stub;
    stub.PlanExitCodes("1613,0");
    LauncherFolder setup;
    setup.WriteIni(kTypicalIni);

    const auto result = RunLauncher(setup.ExePath(), "");

    EXPECT_EQ(result.exitCode, 0u);
    ASSERT_EQ(result.boxes.size(), 1u);
    EXPECT_EQ(result.boxes[0].text, RetryText());
    EXPECT_EQ(stub.InstallCalls().size(), 2u);
    EXPECT_EQ(stub.Calls().size(), 4u);
}

// A mutex that cannot be opened (an empty access list grants nobody access)
// counts as a running setup too. Twenty launchers at once are the
// concurrent-start suite's.
TEST(LauncherFlow, SecondStartWhileSetupRunsEndsQuietly)
{
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ACL emptyList;
    ASSERT_TRUE(InitializeAcl(&emptyList, sizeof emptyList, ACL_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyList, FALSE));
    SECURITY_ATTRIBUTES noAccess = {sizeof noAccess, &descriptor, FALSE};
    for (SECURITY_ATTRIBUTES* attributes : {static_cast<SECURITY_ATTRIBUTES*>(nullptr), &noAccess}) {
        SCOPED_TRACE(attributes ? "no access" : "default access");
        StubInstaller stub;
        LauncherFolder setup;
        setup.WriteIni(kTypicalIni);
        HANDLE running = CreateMutexA(attributes, TRUE, "SetupMutex");
        ASSERT_NE(running, nullptr);

        const auto result = RunLauncher(setup.ExePath(), "");

        EXPECT_EQ(result.exitCode, kTurnedAway);
        EXPECT_TRUE(result.boxes.empty());
        EXPECT_TRUE(stub.Calls().empty());
        CloseHandle(running);
    }
}

std::string VersionRefusal()
{
    return std::string("The ") + kProduct +
           " installation requires Windows 98, Windows Millenium, Windows 2000,\nWindows XP or "
           "later. Setup will exit.  For Windows 9x upgrade, contact Microsoft "
           "at\nhttp://www.microsoft.com/windows.";
}

// The supported versions are the platform rules' cases; the runtime update
// suite installs on win98, winme and winxp.
TEST(LauncherFlow, Windows95AndNt4AreRefused)
{
    for (const char* version : {"win95", "nt40"}) {
        SCOPED_TRACE(version);
        StubInstaller stub;
        LauncherFolder setup;
        setup.WriteIni(kTypicalIni);
        harness::SetWindowsVersion(version);

        const auto result = RunLauncher(setup.ExePath(), "");

        EXPECT_EQ(result.exitCode, kTurnedAway);
        ASSERT_EQ(result.boxes.size(), 1u);
        EXPECT_EQ(result.boxes[0].caption, "Setup");
        EXPECT_EQ(result.boxes[0].text, VersionRefusal());
        EXPECT_TRUE(result.boxes[0].hasIcon);
        EXPECT_TRUE(stub.Calls().empty());
    }
}

TEST(LauncherFlow, MissingConfigurationStillRuns)
{
    StubInstaller stub;
    LauncherFolder setup;

    const auto result = RunLauncher(setup.ExePath(), "");

    EXPECT_EQ(result.exitCode, 0u);
    ASSERT_EQ(stub.Calls().size(), 1u);
    EXPECT_EQ(stub.Calls()[0], InstallerCommandLine("C:\\setuptest\\", "", ""));
}

TEST(LauncherFlow, ProgramWithoutExtensionReadsItsShortenedName)
{
    StubInstaller stub;
    LauncherFolder setup("C:\\setuptest", "install");
    setup.WriteIni({{"ProductFile", "FromInstini.msi"}});
    EXPECT_TRUE(harness::FileExists("C:\\setuptest\\instini"));

    const auto result = RunLauncher(setup.ExePath(), "");

    EXPECT_EQ(result.exitCode, 0u);
    ASSERT_EQ(stub.Calls().size(), 1u);
    EXPECT_NE(stub.Calls()[0].find("\"C:\\setuptest\\FromInstini.msi\""), std::string::npos);
}

// Every configuration value at its 259-character bound together with 30,000
// characters of arguments. The required version is long but not newer than
// the installed one, so the long update program name is read and not run;
// the long package folder holds no options file, so nothing is staged.
TEST(LauncherFlow, LongArgumentsAndLongestValuesReachTheInstallerWhole)
{
    StubInstaller stub;
    LauncherFolder setup;
    const std::string productFile = "Package\\" + std::string(259 - 8, 'P');
    const std::string productOptions = "REBOOT=ReallySuppress" + std::string(259 - 21, 'O');
    setup.WriteIni({
        {"RuntimeVersion", std::string(259, '1')},
        {"ProductName", std::string(259, 'N')},
        {"ProductFile", productFile},
        {"ProductOpts", productOptions},
        {"RuntimeNT", "Runtime\\" + std::string(259 - 8, 'R')},
    });
    std::string arguments;
    while (arguments.size() < 30000) arguments += "PROPERTY" + std::to_string(arguments.size()) + "=1 ";
    arguments.resize(30000, 'x');

    const auto result = RunLauncher(setup.ExePath(), arguments);

    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.boxes.empty());
    EXPECT_TRUE(result.progressDialogs.empty());
    ASSERT_EQ(stub.Calls().size(), 1u);
    EXPECT_EQ(stub.Calls()[0], InstallerCommandLine("C:\\setuptest\\" + productFile, arguments, productOptions));
}

TEST(LauncherFlow, ConfigurationValuesStopAt259Characters)
{
    StubInstaller stub;
    LauncherFolder setup;
    std::map<std::string, std::string> ini = kTypicalIni;
    ini["ProductOpts"] = std::string(300, 'O');
    setup.WriteIni(ini);

    RunLauncher(setup.ExePath(), "");

    ASSERT_EQ(stub.Calls().size(), 1u);
    EXPECT_EQ(stub.Calls()[0], InstallerCommandLine("C:\\setuptest\\Package\\Product.msi", "",
                                                    std::string(259, 'O')));
}

TEST(LauncherFlow, CommandLineBeyondTheSystemLimitStartsNothing)
{
    StubInstaller stub;
    LauncherFolder setup;
    setup.WriteIni(kTypicalIni);

    // The launcher's own command line may hold up to 32,767 characters; with
    // the installer path, package and log argument around them the
    // installer's would not fit.
    const auto result = RunLauncher(setup.ExePath(), std::string(32700, 'x'));

    EXPECT_TRUE(result.started);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.boxes.empty());
    EXPECT_TRUE(stub.Calls().empty());
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    return DefWindowProcA(window, message, w, l);
}

TEST(LauncherFlow, OpenInstallerWindowOfTheProductTurnsSetupAway)
{
    StubInstaller stub;
    LauncherFolder setup;
    setup.WriteIni(kTypicalIni);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = &PlainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MsiDialogCloseClass";
    ASSERT_NE(RegisterClassA(&windowClass), 0);
    const std::string title = std::string(kProduct) + " Setup";
    HWND window = CreateWindowA("MsiDialogCloseClass", title.c_str(), WS_OVERLAPPED, 0, 0, 10, 10,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    const auto result = RunLauncher(setup.ExePath(), "");

    EXPECT_EQ(result.exitCode, kTurnedAway);
    ASSERT_EQ(result.boxes.size(), 1u);
    EXPECT_EQ(result.boxes[0].text, title + " is already running.");
    EXPECT_FALSE(result.boxes[0].hasIcon);
    EXPECT_TRUE(stub.Calls().empty());
    DestroyWindow(window);
}

}  // namespace
