#include "platform/Display.h"

namespace platform {

bool displayNamed()
{
    return true;
}

} // namespace platform
