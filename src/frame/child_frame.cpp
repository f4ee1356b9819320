#include "frame/child_frame.h"

#include "session/app_globals.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "controls/data_source.h"
#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/main_frame.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <cmath>

namespace {

const char* const kChildProperty = "kwChildFrame";

bool isMemo(const QWidget* w)
{
    return qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w);
}

bool isGrid(const QWidget* w)
{
    return qobject_cast<const QAbstractItemView*>(w);
}

bool focusable(const QWidget* w)
{
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
           !w->focusProxy();
}

} // namespace

QWidget* FocusNeighbour(QWidget* from, bool next)
{
    QWidget* w = from;
    const QWidget* window = from->window();
    do {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w->window() == window && focusable(w))
            return w;
    } while (w && w != from);
    return from;
}

TKWChild::TKWChild(QWidget* window, TKWMain* mainFrame)
    : QObject(window), Color(AppGlobals.Color), LabelColor(AppGlobals.LabelColor),
      EditColor(AppGlobals.EditColor), ColorOnFocus(AppGlobals.ColorOnFocus),
      Language(AppGlobals.Language), m_window(window), m_main(mainFrame)
{
    if (window->property(kChildProperty).toBool())
        throw KWError(QStringLiteral("TKWChild控件只能有一个"));
    window->setProperty(kChildProperty, true);
}

void TKWChild::StartChild()
{
    // The window sees keys before its controls.
    qApp->installEventFilter(this);
    m_window->installEventFilter(this);
    ApplyStyle(m_window);
}

QWidget* TKWChild::ShowChild(int mode)
{
    QWidget* main = m_main ? qobject_cast<QWidget*>(m_main->parent()) : nullptr;
    const QRect area = main ? main->geometry() : m_window->screen()->availableGeometry();
    const int top = qMin(90, int(std::lround((area.height() - m_window->height()) / 2.0 + 5)));
    const int left = qMax(2, int(std::lround((area.width() - m_window->width()) / 2.0 - 1)));
    m_registered = true;
    if (m_main)
        m_main->ChildShown(m_window);
    if (!m_window->isVisible()) {
        if (mode != 1 && !NotTopShow)
            m_window->setWindowFlag(Qt::WindowStaysOnTopHint);
        m_window->show();
    }
    const bool atCorner = m_window->property("kwTag").toInt() == 10;
    m_window->move(area.topLeft() + (atCorner ? QPoint(-4, -4) : QPoint(left, top)));
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}

void TKWChild::ApplyStyle(QWidget* window)
{
    QFont font = QApplication::font();
    font.setPointSize(Language == QLatin1String("GB") ? 9 : 10);
    for (QObject* o : window->findChildren<QObject*>()) {
        if (auto* source = qobject_cast<TKWDataSource*>(o)) {
            source->BrowseColor = Color;
            source->EditColor = EditColor;
            continue;
        }
        auto* w = qobject_cast<QWidget*>(o);
        if (!w)
            continue;
        const int tag = ControlTag(w);
        if (isGrid(w) &&
            !qobject_cast<QWidget*>(w->parent())->inherits("QComboBoxPrivateContainer")) {
            QPalette palette = w->palette();
            palette.setColor(QPalette::Base, Color);
            w->setPalette(palette);
            w->setCursor(Qt::PointingHandCursor);
            if (tag == 100)
                static_cast<QAbstractItemView*>(w)->setSelectionBehavior(
                    QAbstractItemView::SelectRows);
            continue;
        }
        const bool entry = IsEntryControl(w);
        if (entry) {
            if (tag == 3)
                SetEntryColors(w, LabelColor, LabelColor);
            else if (tag == 100)
                SetEntryColors(w, EditColor, ColorOnFocus);
            else
                SetEntryColors(w, Color, Color);
        }
        if ((entry || (qobject_cast<QLabel*>(w) && tag == 0)) && tag != 10)
            w->setFont(font);
    }
}

bool TKWChild::handleKey(QWidget* target, const QKeyEvent& event)
{
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (isMemo(target))
        return false;
    if (enter && MoveOnEnter) {
        // The field's own select handler may take Enter (a pick list opens).
        if (auto* edit = qobject_cast<TKWEdit*>(target); edit && edit->OnSelect) {
            bool keepFocus = false;
            edit->OnSelect(keepFocus);
            if (keepFocus)
                return true;
        }
        FocusNeighbour(target, true)->setFocus(Qt::TabFocusReason);
        return EditNoBeep;
    }
    // Alt+Down and the like belong to the control (a pick list or a calendar opens).
    if (isGrid(target) || !MoveOnUpDown || (event.modifiers() & ~Qt::KeypadModifier))
        return false;
    if (key == Qt::Key_Down) {
        FocusNeighbour(target, true)->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (key == Qt::Key_Up) {
        FocusNeighbour(target, false)->setFocus(Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

bool TKWChild::mayClose()
{
    for (TKWQuery* query : m_window->findChildren<TKWQuery*>()) {
        if (query->property("kwTag").toInt() == 0 && query->Editing()) {
            ShowMsg(QStringLiteral("必须先保存或取消新增的数据或修改后的数据"));
            return false;
        }
    }
    return true;
}

void TKWChild::closed()
{
    for (TKWNDBGrid* grid : m_window->findChildren<TKWNDBGrid*>())
        grid->SaveSettings();
    for (TKWQuery* query : m_window->findChildren<TKWQuery*>())
        query->CloseData();
    if (m_registered && m_main)
        m_main->ChildClosed(m_window);
    m_registered = false;
}

bool TKWChild::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Close:
            if (!mayClose()) {
                event->ignore();
                return true;
            }
            // The window's own handler may still refuse: look once it has run.
            QTimer::singleShot(0, this, [this] {
                if (m_window && !m_window->isVisible())
                    closed();
            });
            break;
        case QEvent::Hide:
            // A dialog ends without a close event: its lists keep their layout as it goes.
            for (TKWNDBGrid* grid : m_window->findChildren<TKWNDBGrid*>())
                grid->SaveSettings();
            break;
        case QEvent::Show:
            for (TKWNDBGrid* grid : m_window->findChildren<TKWNDBGrid*>())
                grid->LoadSettings();
            if (!m_shownOnce) {
                m_shownOnce = true;
                if (OnFirstShow)
                    OnFirstShow();
            }
            break;
        case QEvent::WindowStateChange:
            if (m_registered && m_main) {
                if (m_window->isMinimized())
                    m_main->ChildHidden(m_window);
                else
                    m_main->ChildShown(m_window);
            }
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
    if (EnterMove && event->type() == QEvent::KeyPress) {
        auto* target = qobject_cast<QWidget*>(watched);
        if (target && target == QApplication::focusWidget() && target->window() == m_window)
            return handleKey(target, *static_cast<QKeyEvent*>(event));
    }
    return QObject::eventFilter(watched, event);
}
