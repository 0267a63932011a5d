#pragma once
// The portable rules of the runtime update and the restart that may follow:
// whether the installed Windows Installer runtime counts as older, whether a
// restart is needed, and where the update program and resume shortcut live.

#include <cstdint>
#include <string>

#include "common/narrow_text.h"

namespace setup {

// Compares two texts as lstrcmpA does: below zero, zero or above zero.
using TextComparison = int (*)(const char*, const char*);

// The part of a dotted version text that counts: the text cut before its last
// ".", so the fourth field of a four-part version never matters. A text
// without "." stays whole.
std::string ComparedVersionText(const std::string& version, const text::CodePage& codePage);

// True when the installed version, compared as text with the required one,
// comes first. The comparison is textual, not numeric: "1.2.0.0" is not older
// than "1.10.0.0". An empty installed version is older than any non-empty
// required version; an empty required version never asks for an update.
bool InstalledRuntimeIsOlder(const std::string& installedVersion, const std::string& requiredVersion,
                             const text::CodePage& codePage, TextComparison compare);

// VER_PLATFORM_WIN32_WINDOWS: Windows 95, 98 and Me.
constexpr std::uint32_t kPlatformWindows9x = 1;

// The update needs a restart only on Windows 98 and Me (the 9x family with a
// non-zero minor version) and only when the installer library was there
// before the update; a first installation of the runtime does not.
bool RestartNeededAfterUpdate(bool libraryPresentBeforeUpdate, std::uint32_t platformId, std::uint32_t minorVersion);

// "%s\%s" of the setup folder and the configured update program.
std::string RuntimeUpdatePath(const std::string& setupFolder, const std::string& programName);

// "%s\%s.lnk" of the Startup folder and the product name; an empty product
// name gives a file named just ".lnk".
std::string ResumeShortcutPath(const std::string& startupFolder, const std::string& productName);

}  // namespace setup
