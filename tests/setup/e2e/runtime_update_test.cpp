// The runtime update, restart prompt and resume shortcut end to end under
// Wine: a stub update program records its runs, the Windows version and the
// presence of msi.dll are set per case, and the required version is placed
// around the version Wine's own msi.dll reports.
#include <gtest/gtest.h>

#include "launcher_harness.h"
#include "version/product_version.h"

namespace {

using harness::LauncherFolder;
using harness::MessageBoxSeen;
using harness::RunLauncher;
using harness::StubInstaller;
using harness::StubRuntimeUpdate;

constexpr char kProduct[] = "Zove Antivirus";
constexpr DWORD kTurnedAway = 0xFFFFFFFF;
constexpr char kRuntimeNT[] = "Runtime\\RuntimeNT.exe";
constexpr char kRuntime9X[] = "Runtime\\Runtime9X.exe";

// The "ProductVersion" of Wine 8's msi.dll, and required versions around it.
constexpr char kWineMsiVersion[] = "4.5.6001.22308";
constexpr char kSameButLastField[] = "4.5.6001.99999";
constexpr char kLaterThirdField[] = "4.5.6002.0";
constexpr char kEarlierSecondField[] = "4.0.9999.0";

std::string InstalledMsiVersion()
{
    char version[MAX_PATH] = {};
    version::GetProductVersion((harness::SystemFolder() + "\\msi.dll").c_str(), version, sizeof version);
    return version;
}

std::map<std::string, std::string> Ini(const std::string& runtimeVersion,
                                       const std::string& productName = kProduct)
{
    return {
        {"RuntimeVersion", runtimeVersion},
        {"ProductName", productName},
        {"ProductFile", "Package\\Product.msi"},
        {"RuntimeNT", kRuntimeNT},
        {"Runtime9X", kRuntime9X},
    };
}

std::string RestartText(const std::string& product)
{
    return "Setup has updated system files that are required to install " + product +
           ". You must restart your computer to complete the installation.\nAfter you restart "
           "please run setup again to continue installing " +
           product + ".\n\nPress OK to Restart now.";
}

int PressCancel(const MessageBoxSeen&) { return IDCANCEL; }

std::string ShortcutPath(const std::string& product)
{
    return harness::StartupFolder() + "\\" + product + ".lnk";
}

void RemoveInstallerLibrary()
{
    const std::string library = harness::SystemFolder() + "\\msi.dll";
    ASSERT_TRUE(MoveFileA(library.c_str(), (library + ".away").c_str()));
    ASSERT_FALSE(harness::FileExists(library));
}

// Everything a case needs: the stub installer, a setup folder with both
// runtime update programs, and the Windows version.
struct RuntimeCase {
    explicit RuntimeCase(const char* windowsVersion, const std::string& runtimeVersion,
                         const std::string& productName = kProduct)
        : runtime(setup, {kRuntimeNT, kRuntime9X})
    {
        setup.WriteIni(Ini(runtimeVersion, productName));
        harness::SetWindowsVersion(windowsVersion);
    }
    StubInstaller installer;
    LauncherFolder setup;
    StubRuntimeUpdate runtime;
};

TEST(RuntimeVersionCheck, NotOlderRuntimeRunsNoUpdate)
{
    // The required versions of these cases are placed around this one.
    ASSERT_EQ(InstalledMsiVersion(), kWineMsiVersion);
    for (const char* required : {kSameButLastField, kWineMsiVersion, kEarlierSecondField, ""}) {
        SCOPED_TRACE(required);
        DeleteFileA("C:\\stubinst\\calls.txt");
        RuntimeCase run("winxp", required);

        const auto result = RunLauncher(run.setup.ExePath(), "");

        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.boxes.empty());
        EXPECT_TRUE(result.progressDialogs.empty());
        EXPECT_TRUE(run.runtime.Runs().empty());
        EXPECT_EQ(run.installer.InstallCalls().size(), 1u);
    }
}

// The dialog is read while the update runs; a name at its 259-character
// bound fills caption and text whole.
TEST(RuntimeUpdate, OnXpTheUpdateRunsBehindTheProgressDialogThenTheInstallation)
{
    for (const std::string& product : {std::string(kProduct), std::string(259, 'P')}) {
        SCOPED_TRACE(product.size());
        for (const char* record : {"runtime.txt", "calls.txt", "state.ini"}) {
            DeleteFileA((std::string("C:\\stubinst\\") + record).c_str());
        }
        RuntimeCase run("winxp", kLaterThirdField, product);
        run.runtime.PlanSleep(1500);

        const auto result = RunLauncher(run.setup.ExePath(), "");

        EXPECT_EQ(result.exitCode, 0u);
        EXPECT_TRUE(result.boxes.empty());
        const auto runs = run.runtime.Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].fileName, "RuntimeNT.exe");
        EXPECT_EQ(runs[0].arguments, "/Q");
        ASSERT_EQ(result.progressDialogs.size(), 1u);
        EXPECT_EQ(result.progressDialogs[0].caption, product);
        EXPECT_EQ(result.progressDialogs[0].text,
                  "Please wait while " + product + " updates the Microsoft Installer....");
        EXPECT_TRUE(result.progressDialogs[0].visible);
        EXPECT_EQ(run.installer.InstallCalls().size(), 1u);
    }
}

// A first installation of the runtime needs no restart.
void ExpectInstallationRightAfterUpdateWithoutLibrary(const char* windowsVersion)
{
    RuntimeCase run(windowsVersion, kLaterThirdField);
    RemoveInstallerLibrary();

    const auto result = RunLauncher(run.setup.ExePath(), "");

    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.boxes.empty());
    const auto runs = run.runtime.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].fileName, "Runtime9X.exe");
    EXPECT_EQ(runs[0].arguments, "/Q");
    EXPECT_EQ(run.installer.InstallCalls().size(), 1u);
    EXPECT_FALSE(harness::FileExists(ShortcutPath(kProduct)));
}

TEST(RuntimeUpdate, OnWindows98WithoutTheLibraryTheInstallationFollows)
{
    ExpectInstallationRightAfterUpdateWithoutLibrary("win98");
}

TEST(RuntimeUpdate, OnWindowsMeWithoutTheLibraryTheInstallationFollows)
{
    ExpectInstallationRightAfterUpdateWithoutLibrary("winme");
}

void ExpectRestartPromptAndResumeShortcut(const char* windowsVersion)
{
    RuntimeCase run(windowsVersion, kLaterThirdField);

    const auto result = RunLauncher(run.setup.ExePath(), "", &PressCancel);

    EXPECT_EQ(result.exitCode, 0u);
    ASSERT_EQ(result.boxes.size(), 1u);
    EXPECT_EQ(result.boxes[0].caption, "Setup");
    EXPECT_EQ(result.boxes[0].text, RestartText(kProduct));
    EXPECT_TRUE(result.boxes[0].hasCancel);
    EXPECT_FALSE(result.boxes[0].hasIcon);
    const auto runs = run.runtime.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].fileName, "Runtime9X.exe");
    EXPECT_TRUE(run.installer.Calls().empty());

    // Cancel leaves the shortcut and its record for the next start.
    const auto shortcut = harness::ReadShortcut(ShortcutPath(kProduct));
    EXPECT_TRUE(shortcut.exists);
    EXPECT_EQ(shortcut.target, run.setup.ExePath());
    EXPECT_EQ(shortcut.workingFolder, run.setup.Folder());
    EXPECT_EQ(shortcut.arguments, "");
    std::string recorded;
    ASSERT_TRUE(harness::ReadResumeRecord(recorded));
    EXPECT_EQ(recorded, kProduct);
}

TEST(RestartPrompt, FollowsTheUpdateOnWindows98WithTheLibraryPresent)
{
    ExpectRestartPromptAndResumeShortcut("win98");
}

TEST(RestartPrompt, FollowsTheUpdateOnWindowsMeWithTheLibraryPresent)
{
    ExpectRestartPromptAndResumeShortcut("winme");
}

TEST(RestartPrompt, StartWithArgumentsPlantsNoShortcut)
{
    RuntimeCase run("win98", kLaterThirdField);

    const auto result = RunLauncher(run.setup.ExePath(), "/vg:1", &PressCancel);

    EXPECT_EQ(result.exitCode, 0u);
    ASSERT_EQ(result.boxes.size(), 1u);
    EXPECT_EQ(result.boxes[0].text, RestartText(kProduct));
    EXPECT_FALSE(harness::FileExists(ShortcutPath(kProduct)));
    EXPECT_FALSE(harness::MachineKeyExists(harness::kResumeKey));
    EXPECT_TRUE(run.installer.Calls().empty());
}

// Wine answers the restart request by ending the session and then starting
// the programs of the Startup folder again, as a new logon would: the resume
// shortcut brings setup back by itself.
TEST(RestartPrompt, OkRequestsTheRestartAndTheShortcutResumesSetup)
{
    RuntimeCase run("win98", kLaterThirdField);
    // The resumed setup finds the runtime current, and marks its installation.
    auto updateDoneThenOk = [&run](const MessageBoxSeen&) {
        auto resumedIni = Ini(kSameButLastField);
        resumedIni["ProductOpts"] = "RESUMED=1";
        run.setup.WriteIni(resumedIni);
        return IDOK;
    };

    const auto result = RunLauncher(run.setup.ExePath(), "", updateDoneThenOk);

    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    ASSERT_EQ(result.boxes.size(), 1u);
    EXPECT_EQ(result.boxes[0].text, RestartText(kProduct));
    EXPECT_FALSE(harness::FileExists(harness::WindowsFolder() + "\\TEMP\\instopts.dat"));

    for (int i = 0; i < 300 && run.installer.InstallCalls().empty(); ++i) Sleep(100);
    const auto installs = run.installer.InstallCalls();
    ASSERT_EQ(installs.size(), 1u) << "setup was not resumed after the restart request";
    // Only the resumed setup installed; the one that asked for the restart did not.
    EXPECT_NE(installs[0].find("RESUMED=1"), std::string::npos) << installs[0];
    EXPECT_EQ(run.runtime.Runs().size(), 1u);
    EXPECT_FALSE(harness::FileExists(ShortcutPath(kProduct)));
    EXPECT_FALSE(harness::MachineKeyExists(harness::kResumeKey));
}

TEST(ResumeShortcut, StartTurnedAwayByTheMutexStillRemovesThem)
{
    RuntimeCase run("win98", kLaterThirdField);
    RunLauncher(run.setup.ExePath(), "", &PressCancel);
    ASSERT_TRUE(harness::FileExists(ShortcutPath(kProduct)));
    HANDLE running = CreateMutexA(nullptr, TRUE, "SetupMutex");
    ASSERT_NE(running, nullptr);

    const auto second = RunLauncher(run.setup.ExePath(), "");

    EXPECT_EQ(second.exitCode, kTurnedAway);
    EXPECT_TRUE(second.boxes.empty());
    EXPECT_FALSE(harness::FileExists(ShortcutPath(kProduct)));
    EXPECT_FALSE(harness::MachineKeyExists(harness::kResumeKey));
    CloseHandle(running);
}

TEST(ResumeShortcut, EmptyProductNamePlantsAndRemovesDotLnk)
{
    RuntimeCase run("winme", kLaterThirdField, "");
    const auto result = RunLauncher(run.setup.ExePath(), "", &PressCancel);
    ASSERT_EQ(result.boxes.size(), 1u);
    EXPECT_EQ(result.boxes[0].text, RestartText(""));
    EXPECT_TRUE(harness::FileExists(ShortcutPath("")));
    std::string recorded = "not read";
    ASSERT_TRUE(harness::ReadResumeRecord(recorded));
    EXPECT_EQ(recorded, "");

    run.setup.WriteIni(Ini(kSameButLastField, ""));
    RunLauncher(run.setup.ExePath(), "");

    EXPECT_FALSE(harness::FileExists(ShortcutPath("")));
    EXPECT_FALSE(harness::MachineKeyExists(harness::kResumeKey));
}

TEST(ResumeShortcut, RecordWhoseFileIsGoneIsRemovedQuietly)
{
    RuntimeCase run("winxp", kSameButLastField);
    harness::WriteResumeRecord("Gone Product");
    ASSERT_FALSE(harness::FileExists(ShortcutPath("Gone Product")));
    // The clean-up after the installation deletes the maker's key when it is
    // empty; a value of its own keeps it, so what shows is that the resume
    // removal takes only its "Setup.tmp" subkey.
    harness::SetDebugLogMode(0);

    const auto result = RunLauncher(run.setup.ExePath(), "");

    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(result.boxes.empty());
    EXPECT_FALSE(harness::MachineKeyExists(harness::kResumeKey));
    EXPECT_TRUE(harness::MachineKeyExists("Software\\Kestrova"));
    EXPECT_EQ(run.installer.InstallCalls().size(), 1u);
}

TEST(ResumeShortcut, RemovesOnlyTheRecordedShortcut)
{
    RuntimeCase run("winxp", kSameButLastField);
    const std::string other = ShortcutPath("Other Program");
    harness::WriteFileText(other, "not a product shortcut");
    const std::string recordedFile = ShortcutPath(kProduct);
    harness::WriteFileText(recordedFile, "planted earlier");
    harness::WriteResumeRecord(kProduct);

    RunLauncher(run.setup.ExePath(), "");

    EXPECT_FALSE(harness::FileExists(recordedFile));
    EXPECT_TRUE(harness::FileExists(other));
}

}  // namespace
