#include "frame/form_keys.h"

#include "session/app_globals.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>

namespace {

class EnterMovesFocus : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (auto* combo = qobject_cast<QComboBox*>(widget->parentWidget()))
            widget = combo;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(widget, &tab);
        return true;
    }
};

} // namespace

void BindFunctionKey(QAbstractButton* button, const QKeySequence& key)
{
    auto* shortcut = new QShortcut(key, button->window());
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isVisible() && button->isEnabled())
            button->click();
    });
}

void InstallEnterMovesFocus(QWidget* window)
{
    auto* filter = new EnterMovesFocus(window);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(child) || qobject_cast<QComboBox*>(child) ||
            qobject_cast<QAbstractSpinBox*>(child))
            child->installEventFilter(filter);
    }
}

void ApplyEditColors(QWidget* window)
{
    const QString rest = AppGlobals.EditColor.name();
    const QString focus = AppGlobals.ColorOnFocus.name();
    window->setStyleSheet(window->styleSheet() +
                          QStringLiteral("QLineEdit, QComboBox:editable { background: %1; }"
                                         "QLineEdit:focus, QComboBox:editable:focus "
                                         "{ background: %2; }")
                              .arg(rest, focus));
}

void CenterOnOwner(QWidget* window)
{
    QWidget* owner = window->parentWidget();
    QRect area;
    if (owner && owner->isVisible())
        area = owner->window()->frameGeometry();
    else if (QScreen* screen = window->screen())
        area = screen->availableGeometry();
    if (area.isValid())
        window->move(area.center() - window->rect().center());
}

void MaskWithStars(QLineEdit* edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}
