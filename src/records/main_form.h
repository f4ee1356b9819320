#pragma once

#include <QMainWindow>

class QLabel;
class TKWMain;

// The program's main window. Its creation connects the database and reads
// the settings; it is shown only after a successful logon.
class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // Throws DatabaseError when the database cannot be opened.
    explicit TMainForm(QWidget* parent = nullptr);

    void UpdateCaption();
    // Set when another instance of the program already runs; start-up ends.
    bool AnotherInstanceRuns() const { return m_anotherInstance; }
    TKWMain* Frame() const { return m_frame; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* m_panel = nullptr;
    TKWMain* m_frame = nullptr;
    bool m_anotherInstance = false;
};
