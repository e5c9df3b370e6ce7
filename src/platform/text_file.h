#pragma once

#include <QString>

namespace platform {

// Appends text to the file, creating it when missing; the file is closed again before
// returning. Returns an empty string on success, else the system's reason.
QString appendToTextFile(const QString& fileName, const QString& text);
// Replaces the file's contents with text, as UTF-8, all or nothing: an existing file is left
// untouched when the write fails. Returns an empty string on success, else the system's reason.
QString writeTextFile(const QString& fileName, const QString& text);

} // namespace platform
