#include "waybill/batch_print_form.h"

#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "platform/printers.h"
#include "model/renderer.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

QLabel* label(const QString& text, QWidget* parent, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

} // namespace

TPrintForm::TPrintForm(TKWQuery* records, const WaybillCourier& courier,
                       const QHash<QString, QString>& sender, bool fromFirst, QWidget* parent)
    : QDialog(parent), m_records(records), m_courier(courier), m_sender(sender),
      m_fromFirst(fromFirst), m_timer(new QTimer(this))
{
    setWindowTitle(QStringLiteral("快递单连续打印窗口"));
    setFixedSize(561, 242);
    QFont font(QStringLiteral("宋体"));
    font.setPointSize(10);
    setFont(font);
    m_totalCaption = label(QStringLiteral("快递数量:"), this, {20, 16, 150, 22});
    m_total = label(QString(), this, {130, 16, 90, 22});
    m_sentCaption = label(QStringLiteral("已发出打印指令数:"), this, {220, 16, 150, 22});
    m_sentNumber = label(QString(), this, {340, 16, 80, 22});
    label(QStringLiteral("状态是已打单的数量:"), this, {220, 44, 150, 22});
    m_skippedNumber = label(QString(), this, {360, 44, 80, 22});
    m_progress = new QProgressBar(this);
    m_progress->setGeometry(20, 76, 521, 22);
    m_animation = new QProgressBar(this);
    m_animation->setGeometry(20, 76, 521, 22);
    m_animation->setRange(0, 0);
    m_animation->hide();
    const QString notes[] = {
        QStringLiteral("按停止打印按钮后打印机要把已发出的打印指令执行完后才能停止打印。"),
        QStringLiteral("打单状态是 已打单 的快递将不打印")};
    for (int i = 0; i < 2; ++i) {
        QLabel* note = label(notes[i], this, {20, 110 + i * 24, 521, 22});
        note->setStyleSheet(QStringLiteral("color: red"));
    }
    m_continue = new QPushButton(QStringLiteral("继续打印"), this);
    m_stop = new QPushButton(QStringLiteral("停止打印"), this);
    m_close = new QPushButton(QStringLiteral("关闭"), this);
    int left = 120;
    for (QPushButton* b : {m_continue, m_stop, m_close}) {
        b->setGeometry(left, 190, 96, 30);
        b->setAutoDefault(false);
        left += 110;
    }
    m_continue->setEnabled(false);
    connect(m_continue, &QPushButton::clicked, this, &TPrintForm::resume);
    connect(m_stop, &QPushButton::clicked, this, &TPrintForm::stop);
    connect(m_close, &QPushButton::clicked, this, &TPrintForm::reject);
    m_timer->setInterval(100);
    connect(m_timer, &QTimer::timeout, this, &TPrintForm::Tick);
}

QPushButton* TPrintForm::Button(const QString& caption) const
{
    for (QPushButton* b : {m_continue, m_stop, m_close})
        if (b->text() == caption)
            return b;
    return nullptr;
}

bool TPrintForm::Running() const
{
    return m_timer->isActive();
}

void TPrintForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_sentNumber->setText(QStringLiteral("0"));
    m_skippedNumber->clear();
    if (m_fromFirst) {
        m_progress->setMaximum(m_records->RecordCount());
        m_progress->setValue(0);
        m_total->setText(QString::number(m_records->RecordCount()));
    } else {
        // Started mid-list: the total means nothing, an animation shows the run.
        m_progress->hide();
        m_total->hide();
        m_totalCaption->hide();
        m_animation->show();
        m_sentCaption->move(53, m_sentCaption->y());
        m_sentCaption->adjustSize();
        m_sentNumber->move(qMax(166, m_sentCaption->geometry().right() + 6), m_sentNumber->y());
    }
    m_timer->start();
    Tick();
}

void TPrintForm::stop()
{
    m_timer->stop();
    m_continue->setEnabled(true);
    m_stop->setEnabled(false);
    if (m_animation->isVisible())
        m_animation->setRange(0, 1);
}

void TPrintForm::resume()
{
    m_timer->start();
    m_continue->setEnabled(false);
    m_stop->setEnabled(true);
    if (m_animation->isVisible())
        m_animation->setRange(0, 0);
    Tick();
}

void TPrintForm::finish()
{
    // Nothing is left to stop or to continue.
    m_finished = true;
    m_timer->stop();
    m_stop->setEnabled(false);
    m_continue->setEnabled(false);
    if (m_animation->isVisible())
        m_animation->setRange(0, 1);
}

void TPrintForm::noPrinter()
{
    stop();
    ShowMsg(QStringLiteral("没有默认的打印机，不能打印"));
}

void TPrintForm::Tick()
{
    PrinterBackend& printers = CurrentPrinters();
    const QString printer = printers.defaultPrinter();
    if (printer.isEmpty())
        return noPrinter();
    if (printers.queueLength(printer) > 1 || m_finished || m_records->IsEmpty())
        return;
    try {
        if (m_records->FieldText(QStringLiteral("STATUS")) == QStringLiteral("已打单")) {
            ++m_skipped;
            m_skippedNumber->setText(QString::number(m_skipped));
        } else {
            // Stopped before the message: a tick must not run under it.
            if (const QString missing = MissingCourierMessage(*m_records); !missing.isEmpty()) {
                stop();
                ShowMsg(missing);
                return;
            }
            const int waiting = printers.queueLength(printer);
            if (waiting == -1)
                return noPrinter();
            if (waiting > 1)
                return;
            PrintOneWaybill(*m_records, m_courier, m_sender, PaperVariant::Batch);
            ++m_sent;
            m_sentNumber->setText(QString::number(m_sent));
        }
        if (m_progress->isVisible())
            m_progress->setValue(m_sent + m_skipped);
        if (m_records->Eof()) {
            // The cursor stays on the last record; the run is over.
            finish();
            ShowMsg(QStringLiteral("打印命令全部发送完毕"));
            return;
        }
        m_records->Next();
    } catch (const std::exception&) {
        stop();
        ShowMsg(QStringLiteral("打印过程发生错误"));
    }
}

void TPrintForm::reject()
{
    if (!AskYesNo(QStringLiteral("是否关闭")))
        return;
    m_timer->stop();
    QDialog::reject();
}
