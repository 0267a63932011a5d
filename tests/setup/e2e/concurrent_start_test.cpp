// Many launchers started at the same instant: the single-instance gate lets
// exactly one run the installer; the others end with -1 and show nothing.
#include <gtest/gtest.h>

#include <vector>

#include "launcher_harness.h"

namespace {

constexpr int kLaunchers = 20;
constexpr DWORD kTurnedAway = 0xFFFFFFFF;

TEST(ConcurrentStart, TwentyLaunchersAtOnceInstallExactlyOnce)
{
    harness::StubInstaller stub;
    stub.PlanSleep(2000);
    harness::LauncherFolder setup;
    setup.WriteIni({{"ProductName", "Zove Antivirus"}, {"ProductFile", "Package\\Product.msi"}});

    // All processes exist before any of them runs a line; their threads are
    // then let go back to back.
    std::vector<PROCESS_INFORMATION> launchers(kLaunchers);
    for (PROCESS_INFORMATION& launcher : launchers) {
        ASSERT_TRUE(harness::StartLauncherSuspended(setup.ExePath(), "", launcher));
    }
    for (const PROCESS_INFORMATION& launcher : launchers) ResumeThread(launcher.hThread);

    std::vector<DWORD> boxesFrom;
    const DWORD start = GetTickCount();
    for (bool running = true; running && GetTickCount() - start < 60000;) {
        running = false;
        for (const PROCESS_INFORMATION& launcher : launchers) {
            if (WaitForSingleObject(launcher.hProcess, 0) != WAIT_TIMEOUT) continue;
            running = true;
            if (harness::ShowsMessageBox(launcher.dwProcessId)) {
                boxesFrom.push_back(launcher.dwProcessId);
                TerminateProcess(launcher.hProcess, 0xB0B);
            }
        }
        Sleep(20);
    }

    int installed = 0;
    int turnedAway = 0;
    for (const PROCESS_INFORMATION& launcher : launchers) {
        DWORD exitCode = STILL_ACTIVE;
        if (WaitForSingleObject(launcher.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(launcher.hProcess, 0xDEAD);
        GetExitCodeProcess(launcher.hProcess, &exitCode);
        if (exitCode == 0) ++installed;
        if (exitCode == kTurnedAway) ++turnedAway;
        CloseHandle(launcher.hThread);
        CloseHandle(launcher.hProcess);
    }
    EXPECT_TRUE(boxesFrom.empty()) << boxesFrom.size() << " launchers showed a message box";
    EXPECT_EQ(installed, 1);
    EXPECT_EQ(turnedAway, kLaunchers - 1);
    EXPECT_EQ(stub.InstallCalls().size(), 1u);
}

}  // namespace
