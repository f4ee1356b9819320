#pragma once

#include "platform/prompts.h"

// Shows real Qt dialogs, owned by the active window and on top of the others.
class DialogPrompter : public Prompter
{
public:
    void message(QWidget* owner, Icon icon, const QString& caption, const QString& text) override;
    bool askYesNo(QWidget* owner, const QString& caption, const QString& text) override;
    QString openFile(QWidget* owner, const QString& caption, const QString& folder,
                     const QString& filter) override;
    QString saveFile(QWidget* owner, const QString& caption, const QString& proposedPath,
                     const QString& filter) override;
    QString chooseFolder(QWidget* owner, const QString& caption, const QString& folder) override;
    bool chooseFont(QWidget* owner, QFont& font) override;
    QWidget* activeOwner() override;
};

// Brings a window to the front with the keyboard focus; returns the widget
// that had the focus before.
QWidget* ForceFocusWindow(QWidget* window);
