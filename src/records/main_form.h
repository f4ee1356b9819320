#pragma once

#include <QMainWindow>

class QLabel;

// The program's main window. Its creation connects the database and reads
// the settings; it is shown only after a successful logon.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // Throws DatabaseError when the database cannot be opened.
    explicit TMainForm(QWidget* parent = nullptr);

    void UpdateCaption();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* m_panel = nullptr;
};
