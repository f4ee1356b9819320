#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// Admits a user by ID and passcode; the fourth failure ends the program.
class TLogonForm : public QDialog
{
    Q_OBJECT
public:
    explicit TLogonForm(QWidget* parent = nullptr);

    QComboBox* UserIDBox = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void confirm();

    int m_failures = 0;
};
