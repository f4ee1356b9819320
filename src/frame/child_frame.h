#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <functional>

class QKeyEvent;
class TKWMain;
class QWidget;

// The common behaviour of every child window: the shared palette and fonts,
// Enter and the arrows moving the focus, no closing while a record is being
// edited, placement over the main window, and reports to the main window's
// frame when the window is shown, minimised or closed.
class TKWChild : public QObject
{
    Q_OBJECT
public:
    // One per window; a second throws KWError("TKWChild控件只能有一个").
    TKWChild(QWidget* window, TKWMain* mainFrame);

    bool EnterMove = true;
    bool MoveOnEnter = true;  // moEnter
    bool MoveOnUpDown = true; // moUpDn
    bool EditNoBeep = true;
    bool NotTopShow = false;
    QColor Color;
    QColor LabelColor;
    QColor EditColor;
    QColor ColorOnFocus;
    QString Language = QStringLiteral("GB");
    // The window's own show handler, run on the first showing only.
    std::function<void()> OnFirstShow;

    // The registered window; nullptr before showing and after closing.
    QWidget* WindowID() const { return m_registered ? m_window.data() : nullptr; }

    void StartChild();
    // Shows and places the window; mode 1 keeps its style, any other value
    // keeps it on top. Returns the window.
    QWidget* ShowChild(int mode);
    void ApplyStyle(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleKey(QWidget* target, const QKeyEvent& event);
    bool mayClose();
    void closed();

    QPointer<QWidget> m_window;
    QPointer<TKWMain> m_main;
    bool m_registered = false;
    bool m_shownOnce = false;
};

// The focusable control before or after `from` in its window's tab order.
QWidget* FocusNeighbour(QWidget* from, bool next);
