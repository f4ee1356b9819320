#include "modal.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

void OnNextModal(const char* className, std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    const QDeadlineTimer deadline(5000);
    QObject::connect(timer, &QTimer::timeout, [timer, className, action, deadline] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->inherits(className) && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}
