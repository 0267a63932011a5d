// The launcher end to end under Wine, as scenario tables: a row sets the machine and the
// start, setup.exe runs with the stand-in for the installer and the update programs, and
// the row states all the run did. A table's rows share one Wine prefix.
#include <windows.h>
#include <sddl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "common/maker_key.h"
#include "common/narrow_text.h"
#include "common/string_resources.h"
#include "launcher_harness.h"

namespace {

using harness::Ini, harness::Texts;

constexpr char kProduct[] = "Zove Antivirus";
const Ini kIni = {{"ProductName", kProduct},
                  {"ProductFile", "Package\\Product.msi"},
                  {"ProductOpts", "REBOOT=ReallySuppress"},
                  {"RuntimeNT", "Runtime\\RuntimeNT.exe"},
                  {"Runtime9X", "Runtime\\Runtime9X.exe"}};
Ini IniWith(Ini changes)
{
    return changes.insert(kIni.begin(), kIni.end()), changes;
}
// Around Wine 8's msi.dll, 4.5.6001.22308; the last field never counts.
const Ini kCurrentRuntime = IniWith({{"RuntimeVersion", "4.5.6001.99999"}});
const Ini kOlderRuntime = IniWith({{"RuntimeVersion", "4.5.6002.0"}});

// The stand-in's runs as a row names them; kInstall has the row's installer command line.
constexpr char kInstall[] = "install", kUnregister[] = "msiexec.exe /unregister",
               kRegister[] = "msiexec.exe /regserver";
constexpr char kUpdateNT[] = "RuntimeNT.exe /Q", kUpdate9X[] = "Runtime9X.exe /Q";
constexpr DWORD kTurnedAway = static_cast<DWORD>(-1), kRestartStarted = 1641, kRestartNeeded = 3010;
constexpr char kResumeKey[] = "Software\\Kestrova\\Setup.tmp";
const std::string kTemp = win::WindowsFolder() + "\\TEMP\\", kStaged = kTemp + "instopts.dat";
const std::string kLogFolder = win::WindowsFolder() + "\\Temp\\";
const std::string kSample = harness::BinFolder() + "\\..\\sample-setup\\",
                  kSampleOptions = kSample + "Package\\instopts.dat";
const std::string kShipped = "C:\\setuptest\\Package\\instopts.dat";

enum Given : unsigned {
    kMutexHeld = 1,           // another setup runs, its mutex under an empty access list: no one else may open it
    kInstallerWindow = 2,     // the product's installer window is open
    kNoInstallerLibrary = 4,  // no msi.dll in the system folder
    kResumeRecord = 8,        // an earlier run's resume shortcut and its record
    kStaleStagedFile = 16,    // an earlier run's staged options file
    kStaleValue = 32,         // an interrupted run's "Instopts" value, naming the staged path
    kDamagedShippedFile = 64,
    kNoTempFolder = 128,    // nothing puts it back: the launcher makes it
    kDllRedirection = 256,  // a folder "Setup.exe.local" beside the launcher
    kInstaller20 = 512,     // the installed runtime is Windows Installer 2.0
    kFilteredToken = 1024,  // setup starts with the Administrators group deny-only
};

// A box: a string of setup.exe's table; MB_ICONERROR, MB_OKCANCEL or MB_OK.
struct Box {
    UINT text, type;
};
// What quiet mode leaves on the screen; the boxes' texts go to the diagnostic log instead.
enum Shown { kEverything, kProgressOnly, kNothing };

struct Scenario {
    const char* name;
    // The machine and the start.
    const char* windows = "winxp";
    Ini ini = kIni;
    std::string args;
    std::vector<int> installerCodes;  // of the installation runs in turn, 0 after the last
    int answer = IDOK;                // to every box
    Ini iniOnAnswer;                  // written when a box is answered: a resumed setup reads it
    unsigned given = 0;
    bool shipped = false;             // the sample's options file ships beside the package
    const char* linkAt = nullptr;     // a name in TEMP holding a hard link to another file
    const char* plantedAt = nullptr;  // a name in TEMP another user took first: a folder, or a read-only file
    bool plantedFolder = false;
    Texts logLines;  // the diagnostic log is on and gets these lines
    // What the run did; an update run shows the progress dialog, a resumed setup's runs show what its shortcut starts.
    DWORD exitCode = 0;
    std::vector<Box> boxes;
    Shown shown = kEverything;  // quiet mode turns the log on too
    Texts runs = {kInstall};
    std::string installerArgs;            // of every installation run
    const char* logName = "ZEL.log";      // the installer's log in TEMP
    const char* installerOpts = nullptr;  // the configured options as the installer gets them, when not as configured
    bool shortcut = false;                // a resume shortcut and its record are left
    Texts staged;                         // the options the installer found; none when nothing was published
};

bool LogIsOn(const Scenario& row)
{
    return !row.logLines.empty() || row.shown != kEverything;
}
bool IsNtFamily(const Scenario& row)
{
    return std::string(row.windows).rfind("win9", 0) != 0 && std::string(row.windows) != "winme";
}

// A configuration value as the launcher reads it: at most 259 characters.
std::string Value(const Ini& ini, const char* key)
{
    return ini.count(key) ? ini.at(key).substr(0, 259) : "";
}

// The runs the stand-in saw started in the setup folder, as a row names them.
Texts RunsOf(const Scenario& row, const harness::StubPrograms& stub)
{
    const std::string installerLine = win::SystemFolder() + "\\msiexec.exe /i \"C:\\setuptest\\" +
                                      Value(row.ini, "ProductFile") + "\" " + row.installerArgs + " " +
                                      (row.installerOpts ? row.installerOpts : Value(row.ini, "ProductOpts")) +
                                      " /l*v " + win::WindowsFolder() + "\\Temp\\" + row.logName;
    const std::string inSetupFolder = "C:\\setuptest> ";
    Texts runs = stub.Runs();
    for (std::string& run : runs) run.erase(0, run.rfind(inSetupFolder, 0) == 0 ? inSetupFolder.size() : 0);
    std::replace(runs.begin(), runs.end(), installerLine, std::string(kInstall));
    return runs;
}

// Takes back what an earlier row changed, then puts the machine as `row` finds it.
void Arrange(const Scenario& row, const harness::StubPrograms& stub, const harness::LauncherFolder& setup)
{
    const std::string library = win::SystemFolder() + "\\msi.dll", victim = "C:\\victim.txt", away = library + ".away";
    if (harness::FileExists(away)) DeleteFileA(library.c_str()), MoveFileA(away.c_str(), library.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kResumeKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, win::kMakerKey);
    for (const std::string& path : {harness::ShortcutPath(kProduct), kShipped, setup.folder + "\\RIDEvuz.log", victim})
        DeleteFileA(path.c_str());
    for (const char* name :
         {"instopts.dat", "instopts.dat.new", "ZEL.log", "instopts-1.dat", "instopts.dat-1.new", "ZEL-1.log"}) {
        const std::string path = kTemp + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((path + "\\inside.txt").c_str());
        RemoveDirectoryA(path.c_str());
        DeleteFileA(path.c_str());
    }
    RemoveDirectoryA((setup.ExePath() + ".local").c_str());

    harness::SetText(HKEY_CURRENT_USER, "Software\\Wine", "Version", row.windows);
    setup.WriteIni(row.ini);
    stub.Plan(row.installerCodes);
    if (row.shipped) CopyFileA(kSampleOptions.c_str(), kShipped.c_str(), FALSE);
    if (row.given & kDamagedShippedFile) harness::WriteFileText(kShipped, harness::ReadFileText(kShipped) + "?");
    // Any "DebugLog" of at most 4 bytes serves; the text "\1" is 1, the log file.
    if (LogIsOn(row)) harness::SetText(HKEY_LOCAL_MACHINE, win::kMakerKey, "DebugLog", "\1");
    if (row.given & kStaleStagedFile) CopyFileA(kSampleOptions.c_str(), kStaged.c_str(), FALSE);
    if (row.plantedAt && row.plantedFolder) CreateDirectoryA((kTemp + row.plantedAt).c_str(), nullptr);
    if (row.plantedAt)
        harness::WriteFileText(kTemp + row.plantedAt + (row.plantedFolder ? "\\inside.txt" : ""), "planted");
    if (row.plantedAt && !row.plantedFolder)
        SetFileAttributesA((kTemp + row.plantedAt).c_str(), FILE_ATTRIBUTE_READONLY);
    if (row.given & kStaleValue) win::WriteMachineText(win::kMakerKey, "Instopts", kStaged);
    if (row.given & (kNoInstallerLibrary | kInstaller20)) MoveFileA(library.c_str(), away.c_str());
    if (row.given & kInstaller20)
        CopyFileA((harness::BinFolder() + "\\installer20.dll").c_str(), library.c_str(), FALSE);
    if (row.given & kNoTempFolder) MoveFileA(kTemp.c_str(), (kTemp.substr(0, kTemp.size() - 1) + ".away").c_str());
    if (row.given & kDllRedirection) CreateDirectoryA((setup.ExePath() + ".local").c_str(), nullptr);
    if (row.given & kResumeRecord) win::WriteMachineText(kResumeKey, "Shortcut", kProduct);
    if (row.given & kResumeRecord) harness::WriteFileText(harness::ShortcutPath(kProduct), "");
    if (row.linkAt) harness::WriteFileText(victim, "not for setup");
    if (row.linkAt) CreateHardLinkA((kTemp + row.linkAt).c_str(), victim.c_str(), nullptr);
}

// Runs the rows in turn in one setup folder; a launcher that does not end
// within the quick wait stops the table.
void RunTable(const std::vector<Scenario>& table)
{
    const harness::StubPrograms stub;
    const harness::LauncherFolder setup;
    for (const char* program : {"RuntimeNT.exe", "Runtime9X.exe"})
        stub.InstallAs(setup.folder + "\\Runtime\\" + program);
    CreateDirectoryA((setup.folder + "\\Package").c_str(), nullptr);
    WNDCLASSA windowClass = {0, &DefWindowProcA};
    windowClass.lpszClassName = "MsiDialogCloseClass";
    RegisterClassA(&windowClass);
    const win::UniqueModule program(  // for setup.exe's string table
        LoadLibraryExA((harness::BinFolder() + "\\setup.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    PSECURITY_DESCRIPTOR noAccess = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:", SDDL_REVISION_1, &noAccess, nullptr);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, noAccess, FALSE};
    harness::EventLogTrace events;
    // Wine 8 keeps no security descriptor a file is created with: it derives
    // one from the Unix mode bits. There the log's access list cannot be seen.
    const char* kAdministratorsOnly = "D:P(A;;FA;;;BA)(A;;FA;;;SY)";
    const bool keepsDescriptors = harness::KeepsFileSecurity(kAdministratorsOnly);
    if (!keepsDescriptors)
        std::cout << "Wine keeps no file security descriptors here: the log's access list is not checked\n";
    for (const Scenario& row : table) {
        SCOPED_TRACE(row.name);
        Arrange(row, stub, setup);
        const std::string name = Value(row.ini, "ProductName");
        const win::UniqueHandle mutex(row.given & kMutexHeld ? CreateMutexA(&attributes, TRUE, "SetupMutex") : nullptr);
        const std::unique_ptr<HWND__, decltype(&DestroyWindow)> window(
            row.given & kInstallerWindow ? CreateWindowA("MsiDialogCloseClass", (name + " Setup").c_str(), 0, 0, 0, 9,
                                                         9, nullptr, nullptr, nullptr, nullptr)
                                         : nullptr,
            &DestroyWindow);

        events.Mark();
        const win::UniqueHandle token(row.given & kFilteredToken ? harness::FilteredToken() : win::UniqueHandle());
        const auto run = harness::RunLauncher(
            setup.ExePath(), row.args,
            [&] {
                if (!row.iniOnAnswer.empty()) setup.WriteIni(row.iniOnAnswer);
                return row.answer;
            },
            10000, token.Get());

        ASSERT_NE(run.exitCode, STILL_ACTIVE) << "setup did not end within the quick wait";
        // A setup resumed through the shortcut runs on, until its clean-up.
        for (int i = 0; i < 300 && !row.iniOnAnswer.empty() &&
                        (RunsOf(row, stub) != row.runs || harness::MachineText(win::kMakerKey, "") != "(no key)");
             ++i)
            Sleep(100);
        Texts windows, logLines = row.logLines, reported;
        for (const std::string& update : row.runs) {
            if ((update == kUpdateNT || update == kUpdate9X) && row.shown != kNothing)
                windows.push_back(name + ": Please wait while " + name + " updates the Microsoft Installer....");
        }
        for (const Box& box : row.boxes) {
            const std::string inserted = box.text == IDS_ALREADY_RUNNING ? name + " Setup" : name;
            std::string text = text::FormatText(win::LoadResourceText(program.Get(), box.text), {inserted, inserted});
            if (row.shown == kEverything) {
                windows.push_back(win::LoadResourceText(program.Get(), IDS_SETUP) + ": " + text +
                                  (box.type & MB_ICONERROR ? " [icon]" : "") +
                                  (box.type & MB_OKCANCEL ? " [cancel]" : ""));
            } else {
                if (IsNtFamily(row))
                    reported.push_back((box.type & MB_ICONERROR ? "error: " : "information: ") +
                                       harness::EventLogTrace::Escaped(text));
                std::replace(text.begin(), text.end(), '\n', ' ');
                logLines.push_back("Not shown in quiet mode: " + text + "\r\n");
            }
        }
        EXPECT_EQ(run.exitCode, row.exitCode);
        EXPECT_EQ(run.windows, windows);
        EXPECT_EQ(events.Since(), reported);
        EXPECT_EQ(RunsOf(row, stub), row.runs);
        const std::string staged = stub.Path("staged.dat"), log = harness::ReadFileText(setup.folder + "\\RIDEvuz.log");
        EXPECT_EQ(harness::FileExists(staged) ? harness::ReadOptions(staged) : Texts{}, row.staged);
        EXPECT_EQ(harness::FileExists(harness::ShortcutPath(name)), row.shortcut);
        EXPECT_EQ(harness::MachineText(kResumeKey, "Shortcut"), row.shortcut ? name : "(no key)");
        EXPECT_EQ(harness::ReadFileText("C:\\victim.txt"), row.linkAt ? "not for setup" : "");
        for (const std::string& line : logLines)
            EXPECT_NE(log.find(line), std::string::npos) << line << "\nin\n" << log;
        EXPECT_EQ(log.empty(), !LogIsOn(row));
        // The staged file and its value go, and the maker's key unless something else is left in it.
        const std::string planted =
            row.plantedAt ? kTemp + row.plantedAt + (row.plantedFolder ? "\\inside.txt" : "") : "";
        EXPECT_EQ(row.plantedAt ? harness::ReadFileText(planted) : "planted", "planted")
            << "written through: " << planted;
        EXPECT_EQ(harness::FileExists(kStaged), row.plantedAt && std::string(row.plantedAt) == "instopts.dat");
        // The log the installer was given is a file setup created for Administrators and SYSTEM alone.
        if (std::find(row.runs.begin(), row.runs.end(), kInstall) != row.runs.end()) {
            EXPECT_NE(harness::ReadFileText(kTemp + row.logName).find("stub installer log"), std::string::npos)
                << row.logName;
            if (IsNtFamily(row) && keepsDescriptors) {
                EXPECT_EQ(harness::AccessList(kTemp + row.logName), kAdministratorsOnly);
            }
        }
        const bool makerKeyLeft = LogIsOn(row) || row.shortcut || (row.given & kResumeRecord);
        EXPECT_EQ(harness::MachineText(win::kMakerKey, "Instopts"), makerKeyLeft ? "" : "(no key)");
    }
}

TEST(LauncherFlow, Scenarios)
{
    const Box retry = {IDS_INSTALLER_RETRY, MB_ICONERROR};
    const Texts repairAndRetry = {kInstall, kUnregister, kRegister, kInstall};
    // clang-format off
    RunTable({
        {.name = "a failed installation ends with the installer's code; the switches never reach it",
         .args = "/vg:1 /noreboot", .installerCodes = {1603}, .exitCode = 1603},
        {.name = "installer unusable twice: a repair, one retry, the final box, the retry's code",
         .installerCodes = {1601, 1631}, .exitCode = 1631, .boxes = {retry, {IDS_INSTALLER_FAILED, MB_OK}},
         .runs = repairAndRetry},
        {.name = "installer needing a newer service: the retry succeeds", .installerCodes = {1613, 0}, .boxes = {retry},
         .runs = repairAndRetry},
        {.name = "Windows 95 (and NT 4.0, the same version) is refused", .windows = "win95", .exitCode = kTurnedAway,
         .boxes = {{IDS_OS_NOT_SUPPORTED, MB_ICONERROR}}, .runs = {}},
        {.name = "the product's installer window is open", .given = kInstallerWindow, .exitCode = kTurnedAway,
         .boxes = {{IDS_ALREADY_RUNNING, MB_OK}}, .runs = {}},
        {.name = "another setup runs", .given = kMutexHeld, .exitCode = kTurnedAway, .runs = {}},
        {.name = "an administrator's filtered token (no elevation) is no administrator", .given = kFilteredToken,
         .exitCode = kTurnedAway, .boxes = {{IDS_NOT_ADMIN, MB_ICONERROR}}, .runs = {}},
        {.name = "DLL redirection asked for beside the launcher", .given = kDllRedirection,
         .logLines = {"Setup does not run: C:\\setuptest\\Setup.exe.local would make"}, .exitCode = kTurnedAway,
         .runs = {}},
    });
    // clang-format on
}

// Every configuration value at its bound (a longer one is cut there) with
// 30,000 characters of arguments. The long required version is not newer
// than the installed one, so the long update program is never run.
TEST(LauncherFlow, LongestInputsReachTheInstallerWhole)
{
    std::string args;
    while (args.size() < 30000) args += "PROPERTY" + std::to_string(args.size()) + "=1 ";
    args.resize(30000, 'x');
    // clang-format off
    RunTable({{.name = "longest",
               .ini = {{"RuntimeVersion", std::string(259, '1')}, {"ProductName", std::string(259, 'N')},
                       {"ProductFile", "Package\\" + std::string(251, 'P')},
                       {"ProductOpts", "REBOOT=ReallySuppress" + std::string(279, 'O')},
                       {"RuntimeNT", "Runtime\\" + std::string(251, 'R')}},
               .args = args, .installerArgs = args}});
    // clang-format on
}

// The last row ends Wine's session: Wine then starts the Startup folder's
// programs again, as a logon would.
TEST(RuntimeUpdate, Scenarios)
{
    const Box restart = {IDS_RESTART_REQUIRED, MB_OKCANCEL};
    Ini longName = kOlderRuntime;
    longName["ProductName"] = std::string(259, 'P');
    // clang-format off
    RunTable({
        {.name = "a runtime differing in its last field only is current", .ini = kCurrentRuntime},
        {.name = "XP: the update, behind the progress dialog (a 259-character name whole), then the installation",
         .ini = longName, .runs = {kUpdateNT, kInstall}},
        {.name = "98 without msi.dll: a first runtime needs no restart", .windows = "win98", .ini = kOlderRuntime,
         .given = kNoInstallerLibrary, .runs = {kUpdate9X, kInstall}},
        {.name = "Me: restart declined; a start without arguments leaves a resume shortcut", .windows = "winme",
         .ini = kOlderRuntime, .answer = IDCANCEL, .exitCode = kRestartNeeded, .boxes = {restart}, .runs = {kUpdate9X},
         .shortcut = true},
        {.name = "98: restart declined; a start with arguments leaves none", .windows = "win98", .ini = kOlderRuntime,
         .args = "/vg:1", .answer = IDCANCEL, .exitCode = kRestartNeeded, .boxes = {restart}, .runs = {kUpdate9X}},
        {.name = "a start turned away still removes the recorded shortcut", .given = kResumeRecord | kMutexHeld,
         .exitCode = kTurnedAway, .runs = {}},
        {.name = "98: restart accepted; the shortcut resumes setup, which installs", .windows = "win98",
         .ini = kOlderRuntime, .iniOnAnswer = kCurrentRuntime, .exitCode = kRestartStarted, .boxes = {restart},
         .runs = {kUpdate9X, kInstall}},
    });
    // clang-format on
}

TEST(OemStaging, Scenarios)
{
    // The sample's options file lists NoReboot=0, EnableVigilux=0, EnableScriptBlocking=1,
    // FirewallSecurityLevel=1: a load and save turns the list around, a written option leads it.
    const Texts vigilux = {"INSTOPTS:FirewallSecurityLevel=1", "INSTALL:EnableScriptBlocking=1", "INSTALL:NoReboot=0",
                           "INSTALL:EnableVigilux=1"};
    const char* copyFailed = "Exception: Unable to copy the InstOpts.dat file to the TEMP folder (error ";
    // clang-format off
    RunTable({
        {.name = "switches become options of the staged copy, never installer arguments",
         .args = "PROP=1 /vg:1 /noreboot /count:3 /fw:2 /cto /keyexist:\"HKLM\\Software\\Maker\"", .shipped = true,
         .installerArgs = "PROP=1 ",
         .staged = {"INSTALL:EnableScriptBlocking=1", "INSTALL:EnableVigilux=1", "INSTALL:NoReboot=1",
                    "INSTOPTS:RebootCount=3", "INSTOPTS:FirewallSecurityLevel=2", "INSTOPTS:FactoryRegKeyExists=1",
                    "INSTOPTS:FactoryRegKey=\"HKLM\\Software\\Maker\"", "CTO=1"}},
        {.name = "without switches the copy is still loaded and saved", .shipped = true,
         .staged = {"INSTOPTS:FirewallSecurityLevel=1", "INSTALL:EnableScriptBlocking=1", "INSTALL:EnableVigilux=0",
                    "INSTALL:NoReboot=0"}},
        {.name = "nothing shipped, an earlier copy in the way: it goes, nothing is published", .args = "/vg:1 /cto",
         .given = kStaleStagedFile, .logLines = {copyFailed}},
        {.name = "a folder at the staged name: the options are staged beside it", .args = "/vg:1", .shipped = true,
         .plantedAt = "instopts.dat", .plantedFolder = true,
         .logLines = {"The options are staged as " + kTemp + "instopts-1.dat: " + kStaged + " could not be created."},
         .staged = vigilux},
        {.name = "a read-only file there, and an interrupted run's value naming it: neither is read", .args = "/vg:1",
         .given = kStaleValue, .shipped = true, .plantedAt = "instopts.dat", .staged = vigilux},
        {.name = "nothing shipped: the interrupted run's value goes all the same", .args = "/vg:1",
         .given = kStaleValue, .plantedAt = "instopts.dat", .logLines = {copyFailed}},
        {.name = "a folder at the save's sibling: the save goes beside it", .args = "/vg:1", .shipped = true,
         .plantedAt = "instopts.dat.new", .plantedFolder = true, .staged = vigilux},
        {.name = "a read-only file there", .args = "/vg:1", .shipped = true, .plantedAt = "instopts.dat.new",
         .staged = vigilux},
        {.name = "a folder at the installer's log: the log goes beside it", .args = "/vg:1", .shipped = true,
         .plantedAt = "ZEL.log", .plantedFolder = true,
         .logLines = {"The installer's log is " + kLogFolder + "ZEL-1.log: " + kLogFolder +
                      "ZEL.log could not be created."},
         .logName = "ZEL-1.log", .staged = vigilux},
        {.name = "a read-only file there", .args = "/vg:1", .shipped = true, .plantedAt = "ZEL.log",
         .logName = "ZEL-1.log", .staged = vigilux},
        {.name = "a hard link at the staged name is never written through", .args = "/vg:1", .shipped = true,
         .linkAt = "instopts.dat", .staged = vigilux},
        {.name = "nor one at the save's sibling", .args = "/vg:1", .shipped = true, .linkAt = "instopts.dat.new",
         .staged = vigilux},
        {.name = "nor one at the installer's log", .args = "/vg:1", .shipped = true, .linkAt = "ZEL.log",
         .staged = vigilux},
        {.name = "a damaged shipped file is logged and left as it is; the switches are still cut",
         .args = "FOO=1 /vg:1 /count:5", .given = kDamagedShippedFile, .shipped = true,
         .logLines = {"Exception: Unable to load the InstOpts.dat file.\r\n"}, .installerArgs = "FOO=1 ",
         .staged = {"(unreadable)"}},
        {.name = "a missing TEMP folder is made", .args = "/vg:1", .given = kNoTempFolder, .shipped = true,
         .staged = vigilux},
    });
    // clang-format on
}

// The boxes' paths with nobody to answer: the texts go to the log, each box's
// default is taken (Cancel for the restart), the exit codes and the runs stay.
TEST(QuietMode, Scenarios)
{
    const Box retry = {IDS_INSTALLER_RETRY, MB_ICONERROR};
    Ini passive = kOlderRuntime;
    passive["ProductOpts"] = "/passive REBOOT=ReallySuppress";
    // Wine restarts by starting wineboot.exe: the stand-in in its place would list a restart among the runs.
    harness::StubPrograms().InstallAs(win::SystemFolder() + "\\wineboot.exe");
    harness::SetText(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", "wineboot.exe", "native");
    // clang-format off
    RunTable({
        {.name = "/qn: installer unusable twice, a repair and one retry", .args = "/qn", .installerCodes = {1601, 1631},
         .exitCode = 1631, .boxes = {retry, {IDS_INSTALLER_FAILED, MB_OK}}, .shown = kNothing,
         .runs = {kInstall, kUnregister, kRegister, kInstall}, .installerArgs = "/qn"},
        {.name = "/QN: Windows 95 is refused", .windows = "win95", .args = "/QN", .exitCode = kTurnedAway,
         .boxes = {{IDS_OS_NOT_SUPPORTED, MB_ICONERROR}}, .shown = kNothing, .runs = {}},
        {.name = "-quiet: the product's installer window is open", .args = "-quiet", .given = kInstallerWindow,
         .exitCode = kTurnedAway, .boxes = {{IDS_ALREADY_RUNNING, MB_OK}}, .shown = kNothing, .runs = {}},
        {.name = "/qn on 98: the update without its dialog, then no restart", .windows = "win98", .ini = kOlderRuntime,
         .args = "/qn", .exitCode = kRestartNeeded, .boxes = {{IDS_RESTART_REQUIRED, MB_OKCANCEL}}, .shown = kNothing,
         .runs = {kUpdate9X}},
        {.name = "/passive in the configured options: the progress dialog stays", .ini = passive,
         .installerCodes = {1613}, .boxes = {retry}, .shown = kProgressOnly,
         .runs = {kUpdateNT, kInstall, kUnregister, kRegister, kInstall}},
        {.name = "an OEM switch beside /qn is cut; /qn stays", .args = "/vg:1 /qn", .shown = kNothing,
         .installerArgs = "/qn"},
    });
    // clang-format on
}

// What a management tool that judges a deployment by the exit code alone
// needs: the installer's own code, a code for every run that installed
// nothing, the options an older installer understands, no window from
// Windows either, and every message not shown in the event log. The last
// row ends Wine's session; started with arguments, setup plants no shortcut
// that would resume it.
TEST(Unattended, Scenarios)
{
    const std::string rewrote = "Windows Installer \"2.0.2600.2\" predates 3.0: ";
    Ini updateMissing = kOlderRuntime;
    updateMissing["RuntimeNT"] = "Runtime\\Missing.exe";
    Ini forceRestart = kIni;
    forceRestart["ProductOpts"] = "/forcerestart";
    const Box restart = {IDS_RESTART_REQUIRED, MB_OKCANCEL}, retry = {IDS_INSTALLER_RETRY, MB_ICONERROR};
    // clang-format off
    RunTable({
        {.name = "/qn: another installation running", .args = "/qn", .installerCodes = {1618}, .exitCode = 1618,
         .shown = kNothing, .installerArgs = "/qn"},
        {.name = "installed, a restart needed", .installerCodes = {3010}, .exitCode = 3010},
        {.name = "Windows Installer 2.0: the 3.0 options in its spelling, in the arguments and the configured options",
         .ini = forceRestart, .args = "/quiet /norestart /promptrestart", .given = kInstaller20,
         .logLines = {rewrote + "\"/quiet\" passed as \"/qn\".",
                      rewrote + "\"/norestart\" passed as \"REBOOT=ReallySuppress\".",
                      rewrote + "\"/promptrestart\" left out, as Windows Installer 2.0 prompts anyway.",
                      rewrote + "\"/forcerestart\" passed as \"REBOOT=Force\"."},
         .shown = kNothing, .installerArgs = "/qn REBOOT=ReallySuppress ", .installerOpts = "REBOOT=Force"},
        {.name = "Windows Installer 3.0 and later: the options as given", .args = "/passive /norestart",
         .shown = kProgressOnly, .installerArgs = "/passive /norestart"},
        {.name = "/qn, the update program missing: no box from Windows; ends with 1601", .ini = updateMissing,
         .args = "/qn", .logLines = {"C:\\setuptest\\Runtime\\Missing.exe /Q was not started (error "},
         .exitCode = 1601, .shown = kNothing, .runs = {}},
        {.name = "a command line too long to start", .args = std::string(32700, 'x'),
         .logLines = {"The installer was not started: its command line holds "}, .exitCode = 1639, .runs = {}},
        {.name = "an OEM switch before /qn: quiet mode is judged on what the installer receives",
         .args = "/noreboot/qn", .installerCodes = {1601, 1631}, .exitCode = 1631,
         .boxes = {retry, {IDS_INSTALLER_FAILED, MB_OK}}, .shown = kNothing,
         .runs = {kInstall, kUnregister, kRegister, kInstall}, .installerArgs = "/qn"},
        {.name = "98, quiet, a restart asked for: it is started", .windows = "win98", .ini = kOlderRuntime,
         .args = "/qn /forcerestart", .exitCode = kRestartStarted, .boxes = {restart}, .shown = kNothing,
         .runs = {kUpdate9X}},
    });
    // clang-format on
}

// Registered with LC_ALL=en_US.UTF-8, so Wine's ANSI code page is 1252: it
// gives the Cyrillic name to GetModuleFileNameA as question marks. Setup goes
// through the folder's short name, and the installer finds its package there.
TEST(SetupFolder, NamedOutsideTheCodePageIsReachedThroughItsShortName)
{
    const harness::StubPrograms stub;
    const std::wstring folder = L"C:\\\u0423\u0441\u0442\u0430\u043d\u043e\u0432\u043a\u0430";  // "Installation"
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(GetShortPathNameW(folder.c_str(), shortName, MAX_PATH), 0u);
    const harness::LauncherFolder setup(std::string(shortName, shortName + wcslen(shortName)));  // plain ASCII
    setup.WriteIni(kIni);

    const std::wstring exePath = folder + L"\\Setup.exe";
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION started = {};
    ASSERT_TRUE(CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                               &startup, &started));
    const win::UniqueHandle process(started.hProcess), thread(started.hThread);
    DWORD exitCode = STILL_ACTIVE;
    WaitForSingleObject(process.Get(), 20000);
    GetExitCodeProcess(process.Get(), &exitCode);
    TerminateProcess(process.Get(), 0xDEAD);  // one waiting on a box

    EXPECT_EQ(exitCode, 0u);
    const Texts runs = stub.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_NE(runs[0].find(" /i \"" + setup.folder + "\\Package\\Product.msi\" "), std::string::npos) << runs[0];
}

// The build's sample setup folder, whose package (built by wixl) keeps a copy
// of the staged options it finds, run by Wine's own msiexec.exe.
TEST(WholeRun, WinesInstallerInstallsTheSampleWithTheSwitchesStaged)
{
    const harness::LauncherFolder setup("C:\\sample");
    CreateDirectoryA("C:\\sample\\Package", nullptr);
    for (const std::string file : {"Setup.ini", "Package\\ZoveAntivirus.msi", "Package\\instopts.dat"})
        ASSERT_TRUE(CopyFileA((kSample + file).c_str(), ("C:\\sample\\" + file).c_str(), FALSE)) << file;

    const auto run = harness::RunLauncher(setup.ExePath(), "/vg:1 /noreboot", {}, 120000);

    EXPECT_TRUE(run.exitCode == 0 && run.windows.empty());
    EXPECT_NE(harness::ReadFileText(kTemp + "ZEL.log").find("Zove Antivirus Sample"), std::string::npos);
    const Texts seen = harness::ReadOptions(kTemp + "SampleOptionsSeen.dat");
    for (const char* option : {"INSTALL:EnableVigilux=1", "INSTALL:NoReboot=1", "INSTALL:EnableScriptBlocking=1"})
        EXPECT_EQ(std::count(seen.begin(), seen.end(), option), 1) << option;
    EXPECT_EQ(harness::ReadFileText("C:\\sample\\Package\\instopts.dat"), harness::ReadFileText(kSampleOptions));
    EXPECT_FALSE(harness::FileExists(kStaged));
}

// All twenty exist before any runs a line, then all are let go: exactly one
// installs; the others end with -1 at once. One showing a box would still run.
TEST(WholeRun, TwentyLaunchersStartedAtOnceInstallExactlyOnce)
{
    const harness::StubPrograms stub;
    const harness::LauncherFolder setup;
    stub.Plan({0}, 2000);
    setup.WriteIni(kIni);
    std::vector<harness::Launched> launchers;
    std::vector<HANDLE> processes;
    for (int i = 0; i < 20; ++i) launchers.push_back(harness::StartLauncher(setup.ExePath(), "", CREATE_SUSPENDED));
    for (const auto& launcher : launchers) processes.push_back(launcher.process.Get());
    for (const auto& launcher : launchers) ResumeThread(launcher.thread.Get());

    WaitForMultipleObjects(processes.size(), processes.data(), TRUE, 60000);
    std::map<DWORD, int> exits;  // exit code: launchers
    for (DWORD code = 0; HANDLE process : processes) ++exits[GetExitCodeProcess(process, &code) ? code : 0];
    EXPECT_EQ(exits, (std::map<DWORD, int>{{0, 1}, {kTurnedAway, 19}}));
    EXPECT_EQ(stub.Runs().size(), 1u);
}

}  // namespace
