#pragma once
// The maker's registry key under HKEY_LOCAL_MACHINE. It holds "Instopts" (the
// staged options file), "DebugLog" (the diagnostic log's switch) and the
// resume record's subkey "Setup.tmp".

namespace win {

constexpr char kMakerKey[] = "Software\\Kestrova";

}  // namespace win
