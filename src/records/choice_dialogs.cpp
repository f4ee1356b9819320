#include "records/choice_dialogs.h"

#include "data/dates.h"
#include "desktop/dialog_prompter.h"
#include "data/helpers.h"
#include "frame/form_keys.h"
#include "platform/clock.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TSelectItemQueryForm::TSelectItemQueryForm(const QStringList& items, const QString& title,
                                           int preselected, QWidget* parent)
    : QDialog(parent), m_group(new QButtonGroup(this)), m_box(new QGroupBox(this))
{
    setWindowTitle(title.isEmpty() ? QStringLiteral("打印选择窗口") : title);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* boxLayout = new QVBoxLayout(m_box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], m_box);
        radio->setAccessibleName(items[i]);
        m_group->addButton(radio, i + 1);
        boxLayout->addWidget(radio);
    }
    const int heights[] = {89, 89, 89, 113, 129};
    m_box->setMinimumHeight(heights[qMin<int>(int(items.size()), 4)]);
    if (QAbstractButton* chosen = m_group->button(preselected + 1))
        chosen->setChecked(true);
    else if (!m_group->buttons().isEmpty())
        m_group->buttons().first()->setChecked(true);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    connect(ok, &QPushButton::clicked, this, &TSelectItemQueryForm::confirm);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_box);
    layout->addLayout(buttons);
    setMinimumWidth(280);
}

int TSelectItemQueryForm::Chosen() const
{
    return qMax(0, m_group->checkedId());
}

void TSelectItemQueryForm::confirm()
{
    if (Chosen() == 0) {
        ShowMsg(QStringLiteral("必须选择一个选项"));
        return;
    }
    accept();
}

int AskItemPreselected(int index, const QString& item1, const QString& item2, const QString& title)
{
    TSelectItemQueryForm form({item1, item2}, title, index);
    ForceFocusWindow(&form);
    return form.exec() == QDialog::Accepted ? form.Chosen() : 0;
}

int AskItem(const QString& item1, const QString& item2, const QString& title)
{
    return AskItemPreselected(-1, item1, item2, title);
}

TSetClientForm::TSetClientForm(const QStringList& captions, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("日期范围节点字段选择设置窗口"));
    Choice = new QComboBox(this);
    Choice->addItems(captions);
    Choice->setAccessibleName(QStringLiteral("日期范围节点字段选择"));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (Choice->currentText().isEmpty())
            ShowMsg(QStringLiteral("必须选择一个期限节点字段"));
        else
            accept();
    });
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("日期范围节点字段选择"), Choice);
    form->addRow(ok);
}

QString ChooseDateNodeCaption(const QStringList& captions, const QString& current, QWidget* parent)
{
    TSetClientForm chooser(captions, parent);
    // Never a field the operator did not pick: one not offered shows as nothing.
    const int at = chooser.Choice->findText(current);
    chooser.Choice->setCurrentIndex(at >= 0 ? at : chooser.Choice->findText(QString()));
    return chooser.exec() == QDialog::Accepted ? chooser.Choice->currentText() : QString();
}

TDateForm::TDateForm(const QDate& start, QWidget* parent) : QDialog(parent)
{
    Calendar = new QCalendarWidget(this);
    Calendar->setSelectedDate(start);
    Calendar->setGridVisible(true);
    auto updateTitle = [this] { setWindowTitle(DateText(Calendar->selectedDate())); };
    connect(Calendar, &QCalendarWidget::selectionChanged, this, updateTitle);
    connect(Calendar, &QCalendarWidget::activated, this, &QDialog::accept);
    updateTitle();
    auto* ok = new QPushButton(QStringLiteral("确定[F3]"), this);
    auto* close = new QPushButton(QStringLiteral("关闭[F4]"), this);
    for (QPushButton* b : {ok, close}) {
        b->setAutoDefault(false);
        b->setAccessibleName(b->text());
    }
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    BindFunctionKey(ok, Qt::Key_F3);
    BindFunctionKey(close, Qt::Key_F4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Calendar);
    layout->addLayout(buttons);
}

QDate DatePickerStart(const QString& dateText, const QString& workDate)
{
    QString d = dateText;
    const qsizetype colon = d.indexOf(QLatin1Char(':'));
    if (colon >= 0) // a time of day: "2024-03-05 10:20:30" keeps "2024-03-05"
        d = d.left(qMax<qsizetype>(0, colon - 2)).trimmed();
    if (d.isEmpty()) {
        const QDate work = ParseUserDate(workDate);
        return work.isValid() ? work : CurrentDate();
    }
    const QDate date = ParseUserDate(d);
    return date.isValid() ? date : CurrentDate();
}

QString PickDate(const QString& dateText, const QString& workDate, QWidget* parent)
{
    TDateForm form(DatePickerStart(dateText, workDate), parent);
    return form.exec() == QDialog::Accepted ? DateText(form.Calendar->selectedDate()) : QString();
}
