// The main window's menu bar: File, Edit, Tools and Help.
#pragma once

#include <QMenuBar>

// File: Quit. Edit: Undo, separator, Cut, Copy, Paste, Clear, acting on the focused text field.
// Tools: the windows beside the main one. Help: the about message.
class MenuBar1 : public QMenuBar {
    Q_OBJECT

public:
    explicit MenuBar1(QWidget* parent);

    QAction* busMonitorAction() const { return busMonitor_; }
    QAction* checkInterfaceAction() const { return checkInterface_; }
    // Checked while the Hamlib network server runs; it names the address.
    QAction* networkServerAction() const { return networkServer_; }
    void showNetworkServer(bool running, const QString& address);
    QAction* shareAction() const { return share_; }
    QAction* civPortAction() const { return civPort_; }
    // Checkable, unticked unless the operator ticked it.
    QAction* rememberAction() const { return remember_; }
    QAction* aboutAction() const { return about_; }

private:
    QAction* busMonitor_ = nullptr;
    QAction* checkInterface_ = nullptr;
    QAction* networkServer_ = nullptr;
    QAction* share_ = nullptr;
    QAction* civPort_ = nullptr;
    QAction* remember_ = nullptr;
    QAction* about_ = nullptr;
};
