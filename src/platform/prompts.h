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
    // The window a message without a named owner belongs to.
    virtual QWidget* activeOwner() { return nullptr; }
};

// The prompter in use: the one installed last, else one that writes the
// texts to standard error and answers No (tools without windows).
Prompter& CurrentPrompter();
// Installs a prompter (not owned) and returns the one it replaces; nullptr
// goes back to standard error.
Prompter* SetPrompter(Prompter* prompter);

// Message boxes with the program's fixed captions, through the current
// prompter. Owned by the active window when there is one, always on top.
void ShowMsg(const QString& text);
void ShowErrorMsg(const QString& text);
// Shows the text followed by " ?"; true when Yes was pressed.
bool AskYesNo(const QString& text);
void ShowMsgOwner(QWidget* owner, const QString& text);
