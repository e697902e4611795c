#include "platform/FontConfiguration.h"

namespace platform {

void loadFontConfiguration()
{
}

} // namespace platform
