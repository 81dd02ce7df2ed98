#pragma once

#include "config/ListTemplates.h"

// The [Liste] templates the program ships with.
CListTemplates DefaultListTemplates();
