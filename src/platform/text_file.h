// Text files appended to or replaced whole, with the system's reason when that fails.
#pragma once

#include <QString>

namespace platform {

// Appends text to the file, creating it when missing; the file is closed again before
// returning. Returns an empty string on success, else the system's reason.
QString appendToTextFile(const QString& fileName, const QString& text);
// Why appending to the file would fail, found without creating or changing it; empty when it
// would succeed as far as the system tells.
QString appendError(const QString& fileName);
// Replaces the file's contents with text, as UTF-8, all or nothing: an existing file is left
// untouched when the write fails. Returns an empty string on success, else the system's reason.
QString writeTextFile(const QString& fileName, const QString& text);

} // namespace platform
