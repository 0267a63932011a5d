#include "common/string_resources.h"

namespace win {

std::string LoadResourceText(HINSTANCE module, UINT id)
{
    // Larger than any string of the table, so none is ever cut.
    char buffer[1024] = {};
    const int length = LoadStringA(module, id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace win
