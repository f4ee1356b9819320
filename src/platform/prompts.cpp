#include "platform/prompts.h"

#include <cstdio>
#include <utility>

namespace {

const QString kInfoCaption = QStringLiteral("提示信息");
const QString kErrorCaption = QStringLiteral("错误信息");

// Where no window can be shown: the texts go to standard error, questions
// and dialogs are declined.
class ConsolePrompter : public Prompter
{
public:
    void message(QWidget*, Icon, const QString& caption, const QString& text) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    }
    bool askYesNo(QWidget* owner, const QString& caption, const QString& text) override
    {
        message(owner, Icon::Question, caption, text);
        return false;
    }
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    QString chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    bool chooseFont(QWidget*, QFont&) override { return false; }
};

Prompter* g_installed = nullptr;

} // namespace

Prompter& CurrentPrompter()
{
    static ConsolePrompter console;
    return g_installed ? *g_installed : console;
}

Prompter* SetPrompter(Prompter* prompter)
{
    return std::exchange(g_installed, prompter);
}

void ShowMsg(const QString& text)
{
    Prompter& prompter = CurrentPrompter();
    prompter.message(prompter.activeOwner(), Prompter::Icon::Warning, kInfoCaption, text);
}

void ShowErrorMsg(const QString& text)
{
    Prompter& prompter = CurrentPrompter();
    prompter.message(prompter.activeOwner(), Prompter::Icon::Error, kErrorCaption, text);
}

bool AskYesNo(const QString& text)
{
    Prompter& prompter = CurrentPrompter();
    return prompter.askYesNo(prompter.activeOwner(), kInfoCaption, text + QStringLiteral(" ?"));
}

void ShowMsgOwner(QWidget* owner, const QString& text)
{
    CurrentPrompter().message(owner, Prompter::Icon::Warning, kInfoCaption, text);
}
