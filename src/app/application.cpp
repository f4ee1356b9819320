#include "app/application.h"

#include "frame/error_handler.h"

KWApplication::KWApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KWApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleAppException(receiver, std::current_exception());
        return false;
    }
}
