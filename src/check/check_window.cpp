#include "check/check_window.h"

#include "platform/logging.h"
#include "platform/text_file.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace check {

namespace {

QPushButton* addButton(QBoxLayout* row, const char* name, const QString& text)
{
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    row->addWidget(button);
    return button;
}

std::span<const std::uint8_t> byteSpan(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

Setup setup(const line::Settings& settings)
{
    return {settings.port, settings.baudCode, settings.ourId, settings.radioId, settings.network};
}

} // namespace

CheckWindow::CheckWindow(line::Door& main, int tickMs)
    : QWidget(main.mainWidget(), Qt::Window)
    , main_(main)
    , check_(tickMs)
{
    setObjectName(QStringLiteral("CheckWindow"));
    setWindowTitle(tr("Check Interface"));
    auto* layout = new QVBoxLayout(this);
    auto* actions = new QHBoxLayout;
    layout->addLayout(actions);
    start_ = addButton(actions, "StartButton", tr("Start"));
    cancel_ = addButton(actions, "CancelButton", tr("Cancel"));
    actions->addStretch();
    use_ = addButton(actions, "UseSettingsButton", tr("Use these settings"));

    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("CheckProgress"));
    layout->addWidget(progress_);
    report_ = new QPlainTextEdit;
    report_->setObjectName(QStringLiteral("CheckReport"));
    report_->setReadOnly(true);
    report_->setPlaceholderText(tr("Start checks the chosen port, the echo, the radio at Radio ID "
                                   "and, if it does not answer, every rate."));
    layout->addWidget(report_);

    auto* files = new QHBoxLayout;
    layout->addLayout(files);
    QPushButton* const copy = addButton(files, "CopyButton", tr("Copy"));
    QPushButton* const save = addButton(files, "SaveButton", tr("Save..."));
    status_ = new QLabel;
    files->addWidget(status_, 1);

    cancel_->setEnabled(false);
    use_->setEnabled(false);
    setDefaultButton(start_);
    connect(start_, &QPushButton::clicked, this, &CheckWindow::start);
    connect(cancel_, &QPushButton::clicked, this, &CheckWindow::cancel);
    connect(use_, &QPushButton::clicked, this, [this] {
        if (finding_) {
            main_.useSettings(finding_->baudCode, finding_->address);
        }
    });
    connect(copy, &QPushButton::clicked, this, &CheckWindow::copyReport);
    connect(&main_.taps(), &line::Taps::ticked, this, &CheckWindow::tick);
    connect(&main_.taps(), &line::Taps::received, this, &CheckWindow::received);
    connect(&main_.taps(), &line::Taps::written, this, &CheckWindow::sent);
    connect(save, &QPushButton::clicked, this, &CheckWindow::saveReport);
    resize(560, 380);
    clock_.start();
}

void CheckWindow::start()
{
    report_->clear();
    status_->clear();
    if (!main_.pausePoll()) {
        report_->setPlainText(tr("A search for radios is running; start the check when it has "
                                 "ended."));
        return;
    }
    finding_.reset();
    use_->setEnabled(false);
    setDefaultButton(start_);
    start_->setEnabled(false);
    cancel_->setEnabled(true);
    apply(check_.start(setup(main_.settings())));
}

void CheckWindow::cancel()
{
    apply(check_.cancel());
}

void CheckWindow::tick()
{
    if (check_.running()) {
        apply(check_.tick());
    }
}

void CheckWindow::received(const QByteArray& chunk)
{
    if (check_.running()) {
        apply(check_.received(byteSpan(chunk), clock_.elapsed()));
    }
}

void CheckWindow::sent(const QByteArray& bytes)
{
    if (check_.running()) {
        apply(check_.sent(byteSpan(bytes), clock_.elapsed()));
    }
}

void CheckWindow::apply(const Step& step)
{
    for (const std::string& sentence : step.report) {
        const QString text = QString::fromStdString(sentence);
        qCInfo(lcCheck).noquote() << text;
        report_->appendPlainText(text);
    }
    progress_->setValue(step.progress);
    for (const civ::Frame& frame : step.send) {
        main_.send(frame, line::Origin{line::Source::Check, 0, {}});
    }
    if (step.finding) {
        finding_ = step.finding;
        use_->setEnabled(true);
        setDefaultButton(use_);
    }
    if (step.openRate) {
        const platform::OpenError error = main_.reopen(*step.openRate);
        apply(check_.opened(error, main_.account().port().reason));
    }
    if (step.done) {
        main_.restore();
        start_->setEnabled(true);
        cancel_->setEnabled(false);
    }
}

void CheckWindow::setDefaultButton(QPushButton* button)
{
    start_->setDefault(button == start_);
    use_->setDefault(button == use_);
    default_ = button;
}

void CheckWindow::keyPressEvent(QKeyEvent* event)
{
    // Outside a dialog Qt has no default button: Return takes it here, wherever the focus is.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && default_->isEnabled()) {
        default_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CheckWindow::closeEvent(QCloseEvent* event)
{
    if (check_.running()) {
        cancel();
    }
    event->accept();
}

void CheckWindow::copyReport()
{
    QGuiApplication::clipboard()->setText(report_->toPlainText());
    status_->setText(tr("Report copied."));
}

void CheckWindow::saveReport()
{
    auto* dialog = new QFileDialog(this, tr("Save Report"), QString(), tr("Text files (*.txt)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    dialog->selectFile(QStringLiteral("check-interface.txt"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
        const QString error = platform::writeTextFile(file, report_->toPlainText() + u'\n');
        status_->setText(error.isEmpty() ? tr("Saved to %1.").arg(file)
                                         : tr("Not saved to %1: %2.").arg(file, error));
    });
    // Window-modal but without a nested event loop: the pump keeps running.
    dialog->open();
}

} // namespace check
