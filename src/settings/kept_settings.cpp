// The line's kept settings in the user's settings file: loaded, kept and forgotten.
#include "settings/kept_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace settings {

namespace {

const QString kRemember = QStringLiteral("remember");
const QString kPort = QStringLiteral("line/port");
const QString kRate = QStringLiteral("line/rate");
const QString kOurId = QStringLiteral("line/ourId");
const QString kRadioId = QStringLiteral("line/radioId");
const QString kBytes = QStringLiteral("line/bytes");

// A rate the pop-up does not offer starts at the usual one.
int codeOfRate(int rate)
{
    const auto* const found =
        std::find(serial::kBaudRates.cbegin(), serial::kBaudRates.cend(), rate);
    return found == serial::kBaudRates.cend()
               ? serial::kDefaultBaudCode
               : static_cast<int>(found - serial::kBaudRates.cbegin());
}

} // namespace

KeptSettings::KeptSettings()
    : file_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                        QStringLiteral("icom-interface"),
                                        QStringLiteral("icom-interface")))
{}

KeptSettings::~KeptSettings() = default;

bool KeptSettings::remembering() const
{
    return file_->value(kRemember, false).toBool();
}

std::optional<LineSettings> KeptSettings::load() const
{
    if (!remembering()) {
        return std::nullopt;
    }
    const LineSettings fresh;
    LineSettings kept;
    kept.port = file_->value(kPort, fresh.port).toString();
    kept.baudCode = codeOfRate(file_->value(kRate).toInt());
    kept.ourId = file_->value(kOurId, fresh.ourId).toString();
    kept.radioId = file_->value(kRadioId, fresh.radioId).toString();
    kept.bytesRow = file_->value(kBytes).toInt() == 5 ? 1 : 0;
    return kept;
}

void KeptSettings::keep(const LineSettings& values)
{
    file_->setValue(kRemember, true);
    file_->setValue(kPort, values.port);
    file_->setValue(kRate, serial::baudRateForCode(values.baudCode));
    file_->setValue(kOurId, values.ourId);
    file_->setValue(kRadioId, values.radioId);
    file_->setValue(kBytes, values.bytesRow == 1 ? 5 : 4);
}

void KeptSettings::forget()
{
    file_->clear();
    file_->sync();
    const QString name = file_->fileName();
    QFile::remove(name);
    // The folder Qt made for it, when nothing else is in it.
    QDir().rmdir(QFileInfo(name).path());
}

} // namespace settings
