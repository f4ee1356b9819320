#include "records/editor_layout.h"

#include <array>

namespace {

constexpr int kColumnLeft[] = {63, 264, 465, 666};
constexpr int kRowTop[] = {10, 30, 50, 70, 90};
constexpr int kPlaceWidth = 135;
constexpr int kLineWidth = 738;
constexpr int kAddressTop = 110;
constexpr int kNoteTop = 130;

bool oneOf(const QString& field, std::initializer_list<const char*> names)
{
    for (const char* n : names)
        if (field == QLatin1String(n))
            return true;
    return false;
}

} // namespace

QRect EditorPlaceRect(int place)
{
    if (place == 21)
        return {63, kAddressTop, kLineWidth, 20};
    if (place == 22 || place == 26)
        return {63, kNoteTop, kLineWidth, 20};
    return {kColumnLeft[(place - 1) % 4], kRowTop[(place - 1) / 4], kPlaceWidth, 20};
}

QString EditorControlKind(const QString& f, const QString& t)
{
    const bool date =
        f == QLatin1String("CLIENT_ORDER_DATE") || f.startsWith(QLatin1String("DATE_FIELD"));
    const bool number =
        f == QLatin1String("FAST_MONEY") || f.startsWith(QLatin1String("NUMBER_FIELD"));
    const bool textOrPick = f.startsWith(QLatin1String("TEXT_FIELD"));
    const bool pickOnly = oneOf(f, {"CLIENT_EMPLOYEE_NAME", "FAST_NAME"});
    const bool textOnly =
        oneOf(f, {"CLIENT_ORDER_ID", "CLIENT_NAME", "CLIENT_HANDSET_PHONE", "CLIENT_PHONE",
                  "CLIENT_POSTCODE", "FAST_ID", "CLIENT_ADD", "TEXT_NOTE"});
    if (t == QLatin1String("D"))
        return date ? QStringLiteral("date") : QString();
    if (t == QLatin1String("DT"))
        return textOrPick || pickOnly ? QStringLiteral("pick") : QString();
    if (t == QLatin1String("T")) {
        if (number)
            return QStringLiteral("number");
        return textOrPick || textOnly ? QStringLiteral("text") : QString();
    }
    return {};
}

QList<EditorPlacement> ComputeEditorLayout(const QList<CatalogueRow>& rows)
{
    // Place n (1 … 22) → index into the result, or -1 while free.
    std::array<int, 23> claimed;
    claimed.fill(-1);
    QList<EditorPlacement> result;
    auto place = [&](int n, const CatalogueRow& row, const QString& kind) {
        EditorPlacement p;
        p.fieldName = row.fieldName;
        p.caption = row.displayName;
        p.kind = kind;
        p.control = EditorPlaceRect(n);
        p.tabOrder = n;
        claimed[n] = int(result.size());
        result << p;
    };
    for (const CatalogueRow& row : rows) {
        const QString kind = EditorControlKind(row.fieldName, row.findType);
        if (row.fieldName == QLatin1String("CLIENT_ORDER_ID"))
            place(1, row, QStringLiteral("text"));
        else if (row.fieldName == QLatin1String("CLIENT_ADD"))
            place(21, row, QStringLiteral("text"));
        else if (row.fieldName == QLatin1String("TEXT_NOTE"))
            place(22, row, QStringLiteral("text"));
        else if (!kind.isEmpty() && row.order >= 2 && row.order <= 20 && claimed[row.order] < 0)
            place(row.order, row, kind);
    }
    if (rows.isEmpty()) // the editor still takes the sender number and the note
        place(1,
              CatalogueRow{.order = 1,
                           .fieldName = QStringLiteral("CLIENT_ORDER_ID"),
                           .displayName = QStringLiteral("订单编号")},
              QStringLiteral("text"));

    // Widen a control over the free places to its right in the same row.
    for (int n = 2; n <= 20; ++n) {
        if (claimed[n] < 0 || n % 4 == 0)
            continue;
        int free = 0;
        for (int m = n + 1; m <= ((n - 1) / 4 + 1) * 4 && claimed[m] < 0; ++m)
            ++free;
        result[claimed[n]].control.setWidth(kPlaceWidth + free * 201);
    }

    auto rowEmpty = [&](int row) {
        for (int n = (row - 1) * 4 + 1; n <= row * 4; ++n)
            if (claimed[n] >= 0)
                return false;
        return true;
    };
    // The row a line moves into; 0 to stay.
    auto targetRow = [&](bool addressFree) {
        if (addressFree && !rowEmpty(5))
            return 6; // the address line itself
        if (rowEmpty(5) && !rowEmpty(4))
            return 5;
        if (rowEmpty(4) && !rowEmpty(3))
            return 4;
        if (rowEmpty(3) && !rowEmpty(2))
            return 3;
        if (rowEmpty(2) && rowEmpty(3))
            return 2;
        return 0;
    };
    bool addressMoved = false;
    if (claimed[21] >= 0) {
        const int row = targetRow(false);
        if (row >= 2 && row <= 5) {
            EditorPlacement& address = result[claimed[21]];
            address.control.moveTop(kRowTop[row - 1]);
            // The row's first place now holds the address (its label carries the caption).
            claimed[(row - 1) * 4 + 1] = claimed[21];
            claimed[21] = -1;
            addressMoved = true;
        }
    }
    if (claimed[22] >= 0) {
        const int row = targetRow(addressMoved || claimed[21] < 0);
        EditorPlacement& note = result[claimed[22]];
        if (row == 6)
            note.control.moveTop(kAddressTop);
        else if (row >= 2)
            note.control.moveTop(kRowTop[row - 1]);
    }

    for (EditorPlacement& p : result) {
        p.label = QPoint(p.control.left() - 2, p.control.top() + 4);
        p.labelShown = !p.caption.isEmpty();
    }
    return result;
}
