#include "waybill/waybill_view.h"
#include "session/app_globals.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <cmath>

WaybillScale ScreenWaybillScale()
{
    static const WaybillScale scale = [] {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? WaybillScale::screen(screen->logicalDotsPerInchX(),
                                             screen->logicalDotsPerInchY())
                      : WaybillScale::screen(96, 96);
    }();
    return scale;
}

class LayoutWaybillView::Overlay : public QWidget
{
public:
    explicit Overlay(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }
    QList<WaybillRun> runs;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        PaintWaybillRuns(painter, runs, QColor(255, 0, 0));
    }
};

LayoutWaybillView::LayoutWaybillView(QWidget* parent)
    : QScrollArea(parent), m_canvas(new QWidget), m_panel(new QWidget(m_canvas)),
      m_picture(new QLabel(m_panel)), m_overlay(new Overlay(m_panel))
{
    setWidget(m_canvas);
    setWidgetResizable(false);
    setAccessibleName(QStringLiteral("快递单"));
    m_panel->setAutoFillBackground(true);
    QPalette white = m_panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_panel->setPalette(white);
    m_picture->setScaledContents(true);
    m_picture->hide();
}

QWidget* LayoutWaybillView::overlay() const
{
    return m_overlay;
}

const QList<WaybillRun>& LayoutWaybillView::runs() const
{
    return m_overlay->runs;
}

void LayoutWaybillView::ShowCourier(const WaybillCourier& courier)
{
    m_courier = courier;
    const WaybillScale scale = ScreenWaybillScale();
    const int pw = qMax(10, int(std::nearbyint(courier.widthMm * scale.x)));
    const int ph = qMax(10, int(std::nearbyint(courier.heightMm * scale.y)));
    m_panel->resize(pw + 10, ph + 10);
    m_picture->setGeometry(QRect(PictureOrigin(), QSize(pw, ph)));
    m_overlay->setGeometry(QRect(PictureOrigin(), QSize(pw, ph)));
    bool failed = false;
    const QImage image = ReadCourierPicture(courier, AppGlobals.DBPath, &failed);
    if (!failed) {
        m_picture->setPixmap(QPixmap::fromImage(image));
        m_picture->setVisible(!image.isNull());
    }
    m_overlay->raise();
    ClearOverlay();
    placePanel();
}

void LayoutWaybillView::DrawRecord(const QList<WaybillField>& fields, const WaybillValue& value,
                                   WaybillMode mode)
{
    m_overlay->runs =
        ComputeWaybillRuns(m_courier, fields, value, ScreenWaybillScale(), mode, m_overlay);
    m_overlay->update();
}

void LayoutWaybillView::ClearOverlay()
{
    m_overlay->runs.clear();
    m_overlay->update();
}

void LayoutWaybillView::ResizePanel(double widthMm, double heightMm, bool stretchPicture)
{
    const WaybillScale scale = ScreenWaybillScale();
    const int pw = qMax(10, int(std::nearbyint(widthMm * scale.x)));
    const int ph = qMax(10, int(std::nearbyint(heightMm * scale.y)));
    m_panel->resize(pw + 10, ph + 10);
    if (stretchPicture) {
        m_picture->resize(pw, ph);
        m_overlay->resize(pw, ph);
    }
    placePanel();
}

void LayoutWaybillView::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    placePanel();
}

void LayoutWaybillView::placePanel()
{
    const QSize view = viewport()->size();
    const int left = qMax(0, int(std::nearbyint((view.width() - m_panel->width()) / 2.0)));
    const int top = qMax(0, int(std::nearbyint((view.height() - m_panel->height()) / 2.0)) - 5);
    m_panel->move(left, top);
    m_canvas->resize(qMax(view.width(), left + m_panel->width()),
                     qMax(view.height(), top + m_panel->height()));
}
