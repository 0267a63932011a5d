#include "common/late_bound_functions.h"
#include "common/narrow_text.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

// "\x95\x5c" is one Shift-JIS character whose trail byte is a backslash.
TEST(NarrowText, DoubleByteCharactersAreSteppedOverWhole)
{
    EXPECT_EQ(text::CutAtLastChar("a\\b\\c.msi", '\\', text::ShiftJisCodePage()), "a\\b");
    EXPECT_EQ(text::CutAtLastChar("package.msi", '\\', text::ShiftJisCodePage()), "package.msi");
    EXPECT_EQ(text::CutAtLastChar("pkg\\\x95\x5cx", '\\', text::ShiftJisCodePage()), "pkg");
    EXPECT_EQ(text::CutAtLastChar("pkg\\\x95\x5cx", '\\', text::SingleByteCodePage()), "pkg\\\x95");
    // A lead byte just before the terminator is one byte; the walk ends there.
    EXPECT_EQ(text::FindLastChar("a.\x95", '.', text::ShiftJisCodePage()), 1u);
    EXPECT_EQ(text::WholeCharPrefixLength("ab\x95\x5c", 3, text::ShiftJisCodePage()), 2u);
    EXPECT_EQ(text::WholeCharPrefixLength("ab\x95\x5c", 4, text::ShiftJisCodePage()), 4u);
    EXPECT_EQ(text::WholeCharPrefixLength("ab\x95\x5c", 3, text::SingleByteCodePage()), 3u);
}

TEST(NarrowText, NumberedPathsStayInTheFolderBeforeTheExtension)
{
    const text::CodePage sjis = text::ShiftJisCodePage();
    EXPECT_EQ(text::NumberedPath("C:\\W\\Temp\\ZEL.log", 2, sjis), "C:\\W\\Temp\\ZEL-2.log");
    EXPECT_EQ(text::NumberedPath("C:\\T\\instopts.dat.new", 1, sjis), "C:\\T\\instopts.dat-1.new");
    EXPECT_EQ(text::NumberedPath("C:\\a.b\\name", 3, sjis), "C:\\a.b\\name-3");
    EXPECT_EQ(text::NumberedPath("C:\\x.y\x95\x5cz", 1, sjis),
              "C:\\x-1.y\x95\x5cz");  // the trail byte is no folder end
}

TEST(NarrowText, FormatTextSubstitutesArgumentsAsData)
{
    EXPECT_EQ(text::FormatText("%s and %s.", {"one", "two"}), "one and two.");
    EXPECT_EQ(text::FormatText("100%% of [%s]", {"%s %d %%"}), "100% of [%s %d %%]");
    EXPECT_EQ(text::FormatText("%s%s%", {"x"}), "x%");
}

// Windows 98 and Me export these NT functions only as stubs that always fail:
// the launcher takes its own fallback there, and the system's function elsewhere.
TEST(LateBoundTable, NineXStubsAreTakenOnTheNtFamilyOnly)
{
    const std::set<std::string> stubs = {
        "MoveFileExA",          "TryEnterCriticalSection", "GetHandleInformation", "SetProcessAffinityMask",
        "OpenProcessToken",     "GetTokenInformation",     "GetLengthSid",         "IsValidSid",
        "GetModuleFileNameW",   "GetShortPathNameW",       "RegisterEventSourceA", "ReportEventA",
        "DeregisterEventSource"};
    for (const win::LateBoundRow& row : win::kLateBoundRows) {
        const bool stub = stubs.count(row.function) != 0;
        EXPECT_EQ(win::TakesSystemExport(row, true, true), !stub) << row.function;
        EXPECT_TRUE(win::TakesSystemExport(row, true, false) && !win::TakesSystemExport(row, false, false));
    }
}
