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
    // Checked while the Hamlib network server runs.
    QAction* networkServerAction() const { return networkServer_; }
    QAction* shareAction() const { return share_; }
    QAction* civPortAction() const { return civPort_; }
    QAction* aboutAction() const { return about_; }

private:
    QAction* busMonitor_ = nullptr;
    QAction* checkInterface_ = nullptr;
    QAction* networkServer_ = nullptr;
    QAction* share_ = nullptr;
    QAction* civPort_ = nullptr;
    QAction* about_ = nullptr;
};
