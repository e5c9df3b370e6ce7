// The about message: the program's name and version, then what it is for.
#include "app/about.h"

QString aboutText(int major, int minor, int revision, const QString& endOfLine)
{
    return QStringLiteral("Tarvik Icom Version ") + QString::number(major) + QLatin1Char('.') +
           QString::number(minor) + QLatin1Char('.') + QString::number(revision) + endOfLine +
           QStringLiteral("A simple program to test out an Icom CI-V Interface");
}
