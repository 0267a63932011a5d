#pragma once
// A reference model of the OEM switches and their plan, written plainly with
// std::string, and the launcher's parser and plan run the same way. Both
// render the writes and what stays of the command line, planned twice.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "oem/oem_option_plan.h"

namespace oem_model {

using oem::OemSetting;
enum Decode { kOneIsOn, kOneIsOff, kPresent, kNumber, kFirewall, kExists, kNotExists };
// clang-format off
constexpr struct { const char* text; OemSetting setting; Decode decode; } kSwitches[] = {  // in the editor's order
    {"/vg:", OemSetting::kEnableVigilux, kOneIsOn}, {"/sb:", OemSetting::kEnableScriptBlocking, kOneIsOn},
    {"/emi:", OemSetting::kEnableEmailIn, kOneIsOn}, {"/emo:", OemSetting::kEnableEmailOut, kOneIsOn},
    {"/icon:", OemSetting::kNoDesktopIcon, kOneIsOff}, {"/noreboot", OemSetting::kNoReboot, kPresent},
    {"/count:", OemSetting::kRebootCount, kNumber}, {"/fw:", OemSetting::kFirewallSecurityLevel, kFirewall},
    {"/keyexist:\"", OemSetting::kFactoryRegKey, kExists}, {"/keynoexist:\"", OemSetting::kFactoryRegKey, kNotExists},
    {"/fileexist:\"", OemSetting::kFactoryFile, kExists}, {"/filenoexist:\"", OemSetting::kFactoryFile, kNotExists},
    {"/reseal", OemSetting::kReseal, kPresent}, {"/cto", OemSetting::kCto, kPresent}};
// clang-format on

inline std::string Write(OemSetting setting, long long value, const std::string* text = nullptr)
{
    return std::to_string(static_cast<int>(setting)) + "=" + std::to_string(value) + (text ? ":" + *text : "") + " ";
}

// A switch is looked for until found; from then on it answers what it first
// decoded, and is not cut again.
inline std::string ModelPlan(std::string line, const text::CodePage& codePage)
{
    std::string out, answers[std::size(kSwitches)];
    bool found[std::size(kSwitches)] = {};
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < std::size(kSwitches); ++i) {
            const auto& s = kSwitches[i];
            const std::size_t length = std::strlen(s.text);
            std::size_t at = 0;  // the first match on a character boundary
            while (!found[i] && at < line.size() && line.compare(at, length, s.text) != 0)
                at += codePage.isLeadByte(static_cast<unsigned char>(line[at])) && at + 1 < line.size() ? 2 : 1;
            if (!found[i] && at < line.size()) {
                found[i] = true;
                const std::size_t v = at + length;
                const long long n = std::clamp<long long>(std::strtoll(&line[v], nullptr, 10), INT32_MIN, INT32_MAX);
                const std::size_t quotedLength = std::min(line.find('"', v) - v, oem::kSwitchTextCapacity - 1);
                const std::string quoted = line.substr(v, quotedLength);
                const long long values[] = {n == 1, n != 1, 1, n, n, 1, 0};  // by Decode
                if (s.decode != kFirewall || n == 0 || n == 2)
                    answers[i] = Write(s.setting, values[s.decode], s.decode >= kExists ? &quoted : nullptr);
                line.erase(at, line.find_first_of("/-", at + 1) - at);
            }
            out += answers[i];
        }
        out += "| " + line + (pass == 0 ? " | " : "");
    }
    return out;
}

inline std::string ParserPlan(std::string line, const text::CodePage& codePage)
{
    oem::SwitchParser parser(line.data(), codePage);
    std::string out;
    for (int pass = 0; pass < 2; ++pass) {
        for (const oem::OptionWrite& w : oem::PlanOemOptions(parser))
            out += Write(w.setting, w.value, w.IsFactoryPair() ? &w.text : nullptr);
        out += std::string("| ") + line.c_str() + (pass == 0 ? " | " : "");
    }
    return out;
}

}  // namespace oem_model
