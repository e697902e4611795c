#include "platform/FontConfiguration.h"

#include <fontconfig/fontconfig.h>

namespace platform {

void loadFontConfiguration()
{
    // fontconfig keeps one configuration for the process; two threads loading it at once each
    // load one and the later is dropped, so a race costs time, never a wrong configuration.
    FcInit();
}

} // namespace platform
