#pragma once

// Moved to the window room; this forward keeps the dialogs building until they include it there.
#include "window/ProfileFormat.h"
