#include "app/EditorState.h"
