#pragma once

#include <QDialog>

class QCheckBox;

// The numbering settings: automatic sender numbers, their duplicate check,
// and whether the start-up backup question is asked.
class TSetAutoIDForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSetAutoIDForm(QWidget* parent = nullptr);

    QCheckBox* AutoOrderBox = nullptr;
    QCheckBox* CheckOrderBox = nullptr;
    QCheckBox* NoBackupBox = nullptr;

    // Escape presses "确定" as well.
    void reject() override { confirm(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();
};
