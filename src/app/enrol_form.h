#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// First run: records the sender and the first administrator.
class TEnrolForm : public QDialog
{
    Q_OBJECT
public:
    explicit TEnrolForm(QWidget* parent = nullptr);

    QLineEdit* CompanyEdit = nullptr;
    QLineEdit* SenderEdit = nullptr;
    QLineEdit* PostcodeEdit = nullptr;
    QLineEdit* PhoneEdit = nullptr;
    QLineEdit* MobileEdit = nullptr;
    QLineEdit* AddressEdit = nullptr;
    QLineEdit* CityEdit = nullptr;
    QLineEdit* ProvinceEdit = nullptr;
    QLineEdit* UserIDEdit = nullptr;
    QLineEdit* UserNameEdit = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QLineEdit* ConfirmEdit = nullptr;
    QComboBox* ImeBox = nullptr;
    QPushButton* ButtonOK = nullptr;
    QPushButton* ButtonClose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void confirm();
    bool checkFields();
    bool writeCompany();
    bool writeUser();
    void writeRights();
};
