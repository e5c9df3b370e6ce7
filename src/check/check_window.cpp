// Tools > Check Interface: the check's window, driven by the pump's ticks through the door.
#include "check/check_window.h"

#include "platform/logging.h"
#include "platform/text_file.h"
#include "serial/baud_rates.h"
#include "ui/tool_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
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

// The deeper search's rates: the usual order, or one of the pop-up's rates or 115200.
QComboBox* rateChoice()
{
    auto* box = new QComboBox;
    box->setObjectName(QStringLiteral("DeepRate"));
    box->addItem(QObject::tr("Usual rates in turn"), 0);
    for (const int rate : serial::kBaudRates) {
        box->addItem(QObject::tr("%1 bit/s").arg(rate), rate);
    }
    box->addItem(QObject::tr("%1 bit/s").arg(InterfaceCheck::kUsbRate), InterfaceCheck::kUsbRate);
    return box;
}

Setup setup(const line::Settings& settings)
{
    return {settings.port, settings.baudCode, settings.ourId, settings.radioId, settings.network};
}

} // namespace

CheckWindow::CheckWindow(line::Door& door, line::CheckControl& control, QWidget* main, int tickMs)
    : QWidget(main, Qt::Window)
    , door_(door)
    , control_(control)
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
    activity_ = new QLabel;
    activity_->setObjectName(QStringLiteral("CheckActivity"));
    layout->addWidget(activity_);
    report_ = new QPlainTextEdit;
    report_->setObjectName(QStringLiteral("CheckReport"));
    report_->setReadOnly(true);
    report_->setPlaceholderText(tr("Start checks the chosen port, the echo, the radio at Radio ID "
                                   "and, if it does not answer, every rate."));
    layout->addWidget(report_);

    auto* deeper = new QHBoxLayout;
    layout->addLayout(deeper);
    deep_ = addButton(deeper, "DeepSearchButton", tr("Deeper Search"));
    deepRate_ = rateChoice();
    deeper->addWidget(deepRate_);
    deeper->addStretch();

    auto* files = new QHBoxLayout;
    layout->addLayout(files);
    QPushButton* const copy = addButton(files, "CopyButton", tr("Copy"));
    QPushButton* const save = addButton(files, "SaveButton", tr("Save..."));
    status_ = new QLabel;
    files->addWidget(status_, 1);
    files->addWidget(ui::makeClosable(*this));

    cancel_->setEnabled(false);
    use_->setEnabled(false);
    deep_->setEnabled(false);
    setDefaultButton(start_);
    connect(start_, &QPushButton::clicked, this, &CheckWindow::start);
    connect(cancel_, &QPushButton::clicked, this, &CheckWindow::cancel);
    connect(deep_, &QPushButton::clicked, this, &CheckWindow::startDeepSearch);
    connect(use_, &QPushButton::clicked, this, [this] {
        if (finding_) {
            control_.useSettings(finding_->baudCode, finding_->address);
        }
    });
    connect(copy, &QPushButton::clicked, this, &CheckWindow::copyReport);
    connect(save, &QPushButton::clicked, this, &CheckWindow::saveReport);
    connect(&door_.taps(), &line::Taps::ticked, this, &CheckWindow::tick);
    connect(&door_.taps(), &line::Taps::frame, this, &CheckWindow::frame);
    connect(&door_.taps(), &line::Taps::settingsChanged, this, &CheckWindow::settingsChanged);
    ui::placeBeside(*this, main, {560, 420});
}

bool CheckWindow::pausePoll(bool freshReport)
{
    status_->clear();
    if (!control_.pausePoll()) {
        report_->appendPlainText(tr("A search for radios is running; start the check when it "
                                    "has ended."));
        return false;
    }
    if (freshReport) {
        report_->clear();
    }
    finding_.reset();
    use_->setEnabled(false);
    deep_->setEnabled(false);
    setDefaultButton(start_);
    start_->setEnabled(false);
    cancel_->setEnabled(true);
    return true;
}

void CheckWindow::start()
{
    if (pausePoll(true)) {
        apply(check_.start(setup(door_.settings()), door_.now()));
    }
}

void CheckWindow::startDeepSearch()
{
    const int rate = deepRate_->currentData().toInt();
    // Below the report that led to it.
    if (pausePoll(false)) {
        apply(check_.deepSearch(rate, door_.now()));
    }
}

void CheckWindow::cancel()
{
    apply(check_.cancel());
}

void CheckWindow::tick()
{
    if (check_.running()) {
        const line::Millis now = door_.now();
        apply(check_.tick(now, door_.port(), door_.heldBack(now)));
    }
}

void CheckWindow::frame(const line::FrameEvent& event)
{
    if (check_.running()) {
        apply(check_.event(event));
    }
}

void CheckWindow::settingsChanged()
{
    if (check_.running()) {
        apply(check_.settingsChanged());
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
    activity_->setText(QString::fromStdString(step.activity));
    for (const civ::Frame& frame : step.send) {
        door_.send(frame, line::Origin{line::Source::Check, 0, {}});
    }
    if (step.finding) {
        finding_ = step.finding;
        use_->setEnabled(true);
        setDefaultButton(use_);
    }
    if (step.offerDeepSearch) {
        offerDeepSearch(*step.offerDeepSearch);
    }
    if (step.openRate) {
        const platform::OpenError error = control_.reopen(*step.openRate);
        apply(check_.opened(error, door_.port().reason, door_.now()));
    }
    if (step.done) {
        control_.restore();
        start_->setEnabled(true);
        cancel_->setEnabled(false);
    }
}

void CheckWindow::offerDeepSearch(int rate)
{
    // A network port has one rate, the server's.
    const bool network = door_.settings().network;
    deepRate_->setEnabled(!network);
    deepRate_->setCurrentIndex(std::max(deepRate_->findData(network ? 0 : rate), 0));
    deep_->setEnabled(true);
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
