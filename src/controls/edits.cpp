#include "controls/edits.h"

#include "data/record_set.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QStyle>
#include <QToolButton>

bool AcceptTypedChar(TEditTypes type, const QString& text, bool selectionAtStart, QChar& ch,
                     int& maxLength)
{
    static const QString marks = QStringLiteral("#$%'");
    const char16_t c = ch.unicode();
    if (c == u'\b' || c == u'\r' || c == u'\n')
        return true;
    switch (type) {
    case TEditTypes::etString:
    case TEditTypes::etPhone:
        return true;
    case TEditTypes::etDate:
        return ch.isDigit() || marks.contains(ch) || c == u'-' || c == u'/';
    case TEditTypes::etTime:
        return ch.isDigit() || marks.contains(ch) || c == u':';
    case TEditTypes::etInteger:
    case TEditTypes::etFloat:
        break;
    }
    // Typing over a selection that starts the text replaces it unfiltered.
    if (selectionAtStart)
        return true;
    if (c == u'-') {
        if (text.contains(QLatin1Char('-')))
            return false;
        if (type == TEditTypes::etInteger && maxLength <= 0)
            maxLength = 11;
        return true;
    }
    if (ch.isDigit() || marks.contains(ch))
        return true;
    if (type == TEditTypes::etFloat && (c == u',' || c == u'.')) {
        if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('.')))
            return false;
        ch = QLatin1Char('.');
        return true;
    }
    return false;
}

TKWEdit::TKWEdit(QWidget* parent) : QLineEdit(parent) {}

void TKWEdit::SetEditType(TEditTypes type)
{
    m_type = type;
    const bool numeric = type == TEditTypes::etInteger || type == TEditTypes::etFloat ||
                         type == TEditTypes::etDate || type == TEditTypes::etTime;
    // Numbers and dates take no input method; text fields keep the one last used.
    setAttribute(Qt::WA_InputMethodEnabled, !numeric);
    setInputMethodHints(numeric ? Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText : Qt::ImhNone);
    if (type == TEditTypes::etDate)
        setMaxLength(10);
}

void TKWEdit::setBackground(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
}

void TKWEdit::SetEntryColors(const QColor& rest, const QColor& focus)
{
    m_rest = rest;
    ColorOnFocus = focus;
    setBackground(hasFocus() && FocusColorChange ? focus : rest);
}

void TKWEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint()) {
        QChar ch = typed[0];
        int limit = maxLength() == 32767 ? 0 : maxLength();
        const bool atStart = hasSelectedText() && selectionStart() == 0;
        if (!AcceptTypedChar(m_type, text(), atStart, ch, limit))
            return;
        if (limit > 0 && limit != maxLength())
            setMaxLength(limit);
        if (ch != typed[0]) {
            insert(QString(ch));
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TKWEdit::focusInEvent(QFocusEvent* event)
{
    if (m_type == TEditTypes::etFloat && maxLength() == 32767)
        setMaxLength(16);
    if (m_type == TEditTypes::etDate)
        setMaxLength(10);
    if (FocusColorChange) {
        if (!m_rest.isValid())
            m_rest = palette().color(QPalette::Base);
        setBackground(ColorOnFocus);
    }
    QLineEdit::focusInEvent(event);
}

void TKWEdit::focusOutEvent(QFocusEvent* event)
{
    if (FocusColorChange && m_rest.isValid())
        setBackground(m_rest);
    QLineEdit::focusOutEvent(event);
}

TKWDBEdit::TKWDBEdit(TKWQuery* query, const QString& fieldName, QWidget* parent)
    : TKWEdit(parent), m_field(fieldName)
{
    BindLineEdit(this, query, fieldName);
}

TKWComboEdit::TKWComboEdit(QWidget* parent) : TKWEdit(parent), m_button(new QToolButton(this))
{
    m_button->setCursor(Qt::ArrowCursor);
    m_button->setFocusPolicy(Qt::NoFocus);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setFixedWidth(21);
    connect(m_button, &QToolButton::clicked, this, &TKWComboEdit::press);
    setTextMargins(0, 0, 22, 0);
}

void TKWComboEdit::press()
{
    if (m_button->isEnabled() && OnButtonClick)
        OnButtonClick();
}

void TKWComboEdit::SetDirectInput(bool direct)
{
    m_direct = direct;
    setReadOnly(m_readOnly || !m_direct);
}

void TKWComboEdit::SetEntryReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setReadOnly(m_readOnly || !m_direct);
}

void TKWComboEdit::SetDropButtonEnabled(bool enabled)
{
    m_button->setEnabled(enabled);
}

void TKWComboEdit::keyPressEvent(QKeyEvent* event)
{
    if (!ClickKey.isEmpty() && QKeySequence(event->keyCombination()) == ClickKey) {
        press();
        return;
    }
    TKWEdit::keyPressEvent(event);
}

void TKWComboEdit::resizeEvent(QResizeEvent* event)
{
    TKWEdit::resizeEvent(event);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    m_button->setGeometry(width() - 21 - frame, frame, 21, height() - 2 * frame);
}

void TKWComboEdit::focusInEvent(QFocusEvent* event)
{
    TKWEdit::focusInEvent(event);
    if (m_direct)
        selectAll();
}

TKWDBComboEdit::TKWDBComboEdit(TKWQuery* query, const QString& fieldName, QWidget* parent)
    : TKWComboEdit(parent)
{
    BindLineEdit(this, query, fieldName);
}

TKWLComboEdit::TKWLComboEdit(const QString& caption, QWidget* parent)
    : TKWEdit(parent), m_caption(new QLabel(caption, this))
{
    m_caption->setAlignment(Qt::AlignCenter);
    setTextMargins(0, 0, m_caption->sizeHint().width() + 4, 0);
}

void TKWLComboEdit::resizeEvent(QResizeEvent* event)
{
    TKWEdit::resizeEvent(event);
    const int w = m_caption->sizeHint().width() + 4;
    m_caption->setGeometry(width() - w - 2, 2, w, height() - 4);
}

TKWComboBox::TKWComboBox(QWidget* parent) : QComboBox(parent)
{
    installEventFilter(this);
}

void TKWComboBox::SetEntryReadOnly(bool readOnly)
{
    if (isEditable())
        lineEdit()->setReadOnly(readOnly);
    else
        setEnabled(!readOnly);
}

void TKWComboBox::SetEntryColors(const QColor& rest, const QColor& focus)
{
    setStyleSheet(QStringLiteral("QComboBox { background-color: %1; } QComboBox:focus { "
                                 "background-color: %2; }")
                      .arg(rest.name(), focus.name()));
}

bool TKWComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isEditable()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (typed.size() == 1 && typed[0].isPrint()) {
            QChar ch = typed[0];
            int limit = 0;
            QLineEdit* edit = lineEdit();
            const bool atStart = edit->hasSelectedText() && edit->selectionStart() == 0;
            if (!AcceptTypedChar(EditType, edit->text(), atStart, ch, limit))
                return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

TKWDBComboBox::TKWDBComboBox(TKWQuery* query, const QString& fieldName, QWidget* parent)
    : TKWComboBox(parent)
{
    m_link = new TKWFieldLink(
        this, query, fieldName, [this] { return currentText(); },
        [this](const QString& value) {
            if (isEditable())
                setEditText(value);
            else
                setCurrentIndex(findText(value));
        });
    connect(this, &QComboBox::currentTextChanged, m_link, [this] {
        if (!m_fillingItems)
            m_link->ControlChanged();
    });
    // Items may come after binding: the one the box takes by itself is nobody's
    // choice, so the record's value is shown again.
    connect(model(), &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this] { m_fillingItems = true; });
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this] {
        m_fillingItems = false;
        m_link->Refill();
    });
}

TKWListBox::TKWListBox(QWidget* parent) : QListWidget(parent) {}

void TKWListBox::SetEntryReadOnly(bool readOnly)
{
    setSelectionMode(readOnly ? QAbstractItemView::NoSelection
                              : QAbstractItemView::SingleSelection);
}

void TKWListBox::SetEntryColors(const QColor& rest, const QColor& focus)
{
    setStyleSheet(QStringLiteral("QListWidget { background-color: %1; } QListWidget:focus { "
                                 "background-color: %2; }")
                      .arg(rest.name(), focus.name()));
}
