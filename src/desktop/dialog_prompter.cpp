#include "desktop/dialog_prompter.h"

#include <QApplication>

#include <QAbstractButton>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace {

// Messages carry the old LF CR and CR LF pairs; a label wants plain line feeds.
QString displayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

int runBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption, const QString& text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    if (owner)
        ForceFocusWindow(owner);
    QMessageBox box(icon, caption, displayText(text), buttons, owner);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setDefaultButton(defaultButton);
    if (auto* yes = box.button(QMessageBox::Yes))
        yes->setText(QStringLiteral("是(&Y)"));
    if (auto* no = box.button(QMessageBox::No))
        no->setText(QStringLiteral("否(&N)"));
    if (auto* ok = box.button(QMessageBox::Ok))
        ok->setText(QStringLiteral("确定"));
    const int answer = box.exec();
    // Give the keyboard back to the owner, also where no window manager does.
    if (owner)
        owner->activateWindow();
    return answer;
}

} // namespace

void DialogPrompter::message(QWidget* owner, Icon icon, const QString& caption, const QString& text)
{
    runBox(owner, boxIcon(icon), caption, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool DialogPrompter::askYesNo(QWidget* owner, const QString& caption, const QString& text)
{
    return runBox(owner, QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::Yes) == QMessageBox::Yes;
}

QString DialogPrompter::openFile(QWidget* owner, const QString& caption, const QString& folder,
                                 const QString& filter)
{
    return QFileDialog::getOpenFileName(owner, caption, folder, filter);
}

QString DialogPrompter::saveFile(QWidget* owner, const QString& caption,
                                 const QString& proposedPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(owner, caption, proposedPath, filter);
}

QString DialogPrompter::chooseFolder(QWidget* owner, const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(owner, caption, folder);
}

bool DialogPrompter::chooseFont(QWidget* owner, QFont& font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, owner);
    if (ok)
        font = chosen;
    return ok;
}

QWidget* DialogPrompter::activeOwner()
{
    QWidget* owner = QApplication::activeModalWidget();
    return owner ? owner : QApplication::activeWindow();
}

QWidget* ForceFocusWindow(QWidget* window)
{
    QWidget* previous = QApplication::focusWidget();
    if (window) {
        window->raise();
        window->activateWindow();
    }
    return previous;
}
