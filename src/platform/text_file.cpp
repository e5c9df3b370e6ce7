// Appending to a text file, checking that one could, and replacing one all or nothing.
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>

namespace platform {

QString appendToTextFile(const QString& fileName, const QString& text)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        return file.errorString();
    }
    const QByteArray bytes = text.toLatin1();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        return file.errorString();
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        return file.errorString();
    }
    return {};
}

QString appendError(const QString& fileName)
{
    const QFileInfo file(fileName);
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir()) {
        return QObject::tr("No such folder");
    }
    const bool writable = file.exists() ? file.isWritable() : folder.isWritable();
    return writable ? QString() : QObject::tr("Permission denied");
}

QString writeTextFile(const QString& fileName, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) || file.write(utf8) != utf8.size() ||
        !file.commit()) {
        return file.errorString();
    }
    return {};
}

} // namespace platform
