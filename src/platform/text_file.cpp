#include "platform/text_file.h"

#include <QFile>
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
