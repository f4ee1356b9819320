#include "records/record_editor.h"

#include "session/app_globals.h"
#include "controls/edits.h"
#include "controls/grid.h"
#include "controls/data_source.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/settings.h"
#include "records/choice_dialogs.h"
#include "records/editor_layout.h"
#include "records/field_catalogue.h"
#include "records/pick_list.h"
#include "waybill/courier_forms.h"
#include "waybill/print_form.h"

#include <QLabel>
#include <QPushButton>

TEditClientForm::TEditClientForm(TKWQuery* records, const TRights& recordRights, TKWMain* mainFrame,
                                 QWidget* parent)
    : TKWBasePopEditShowForm(records, mainFrame, parent), m_rights(recordRights)
{
    setWindowTitle(QStringLiteral("发件记录录入编辑窗口"));
    // The family's confirm button has no use here; F3 does nothing.
    Button(QStringLiteral("确定[F3]"))->hide();
    buildFields();
    Body()->setFixedSize(807, 224);
}

void TEditClientForm::buildFields()
{
    const QList<EditorPlacement> layout = ComputeEditorLayout(ReadCatalogue());
    for (const EditorPlacement& p : layout) {
        TKWEdit* control = nullptr;
        if (p.kind == QLatin1String("pick") || p.kind == QLatin1String("date")) {
            auto* combo = new TKWDBComboEdit(Query(), p.fieldName, Body());
            const QString field = p.fieldName;
            if (p.kind == QLatin1String("date")) {
                combo->SetEditType(TEditTypes::etDate);
                combo->OnButtonClick = [this, field] { pickDate(field, false); };
                if (field.startsWith(QLatin1String("DATE_FIELD")))
                    combo->OnSelect = [this, field](bool& keep) { keep = !pickDate(field, true); };
            } else if (field == QLatin1String("FAST_NAME")) {
                combo->OnButtonClick = [this] { pickCourier(); };
                combo->OnSelect = [this](bool& keep) {
                    keep = Query()->Editing() && !pickCourier();
                };
            } else {
                combo->OnButtonClick = [this, field] { pickInto(field); };
                combo->OnSelect = [this, field](bool& keep) {
                    keep = Query()->Editing() && !pickInto(field);
                };
            }
            control = combo;
        } else {
            control = new TKWDBEdit(Query(), p.fieldName, Body());
            if (p.kind == QLatin1String("number")) {
                control->SetEditType(TEditTypes::etFloat);
                control->setMaxLength(12);
            }
        }
        control->setGeometry(p.control);
        control->setAccessibleName(p.caption);
        auto* label = new QLabel(p.caption, Body());
        label->setBuddy(control);
        label->adjustSize();
        label->move(p.label.x() - label->width(), p.label.y() - 2);
        label->setVisible(p.labelShown);
        m_controls.insert(p.fieldName, control);
        m_captions.insert(p.fieldName, p.caption);
    }
    // The postcode spacing and the print status always stand on the last line.
    auto* spacing = new TKWDBEdit(Query(), QStringLiteral("CLIENT_POSTCODE_WIDTH"), Body());
    spacing->SetEditType(TEditTypes::etFloat);
    spacing->setGeometry(465, 198, 110, 20);
    auto* status = new TKWDBComboBox(Query(), QStringLiteral("STATUS"), Body());
    status->addItems({QStringLiteral("未打单"), QStringLiteral("已打单")});
    status->setGeometry(666, 198, 135, 20);
    const std::pair<QWidget*, const char*> bottom[] = {{spacing, "邮编间距"}, {status, "打单状态"}};
    for (const auto& [control, caption] : bottom) {
        auto* label = new QLabel(QString::fromUtf8(caption), Body());
        label->setBuddy(control);
        label->adjustSize();
        label->move(control->x() - 2 - label->width(), 200);
        control->setAccessibleName(label->text());
    }
    m_controls.insert(QStringLiteral("CLIENT_POSTCODE_WIDTH"), spacing);
    // Tab order follows the places.
    QWidget* previous = nullptr;
    for (const EditorPlacement& p : layout) {
        if (previous)
            setTabOrder(previous, m_controls.value(p.fieldName));
        previous = m_controls.value(p.fieldName);
    }
}

bool TEditClientForm::pickInto(const QString& fieldName)
{
    const QString value = PickValue(fieldName, m_captions.value(fieldName), this);
    if (value.isEmpty())
        return false;
    if (Query()->Editing())
        Query()->SetFieldText(fieldName, value);
    return true;
}

bool TEditClientForm::pickCourier()
{
    TSelectFastNameForm picker(nullptr, this);
    if (picker.exec() != QDialog::Accepted)
        return false;
    if (Query()->Editing()) {
        Query()->SetFieldText(QStringLiteral("FAST_NAME"), picker.ChosenName());
        Query()->SetFieldText(QStringLiteral("FAST_MONEY"), picker.ChosenStandardMoney());
    }
    return true;
}

bool TEditClientForm::pickDate(const QString& fieldName, bool onlyWhenEmpty)
{
    const QString current = Query()->FieldText(fieldName).trimmed();
    if (!Query()->Editing())
        return true;
    if (onlyWhenEmpty && !current.isEmpty())
        return true;
    const QString chosen = PickDate(current, AppGlobals.WorkDate, this);
    if (chosen.isEmpty())
        return false;
    Query()->SetFieldText(fieldName, chosen);
    return true;
}

bool TEditClientForm::checkBeforeSave()
{
    TKWEdit* order = Control(QStringLiteral("CLIENT_ORDER_ID"));
    if (order && order->text().trimmed().isEmpty()) {
        ShowMsg(QStringLiteral("必须输入") + m_captions.value(QStringLiteral("CLIENT_ORDER_ID")));
        order->setFocus();
        return false;
    }
    return true;
}

// The current record's waybill, as "快递单据打印" of the print window prints it.
void TEditClientForm::printClicked()
{
    if (Query()->IsEmpty() || Query()->Editing())
        return;
    RefreshWorkDate();
    PrepareQuery(*Query());
    PrintRecordWaybill(*Query());
}

TEditClientForm::~TEditClientForm()
{
    linkControls(false);
}

// While the window is open a refused save puts the caret into its field:
// a failed check or a bad value focuses the field's control.
void TEditClientForm::linkControls(bool linked)
{
    for (TFieldsData& d : Query()->FieldsData())
        d.Control = linked ? m_controls.value(d.FieldName.toUpper()) : nullptr;
}

void TEditClientForm::showEvent(QShowEvent* event)
{
    TKWBasePopEditShowForm::showEvent(event);
    // The main window's record rights, not a program of this window's own.
    PrepareDataSource(*DS(), m_rights);
    DS()->StartSource();
    linkControls(true);
    if (Query()->Editing())
        if (TKWEdit* order = Control(QStringLiteral("CLIENT_ORDER_ID")))
            order->setFocus();
}
