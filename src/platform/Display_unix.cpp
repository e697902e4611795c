#include "platform/Display.h"

#include <cstdlib>

namespace platform {
namespace {

bool set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

bool displayNamed()
{
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace platform
