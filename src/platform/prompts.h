#pragma once

#include <QString>

class QFont;
class QWidget;

// Every place where the program waits for a person goes through the current
// Prompter, so tests can script the answers and headless runs never hang.
class Prompter
{
public:
    enum class Icon { Warning, Error, Question, Information };

    virtual ~Prompter() = default;

    virtual void message(QWidget* owner, Icon icon, const QString& caption,
                         const QString& text) = 0;
    // True when the answer is Yes.
    virtual bool askYesNo(QWidget* owner, const QString& caption, const QString& text) = 0;
    // Empty when cancelled. Filters use Qt's form: "文本文件 (*.txt)".
    virtual QString openFile(QWidget* owner, const QString& caption, const QString& folder,
                             const QString& filter) = 0;
    virtual QString saveFile(QWidget* owner, const QString& caption, const QString& proposedPath,
                             const QString& filter) = 0;
    virtual QString chooseFolder(QWidget* owner, const QString& caption, const QString& folder) = 0;
    // False when cancelled; font is changed only on true.
    virtual bool chooseFont(QWidget* owner, QFont& font) = 0;
};

// The prompter in use; the real dialogs unless something else was installed.
Prompter& CurrentPrompter();
// Installs a prompter (not owned); nullptr restores the real dialogs.
void SetPrompter(Prompter* prompter);

// Shows real Qt dialogs, staying on top of the other windows.
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
};
