#include "instopts/windows_characters.h"

namespace instopts {

bool WindowsCharacterOf(unsigned codePage, const std::string& bytes, char32_t& character)
{
    if (bytes.empty() || bytes.size() > 2) return false;
    const unsigned lead = bytes.size() == 2 ? static_cast<unsigned char>(bytes[0]) : 0;
    const unsigned trail = static_cast<unsigned char>(bytes.back());
    for (const WindowsCharacterBlock& b : kWindowsCharacterBlocks) {
        if (b.codePage == codePage && lead >= b.leadFirst && lead <= b.leadLast && trail >= b.trailFirst &&
            trail <= b.trailLast) {
            character = b.firstCharacter + b.rowLength * (lead - b.leadFirst) + (trail - b.trailFirst);
            return true;
        }
    }
    return false;
}

bool WindowsBytesOf(unsigned codePage, char32_t character, std::string& bytes)
{
    for (const WindowsCharacterBlock& b : kWindowsCharacterBlocks) {
        if (b.codePage != codePage || character < b.firstCharacter) continue;
        const char32_t offset = character - b.firstCharacter;
        const unsigned lead = b.leadFirst + (b.rowLength ? offset / b.rowLength : 0);
        const unsigned trail = b.trailFirst + (b.rowLength ? offset % b.rowLength : offset);
        if (lead <= b.leadLast && trail <= b.trailLast) {
            bytes.assign(1, static_cast<char>(trail));
            if (lead != 0) bytes.insert(bytes.begin(), static_cast<char>(lead));
            return true;
        }
    }
    return false;
}

}  // namespace instopts
