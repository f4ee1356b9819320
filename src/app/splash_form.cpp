#include "app/splash_form.h"

#include "session/app_globals.h"
#include "frame/settings.h"

#include <QDir>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

TShowForm::TShowForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setFixedSize(370, 229);
    setAccessibleName(QStringLiteral("凯维快递单打印系统"));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    AppGlobals.DataPath = QDir::currentPath();
    RefreshWorkDate();

    tmMainTimer = new QTimer(this);
    tmMainTimer->setInterval(3000);
    tmMainTimer->setSingleShot(true);
}

bool TShowForm::waiting() const
{
    return tmMainTimer->isActive();
}

void TShowForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    tmMainTimer->start();
}

void TShowForm::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(255, 252, 240));
    sky.setColorAt(1, QColor(214, 232, 250));
    painter.fillRect(rect(), sky);
    painter.setPen(QColor(120, 140, 170));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    // The title in raised red bold letters: a light edge, a dark shadow, the face.
    QFont title = font();
    title.setPixelSize(30);
    title.setBold(true);
    painter.setFont(title);
    const QRect titleRect(0, 60, width(), 50);
    const QString caption = QStringLiteral("凯维快递单打印系统");
    painter.setPen(Qt::white);
    painter.drawText(titleRect.translated(-1, -1), Qt::AlignCenter, caption);
    painter.setPen(QColor(90, 0, 0));
    painter.drawText(titleRect.translated(2, 2), Qt::AlignCenter, caption);
    painter.setPen(QColor(220, 0, 0));
    painter.drawText(titleRect, Qt::AlignCenter, caption);

    QFont small = font();
    small.setPixelSize(13);
    painter.setFont(small);
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(QRect(0, 150, width(), 24), Qt::AlignCenter,
                     QStringLiteral("版本 1.0    正在启动，请稍候……"));
}
