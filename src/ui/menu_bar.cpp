// The menu bar's items, the editing ones acting on the focused text field.
#include "ui/menu_bar.h"

#include "share/rigctl_listen_address.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

QAction* addItem(QMenu* menu, const char* name, const char* text, const QKeySequence& shortcut)
{
    auto* action = menu->addAction(QString::fromLatin1(text));
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

// The standard editing commands go to whichever text field has the focus.
template <class LineEditOp, class TextEditOp>
void onFocusedText(QAction* action, LineEditOp lineEditOp, TextEditOp textEditOp)
{
    QObject::connect(action, &QAction::triggered, action, [lineEditOp, textEditOp] {
        QWidget* const focus = QApplication::focusWidget();
        if (auto* line = qobject_cast<QLineEdit*>(focus)) {
            lineEditOp(line);
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(focus)) {
            textEditOp(text);
        }
    });
}

} // namespace

MenuBar1::MenuBar1(QWidget* parent)
    : QMenuBar(parent)
{
    setObjectName(QStringLiteral("MenuBar1"));

    QMenu* const fileMenu = addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("FileMenu"));
    QAction* const quit = addItem(fileMenu, "FileQuit", "Quit", QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

    QMenu* const editMenu = addMenu(QStringLiteral("&Edit"));
    editMenu->setObjectName(QStringLiteral("EditMenu"));
    onFocusedText(
        addItem(editMenu, "EditUndo", "Undo", QKeySequence::Undo), [](QLineEdit* e) { e->undo(); },
        [](QPlainTextEdit* e) { e->undo(); });
    editMenu->addSeparator()->setObjectName(QStringLiteral("UntitledMenu0"));
    onFocusedText(
        addItem(editMenu, "EditCut", "Cut", QKeySequence::Cut), [](QLineEdit* e) { e->cut(); },
        [](QPlainTextEdit* e) { e->cut(); });
    onFocusedText(
        addItem(editMenu, "EditCopy", "Copy", QKeySequence::Copy), [](QLineEdit* e) { e->copy(); },
        [](QPlainTextEdit* e) { e->copy(); });
    onFocusedText(
        addItem(editMenu, "EditPaste", "Paste", QKeySequence::Paste),
        [](QLineEdit* e) { e->paste(); }, [](QPlainTextEdit* e) { e->paste(); });
    onFocusedText(
        addItem(editMenu, "EditClear", "Clear", QKeySequence()),
        [](QLineEdit* e) {
            if (e->hasSelectedText()) {
                e->del();
            }
        },
        [](QPlainTextEdit* e) { e->textCursor().removeSelectedText(); });

    QMenu* const toolsMenu = addMenu(QStringLiteral("&Tools"));
    toolsMenu->setObjectName(QStringLiteral("ToolsMenu"));
    busMonitor_ =
        addItem(toolsMenu, "ToolsBusMonitor", "Bus Monitor", QKeySequence(Qt::CTRL | Qt::Key_M));
    checkInterface_ = addItem(toolsMenu, "ToolsCheckInterface", "Check Interface",
                              QKeySequence(Qt::CTRL | Qt::Key_I));
    networkServer_ =
        addItem(toolsMenu, "ToolsNetworkServer", "Hamlib Network Server", QKeySequence());
    networkServer_->setCheckable(true);
    showNetworkServer(false, QString::fromStdString(share::listenAddressText({})));
    toolsMenu->addSeparator()->setObjectName(QStringLiteral("UntitledMenu1"));
    share_ = addItem(toolsMenu, "ToolsShare", "Share...", QKeySequence());
    civPort_ =
        addItem(toolsMenu, "ToolsCivPort", "CI-V Port for Other Programs...", QKeySequence());
    toolsMenu->addSeparator()->setObjectName(QStringLiteral("UntitledMenu2"));
    remember_ = addItem(toolsMenu, "ToolsRememberSettings", "Remember Settings", QKeySequence());
    remember_->setCheckable(true);

    QMenu* const helpMenu = addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("HelpMenu"));
    about_ = addItem(helpMenu, "HelpAbout", "About Icom Interface", QKeySequence());
    about_->setMenuRole(QAction::AboutRole);
}

void MenuBar1::showNetworkServer(bool running, const QString& address)
{
    networkServer_->setChecked(running);
    networkServer_->setText(QStringLiteral("Hamlib Network Server (%1)").arg(address));
}
