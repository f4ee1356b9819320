#include "waybill/print_form.h"

#include "controls/edits.h"
#include "controls/grid.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "frame/form_keys.h"
#include "platform/printers.h"
#include "waybill/batch_print_form.h"
#include "waybill/courier_forms.h"
#include "waybill/renderer.h"
#include "waybill/waybill_view.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString kHelpLines[] = {
    QStringLiteral("当整体打印位置与快第单上的位置对不上，就是打印位置有偏移时可以通过改变上边距和左"
                   "边距来修正，上边距和左边距可以是负数，当连续批量打印快递单时，如果"),
    QStringLiteral("下一单的走纸量小可以通过加大下边距来修正，如果下一单的走纸量大可以通过减小下边距"
                   "来修正，下边距可以是负数。各行之间打印错位，可改变快递单高度来调整"),
};

struct SizeEditSpec
{
    const char* caption;
    const char* field;
    bool whole;
};
const SizeEditSpec kSizeEdits[] = {{"高", "FAST_NAME_HEIGHT", true},
                                   {"宽", "FAST_NAME_WIDTH", true},
                                   {"上边距", "FAST_TOP", false},
                                   {"左边距", "FAST_LEFT", false},
                                   {"下边距", "FAST_BOTTOM", false}};

} // namespace

TFastPrintForm::TFastPrintForm(TKWQuery* records, TKWQuery* couriers, QWidget* parent)
    : QDialog(parent), m_records(records), m_couriers(couriers), m_sender(ReadSenderRow()),
      m_defaultCourier(DefaultCourierName())
{
    setWindowTitle(QStringLiteral("快递单据打印窗口"));
    resize(1056, 668);

    m_list = new TKWNDBGrid(couriers, this);
    TFieldsData name{QStringLiteral("FAST_NAME"), QStringLiteral("快递名称"), 20};
    name.DataType = QStringLiteral("C");
    m_list->SetFieldsData({name});
    m_list->SetFooterVisible(false);
    m_list->view()->horizontalHeader()->setStretchLastSection(true);
    m_list->OnApplyCellAttr = [this](int row, const QString&, QColor& background, QColor& text) {
        if (m_couriers->CellText(row, m_couriers->FieldIndex(QStringLiteral("FAST_NAME"))) ==
                m_defaultCourier &&
            !m_defaultCourier.isEmpty()) {
            background = kDefaultCourierBackground;
            text = row == m_couriers->RecNo() ? kDefaultCourierSelectedText : QColor(Qt::black);
        }
    };

    auto* sizes = new QGroupBox(QStringLiteral("快递单大小及打印边距"), this);
    auto* sizeLayout = new QVBoxLayout(sizes);
    for (const SizeEditSpec& spec : kSizeEdits) {
        auto* edit = new TKWLComboEdit(QStringLiteral("毫米"), sizes);
        edit->SetEditType(spec.whole ? TEditTypes::etInteger : TEditTypes::etFloat);
        edit->setMaxLength(4);
        const QString caption = QString::fromUtf8(spec.caption);
        const QString field = QString::fromLatin1(spec.field);
        edit->setAccessibleName(caption);
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(caption, sizes);
        label->setBuddy(edit);
        label->setMinimumWidth(44);
        row->addWidget(label);
        row->addWidget(edit, 1);
        sizeLayout->addLayout(row);
        m_edits.insert(caption, edit);
        // Only what the operator types is written back; the window's own
        // filling of the edits never is.
        if (spec.whole) {
            connect(edit, &QLineEdit::textChanged, this, [this] {
                m_view->ResizePanel(ParseNumber(m_edits.value(QStringLiteral("宽"))->text()),
                                    ParseNumber(m_edits.value(QStringLiteral("高"))->text()));
            });
            connect(edit, &QLineEdit::textEdited, this,
                    [this, field](const QString& text) { sizeEdited(field, text); });
        } else {
            connect(edit, &QLineEdit::textEdited, this,
                    [this, field](const QString& text) { offsetEdited(field, text); });
        }
    }
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("快递名称"), this));
    left->addWidget(m_list, 1);
    left->addWidget(sizes);
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
    for (const QString& line : kHelpLines) {
        auto* help = new QLabel(line, this);
        help->setWordWrap(true);
        help->setStyleSheet(QStringLiteral("color: red"));
        layout->addWidget(help);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"首单", [this] { move(RecordMove::First); }},
        {"前一单", [this] { move(RecordMove::Prior); }},
        {"下一单", [this] { move(RecordMove::Next); }},
        {"末单", [this] { move(RecordMove::Last); }},
        {"快递单据打印", [this] { printOne(); }},
        {"快递单批打印", [this] { printBatch(); }},
        {"关闭", [this] { reject(); }},
    };
    for (const auto& [caption, action] : commands) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        m_buttons << button;
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(couriers, &TKWQuery::currentChanged, this, [this] {
        if (isVisible())
            showCourier(false);
    });
}

TKWLComboEdit* TFastPrintForm::SizeEdit(const QString& caption) const
{
    return m_edits.value(caption);
}

QPushButton* TFastPrintForm::Button(const QString& caption) const
{
    for (QPushButton* b : m_buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void TFastPrintForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    showCourier(true);
    selectRecordCourier();
    m_list->setFocus();
}

void TFastPrintForm::showCourier(bool onShowing)
{
    if (m_couriers->IsEmpty())
        return;
    const WaybillCourier courier = CourierFromRow(*m_couriers);
    m_shownId = courier.fastId;
    auto set = [this](const char* caption, const QString& text) {
        m_edits.value(QString::fromUtf8(caption))->setText(text);
    };
    set("上边距", m_couriers->FieldText(QStringLiteral("FAST_TOP")));
    set("左边距", m_couriers->FieldText(QStringLiteral("FAST_LEFT")));
    set("下边距", m_couriers->FieldText(QStringLiteral("FAST_BOTTOM")));
    if (courier.widthMm <= 10 || courier.heightMm <= 10) {
        // A courier without a size yet shows the new-courier size, as the designer does.
        set("高", courier.heightMm <= 10 ? QStringLiteral("120")
                                        : QString::number(std::lround(courier.heightMm)));
        set("宽", courier.widthMm <= 10 ? QStringLiteral("220")
                                       : QString::number(std::lround(courier.widthMm)));
    } else if (onShowing) {
        set("高", m_couriers->FieldText(QStringLiteral("FAST_NAME_HEIGHT")));
        set("宽", m_couriers->FieldText(QStringLiteral("FAST_NAME_WIDTH")));
    } else {
        set("高", QString::number(std::lround(courier.heightMm)));
        set("宽", QString::number(std::lround(courier.widthMm)));
    }
    m_view->ShowCourier(courier);
    m_fields = ReadPrintFields(courier.fastId);
    if (!m_records->IsEmpty())
        m_view->DrawRecord(m_fields, RecordValues(*m_records, m_sender), WaybillMode::ScreenFull);
    else
        m_view->ClearOverlay();
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
    m_view->ClearOverlay();
    m_view->DrawRecord(m_fields, RecordValues(*m_records, m_sender), WaybillMode::ScreenRedraw);
    selectRecordCourier();
}

void TFastPrintForm::writeBack(const QString& field, const QString& value)
{
    if (m_couriers->IsEmpty())
        return;
    m_couriers->EditData();
    try {
        m_couriers->SetFieldText(field, value);
        m_couriers->SaveData();
    } catch (...) {
        // The edit keeps the typed text; the row goes back to what is stored.
        m_couriers->CancelData();
        throw;
    }
}

void TFastPrintForm::sizeEdited(const QString& field, const QString& text)
{
    writeBack(field, text);
}

void TFastPrintForm::offsetEdited(const QString& field, const QString& text)
{
    // A lone minus sign is a negative number being typed.
    if (text == QLatin1String("-"))
        return;
    writeBack(field, QString::number(ParseNumber(text)));
}

void TFastPrintForm::printOne()
{
    if (m_records->IsEmpty() || m_couriers->IsEmpty())
        return;
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
    m_view->ClearOverlay();
    m_view->DrawRecord(m_fields, RecordValues(*m_records, m_sender), WaybillMode::ScreenRedraw);
}
