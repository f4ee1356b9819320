#pragma once

#include "model/renderer.h"

#include <QScrollArea>

class QLabel;

// The screen's pixels per millimetre, read once from the screen and kept for
// the whole run (the designer converts back with the same factors).
WaybillScale ScreenWaybillScale();

// A courier's waybill on screen: a white panel centred in a scrolling view,
// the picture of the blank form stretched to the waybill's size, and a
// transparent overlay on which the record's values are drawn in red.
class LayoutWaybillView : public QScrollArea
{
    Q_OBJECT
public:
    explicit LayoutWaybillView(QWidget* parent = nullptr);

    // Sizes and centres the panel for the courier and loads its picture.
    void ShowCourier(const WaybillCourier& courier);
    // Clears the overlay and draws the fields of one record on it.
    void DrawRecord(const QList<WaybillField>& fields, const WaybillValue& value, WaybillMode mode);
    void ClearOverlay();
    // Resizes and centres the white panel as the size edits change; the
    // picture and the overlay keep their size until the next ShowCourier
    // unless `stretchPicture`.
    void ResizePanel(double widthMm, double heightMm, bool stretchPicture = false);
    // Where the picture's top-left corner lies in the panel.
    static QPoint PictureOrigin() { return {5, 5}; }

    QWidget* panel() const { return m_panel; }
    QLabel* picture() const { return m_picture; }
    QWidget* overlay() const;
    const QList<WaybillRun>& runs() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placePanel();

    QWidget* m_canvas;
    QWidget* m_panel;
    QLabel* m_picture;
    class Overlay;
    Overlay* m_overlay;
    WaybillCourier m_courier;
};
