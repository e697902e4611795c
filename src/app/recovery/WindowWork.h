#pragma once

// The work of a window taken into a picture, and a picture put back into a window.

#include "app/recovery/WorkPicture.h"

namespace app {
class TForm1;
}

namespace app::recovery {

// Everything but the question table's rows, which are described apart (StringGrid::
// describeRows), in slices, so that no slice holds the window for long.
WorkPicture takenFrom(TForm1& window);
// The window shows the picture's work, as if it had been made there; its blocks must all be
// read. Raises none of the handlers; the question table starts an empty undo history.
void putInto(TForm1& window, WorkPicture picture);

} // namespace app::recovery
