#pragma once

#include "platform/prompts.h"

#include <QFont>
#include <QQueue>
#include <QStringList>

// Records every prompt and answers from queues, for its scope. A question
// or dialog that finds no queued answer fails the running test at once (and
// is answered No/cancel).
class ScriptedPrompter : public Prompter
{
public:
    ScriptedPrompter() : m_previous(SetPrompter(this)) {}
    ~ScriptedPrompter() override { SetPrompter(m_previous); }
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    struct Shown
    {
        Icon icon;
        QString caption;
        QString text;
    };

    void message(QWidget* owner, Icon icon, const QString& caption, const QString& text) override;
    bool askYesNo(QWidget* owner, const QString& caption, const QString& text) override;
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override;
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override;
    QString chooseFolder(QWidget*, const QString&, const QString&) override;
    bool chooseFont(QWidget*, QFont& font) override;

    // Answers, used in order.
    QQueue<bool> answers;
    QQueue<QString> paths;
    QQueue<QFont> fonts;

    QList<Shown> shown;     // every message and question, in order
    QStringList unexpected; // prompts that found no queued answer

    // The texts shown since the last call, then forgets them.
    QStringList takeTexts();

private:
    void fail(const QString& prompt);
    Prompter* m_previous;
};
