#include "waybill/print_form.h"

#include "controls/edits.h"
#include "controls/grid.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/form_keys.h"
#include "platform/printers.h"
#include "waybill/batch_print_form.h"
#include "waybill/courier_widgets.h"
#include "model/renderer.h"
#include "waybill/waybill_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kHelpLines[] = {
    QStringLiteral(
        "当整体打印位置与快第单上的位置对不上，就是打印位置有偏移时可以通过改变上边距和左"
        "边距来修正，上边距和左边距可以是负数，当连续批量打印快递单时，如果"),
    QStringLiteral(
        "下一单的走纸量小可以通过加大下边距来修正，如果下一单的走纸量大可以通过减小下边距"
        "来修正，下边距可以是负数。各行之间打印错位，可改变快递单高度来调整"),
};

} // namespace

TFastPrintForm::TFastPrintForm(TKWQuery* records, TKWQuery* couriers, QWidget* parent)
    : QDialog(parent), m_records(records), m_couriers(couriers), m_sender(ReadSenderRow()),
      m_defaultCourier(DefaultCourierName())
{
    setWindowTitle(QStringLiteral("快递单据打印窗口"));
    resize(1056, 668);

    m_list = MakeCourierNameList(couriers, this);
    m_sizes = new CourierSizeBox(couriers, CourierSizeBox::Kind::SizeAndOffsets, this);
    connect(m_sizes, &CourierSizeBox::sizeChanged, this,
            [this](double width, double height) { m_view->ResizePanel(width, height); });

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("快递名称"), this));
    left->addWidget(m_list, 1);
    left->addWidget(m_sizes);
    auto* leftPanel = new QWidget(this);
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(178);
    left->setContentsMargins(0, 0, 0, 0);

    m_view = new LayoutWaybillView(this);
    auto* top = new QHBoxLayout;
    top->addWidget(leftPanel);
    top->addWidget(m_view, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    AddHelpLines(layout, {std::begin(kHelpLines), std::end(kHelpLines)});
    m_buttons = AddCommandRow(layout, {
                                          {"首单", [this] { move(RecordMove::First); }},
                                          {"前一单", [this] { move(RecordMove::Prior); }},
                                          {"下一单", [this] { move(RecordMove::Next); }},
                                          {"末单", [this] { move(RecordMove::Last); }},
                                          {"快递单据打印", [this] { printOne(); }},
                                          {"快递单批打印", [this] { printBatch(); }},
                                          {"关闭", [this] { reject(); }},
                                      });

    connect(couriers, &TKWQuery::currentChanged, this, [this] {
        if (isVisible())
            showCourier();
    });
}

TKWLComboEdit* TFastPrintForm::SizeEdit(const QString& caption) const
{
    return m_sizes->Edit(caption);
}

QPushButton* TFastPrintForm::Button(const QString& caption) const
{
    return FindButton(m_buttons, caption);
}

void TFastPrintForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    showCourier();
    selectRecordCourier();
    m_list->setFocus();
}

void TFastPrintForm::showCourier()
{
    if (m_couriers->IsEmpty())
        return;
    const WaybillCourier courier = CourierFromRow(*m_couriers);
    m_sizes->Fill();
    m_view->ShowCourier(courier);
    m_fields = ReadPrintFields(courier.fastId);
    drawRecord();
}

void TFastPrintForm::drawRecord()
{
    // Postcodes spaced as on paper, after a move too: the view shows what prints.
    if (m_records->IsEmpty())
        m_view->ClearOverlay();
    else
        m_view->DrawRecord(m_fields, RecordValues(*m_records, m_sender), WaybillMode::ScreenFull);
}

void TFastPrintForm::selectRecordCourier()
{
    const QString wanted = m_records->IsEmpty()
                               ? QString()
                               : m_records->FieldText(QStringLiteral("FAST_NAME")).trimmed();
    const int column = m_couriers->FieldIndex(QStringLiteral("FAST_NAME"));
    auto rowOf = [this, column](const QString& name) {
        for (int row = 0; row < m_couriers->RecordCount(); ++row)
            if (m_couriers->CellText(row, column) == name)
                return row;
        return -1;
    };
    int row = wanted.isEmpty() ? -1 : rowOf(wanted);
    if (row < 0 && !m_defaultCourier.isEmpty())
        row = rowOf(m_defaultCourier);
    if (row >= 0)
        m_couriers->SetRecNo(row); // draws only when the courier changes
}

void TFastPrintForm::move(RecordMove direction)
{
    if (m_records->IsEmpty())
        return;
    MoveRecord(*m_records, direction);
    drawRecord();
    selectRecordCourier();
}

void TFastPrintForm::printOne()
{
    if (m_records->IsEmpty() || m_couriers->IsEmpty())
        return;
    if (const QString missing = MissingCourierMessage(*m_records); !missing.isEmpty()) {
        ShowMsg(missing);
        return;
    }
    PrintOneWaybill(*m_records, CourierFromRow(*m_couriers), m_sender, PaperVariant::Single);
}

void TFastPrintForm::printBatch()
{
    if (m_records->IsEmpty()) {
        ShowMsg(QStringLiteral("没有快递记录，不能批量打印"));
        return;
    }
    if (!PrintersExist()) {
        ShowMsg(QStringLiteral("没有安装打印机"));
        return;
    }
    if (!AskYesNo(QStringLiteral("是否开始批量打印快递单")))
        return;
    bool fromFirst = true;
    if (m_records->RecNo() > 0) {
        fromFirst = !AskYesNo(QStringLiteral("当前记录不是第一个记录，是否从当前记录开始打印"));
        if (fromFirst)
            m_records->First();
    }
    TPrintForm batch(m_records, CourierFromRow(*m_couriers), m_sender, fromFirst, this);
    batch.raise();
    batch.exec();
    drawRecord();
}

bool PrintRecordWaybill(TKWQuery& records)
{
    if (records.IsEmpty())
        return false;
    WaybillCourier courier =
        CourierByName(records.FieldText(QStringLiteral("FAST_NAME")).trimmed());
    if (courier.fastId.isEmpty())
        courier = CourierByName(DefaultCourierName());
    if (courier.fastId.isEmpty()) {
        // Another courier's form would be wasted.
        const QString missing = MissingCourierMessage(records);
        ShowMsg(missing.isEmpty()
                    ? QStringLiteral("该快递记录没有快递名称,也没有默认快递,不能打印快递单")
                    : missing);
        return false;
    }
    return PrintOneWaybill(records, courier, ReadSenderRow(), PaperVariant::Single);
}
