#pragma once

#include "platform/prompts.h"

#include <QFont>
#include <QQueue>
#include <QStringList>

// Records every prompt and answers from queues. A question or dialog that
// finds no queued answer is recorded as unexpected and answered No/cancel.
class ScriptedPrompter : public Prompter
{
public:
    ScriptedPrompter() { SetPrompter(this); }
    ~ScriptedPrompter() override { SetPrompter(nullptr); }

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
};
