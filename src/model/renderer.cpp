#include "model/renderer.h"

#include "data/errors.h"
#include "data/helpers.h"
#include "data/record_set.h"
#include "platform/fonts.h"
#include "platform/gbk.h"
#include "platform/printers.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <optional>

namespace {

// Rounds like the old runtime: to the nearest integer, ties to even.
int roundEven(double v)
{
    return int(std::nearbyint(v));
}

struct Piece
{
    QString text;
    int bytes;
};

QList<Piece> pieces(const QString& s)
{
    QList<Piece> out;
    for (qsizetype i = 0; i < s.size();) {
        const char32_t ch = s.at(i).isHighSurrogate() && i + 1 < s.size()
                                ? QChar::surrogateToUcs4(s.at(i), s.at(i + 1))
                                : s.at(i).unicode();
        const qsizetype len = ch > 0xFFFF ? 2 : 1;
        // A character beyond GB2312 still takes one double-byte place here.
        out << Piece{s.mid(i, len), ch < 0x80 ? 1 : 2};
        i += len;
    }
    return out;
}

} // namespace

QString BreakFieldText(const QString& value, int bytesPerLine)
{
    const int m = bytesPerLine;
    QList<Piece> s = pieces(value);
    auto total = [&s] {
        int n = 0;
        for (const Piece& p : s)
            n += p.bytes;
        return n;
    };
    for (int i = 1; i <= total(); ++i) {
        if (i % (m + 2) != 0)
            continue;
        // Bytes of double-byte characters among the first i bytes.
        int high = 0;
        int pos = 0;
        for (const Piece& p : s) {
            if (pos >= i)
                break;
            if (p.bytes == 2)
                high += qMin(2, i - pos);
            pos += p.bytes;
        }
        const int before = high % 2 ? i : i - 1; // 1-based byte the break goes before
        // Find the piece that starts at that byte; a break that would fall
        // inside a Chinese character goes after it.
        int start = 1;
        qsizetype at = 0;
        while (at < s.size() && start + s[at].bytes <= before) {
            start += s[at].bytes;
            ++at;
        }
        if (at < s.size() && start < before)
            ++at;
        s.insert(at, Piece{QStringLiteral("\n"), 1});
        s.insert(at, Piece{QStringLiteral("\r"), 1});
    }
    QString out;
    for (const Piece& p : s)
        out += p.text;
    return out;
}

QList<WaybillRun> ComputeWaybillRuns(const WaybillCourier& courier,
                                     const QList<WaybillField>& fields, const WaybillValue& value,
                                     const WaybillScale& scale, WaybillMode mode,
                                     const QPaintDevice* metrics)
{
    InstallFontSubstitutions();
    const bool printer = mode == WaybillMode::Printer;
    // The old fixed corner of 2500 dots meant "no limit" on the printers of
    // its day; at 600 dpi it would cut every value right of 105.8 mm, so the
    // printer's rectangle reaches to the far edge of the page.
    QPoint corner = mode == WaybillMode::ScreenFull ? QPoint(5000, 5000) : QPoint(2500, 2500);
    if (printer && metrics)
        corner = QPoint(qMax(2500, metrics->width()), qMax(2500, metrics->height()));
    QList<WaybillRun> runs;
    for (const WaybillField& field : fields) {
        int size = roundEven(printer ? field.fontSize : field.fontSize - 1);
        if (size < 5)
            size = 9;
        int y = roundEven(field.topMm * scale.y);
        int x = roundEven(field.leftMm * scale.x);
        if (printer) {
            y += roundEven(courier.topMm * scale.y);
            x += roundEven(courier.leftMm * scale.x);
        }
        const int n = roundEven(field.fontNumber);
        const int m = n > 4 ? 2 * n : 10;
        QString text = value(field);

        WaybillRun base;
        base.fieldName = field.fieldName;
        base.fontName = field.fontName;
        base.pointSize = size;
        base.corner = corner;

        const bool postcode =
            field.fieldName.compare(QLatin1String("COMPANY_POSTCODE"), Qt::CaseInsensitive) == 0 ||
            field.fieldName.compare(QLatin1String("CLIENT_POSTCODE"), Qt::CaseInsensitive) == 0;
        if (postcode) {
            if (text.isEmpty())
                continue;
            const QString widthField = field.isSenderField()
                                           ? QStringLiteral("COMPANY_POSTCODE_WIDTH")
                                           : QStringLiteral("CLIENT_POSTCODE_WIDTH");
            WaybillField spacing = field;
            spacing.fieldName = widthField;
            const int w = roundEven(ParseNumber(value(spacing)) * scale.x);
            int k = 0;
            for (const Piece& p : pieces(text)) {
                ++k;
                WaybillRun digit = base;
                digit.text = p.text;
                digit.topLeft = QPoint(x + k * w, y);
                runs << digit;
            }
            continue;
        }
        if (GbkByteLength(text) > m)
            text = BreakFieldText(text, m);

        // Lines end at CR LF, wrap at the rectangle's right edge between
        // words or Chinese characters; a last line only partly inside is dropped.
        QFont font(field.fontName);
        font.setPointSize(size);
        const QFontMetrics fm(font, metrics);
        const int width = corner.x() - x;
        if (width <= 0)
            continue;
        int lineTop = y;
        bool full = false;
        for (const QString& paragraph : text.split(QStringLiteral("\r\n"))) {
            QTextLayout layout(paragraph, font, metrics);
            QTextOption option;
            option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(option);
            layout.beginLayout();
            while (true) {
                QTextLine line = layout.createLine();
                if (!line.isValid())
                    break;
                line.setLineWidth(width);
                if (lineTop + fm.height() > corner.y()) {
                    full = true;
                    break;
                }
                WaybillRun run = base;
                run.text = paragraph.mid(line.textStart(), line.textLength());
                run.topLeft = QPoint(x, lineTop);
                runs << run;
                lineTop += fm.height();
            }
            layout.endLayout();
            if (full)
                break;
        }
    }
    return runs;
}

void PaintWaybillRuns(QPainter& painter, const QList<WaybillRun>& runs, const QColor& color)
{
    painter.save();
    painter.setPen(color);
    QString currentFont;
    int currentSize = -1;
    std::optional<QFontMetrics> fm;
    for (const WaybillRun& run : runs) {
        if (run.fontName != currentFont || run.pointSize != currentSize) {
            QFont font(run.fontName);
            font.setPointSize(run.pointSize);
            painter.setFont(font);
            fm.emplace(font, painter.device());
            currentFont = run.fontName;
            currentSize = run.pointSize;
        }
        // Clip only what would pass the rectangle: clipping every run is slow on paper.
        const QRect area(run.topLeft, run.corner);
        const bool fits = run.topLeft.x() + fm->horizontalAdvance(run.text) <= run.corner.x() &&
                          run.topLeft.y() + fm->height() <= run.corner.y();
        painter.setClipRect(area, fits ? Qt::NoClip : Qt::ReplaceClip);
        painter.drawText(run.topLeft + QPoint(0, fm->ascent()), run.text);
    }
    painter.restore();
}

WaybillValue RecordValues(const TKWQuery& records, const QHash<QString, QString>& sender)
{
    return [&records, sender](const WaybillField& field) {
        if (field.isSenderField())
            return sender.value(field.fieldName.toUpper());
        if (!records.HasField(field.fieldName))
            throw KWError(QStringLiteral("字段 %1 不存在").arg(field.fieldName));
        return records.FieldText(field.fieldName);
    };
}

void DrawWaybillFields(QPainter& painter, const WaybillCourier& courier,
                       const QList<WaybillField>& fields, const WaybillValue& value,
                       const WaybillScale& scale, WaybillMode mode)
{
    const QList<WaybillRun> runs =
        ComputeWaybillRuns(courier, fields, value, scale, mode, painter.device());
    PaintWaybillRuns(painter, runs,
                     mode == WaybillMode::Printer ? QColor(Qt::black) : QColor(255, 0, 0));
}

QSizeF ApplyWaybillPaper(const WaybillCourier& courier, PaperVariant variant)
{
    const double margin = variant == PaperVariant::Single ? 20 : 0;
    return QSizeF(courier.widthMm + margin, courier.heightMm + margin + courier.bottomMm);
}

bool PrintOneWaybill(TKWQuery& records, const WaybillCourier& courier,
                     const QHash<QString, QString>& sender, PaperVariant variant)
{
    if (variant == PaperVariant::Single) {
        if (!PrintersExist()) {
            ShowMsg(QStringLiteral("没有安装打印机"));
            return false;
        }
        if (records.FieldText(QStringLiteral("STATUS")) == QStringLiteral("已打单") &&
            !AskYesNo(QStringLiteral("该快递单的打单状态是 已打单，是否打印")))
            return false;
    }
    const QList<WaybillField> fields = ReadPrintFields(courier.fastId);
    const WaybillValue value = RecordValues(records, sender);
    // A field the record lacks stops the print before any paper moves.
    for (const WaybillField& field : fields)
        value(field);
    const QString title =
        courier.name + QLatin1Char(' ') + records.FieldText(QStringLiteral("CLIENT_RECORD_ID"));
    std::unique_ptr<PrintJob> job =
        CurrentPrinters().beginJob(title, ApplyWaybillPaper(courier, variant));
    if (!job)
        throw KWError(QStringLiteral("Could Not Initialize TdeviceMode Structure"));
    const QList<WaybillRun> runs = ComputeWaybillRuns(
        courier, fields, value, WaybillScale::printer(job->dotsPerInchX(), job->dotsPerInchY()),
        WaybillMode::Printer, &job->metrics());
    if (!job->print([runs](QPainter& painter) { PaintWaybillRuns(painter, runs, Qt::black); }))
        throw KWError(QStringLiteral("打印过程发生错误"));
    records.SetStatus(QStringLiteral("已打单"));
    return true;
}
