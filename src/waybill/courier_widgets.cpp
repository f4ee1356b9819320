#include "waybill/courier_widgets.h"

#include "controls/edits.h"
#include "controls/grid.h"
#include "data/helpers.h"
#include "data/record_model.h"
#include "data/record_set.h"
#include "model/courier.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

TKWNDBGrid* MakeCourierNameList(TKWQuery* couriers, QWidget* parent)
{
    auto* list = new TKWNDBGrid(couriers, parent);
    TFieldsData name{.FieldName = QStringLiteral("FAST_NAME"),
                     .DisplayLabel = QStringLiteral("快递名称"),
                     .DisplayWidth = 20};
    name.DataType = QStringLiteral("C");
    list->SetFieldsData({name});
    // The courier editor borrows the list and shows more of it meanwhile.
    list->model()->pinColumns({name.FieldName});
    list->SetFooterVisible(false);
    list->view()->horizontalHeader()->setStretchLastSection(true);
    HighlightDefaultCourier(list, couriers);
    return list;
}

void HighlightDefaultCourier(TKWNDBGrid* grid, TKWQuery* couriers)
{
    grid->OnApplyCellAttr = [couriers](int row, const QString&, QColor& background, QColor& text) {
        if (couriers->CellText(row, couriers->FieldIndex(QStringLiteral("FAST_DEFAULT"))) ==
            QStringLiteral("是")) {
            background = kDefaultCourierBackground;
            text = row == couriers->RecNo() ? kDefaultCourierSelectedText : QColor(Qt::black);
        }
    };
}

QList<QPushButton*> AddCommandRow(QBoxLayout* layout, const QList<Command>& commands)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    QList<QPushButton*> buttons;
    for (const auto& [caption, action] : commands) {
        auto* button = new QPushButton(QString::fromUtf8(caption), layout->parentWidget());
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, button, action);
        row->addWidget(button);
        buttons << button;
    }
    row->addStretch();
    layout->addLayout(row);
    return buttons;
}

QPushButton* FindButton(const QList<QPushButton*>& buttons, const QString& caption)
{
    for (QPushButton* b : buttons)
        if (b->text() == caption)
            return b;
    return nullptr;
}

void AddHelpLines(QBoxLayout* layout, const QStringList& lines)
{
    for (const QString& line : lines) {
        auto* help = new QLabel(line, layout->parentWidget());
        help->setWordWrap(true);
        help->setStyleSheet(QStringLiteral("color: red"));
        layout->addWidget(help);
    }
}

namespace {

struct EditSpec
{
    const char* caption;
    const char* field;
    bool size;
};
const EditSpec kEdits[] = {{"高", "FAST_NAME_HEIGHT", true},
                           {"宽", "FAST_NAME_WIDTH", true},
                           {"上边距", "FAST_TOP", false},
                           {"左边距", "FAST_LEFT", false},
                           {"下边距", "FAST_BOTTOM", false}};

} // namespace

CourierSizeBox::CourierSizeBox(TKWQuery* couriers, Kind kind, QWidget* parent)
    : QGroupBox(parent), m_couriers(couriers)
{
    const bool offsetsOnly = kind == Kind::OffsetsOnly;
    QBoxLayout* layout = offsetsOnly ? static_cast<QBoxLayout*>(new QHBoxLayout(this))
                                     : static_cast<QBoxLayout*>(new QVBoxLayout(this));
    if (offsetsOnly)
        setFlat(true);
    else
        setTitle(QStringLiteral("快递单大小及打印边距"));
    for (const EditSpec& entry : kEdits) {
        if (offsetsOnly && entry.size)
            continue;
        const QString caption = QString::fromUtf8(entry.caption);
        const QString field = QString::fromLatin1(entry.field);
        auto* edit = new TKWLComboEdit(QStringLiteral("毫米"), this);
        edit->SetEditType(entry.size ? TEditTypes::etInteger : TEditTypes::etFloat);
        edit->setMaxLength(4);
        auto* label = new QLabel(offsetsOnly ? QStringLiteral("打印") + caption : caption, this);
        label->setBuddy(edit);
        edit->setAccessibleName(label->text());
        auto* row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(edit, 1);
        if (offsetsOnly)
            edit->setFixedWidth(90);
        else
            label->setMinimumWidth(44);
        layout->addLayout(row);
        m_edits.insert(caption, edit);
        if (entry.size) {
            connect(edit, &QLineEdit::textChanged, this, [this] {
                Q_EMIT sizeChanged(ParseNumber(Edit(QStringLiteral("宽"))->text()),
                                   ParseNumber(Edit(QStringLiteral("高"))->text()));
            });
            connect(edit, &QLineEdit::textEdited, this,
                    [this, field](const QString& text) { writeBack(field, text); });
        } else {
            // A lone minus sign is a negative number being typed.
            connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
                if (text != QLatin1String("-"))
                    writeBack(field, QString::number(ParseNumber(text)));
            });
        }
    }
}

TKWLComboEdit* CourierSizeBox::Edit(const QString& caption) const
{
    return m_edits.value(caption);
}

void CourierSizeBox::Fill()
{
    if (m_couriers->IsEmpty())
        return;
    auto set = [this](const char* caption, const QString& text) {
        if (TKWLComboEdit* edit = m_edits.value(QString::fromUtf8(caption)))
            edit->setText(text);
    };
    set("上边距", m_couriers->FieldText(QStringLiteral("FAST_TOP")));
    set("左边距", m_couriers->FieldText(QStringLiteral("FAST_LEFT")));
    set("下边距", m_couriers->FieldText(QStringLiteral("FAST_BOTTOM")));
    const WaybillCourier courier = CourierFromRow(*m_couriers);
    auto size = [](double mm, const char* fallback) {
        return mm <= 10 ? QString::fromLatin1(fallback) : QString::number(std::lround(mm));
    };
    set("高", size(courier.heightMm, "120"));
    set("宽", size(courier.widthMm, "220"));
}

void CourierSizeBox::writeBack(const QString& field, const QString& value)
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
