#include "controls/data_source.h"

#include "platform/gbk.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTextEdit>

namespace {

const char* const kTagProperty = "kwTag";
const char* const kUnmanagedProperty = "kwNotManaged";

bool insideComposite(const QWidget* w)
{
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p) ||
            qobject_cast<const QAbstractItemView*>(p) || dynamic_cast<const TKWEntryControl*>(p))
            return true;
    return false;
}

void setReadOnly(QWidget* w, bool readOnly)
{
    if (auto* entry = dynamic_cast<TKWEntryControl*>(w))
        entry->SetEntryReadOnly(readOnly);
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setReadOnly(readOnly);
    else if (auto* text = qobject_cast<QPlainTextEdit*>(w))
        text->setReadOnly(readOnly);
    else if (auto* rich = qobject_cast<QTextEdit*>(w))
        rich->setReadOnly(readOnly);
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w))
        spin->setReadOnly(readOnly);
    else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->isEditable())
            combo->lineEdit()->setReadOnly(readOnly);
        else
            combo->setEnabled(!readOnly);
    }
}

} // namespace

bool IsEntryControl(const QWidget* w)
{
    return dynamic_cast<const TKWEntryControl*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w);
}

void SetEntryColors(QWidget* w, const QColor& rest, const QColor& focus)
{
    if (auto* entry = dynamic_cast<TKWEntryControl*>(w)) {
        entry->SetEntryColors(rest, focus);
        return;
    }
    const QString cls = QString::fromLatin1(w->metaObject()->className());
    w->setStyleSheet(
        QStringLiteral("%1 { background-color: %2; } %1:focus { background-color: %3; }")
            .arg(cls, rest.name(), focus.name()));
}

void SetControlTag(QWidget* control, int tag)
{
    control->setProperty(kTagProperty, tag);
}

int ControlTag(const QWidget* control)
{
    return control->property(kTagProperty).toInt();
}

TKWDataSource::TKWDataSource(QWidget* form, TKWQuery* dataSet, QObject* parent)
    : QObject(parent), m_form(form), m_dataSet(dataSet)
{
    if (!dataSet)
        return;
    dataSet->KWDS = this;
    connect(dataSet, &TKWQuery::editingStarted, this, [this] {
        if (current())
            editingStarted();
    });
    connect(dataSet, &TKWQuery::editingEnded, this, [this] {
        if (!current())
            return;
        setPlainGridEnabled(true);
        SetActiveColor(true);
    });
    connect(dataSet, &TKWQuery::focusRequested, this, [this](QObject* control) {
        auto* widget = qobject_cast<QWidget*>(control);
        if (current() && widget && widget->isVisible())
            widget->setFocus();
    });
    // The controls keep their look while a status is written behind them.
    connect(dataSet, &TKWQuery::statusWriteStarted, this, [this] {
        if (current())
            SetActiveColor(false);
    });
    connect(dataSet, &TKWQuery::statusWriteEnded, this, [this] {
        if (current())
            SetActiveColor(true);
    });
}

bool TKWDataSource::current() const
{
    return m_dataSet->KWDS == this;
}

void TKWDataSource::setPlainGridEnabled(bool enabled)
{
    if (auto* grid = qobject_cast<QWidget*>(m_dataSet->DBGride))
        grid->setEnabled(enabled);
}

void TKWDataSource::editingStarted()
{
    setPlainGridEnabled(false);
    auto* active = qobject_cast<QWidget*>(m_dataSet->ActiveControl);
    if (active && m_dataSet->State() == TDataSetState::dsEdit &&
        m_dataSet->ColorOnFocus.isValid()) {
        QPalette palette = active->palette();
        palette.setColor(QPalette::Base, m_dataSet->ColorOnFocus);
        active->setPalette(palette);
    }
}

void TKWDataSource::SetButton(Role role, QAbstractButton* button)
{
    m_buttons.insert(role, button);
}

void TKWDataSource::LeaveAlone(QWidget* control)
{
    control->setProperty(kUnmanagedProperty, true);
}

void TKWDataSource::SetActiveColor(bool on)
{
    const bool switchedOn = on && !m_activeColor;
    m_activeColor = on;
    if (switchedOn && m_started)
        stateChanged();
}

void TKWDataSource::StartSource()
{
    if (!m_started && m_dataSet)
        connect(m_dataSet, &TKWQuery::stateChanged, this, &TKWDataSource::stateChanged);
    m_started = true;
    stateChanged();
}

bool TKWDataSource::browsing() const
{
    return !m_dataSet || !m_dataSet->Editing();
}

void TKWDataSource::setRole(Role role, bool enabled)
{
    const auto buttons = m_buttons.values(role);
    for (const QPointer<QAbstractButton>& b : buttons)
        if (b)
            b->setEnabled(enabled);
}

void TKWDataSource::stateChanged()
{
    if (m_activeColor) {
        ApplyColors();
        const bool browse = browsing();
        for (Role role : {Role::New, Role::Add, Role::Edit, Role::Delete, Role::Prior, Role::Next,
                          Role::First, Role::Last, Role::Print, Role::Find, Role::Check,
                          Role::Other, Role::Close, Role::Small})
            setRole(role, browse);
        setRole(Role::Save, !browse);
        setRole(Role::Cancel, !browse);
        ApplyRights();
    }
    if (OnStateChange && m_dataSet)
        OnStateChange(m_dataSet->State());
}

void TKWDataSource::ApplyRights()
{
    const std::pair<Role, bool> rights[] = {
        {Role::New, RightAdd},       {Role::Add, RightAdd},     {Role::Edit, RightEdit},
        {Role::Delete, RightDelete}, {Role::Print, RightPrint}, {Role::Check, RightCheck},
    };
    for (const auto& [role, right] : rights) {
        const auto buttons = m_buttons.values(role);
        for (const QPointer<QAbstractButton>& b : buttons)
            if (b)
                b->setEnabled(b->isEnabled() && right);
    }
}

bool TKWDataSource::managed(const QWidget* control) const
{
    if (control->property(kUnmanagedProperty).toBool())
        return false;
    const bool detail = ControlTag(control) >= 500;
    return detail ? (!IS_MASTER_CHANGE && IS_DETAIL_CHANGE) : IS_MASTER_CHANGE;
}

void TKWDataSource::ApplyColors()
{
    if (!m_form)
        return;
    const bool browse = browsing();
    const auto controls = m_form->findChildren<QWidget*>();
    for (QWidget* w : controls) {
        if (!managed(w) || insideComposite(w))
            continue;
        const int tag = ControlTag(w) % 500;
        if (qobject_cast<QAbstractItemView*>(w)) {
            if (tag != 1)
                w->setEnabled(browse);
            continue;
        }
        if (!IsEntryControl(w))
            continue;
        if (tag == 3 || tag == 4) {
            setReadOnly(w, true);
            w->setFocusPolicy(Qt::NoFocus);
        } else {
            setReadOnly(w, browse || tag == 2 || tag == 7);
        }
        SetEntryColors(w, browse ? BrowseColor : EditColor, browse ? BrowseColor : ColorOnFocus);
        if (auto* drop = dynamic_cast<TKWEntryControl*>(w); drop && drop->HasDropButton()) {
            if (tag == 6 || tag == 7)
                drop->SetDropButtonEnabled(browse);
            else if (tag != 5)
                drop->SetDropButtonEnabled(!browse);
        }
    }
}

TKWFieldLink::TKWFieldLink(QWidget* control, TKWQuery* query, const QString& fieldName,
                           std::function<QString()> text, std::function<void(const QString&)> show)
    : QObject(control), m_control(control), m_query(query), m_field(fieldName),
      m_text(std::move(text)), m_show(std::move(show))
{
    connect(query, &TKWQuery::currentChanged, this, &TKWFieldLink::Refill);
    connect(query, &TKWQuery::stateChanged, this, &TKWFieldLink::Refill);
    connect(query, &TKWQuery::rowsReset, this, &TKWFieldLink::Refill);
    connect(query, &TKWQuery::fieldChanged, this, [this](const QString& f) {
        if (!m_writing && isMine(f))
            Refill();
    });
    control->installEventFilter(this);
    Refill();
}

bool TKWFieldLink::isMine(const QString& fieldName) const
{
    return fieldName.compare(m_field, Qt::CaseInsensitive) == 0;
}

void TKWFieldLink::Refill()
{
    const QString value = m_query->FieldText(m_field);
    m_entered = value;
    if (m_text() == value)
        return;
    const QScopedValueRollback refilling(m_refilling, true);
    m_show(value);
}

void TKWFieldLink::ControlChanged()
{
    if (m_refilling || !m_query->HasField(m_field))
        return;
    const QString text = m_text();
    if (!m_query->Editing()) {
        // Nothing is written while browsing: the control goes back to the record.
        if (m_query->Active())
            Refill();
        return;
    }
    if (m_query->FieldText(m_field) == text)
        return;
    const QScopedValueRollback writing(m_writing, true);
    m_query->SetFieldText(m_field, text);
}

bool TKWFieldLink::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        m_entered = m_text();
    } else if (event->type() == QEvent::KeyPress && m_query->Editing()) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            // The field takes the key; the window does not see it.
            m_show(m_entered);
            if (auto* edit = qobject_cast<QLineEdit*>(m_control))
                edit->selectAll();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void BindLineEdit(QLineEdit* edit, TKWQuery* query, const QString& fieldName)
{
    auto* link = new TKWFieldLink(
        edit, query, fieldName, [edit] { return edit->text(); },
        [edit](const QString& value) { edit->setText(value); });
    QObject::connect(edit, &QLineEdit::textChanged, link, &TKWFieldLink::ControlChanged);
    // A text column takes no more GBK bytes than its width: typing, pasting and
    // input methods stop there instead of the save refusing the record.
    auto limit = [edit, query, fieldName] {
        const int i = query->FieldIndex(fieldName);
        if (i < 0 || edit->validator())
            return;
        const TKWField& field = query->Fields()[i];
        if (field.type == ColumnType::Text && field.size > 0)
            edit->setValidator(new GbkLengthValidator(field.size, false, edit));
    };
    QObject::connect(query, &TKWQuery::rowsReset, edit, limit);
    limit();
}
