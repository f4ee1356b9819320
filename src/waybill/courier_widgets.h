#pragma once

#include <QColor>
#include <QGroupBox>
#include <QHash>
#include <QList>
#include <functional>

class QBoxLayout;
class QPushButton;
class TKWLComboEdit;
class TKWNDBGrid;
class TKWQuery;

using Command = std::pair<const char*, std::function<void()>>;
// A centred row of buttons, in order, added to `layout`.
QList<QPushButton*> AddCommandRow(QBoxLayout* layout, const QList<Command>& commands);
QPushButton* FindButton(const QList<QPushButton*>& buttons, const QString& caption);
// The red help lines of the courier windows.
void AddHelpLines(QBoxLayout* layout, const QStringList& lines);

// The default courier's row stands out in every courier list.
inline const QColor kDefaultCourierBackground(255, 217, 235);
inline const QColor kDefaultCourierSelectedText(255, 0, 128);
// Marks the default courier's row of `couriers` in `grid`, by each row's own
// flag, so a default set in the courier editor shows at once.
void HighlightDefaultCourier(TKWNDBGrid* grid, TKWQuery* couriers);

// A one-column list of the courier names, the default courier in pink.
TKWNDBGrid* MakeCourierNameList(TKWQuery* couriers, QWidget* parent);

// The courier's waybill size and print offsets in millimetres ("高", "宽",
// "上边距", "左边距", "下边距"). What the operator types is written to the
// current courier row at once; the box's own filling never is.
class CourierSizeBox : public QGroupBox
{
    Q_OBJECT
public:
    enum class Kind {
        SizeAndOffsets, // the box "快递单大小及打印边距"
        OffsetsOnly,    // a row of "打印上边距", "打印左边距", "打印下边距"
    };
    CourierSizeBox(TKWQuery* couriers, Kind kind, QWidget* parent = nullptr);

    // Shows the current courier's values; a size of 10 mm or less shows the
    // new-courier size 120 × 220.
    void Fill();
    // By caption without the "打印" prefix: "高", "宽", "上边距", …
    TKWLComboEdit* Edit(const QString& caption) const;

Q_SIGNALS:
    // The size edits changed (typed or filled).
    void sizeChanged(double widthMm, double heightMm);

private:
    void writeBack(const QString& field, const QString& value);

    TKWQuery* m_couriers;
    QHash<QString, TKWLComboEdit*> m_edits;
};
