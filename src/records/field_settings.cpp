#include "records/field_settings.h"

#include "controls/edits.h"
#include "data/connection.h"
#include "data/helpers.h"
#include "frame/form_keys.h"
#include "platform/gbk.h"
#include "records/editor_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kUndefined = QStringLiteral("未定义");
const QString kSaveFailed = QStringLiteral("设置保存错误");

bool oneOf(const QString& value, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (value == QString::fromUtf8(n))
            return true;
    return false;
}

const FieldChoice* choiceOfField(const QString& fieldName)
{
    for (const FieldChoice& c : FieldChoices())
        if (c.fieldName == fieldName)
            return &c;
    return nullptr;
}

const FieldChoice* choiceNamed(const QString& caption)
{
    for (const FieldChoice& c : FieldChoices())
        if (c.caption == caption)
            return &c;
    return nullptr;
}

std::optional<CatalogueRow> rowOfField(const QString& fieldName)
{
    for (const CatalogueRow& r : ReadCatalogue())
        if (r.fieldName == fieldName)
            return r;
    return std::nullopt;
}

QString keyFieldOfPlace(int place)
{
    if (place == 1)
        return QStringLiteral("CLIENT_ORDER_ID");
    if (place == kAddressPlace)
        return QStringLiteral("CLIENT_ADD");
    if (place == kNotePlace)
        return QStringLiteral("TEXT_NOTE");
    return {};
}

bool writeRow(const CatalogueRow& r, bool exists)
{
    const QString values[] = {QuotedStr(r.displayName), QuotedStr(r.fieldType),
                              QString::number(r.width), QString::number(r.displayWidth),
                              QuotedStr(r.orderType),   QuotedStr(r.findType),
                              QString::number(r.order)};
    if (exists)
        return RunSQL(kDatabaseName,
                      QStringLiteral("UPDATE SYS_CLIENT_FIELD_TABLE SET FIELD_DISPLAY_NAME = %1, "
                                     "FIELD_TYPE = %2, FIELD_WIDTH = %3, FIELD_DISPLAY_WIDTH = %4, "
                                     "FIELD_ORDER_TYPE = %5, FIELD_FIND_TYPE = %6, "
                                     "FIELD_ORDER = %7 WHERE FIELD_NAME = %8")
                          .arg(values[0], values[1], values[2], values[3], values[4], values[5],
                               values[6], QuotedStr(r.fieldName)));
    return RunSQL(kDatabaseName,
                  QStringLiteral("INSERT INTO SYS_CLIENT_FIELD_TABLE(FIELD_NAME,"
                                 "FIELD_DISPLAY_NAME,FIELD_TYPE,FIELD_WIDTH,FIELD_DISPLAY_WIDTH,"
                                 "FIELD_ORDER_TYPE,FIELD_FIND_TYPE,FIELD_ORDER) "
                                 "VALUES(%1,%2,%3,%4,%5,%6,%7,%8)")
                      .arg(QuotedStr(r.fieldName), values[0], values[1], values[2], values[3],
                           values[4], values[5], values[6]));
}

bool deleteField(const QString& fieldName)
{
    return RunSQL(kDatabaseName, QStringLiteral("DELETE FROM SYS_CLIENT_FIELD_TABLE WHERE "
                                                "FIELD_NAME = %1")
                                     .arg(QuotedStr(fieldName)));
}

PlaceFieldOutcome refused(const QString& message, bool focusCaption = false)
{
    return {false, false, message, focusCaption};
}

} // namespace

InputModeRule StartingInputMode(const QString& f, const QString& findType)
{
    const QString started = findType == QLatin1String("DT") || findType == QLatin1String("D")
                                ? kPickedInput
                                : kTypedInput;
    if (f.isEmpty())
        return {kTypedInput, false};
    if (oneOf(f,
              {"CLIENT_ORDER_ID", "CLIENT_ADD", "TEXT_NOTE", "CLIENT_NAME", "CLIENT_HANDSET_PHONE",
               "CLIENT_PHONE", "CLIENT_POSTCODE", "FAST_ID", "FAST_MONEY"}))
        return {kTypedInput, true};
    if (oneOf(f, {"CLIENT_ORDER_DATE", "FAST_NAME", "CLIENT_EMPLOYEE_NAME"}))
        return {kPickedInput, true};
    if (f.startsWith(QLatin1String("DATE_FIELD")))
        return {started, true};
    return {started, false};
}

std::optional<QString> InputModeForChoice(const QString& choice)
{
    if (choice.contains(QStringLiteral("日期字段")) ||
        oneOf(choice, {"快递公司字段", "发货人字段"}))
        return kPickedInput;
    if (choice.contains(QStringLiteral("数据字段")) ||
        choice.contains(QStringLiteral("快递费用")) ||
        oneOf(choice, {"订单编号字段", "收货人字段", "手机字段", "电话字段", "邮编字段",
                       "快递单号字段", "备注字段", "收货地址字段"}))
        return kTypedInput;
    return std::nullopt;
}

std::optional<CatalogueRow> ReadPlaceRow(int place)
{
    const QString key = keyFieldOfPlace(place);
    if (!key.isEmpty()) {
        if (std::optional<CatalogueRow> row = rowOfField(key))
            return row;
        const FieldChoice* c = choiceOfField(key);
        CatalogueRow row{place,       key,      QString(),       c->fieldType,
                         c->findType, c->width, c->displayWidth, QString()};
        row.displayName = place == 1               ? QStringLiteral("记录编号")
                          : place == kAddressPlace ? QStringLiteral("客户地址")
                                                   : QStringLiteral("备注");
        return row;
    }
    for (const CatalogueRow& r : ReadCatalogue())
        if (r.order == place)
            return r;
    return std::nullopt;
}

PlaceFieldOutcome ApplyPlaceFieldChange(const PlaceFieldChange& c)
{
    const QString caption = c.caption.trimmed();
    const QString old = c.oldField;
    if (caption.isEmpty()) {
        if (!c.choiceUsable)
            return refused(QStringLiteral("该字段是关键字段,必须输入字段名称"), true);
        if (!old.isEmpty() && !deleteField(old))
            return refused(kSaveFailed);
        return {true, true, QString(), false};
    }
    if (c.choice.trimmed().isEmpty())
        return refused(QStringLiteral("必须选择一个字段"));
    if (c.inputMode.isEmpty())
        return refused(QStringLiteral("必须选择输入方式"));
    const struct
    {
        const char* choice;
        int place;
        const char* message;
    } placeRules[] = {{"编号字段", 1, "第一个字段才能是\"编号字段\""},
                      {"名称字段", 2, "第二个字段才能是\"名称字段\""},
                      {"备注字段", kNotePlace, "最后一个字段才能是\"备注字段\""}};
    for (const auto& rule : placeRules)
        if (c.choice == QString::fromUtf8(rule.choice) && c.place != rule.place)
            return refused(QString::fromUtf8(rule.message));
    const FieldChoice* choice = choiceNamed(c.choice);
    if (!choice)
        return refused(QStringLiteral("字段类别错误"));
    const QString f = choice->fieldName;

    // Both checks run before anything is written, so a refusal keeps the
    // place's field; the place's own old row does not count against it.
    const double sameCaption = GetSQLNumber(
        kDatabaseName,
        QStringLiteral("SELECT Count(FIELD_NAME) FROM SYS_CLIENT_FIELD_TABLE WHERE "
                       "FIELD_DISPLAY_NAME = %1 AND FIELD_NAME <> %2 AND FIELD_NAME <> %3")
            .arg(QuotedStr(caption), QuotedStr(f), QuotedStr(old)));
    if (sameCaption > 0)
        return refused(QStringLiteral("字段名称重复"), true);
    const std::optional<CatalogueRow> existing = rowOfField(f);
    if (existing && f != old && existing->order != c.place)
        return refused(QStringLiteral("该字段已被定义为：") + existing->displayName +
                       QStringLiteral("\r\n不能重复定义"));

    CatalogueRow row{c.place,
                     f,
                     caption,
                     choice->fieldType,
                     choice->findType,
                     choice->width,
                     choice->displayWidth,
                     c.sortField ? QStringLiteral("是") : QStringLiteral("否")};
    if (c.inputMode == kPickedInput && choice->fieldType == QLatin1String("String"))
        row.findType = QStringLiteral("DT");
    QSqlDatabase db = QSqlDatabase::database(kDatabaseName);
    db.transaction();
    const bool written =
        (f == old || old.isEmpty() || deleteField(old)) && writeRow(row, existing.has_value());
    if (!written || !db.commit()) {
        db.rollback();
        return refused(kSaveFailed);
    }
    return {true, false, QString(), false};
}

TSelectClientFieldForm::TSelectClientFieldForm(int place,
                                               const std::optional<CatalogueRow>& current,
                                               QWidget* parent)
    : QDialog(parent), m_place(place), m_oldField(current ? current->fieldName : QString())
{
    setWindowTitle(QStringLiteral("字段选择窗口"));
    m_caption = new TKWEdit(this);
    m_caption->setValidator(new GbkLengthValidator(12, false, m_caption));
    m_choice = new QComboBox(this);
    m_choice->setEditable(true);
    for (const FieldChoice& c : FieldChoices())
        m_choice->addItem(c.caption);
    m_mode = new QComboBox(this);
    m_mode->addItems({kTypedInput, kPickedInput});
    m_sort = new QCheckBox(QStringLiteral("是排序字段"), this);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TSelectClientFieldForm::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("字段名称"), m_caption);
    form->addRow(QStringLiteral("字段选择"), m_choice);
    form->addRow(QStringLiteral("输入方式选择"), m_mode);
    form->addRow(QString(), m_sort);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    for (QWidget* w : {static_cast<QWidget*>(m_caption), static_cast<QWidget*>(m_choice),
                       static_cast<QWidget*>(m_mode)})
        w->setMinimumWidth(180);

    const InputModeRule rule =
        StartingInputMode(m_oldField, current ? current->findType : QString());
    m_mode->setCurrentText(rule.mode);
    m_mode->setEnabled(!rule.fixed);
    if (current) {
        m_caption->setText(current->displayName);
        m_sort->setChecked(current->orderType == QStringLiteral("是"));
        if (const FieldChoice* c = choiceOfField(current->fieldName))
            m_choice->setCurrentText(c->caption);
    } else {
        m_choice->setCurrentIndex(-1);
        m_choice->setEditText(QString());
    }
    m_choice->setEnabled(keyFieldOfPlace(place).isEmpty());
    connect(m_choice, &QComboBox::currentTextChanged, this, &TSelectClientFieldForm::choiceChanged);
    m_caption->setFocus();
}

void TSelectClientFieldForm::choiceChanged(const QString& choice)
{
    const std::optional<QString> mode = InputModeForChoice(choice);
    if (mode)
        m_mode->setCurrentText(*mode);
    m_mode->setEnabled(!mode);
}

void TSelectClientFieldForm::accept()
{
    PlaceFieldChange change;
    change.place = m_place;
    change.oldField = m_oldField;
    change.caption = m_caption->text();
    change.choice = m_choice->currentText().trimmed();
    change.inputMode = m_mode->currentText();
    change.sortField = m_sort->isChecked();
    change.choiceUsable = m_choice->isEnabled();
    const PlaceFieldOutcome outcome = ApplyPlaceFieldChange(change);
    if (!outcome.accepted) {
        ShowMsg(outcome.message);
        if (outcome.focusCaption)
            m_caption->setFocus();
        return;
    }
    m_newCaption = outcome.removed ? QString() : change.caption.trimmed();
    QDialog::accept();
}

TSetClientFieldForm::TSetClientFieldForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("客户资料字段设置窗口"));
    m_area = new QWidget(this);
    m_area->setFixedSize(807, 160);
    constexpr int kButtonLeft[] = {0, 196, 398, 600};
    QList<int> places;
    for (int p = 1; p <= 20; ++p)
        places << p;
    places << kAddressPlace << kNotePlace;
    const QList<CatalogueRow> rows = ReadCatalogue();
    for (int place : places) {
        const QRect rect = EditorPlaceRect(place);
        auto* button = new QPushButton(kUndefined, m_area);
        button->setFlat(true);
        const int left = place <= 20 ? kButtonLeft[(place - 1) % 4] : 0;
        button->setGeometry(left, rect.top(), rect.left() - left - 2, rect.height());
        connect(button, &QPushButton::clicked, this, [this, place] { openPlace(place); });
        m_buttons.insert(place, button);
        if (std::optional<CatalogueRow> row = ReadPlaceRow(place))
            if (!row->displayName.isEmpty() &&
                std::any_of(rows.begin(), rows.end(), [&row](const CatalogueRow& r) {
                    return r.fieldName == row->fieldName;
                })) {
                button->setText(row->displayName);
                showPreview(place, row->fieldName);
            }
    }
    auto* note = new QLabel(QStringLiteral("地址字段、备注字段、字符字段9 可以输入160英文字符,"
                                           "其他字符字段可以输入50个英文字符"),
                            this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    BindFunctionKey(close, QKeySequence(Qt::Key_F12));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(note, 1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_area);
    layout->addLayout(bottom);
}

QPushButton* TSetClientFieldForm::PlaceButton(int place) const
{
    return m_buttons.value(place);
}

QWidget* TSetClientFieldForm::PlacePreview(int place) const
{
    return m_previews.value(place);
}

void TSetClientFieldForm::showPreview(int place, const QString& fieldName)
{
    delete m_previews.take(place);
    if (fieldName.isEmpty())
        return;
    auto* preview = new QLineEdit(m_area);
    preview->setEnabled(false);
    preview->setPlaceholderText(fieldName);
    preview->setGeometry(EditorPlaceRect(place));
    preview->show();
    m_previews.insert(place, preview);
}

void TSetClientFieldForm::openPlace(int place)
{
    m_changed = true;
    const std::optional<CatalogueRow> current = ReadPlaceRow(place);
    TSelectClientFieldForm dialog(place, current, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString caption = dialog.NewCaption();
    m_buttons.value(place)->setText(caption.isEmpty() ? kUndefined : caption);
    const std::optional<CatalogueRow> now = ReadPlaceRow(place);
    showPreview(place, caption.isEmpty() || !now ? QString() : now->fieldName);
}
