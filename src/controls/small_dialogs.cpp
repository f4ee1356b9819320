#include "controls/small_dialogs.h"

#include "controls/data_source.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "platform/input_methods.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

TKWThread::TKWThread(QObject* parent) : QObject(parent) {}

TKWThread::~TKWThread()
{
    Stop();
}

void TKWThread::Start()
{
    if (Active())
        return;
    m_stopped = false;
    m_window = new QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    m_window->setWindowTitle(QStringLiteral("提示窗口"));
    auto* layout = new QVBoxLayout(m_window);
    auto* caption = new QLabel(Caption, m_window);
    caption->setAlignment(Qt::AlignCenter);
    QFont big = caption->font();
    big.setPointSize(big.pointSize() + 4);
    caption->setFont(big);
    layout->addWidget(caption);
    const bool bars = ProgressBar1 || ProgressBar2 || ProgressBar3;
    m_bar = new QProgressBar(m_window);
    m_bar->setValue(0);
    m_bar->setVisible(bars);
    layout->addWidget(m_bar);
    auto* stop = new QPushButton(QStringLiteral("停止"), m_window);
    stop->setAccessibleName(stop->text());
    connect(stop, &QPushButton::clicked, this, [this] { m_stopped = true; });
    layout->addWidget(stop, 0, Qt::AlignHCenter);
    m_window->resize(360, bars ? 194 : 158);
    m_window->show();
    if (!m_cursorSet) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    }
    QApplication::processEvents();
}

void TKWThread::Stop()
{
    if (m_window)
        m_window->close();
    m_window = nullptr;
    if (m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
    }
}

bool TKWThread::Cancelled()
{
    QApplication::processEvents();
    return m_stopped;
}

void TKWThread::SetMax(int maximum)
{
    if (m_bar)
        m_bar->setMaximum(maximum);
}

void TKWThread::SetPosition(int position)
{
    if (m_bar)
        m_bar->setValue(position);
}

bool TOpenDirDialog::Execute(QWidget* owner)
{
    const QString caption = Type == DialogType::Save ? QStringLiteral("选择要存放的目录")
                                                     : QStringLiteral("选择要保存的目录");
    QString chosen = CurrentPrompter().chooseFolder(owner, caption, Directory);
    if (chosen.isEmpty())
        return false;
    while (chosen.size() > 1 && chosen.endsWith(QLatin1Char('/')))
        chosen.chop(1);
    Directory = chosen == QLatin1String("/") ? chosen : chosen + QLatin1Char('/');
    return true;
}

TKWPageControl::TKWPageControl(QWidget* parent) : QTabWidget(parent)
{
    tabBar()->installEventFilter(this);
}

bool TKWPageControl::RequestPage(int index)
{
    if (index == currentIndex())
        return true;
    for (TKWDataSource* source : DataSources) {
        if (source && source->DataSet() && source->DataSet()->Editing()) {
            ShowMsg(QStringLiteral("必须先保存或取消新增的数据或修改后的数据"));
            return false;
        }
    }
    if (QyMaster && QyMaster->IsEmpty() && currentIndex() == 0) {
        ShowMsg(QStringLiteral("没有主档数据记录，不能改变页面"));
        return false;
    }
    if (OnChanging && !OnChanging(index))
        return false;
    setCurrentIndex(index);
    return true;
}

bool TKWPageControl::eventFilter(QObject* watched, QEvent* event)
{
    // Clicks and keys on the tabs go through the rules.
    if (watched == tabBar() && event->type() == QEvent::MouseButtonPress) {
        const int index = tabBar()->tabAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        if (index >= 0) {
            RequestPage(index);
            return true;
        }
    }
    if (watched == tabBar() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            RequestPage(qBound(0, currentIndex() + (key == Qt::Key_Right ? 1 : -1), count() - 1));
            return true;
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

TSelectImesForm::TSelectImesForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("输入法选择窗口"));
    List = new QListWidget(this);
    List->setAccessibleName(QStringLiteral("输入法"));
    List->addItems(InstalledInputMethods() << QString() << QString() << QString());
    List->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(List, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List);
    layout->addWidget(buttons);
}

QString TSelectImesForm::Selected() const
{
    return List->currentItem() ? List->currentItem()->text() : QString();
}

void TKW3DLabel::paintEvent(QPaintEvent* event)
{
    if (Type == DrawType::dtNone) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect area = contentsRect();
    const int flags = int(alignment()) | (wordWrap() ? int(Qt::TextWordWrap) : 0);
    const int d = Type == DrawType::dtHeavyRaised || Type == DrawType::dtHeavyInsert ? 2 : 1;
    auto draw = [&](const QPoint& offset, const QColor& color) {
        painter.setPen(color);
        painter.drawText(area.translated(offset), flags, text());
    };
    switch (Type) {
    case DrawType::dtShadow:
        draw(QPoint(ShadowIndent, ShadowIndent), DarkColor);
        break;
    case DrawType::dtLightRaised:
    case DrawType::dtHeavyRaised:
        draw(QPoint(-d, -d), LightColor);
        draw(QPoint(d, d), DarkColor);
        break;
    case DrawType::dtLightInsert:
    case DrawType::dtHeavyInsert:
        draw(QPoint(-d, -d), DarkColor);
        draw(QPoint(d, d), LightColor);
        break;
    case DrawType::dtNone:
        break;
    }
    draw(QPoint(0, 0), palette().color(QPalette::WindowText));
}

TKWPanel::TKWPanel(const QString& caption, QWidget* parent) : QWidget(parent), Caption(caption)
{
    FaceColor = palette().color(QPalette::Button);
    // Child controls sit on the face, off the shadow.
    setContentsMargins(2, 2, 2 + ShadowWidth, 2 + ShadowWidth);
}

void TKWPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const QRect face = rect().adjusted(0, 0, -ShadowWidth - 1, -ShadowWidth - 1);
    p.fillRect(face.translated(ShadowWidth, ShadowWidth), ShadowColor);
    p.fillRect(face, FaceColor);
    if (Border != BorderLine::blNone) {
        const bool raised = Border == BorderLine::blRaised;
        p.setPen(raised ? Color_High : Color_Low);
        p.drawLine(face.topLeft(), face.topRight());
        p.drawLine(face.topLeft(), face.bottomLeft());
        p.setPen(raised ? Color_Low : Color_High);
        p.drawLine(face.bottomLeft(), face.bottomRight());
        p.drawLine(face.topRight(), face.bottomRight());
    }
    if (Caption.isEmpty())
        return;
    if (Text != TextStyle::txNone) {
        p.setPen(Color_High);
        const QPoint offset = Text == TextStyle::txRaised ? QPoint(-1, -1) : QPoint(1, 1);
        p.drawText(face.translated(offset), Qt::AlignCenter, Caption);
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(face, Qt::AlignCenter, Caption);
}
