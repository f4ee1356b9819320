// Linked into every test program: outside a ScriptedPrompter's scope any
// prompt fails the running test instead of waiting for a person.
#include "platform/prompts.h"

#include <QTest>

namespace {

class FailingPrompter : public Prompter
{
public:
    void message(QWidget*, Icon, const QString&, const QString& text) override { fail(text); }
    bool askYesNo(QWidget*, const QString&, const QString& text) override
    {
        fail(text);
        return false;
    }
    QString openFile(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        fail(caption);
        return {};
    }
    QString saveFile(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        fail(caption);
        return {};
    }
    QString chooseFolder(QWidget*, const QString& caption, const QString&) override
    {
        fail(caption);
        return {};
    }
    bool chooseFont(QWidget*, QFont&) override
    {
        fail(QStringLiteral("font"));
        return false;
    }

private:
    static void fail(const QString& prompt)
    {
        QTest::qFail(qPrintable(QStringLiteral("prompt without a scripted answer: ") + prompt),
                     __FILE__, __LINE__);
    }
};

FailingPrompter g_failing;
const bool g_installed = (SetPrompter(&g_failing), true);

} // namespace
