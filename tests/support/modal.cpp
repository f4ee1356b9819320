#include "modal.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

void OnNextModal(const char* className, std::function<void(QWidget*)> action)
{
    auto* timer = new QTimer;
    // Generous: a loaded machine may take a while to show the window.
    const QDeadlineTimer deadline(30000);
    QObject::connect(timer, &QTimer::timeout, [timer, className, action, deadline] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->inherits(className) && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            // Function keys are window shortcuts: they need the window active,
            // which a busy offscreen platform may not have made it yet.
            if (QApplication::activeWindow() != modal)
                QApplication::setActiveWindow(modal);
            action(modal);
        } else if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}
