#pragma once
#include <QIcon>

// The application icon, drawn rather than loaded, so the program needs no resource files.
QIcon qevApplicationIcon();
