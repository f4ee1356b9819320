#pragma once

#include "model/courier.h"

#include <QDialog>
#include <QLabel>
#include <array>
#include <optional>

class CourierSizeBox;
class LayoutWaybillView;
class QListWidget;
class QPushButton;
class QRubberBand;
class TKWNDBGrid;
class TKWQuery;

// One print field on the form in the designer: its caption in the field's
// font, green, blue under the mouse, red when selected.
class FieldCaption : public QLabel
{
    Q_OBJECT
public:
    explicit FieldCaption(QWidget* parent);

    QString Key; // FIELD_RECORD_ID; empty while the slot is free
    QString FieldName;
    bool Selected() const { return m_selected; }
    void SetSelected(bool selected);
    void Clear();

Q_SIGNALS:
    void pressed(FieldCaption* caption, Qt::MouseButton button, QPoint panelPoint);
    void dragged(FieldCaption* caption, QPoint panelPoint);
    void released(FieldCaption* caption, QPoint panelPoint);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setColor(const QColor& color);
    bool m_selected = false;
    bool m_hover = false;
};

// "快递单据打印设置窗口": a courier's fields placed with the mouse over the
// picture of its blank form; every change is stored at once.
class TSetFastNamePrintForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kSlots = kMaxPrintFields;

    // `couriers` is configured and open; `records` serves the preview.
    TSetFastNamePrintForm(TKWQuery* records, TKWQuery* couriers, QWidget* parent = nullptr);

    TKWNDBGrid* CourierList() const { return m_courierList; }
    QListWidget* Catalogue() const { return m_catalogue; }
    LayoutWaybillView* View() const { return m_view; }
    CourierSizeBox* Sizes() const { return m_sizes; }
    FieldCaption* Slot(int index) const { return m_slots[size_t(index)]; }
    QPushButton* Button(const QString& caption) const;

    // "→": adds the catalogue's selected field at the next free point.
    void AddField();
    // "←": removes the selected (red) field.
    void RemoveField();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showLayout();
    // At `at` (picture pixels), else where the field's millimetres put it.
    void placeField(const WaybillField& field, std::optional<QPoint> at);
    void select(FieldCaption* caption);
    void saveCaption(FieldCaption* caption);
    void captionPressed(FieldCaption* caption, Qt::MouseButton button, QPoint point);
    void captionDragged(FieldCaption* caption, QPoint point);
    void captionReleased(FieldCaption* caption, QPoint point);
    void chooseForCaption(FieldCaption* caption);
    void openPreview();
    void loadPicture();
    void editCouriers();
    QPoint pictureToMm(QPoint pixels) const;

    TKWQuery* m_records;
    TKWQuery* m_couriers;
    TKWQuery* m_fields;
    QList<PrintableField> m_catalogueFields;
    TKWNDBGrid* m_courierList = nullptr;
    QListWidget* m_catalogue = nullptr;
    CourierSizeBox* m_sizes = nullptr;
    LayoutWaybillView* m_view = nullptr;
    std::array<FieldCaption*, kSlots> m_slots{};
    QList<QPushButton*> m_buttons;
    QRubberBand* m_outline = nullptr;
    QPoint m_placement{20, 20};
    int m_addCounter = 0;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_dragCurrent;
    bool m_shown = false;
};
