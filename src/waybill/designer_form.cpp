#include "waybill/designer_form.h"
#include "session/app_globals.h"

#include "controls/edits.h"
#include "controls/grid.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "data/rules.h"
#include "platform/fonts.h"
#include "platform/prompts.h"
#include "records/choice_dialogs.h"
#include "waybill/courier_forms.h"
#include "waybill/courier_widgets.h"
#include "waybill/preview_form.h"
#include "waybill/waybill_view.h"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRubberBand>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QColor kGreen(0, 128, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
constexpr int kFontNameBytes = 10;

const char* const kHelpLines[] = {
    "按住鼠标左键可以移动字段的位置，按→按钮增加字段，用鼠标点下要删除的字段,然后按←按钮可以删除红"
    "色的字段,点鼠标右键可以设置字体大小和每行打印字符数",
    "当整体打印位置与快第单上的位置对不上，就是打印位置有偏移时可以通过改变上边距和左边距来修正，上"
    "边"
    "距和左边距可以是负数，当连续批量打印快递单时，如果",
    "下一单的走纸量小可以通过加大下边距来修正，如果下一单的走纸量大可以通过减小下边距来修正，下边距"
    "可"
    "以是负数",
    "当各行之间的打印错位，可以通过改变快递单高度来调整",
    "当各列之间的打印错位，可以通过改变快递单宽度来调整",
};

int roundEven(double v)
{
    return int(std::nearbyint(v));
}

// Finds the caption's row in the print fields and leaves the cursor on it.
bool locateRow(TKWQuery& fields, const QString& key)
{
    const int column = fields.FieldIndex(QStringLiteral("FIELD_RECORD_ID"));
    for (int row = 0; row < fields.RecordCount(); ++row)
        if (fields.CellText(row, column) == key) {
            fields.SetRecNo(row);
            return true;
        }
    return false;
}

bool printFieldKeyTaken(const QString& key)
{
    return !GetSQLValue(kDatabaseName, QStringLiteral("SELECT FIELD_RECORD_ID FROM "
                                                      "KW_FAST_NAME_PRINT_TABLE WHERE "
                                                      "FIELD_RECORD_ID = ") +
                                           QuotedStr(key))
                .isEmpty();
}

} // namespace

FieldCaption::FieldCaption(QWidget* parent) : QLabel(parent)
{
    setAutoFillBackground(false);
    setCursor(Qt::SizeAllCursor);
    hide();
}

void FieldCaption::setColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void FieldCaption::SetSelected(bool selected)
{
    m_selected = selected;
    setColor(selected ? kRed : (m_hover ? kBlue : kGreen));
}

void FieldCaption::Clear()
{
    Key.clear();
    FieldName.clear();
    clear();
    m_selected = false;
    hide();
}

void FieldCaption::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    m_hover = true;
    if (!m_selected)
        setColor(kBlue);
}

void FieldCaption::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    m_hover = false;
    if (!m_selected)
        setColor(kGreen);
}

void FieldCaption::mousePressEvent(QMouseEvent* event)
{
    Q_EMIT pressed(this, event->button(), mapToParent(event->position().toPoint()));
}

void FieldCaption::mouseMoveEvent(QMouseEvent* event)
{
    Q_EMIT dragged(this, mapToParent(event->position().toPoint()));
}

void FieldCaption::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT released(this, mapToParent(event->position().toPoint()));
}

TSetFastNamePrintForm::TSetFastNamePrintForm(TKWQuery* records, TKWQuery* couriers, QWidget* parent)
    : QDialog(parent), m_records(records), m_couriers(couriers), m_fields(new TKWQuery(this)),
      m_catalogueFields(PrintableFieldCatalogue())
{
    setWindowTitle(QStringLiteral("快递单据打印设置窗口"));
    resize(1056, 668);
    const QString printTable = QStringLiteral("KW_FAST_NAME_PRINT_TABLE");
    m_fields->SetTableName(printTable);
    m_fields->SetCheckData({UniqueCheck(printTable, QStringLiteral("FIELD_RECORD_ID"),
                                        QStringLiteral("纪录编号重复"))});
    m_fields->SetInsertData(
        {InsertRule(QStringLiteral("FIELD_RECORD_ID"), QStringLiteral("T"), QString(), 12)});

    m_courierList = MakeCourierNameList(couriers, this);
    m_catalogue = new QListWidget(this);
    m_catalogue->setAccessibleName(QStringLiteral("快递单打印字段选择"));
    for (const PrintableField& f : m_catalogueFields)
        m_catalogue->addItem(f.displayName);
    auto* add = new QPushButton(QStringLiteral("→"), this);
    add->setToolTip(QStringLiteral("增加字段"));
    auto* remove = new QPushButton(QStringLiteral("←"), this);
    remove->setToolTip(QStringLiteral("删除字段"));
    for (QPushButton* b : {add, remove}) {
        b->setFixedWidth(30);
        b->setAutoDefault(false);
        m_buttons << b;
    }
    connect(add, &QPushButton::clicked, this, &TSetFastNamePrintForm::AddField);
    connect(remove, &QPushButton::clicked, this, &TSetFastNamePrintForm::RemoveField);
    connect(m_catalogue, &QListWidget::itemDoubleClicked, this, &TSetFastNamePrintForm::AddField);

    m_sizes = new CourierSizeBox(couriers, CourierSizeBox::Kind::SizeAndOffsets, this);
    m_view = new LayoutWaybillView(this);
    connect(m_sizes, &CourierSizeBox::sizeChanged, this,
            [this](double width, double height) { m_view->ResizePanel(width, height, true); });
    for (FieldCaption*& slot : m_slots) {
        slot = new FieldCaption(m_view->panel());
        connect(slot, &FieldCaption::pressed, this, &TSetFastNamePrintForm::captionPressed);
        connect(slot, &FieldCaption::dragged, this, &TSetFastNamePrintForm::captionDragged);
        connect(slot, &FieldCaption::released, this, &TSetFastNamePrintForm::captionReleased);
    }
    m_outline = new QRubberBand(QRubberBand::Rectangle, m_view->panel());

    auto* catalogueRow = new QHBoxLayout;
    catalogueRow->addWidget(m_catalogue, 1);
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    arrows->addWidget(add);
    arrows->addWidget(remove);
    arrows->addStretch();
    catalogueRow->addLayout(arrows);
    auto* left = new QVBoxLayout;
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(new QLabel(QStringLiteral("快递名称"), this));
    left->addWidget(m_courierList, 1);
    left->addWidget(new QLabel(QStringLiteral("快递单打印字段选择"), this));
    left->addLayout(catalogueRow, 2);
    left->addWidget(m_sizes);
    auto* leftPanel = new QWidget(this);
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(210);
    auto* top = new QHBoxLayout;
    top->addWidget(leftPanel);
    top->addWidget(m_view, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    QStringList help;
    for (const char* line : kHelpLines)
        help << QString::fromUtf8(line);
    AddHelpLines(layout, help);
    m_buttons << AddCommandRow(layout, {
                                           {"加载快递单图片", [this] { loadPicture(); }},
                                           {"增加新快递名称", [this] { editCouriers(); }},
                                           {"打印预览", [this] { openPreview(); }},
                                           {"关闭", [this] { reject(); }},
                                       });

    connect(couriers, &TKWQuery::currentChanged, this, [this] {
        if (m_shown) {
            m_sizes->Fill();
            showLayout();
        }
    });
}

QPushButton* TSetFastNamePrintForm::Button(const QString& caption) const
{
    return FindButton(m_buttons, caption);
}

void TSetFastNamePrintForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    m_placement = QPoint(20, 20);
    m_addCounter = 0;
    m_sizes->Fill();
    showLayout();
    m_courierList->setFocus();
}

void TSetFastNamePrintForm::showLayout()
{
    for (FieldCaption* slot : m_slots)
        slot->Clear();
    if (m_couriers->IsEmpty())
        return;
    const WaybillCourier courier = CourierFromRow(*m_couriers);
    m_view->ShowCourier(courier);
    m_fields->CloseData();
    m_fields->SQL = QStringLiteral("SELECT * FROM KW_FAST_NAME_PRINT_TABLE WHERE FAST_ID = ") +
                    QuotedStr(courier.fastId);
    m_fields->OpenData();
    // A courier being entered has no layout yet.
    if (m_couriers->Editing() || courier.name.isEmpty())
        return;
    for (const WaybillField& field : ReadPrintFields(courier.fastId))
        placeField(field, std::nullopt);
}

void TSetFastNamePrintForm::placeField(const WaybillField& field, std::optional<QPoint> at)
{
    const WaybillScale scale = ScreenWaybillScale();
    QPoint p = at.value_or(QPoint(roundEven(roundEven(field.leftMm) * scale.x),
                                  roundEven(roundEven(field.topMm) * scale.y)));
    // A field dragged off the picture comes back at the placement point.
    if (p.y() < 0) {
        m_placement.ry() += 20;
        if (m_placement.y() > 300)
            m_placement.setY(20);
        p.setY(m_placement.y());
    }
    if (p.x() < 0) {
        m_placement.rx() += 20;
        if (m_placement.x() > 300)
            m_placement.setX(20);
        p.setX(m_placement.x());
    }
    const int stored = roundEven(field.fontSize);
    for (FieldCaption* slot : m_slots) {
        if (!slot->Key.isEmpty())
            continue;
        QFont font(field.fontName);
        font.setPointSize(stored < 5 ? 8 : stored - 1);
        slot->setFont(font);
        slot->setText(field.displayName);
        slot->adjustSize();
        slot->move(LayoutWaybillView::PictureOrigin() + p);
        slot->Key = field.recordId;
        slot->FieldName = field.fieldName;
        slot->SetSelected(false);
        slot->show();
        slot->raise();
        return;
    }
}

void TSetFastNamePrintForm::AddField()
{
    const int index = m_catalogue->currentRow();
    if (index < 0 || m_couriers->IsEmpty())
        return;
    if (std::none_of(m_slots.begin(), m_slots.end(),
                     [](const FieldCaption* s) { return s->Key.isEmpty(); })) {
        ShowMsg(QStringLiteral("最多打印20个字段"));
        return;
    }
    if (++m_addCounter > 99)
        m_addCounter = 0;
    const QPoint point = NextAutoPlacement(m_placement);
    const WaybillScale scale = ScreenWaybillScale();
    const PrintableField& chosen = m_catalogueFields.at(index);
    WaybillField field;
    field.fieldName = chosen.fieldName;
    field.displayName = chosen.displayName;
    field.tableName = chosen.tableName;
    field.fontName = kNewFieldFontName;
    field.fontSize = 10;
    field.topMm = roundEven(point.y() / scale.y);
    field.leftMm = roundEven(point.x() / scale.x);
    field.fontNumber = 25;
    m_fields->AppendData();
    try {
        m_fields->SetFieldText(QStringLiteral("FAST_ID"),
                               m_couriers->FieldText(QStringLiteral("FAST_ID")));
        m_fields->SetFieldText(QStringLiteral("FIELD_NAME"), field.fieldName);
        m_fields->SetFieldText(QStringLiteral("FIELD_DISPLAY_NAME"), field.displayName);
        m_fields->SetFieldText(QStringLiteral("FIELD_TABLE_NAME"), field.tableName);
        m_fields->SetFieldText(QStringLiteral("FIELD_FONT_NAME"), field.fontName);
        m_fields->SetFieldText(QStringLiteral("FIELD_FONT_SIZE"), QStringLiteral("10"));
        m_fields->SetFieldText(QStringLiteral("FIELD_NAME_TOP"), QString::number(field.topMm));
        m_fields->SetFieldText(QStringLiteral("FIELD_NAME_LEFT"), QString::number(field.leftMm));
        m_fields->SetFieldText(QStringLiteral("FIELD_FONT_NUMBER"), QStringLiteral("25"));
        // Two fields added within one second differ by the counter; a key
        // taken already (the window reopened within that second) moves it on.
        const QString generated = m_fields->FieldText(QStringLiteral("FIELD_RECORD_ID"));
        for (int tries = 1;
             tries < 100 && printFieldKeyTaken(generated + QString::number(m_addCounter)); ++tries)
            m_addCounter = (m_addCounter + 1) % 100;
        m_fields->SetFieldText(QStringLiteral("FIELD_RECORD_ID"),
                               generated + QString::number(m_addCounter));
        m_fields->SaveData();
    } catch (...) {
        m_fields->CancelData();
        throw;
    }
    // The uniqueness check may have given the row another key: the slot
    // keeps the one stored, or drags and "←" would find no row.
    field.recordId = m_fields->FieldText(QStringLiteral("FIELD_RECORD_ID"));
    placeField(field, point);
}

void TSetFastNamePrintForm::RemoveField()
{
    for (FieldCaption* slot : m_slots) {
        if (!slot->Selected() || slot->Key.isEmpty())
            continue;
        const QString key = slot->Key;
        slot->Clear();
        RunSQL(
            kDatabaseName,
            QStringLiteral("DELETE FROM KW_FAST_NAME_PRINT_TABLE WHERE FIELD_RECORD_ID = %1 "
                           "AND FAST_ID = %2")
                .arg(QuotedStr(key), QuotedStr(m_couriers->FieldText(QStringLiteral("FAST_ID")))));
        m_fields->CloseData();
        m_fields->OpenData();
        return;
    }
}

void TSetFastNamePrintForm::select(FieldCaption* caption)
{
    for (FieldCaption* slot : m_slots)
        slot->SetSelected(slot == caption);
}

void TSetFastNamePrintForm::saveCaption(FieldCaption* caption)
{
    if (caption->Key.isEmpty()) {
        ShowMsg(QStringLiteral("没有该字段"));
        return;
    }
    if (!locateRow(*m_fields, caption->Key))
        return;
    const QPoint mm = pictureToMm(caption->pos() - LayoutWaybillView::PictureOrigin());
    m_fields->EditData();
    try {
        m_fields->SetFieldText(QStringLiteral("FIELD_FONT_NAME"), caption->font().family());
        m_fields->SetFieldText(QStringLiteral("FIELD_FONT_SIZE"),
                               QString::number(caption->font().pointSize() + 1));
        m_fields->SetFieldText(QStringLiteral("FIELD_NAME_TOP"), QString::number(mm.y()));
        m_fields->SetFieldText(QStringLiteral("FIELD_NAME_LEFT"), QString::number(mm.x()));
        m_fields->SaveData();
    } catch (...) {
        m_fields->CancelData();
        throw;
    }
}

QPoint TSetFastNamePrintForm::pictureToMm(QPoint pixels) const
{
    const WaybillScale scale = ScreenWaybillScale();
    return {roundEven(pixels.x() / scale.x), roundEven(pixels.y() / scale.y)};
}

void TSetFastNamePrintForm::captionPressed(FieldCaption* caption, Qt::MouseButton button,
                                           QPoint point)
{
    select(caption);
    if (button == Qt::RightButton) {
        chooseForCaption(caption);
        return;
    }
    if (button != Qt::LeftButton)
        return;
    // Only an outline follows the mouse; the caption moves on release.
    m_dragging = true;
    m_dragStart = m_dragCurrent = point;
    m_outline->setGeometry(caption->geometry());
    m_outline->show();
    m_outline->raise();
}

void TSetFastNamePrintForm::captionDragged(FieldCaption* caption, QPoint point)
{
    if (!m_dragging)
        return;
    m_dragCurrent = point;
    m_outline->setGeometry(caption->geometry().translated(m_dragCurrent - m_dragStart));
}

void TSetFastNamePrintForm::captionReleased(FieldCaption* caption, QPoint point)
{
    if (!m_dragging)
        return;
    m_dragging = false;
    m_dragCurrent = point;
    m_outline->hide();
    caption->move(caption->pos() + m_dragCurrent - m_dragStart);
    saveCaption(caption);
}

void TSetFastNamePrintForm::chooseForCaption(FieldCaption* caption)
{
    // The chooser counts its items from 0: the font comes first.
    const int choice =
        AskItemPreselected(0, QStringLiteral("设置字体大小"), QStringLiteral("设置字段长度"),
                           QStringLiteral("操作选择"));
    if (choice == 1) {
        QFont font = caption->font();
        font.setPointSize(font.pointSize() + 1);
        if (!CurrentPrompter().chooseFont(this, font))
            return;
        // The column holds 10 bytes: a long family is kept under a short
        // name that resolves to it.
        const QString family = StorableFontFamily(font.family(), kFontNameBytes);
        if (family.isEmpty()) {
            ShowMsg(QStringLiteral("字体名称太长，不能保存，请选择其他字体"));
            return;
        }
        QFont shown(family);
        shown.setPointSize(qMax(1, font.pointSize() - 1));
        caption->setFont(shown);
        caption->adjustSize();
        saveCaption(caption);
    } else if (choice == 2) {
        if (!locateRow(*m_fields, caption->Key))
            return;
        QString number = m_fields->FieldText(QStringLiteral("FIELD_FONT_NUMBER")).trimmed();
        if (number.isEmpty())
            number = QStringLiteral("30");
        else if (ParseNumber(number) < 3)
            number = QStringLiteral("3");
        TSelectFontNumberForm dialog(this);
        dialog.Number()->setText(number);
        if (dialog.exec() != QDialog::Accepted)
            return;
        m_fields->EditData();
        try {
            m_fields->SetFieldText(QStringLiteral("FIELD_FONT_NUMBER"), dialog.Number()->text());
            m_fields->SaveData();
        } catch (...) {
            m_fields->CancelData();
            throw;
        }
    }
}

void TSetFastNamePrintForm::openPreview()
{
    if (m_couriers->IsEmpty()) {
        ShowMsg(QStringLiteral("没有设置快递名称,不能打印预览快递单"));
        return;
    }
    if (!m_records || m_records->IsEmpty()) {
        ShowMsg(QStringLiteral("没有客户快件记录,不能打印预览快递单"));
        return;
    }
    TFastPrintPreviewForm preview(m_records, m_couriers, this);
    preview.exec();
    // The preview edits the same courier row.
    m_sizes->Fill();
}

void TSetFastNamePrintForm::loadPicture()
{
    if (!m_couriers->IsEmpty() && LoadCourierPicture(*m_couriers, AppGlobals.DBPath))
        showLayout();
}

void TSetFastNamePrintForm::editCouriers()
{
    TSelectFastNameEditForm editor(m_couriers, this);
    editor.OnPictureLoaded = [this] { showLayout(); };
    editor.exec();
    m_sizes->Fill();
    showLayout();
}
