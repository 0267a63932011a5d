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

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::int32_t DecodeValue(SwitchValue kind, const char* valueText, std::int32_t existsFlag)
{
    switch (kind) {
    case SwitchValue::kOneIsOn: return ParseSwitchNumber(valueText) == 1 ? 1 : 0;
    case SwitchValue::kOneIsOff: return ParseSwitchNumber(valueText) == 1 ? 0 : 1;
    case SwitchValue::kPresent: return 1;
    case SwitchValue::kNumber: return ParseSwitchNumber(valueText);
    case SwitchValue::kFirewallLevel: {
        const std::int32_t number = ParseSwitchNumber(valueText);
        return number == 0 || number == 2 ? number : 1;
    }
    case SwitchValue::kQuotedText: break;
    }
    return existsFlag;
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

SwitchParser::SwitchParser(char* commandLine, text::CodePage codePage) : commandLine_(commandLine), codePage_(codePage)
{
}

SwitchParser::FoundSwitch& SwitchParser::Search(std::size_t row)
{
    // Looked for until found; from then on it answers what it first decoded.
    FoundSwitch& entry = switches_[row];
    if (entry.found) return entry;
    const OemSwitch& oemSwitch = kOemSwitches[row];
    char* position = FindSwitch(oemSwitch.text);
    if (position == nullptr) return entry;
    entry.found = true;
    // Decoded before the cut: the value is read from the text as it stood.
    const char* valueText = position + std::strlen(oemSwitch.text);
    entry.value = DecodeValue(oemSwitch.value, valueText, oemSwitch.existsFlag);
    if (oemSwitch.value == SwitchValue::kQuotedText) {
        const char* openingQuote = valueText - 1;
        ExtractQuoted(openingQuote, entry.text, sizeof entry.text);
    }
    CutSwitch(position);
    return entry;
}

bool SwitchParser::CutValue(std::size_t row, std::int32_t* value)
{
    const FoundSwitch& entry = Search(row);
    if (entry.found) *value = entry.value;
    return entry.found;
}

bool SwitchParser::CutText(std::size_t row, char* buffer, std::size_t capacity)
{
    const FoundSwitch& entry = Search(row);
    if (!entry.found) return false;
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
