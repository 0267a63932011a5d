#include "common/string_resources.h"

namespace win {
namespace {

HINSTANCE g_resourceModule = nullptr;

}  // namespace

void SetResourceModule(HINSTANCE instance) { g_resourceModule = instance; }

std::string LoadResourceText(UINT id)
{
    // Larger than any string of the table, so none is ever cut.
    char buffer[1024] = {};
    const int length = LoadStringA(g_resourceModule, id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace win
