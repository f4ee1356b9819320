#include "scripted_prompter.h"

void ScriptedPrompter::message(QWidget*, Icon icon, const QString& caption, const QString& text)
{
    shown.append({icon, caption, text});
}

bool ScriptedPrompter::askYesNo(QWidget*, const QString& caption, const QString& text)
{
    shown.append({Icon::Question, caption, text});
    if (answers.isEmpty()) {
        unexpected << text;
        return false;
    }
    return answers.dequeue();
}

QString ScriptedPrompter::openFile(QWidget*, const QString& caption, const QString&, const QString&)
{
    if (paths.isEmpty()) {
        unexpected << caption;
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
        unexpected << QStringLiteral("font");
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
