#pragma once

// What each program of the editor sets up in its process before anything else.
//
// A write past the file size limit (ulimit -f, or a quota that sets one) fails with EFBIG
// instead of ending the process with SIGXFSZ, so a save that runs into the limit reports
// the error and gives the old content back; killed in the middle of an in-place write it
// would leave the file cut. Windows has no such signal; there it does nothing.

namespace platform {

void setUpProcess();

} // namespace platform
