#pragma once

#include <QDate>
#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QCalendarWidget;
class QComboBox;
class QGroupBox;

// A titled set of radio buttons; exec() returns Accepted with Chosen() = 1, 2 …
class TSelectItemQueryForm : public QDialog
{
    Q_OBJECT
public:
    TSelectItemQueryForm(const QStringList& items, const QString& title, int preselected = -1,
                         QWidget* parent = nullptr);
    int Chosen() const;
    QButtonGroup* Group() const { return m_group; }

private:
    void confirm();
    QButtonGroup* m_group;
    QGroupBox* m_box;
};

// Asks for one of two items; 1 or 2, or 0 when closed with "关闭".
int AskItem(const QString& item1, const QString& item2, const QString& title);
int AskItemPreselected(int index, const QString& item1, const QString& item2, const QString& title);

// The date-node field chooser.
class TSetClientForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSetClientForm(const QStringList& captions, QWidget* parent = nullptr);
    QComboBox* Choice = nullptr;
};

// Offers the captions with `current` shown (an empty line when the list lacks
// it); the caption confirmed with "确定", or empty when the window was closed.
QString ChooseDateNodeCaption(const QStringList& captions, const QString& current,
                              QWidget* parent = nullptr);

// The date picker: a month calendar, "确定[F3]" and "关闭[F4]".
class TDateForm : public QDialog
{
    Q_OBJECT
public:
    explicit TDateForm(const QDate& start, QWidget* parent = nullptr);
    QCalendarWidget* Calendar = nullptr;
};

// Where the picker starts for a date text (a time part dropped) and the work date.
QDate DatePickerStart(const QString& dateText, const QString& workDate);
// Picks a date; "YYYY-MM-DD", or empty when closed.
QString PickDate(const QString& dateText, const QString& workDate, QWidget* parent = nullptr);
