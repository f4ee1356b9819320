#pragma once

#include "controls/data_source.h"

#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <functional>

class QLabel;
class QToolButton;
class TKWQuery;

enum class TEditTypes { etString, etInteger, etFloat, etDate, etTime, etPhone };

// Whether a typed character is taken by a field of the given kind. `text` is
// the field's text, `selectionAtStart` tells that a selection begins at the
// first character (typing over it is not filtered for numbers). A "." or ","
// accepted by a float field comes back in `ch` as the decimal point; a "-"
// typed into an integer field without a length limit sets `maxLength` 11.
bool AcceptTypedChar(TEditTypes type, const QString& text, bool selectionAtStart, QChar& ch,
                     int& maxLength);

// The program's line edit: input kind filter, focus colour, no input method
// in numeric and date fields, and OnSelect for Enter (a handler that sets its
// argument true keeps the focus in the field).
class TKWEdit : public QLineEdit, public TKWEntryControl
{
    Q_OBJECT
public:
    explicit TKWEdit(QWidget* parent = nullptr);

    TEditTypes EditType() const { return m_type; }
    void SetEditType(TEditTypes type);
    QColor ColorOnFocus{0, 0xFF, 0xFF};
    bool FocusColorChange = true;
    std::function<void(bool& keepFocus)> OnSelect;

    void SetEntryReadOnly(bool readOnly) override { setReadOnly(readOnly); }
    void SetEntryColors(const QColor& rest, const QColor& focus) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void setBackground(const QColor& color);

    TEditTypes m_type = TEditTypes::etString;
    QColor m_rest;
};

// A field bound to a record set's field (shows it, writes typing back while
// the record set adds or edits).
class TKWDBEdit : public TKWEdit
{
    Q_OBJECT
public:
    TKWDBEdit(TKWQuery* query, const QString& fieldName, QWidget* parent = nullptr);
    const QString& DataField() const { return m_field; }

private:
    QString m_field;
};

// An edit with a button inside its right end (Alt+Down presses it). Without
// DirectInput the text is read-only and the button still works.
class TKWComboEdit : public TKWEdit
{
    Q_OBJECT
public:
    explicit TKWComboEdit(QWidget* parent = nullptr);

    QToolButton* Button() const { return m_button; }
    void SetDirectInput(bool direct);
    bool DirectInput() const { return m_direct; }
    QKeySequence ClickKey{Qt::ALT | Qt::Key_Down};
    std::function<void()> OnButtonClick;
    void SetDropButtonEnabled(bool enabled) override;
    bool HasDropButton() const override { return true; }
    void SetEntryReadOnly(bool readOnly) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void press();
    QToolButton* m_button;
    bool m_direct = true;
    bool m_readOnly = false;
};

class TKWDBComboEdit : public TKWComboEdit
{
    Q_OBJECT
public:
    TKWDBComboEdit(TKWQuery* query, const QString& fieldName, QWidget* parent = nullptr);
};

// An edit with a unit caption at its right end, such as "毫米".
class TKWLComboEdit : public TKWEdit
{
    Q_OBJECT
public:
    explicit TKWLComboEdit(const QString& caption, QWidget* parent = nullptr);
    QLabel* CaptionLabel() const { return m_caption; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_caption;
};

// The program's combo box: the input kind filters an editable box's text.
class TKWComboBox : public QComboBox, public TKWEntryControl
{
    Q_OBJECT
public:
    explicit TKWComboBox(QWidget* parent = nullptr);
    TEditTypes EditType = TEditTypes::etString;
    QColor ColorOnFocus{0, 0xFF, 0xFF};
    void SetEntryReadOnly(bool readOnly) override;
    void SetEntryColors(const QColor& rest, const QColor& focus) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A combo box bound to a record set's field.
class TKWDBComboBox : public TKWComboBox
{
    Q_OBJECT
public:
    TKWDBComboBox(TKWQuery* query, const QString& fieldName, QWidget* parent = nullptr);

private:
    TKWFieldLink* m_link;
    bool m_fillingItems = false;
};

// The program's list box: focus colour, read-only while browsing.
class TKWListBox : public QListWidget, public TKWEntryControl
{
    Q_OBJECT
public:
    explicit TKWListBox(QWidget* parent = nullptr);
    void SetEntryReadOnly(bool readOnly) override;
    void SetEntryColors(const QColor& rest, const QColor& focus) override;
};
