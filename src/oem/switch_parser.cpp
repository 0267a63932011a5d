#include "oem/switch_parser.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace oem {
namespace {

bool IsNumberSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::int32_t EnabledFlag(const char* valueText) { return ParseSwitchNumber(valueText) == 1 ? 1 : 0; }
// "/icon:1" asks for the desktop icon, so the stored setting is "no icon" = 0.
std::int32_t NoIconFlag(const char* valueText) { return ParseSwitchNumber(valueText) == 1 ? 0 : 1; }
std::int32_t Present(const char*) { return 1; }
std::int32_t PlainNumber(const char* valueText) { return ParseSwitchNumber(valueText); }

std::int32_t FirewallLevel(const char* valueText)
{
    const std::int32_t number = ParseSwitchNumber(valueText);
    return number == 0 || number == 2 ? number : 1;
}

}  // namespace

std::int32_t ParseSwitchNumber(const char* valueText)
{
    const char* p = valueText;
    while (IsNumberSpace(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    // Accumulated as a magnitude in 64 bits and clamped per digit, so a
    // digit string of any length cannot overflow.
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT32_MIN) : INT32_MAX;
    std::int64_t magnitude = 0;
    for (; IsDigit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) magnitude = limit;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

SwitchParser::SwitchParser(char* commandLine, text::CodePage codePage)
    : commandLine_(commandLine), codePage_(codePage)
{
}

bool SwitchParser::GetEnableVigilux(std::int32_t* value) { return QueryValue(vigilux_, "/vg:", &EnabledFlag, value); }
bool SwitchParser::GetEnableScriptBlocking(std::int32_t* value) { return QueryValue(scriptBlocking_, "/sb:", &EnabledFlag, value); }
bool SwitchParser::GetEnableEmailIn(std::int32_t* value) { return QueryValue(emailIn_, "/emi:", &EnabledFlag, value); }
bool SwitchParser::GetEnableEmailOut(std::int32_t* value) { return QueryValue(emailOut_, "/emo:", &EnabledFlag, value); }
bool SwitchParser::GetNoDesktopIcon(std::int32_t* value) { return QueryValue(desktopIcon_, "/icon:", &NoIconFlag, value); }
bool SwitchParser::GetNoReboot(std::int32_t* value) { return QueryValue(noReboot_, "/noreboot", &Present, value); }
bool SwitchParser::GetRebootCount(std::int32_t* value) { return QueryValue(rebootCount_, "/count:", &PlainNumber, value); }
bool SwitchParser::GetFirewallLevel(std::int32_t* value) { return QueryValue(firewallLevel_, "/fw:", &FirewallLevel, value); }
bool SwitchParser::GetReseal(std::int32_t* value) { return QueryValue(reseal_, "/reseal", &Present, value); }
bool SwitchParser::GetCto(std::int32_t* value) { return QueryValue(cto_, "/cto", &Present, value); }

bool SwitchParser::GetKeyExistPath(char* buffer, std::size_t capacity) { return QueryText(keyExist_, "/keyexist:\"", buffer, capacity); }
bool SwitchParser::GetKeyNoExistPath(char* buffer, std::size_t capacity) { return QueryText(keyNoExist_, "/keynoexist:\"", buffer, capacity); }
bool SwitchParser::GetFileExistPath(char* buffer, std::size_t capacity) { return QueryText(fileExist_, "/fileexist:\"", buffer, capacity); }
bool SwitchParser::GetFileNoExistPath(char* buffer, std::size_t capacity) { return QueryText(fileNoExist_, "/filenoexist:\"", buffer, capacity); }

bool SwitchParser::QueryValue(ValueSwitch& entry, const char* switchText, Decoder decode, std::int32_t* value)
{
    if (!entry.found) {
        char* position = FindSwitch(switchText);
        if (position == nullptr) return false;
        entry.found = true;
        // Decoded before the cut: the value is read from the text as it stood.
        entry.value = decode(position + std::strlen(switchText));
        CutSwitch(position);
    }
    *value = entry.value;
    return true;
}

bool SwitchParser::QueryText(TextSwitch& entry, const char* switchText, char* buffer, std::size_t capacity)
{
    if (!entry.found) {
        char* position = FindSwitch(switchText);
        if (position == nullptr) return false;
        entry.found = true;
        const char* openingQuote = position + std::strlen(switchText) - 1;
        ExtractQuoted(openingQuote, entry.text, sizeof entry.text);
        CutSwitch(position);
    }
    if (capacity > 0) {
        const std::size_t length = std::min(std::strlen(entry.text), capacity - 1);
        std::memcpy(buffer, entry.text, length);
        buffer[length] = '\0';
    }
    return true;
}

char* SwitchParser::FindSwitch(const char* switchText) const
{
    const std::size_t length = std::strlen(switchText);
    for (char* p = commandLine_; *p != '\0'; p = const_cast<char*>(text::NextChar(p, codePage_))) {
        if (std::strncmp(p, switchText, length) == 0) return p;
    }
    return nullptr;
}

bool SwitchParser::WithinCommandLine(const char* position) const
{
    return position >= commandLine_ && position <= commandLine_ + std::strlen(commandLine_);
}

void SwitchParser::CutSwitch(char* position)
{
    if (!WithinCommandLine(position)) return;
    // Everything up to the next switch-like "/" or "-" goes: the switch, its
    // value and any words after it. Quotes are not considered.
    char* rest = position;
    if (*rest != '\0') ++rest;
    while (*rest != '\0' && *rest != '/' && *rest != '-') ++rest;
    std::memmove(position, rest, std::strlen(rest) + 1);
}

void SwitchParser::ExtractQuoted(const char* openingQuote, char* buffer, std::size_t capacity)
{
    if (!WithinCommandLine(openingQuote) || capacity == 0) return;
    // Without a closing quote the text runs to the end of the command line;
    // either way it is bounded by the buffer.
    std::size_t i = 1;
    while (i < capacity && openingQuote[i] != '"' && openingQuote[i] != '\0') ++i;
    std::memcpy(buffer, openingQuote + 1, i - 1);
    buffer[i - 1] = '\0';
}

}  // namespace oem
