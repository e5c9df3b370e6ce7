#pragma once

#include <QMenuBar>

// File: Quit. Edit: Undo, separator, Cut, Copy, Paste, Clear, acting on the focused text field.
class MenuBar1 : public QMenuBar {
    Q_OBJECT

public:
    explicit MenuBar1(QWidget* parent);
};
