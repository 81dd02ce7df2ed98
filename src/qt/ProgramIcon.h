#pragma once

#include <QIcon>

// The program's icon, for the window's title bar and the task bar.
QIcon ProgramIcon();
