#pragma once

#include <QApplication>

// Routes every exception that leaves an event handler to HandleAppException.
class KWApplication : public QApplication
{
public:
    KWApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
