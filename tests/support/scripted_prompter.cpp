#include "scripted_prompter.h"

#include <QTest>

void ScriptedPrompter::message(QWidget*, Icon icon, const QString& caption, const QString& text)
{
    shown.append({icon, caption, text});
}

bool ScriptedPrompter::askYesNo(QWidget*, const QString& caption, const QString& text)
{
    shown.append({Icon::Question, caption, text});
    if (answers.isEmpty()) {
        fail(text);
        return false;
    }
    return answers.dequeue();
}

QString ScriptedPrompter::openFile(QWidget*, const QString& caption, const QString&, const QString&)
{
    if (paths.isEmpty()) {
        fail(caption);
        return {};
    }
    return paths.dequeue();
}

QString ScriptedPrompter::saveFile(QWidget*, const QString& caption, const QString&, const QString&)
{
    return openFile(nullptr, caption, {}, {});
}

QString ScriptedPrompter::chooseFolder(QWidget*, const QString& caption, const QString&)
{
    return openFile(nullptr, caption, {}, {});
}

bool ScriptedPrompter::chooseFont(QWidget*, QFont& font)
{
    if (fonts.isEmpty()) {
        fail(QStringLiteral("font"));
        return false;
    }
    font = fonts.dequeue();
    return true;
}

QStringList ScriptedPrompter::takeTexts()
{
    QStringList texts;
    for (const Shown& s : shown)
        texts << s.text;
    shown.clear();
    return texts;
}

void ScriptedPrompter::fail(const QString& prompt)
{
    unexpected << prompt;
    QTest::qFail(qPrintable(QStringLiteral("unexpected prompt: ") + prompt), __FILE__, __LINE__);
}
