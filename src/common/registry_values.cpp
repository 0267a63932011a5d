#include "common/registry_values.h"

#include "common/maker_key.h"

namespace win {

void WriteMachineText(const char* keyPath, const char* valueName, const std::string& text)
{
    UniqueKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        key.Put(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    RegSetValueExA(key.Get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

UniqueKey OpenMakerKey(REGSAM access)
{
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMakerKey, 0, access, key.Put()) != ERROR_SUCCESS) key.Reset();
    return key;
}

LONG ReadPathText(HKEY key, const char* valueName, std::string& text)
{
    // One byte more than the read may fill, so a value stored without its
    // terminator still ends inside the buffer.
    char value[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    const LONG read = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    if (read == ERROR_SUCCESS) text = value;
    return read;
}

}  // namespace win
