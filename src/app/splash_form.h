#pragma once

#include <QWidget>

class QTimer;

// The start-up picture; stays at least three seconds.
class TShowForm : public QWidget
{
    Q_OBJECT
public:
    TShowForm();

    // Runs until its first tick, three seconds after the window was shown.
    QTimer* tmMainTimer = nullptr;
    bool waiting() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
