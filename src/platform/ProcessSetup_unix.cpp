#include "platform/ProcessSetup.h"

#include <csignal>

namespace platform {

void setUpProcess()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace platform
