// The about message's text.
#pragma once

#include <QString>

// "Tarvik Icom Version 1.2.3", a line end, then what the program is for.
QString aboutText(int major, int minor, int revision, const QString& endOfLine);
