#pragma once

#include <QDialog>

class QTextBrowser;

// "帮助": the operator's guide in a window of its own, beside the main window.
class THelpForm : public QDialog
{
    Q_OBJECT
public:
    explicit THelpForm(QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return m_browser; }

    // The owner's help window, made on first use, shown and brought forward.
    static THelpForm* ShowFor(QWidget* owner);

private:
    QTextBrowser* m_browser;
};

// The operator's guide as Markdown: docs/guide.md, compiled into the program,
// so the README's guide and the help window are one text.
QString OperatorGuide();
