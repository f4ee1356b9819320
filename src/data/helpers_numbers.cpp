#include "data/helpers.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Fixed-point text with k decimals, a half rounded away from zero. The value
// is first taken to 15 significant digits, what a double holds reliably, so
// 2.675 rounds like the 2.675 that was typed, not like its binary neighbour.
QString formatFixed(double x, int k)
{
    if (!std::isfinite(x))
        return QStringLiteral("0");
    const bool negative = x < 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(x));
    // buf: d.dddddddddddddde±XX
    QString digits = QString::fromLatin1(buf, 1) + QString::fromLatin1(buf + 2, 14);
    const int exponent = std::atoi(std::strchr(buf, 'e') + 1);
    int point = exponent + 1; // digits before the decimal point
    if (point < 0) {
        digits.prepend(QString(-point, QLatin1Char('0')));
        point = 0;
    }
    const int keep = point + k;
    if (digits.size() < keep + 1)
        digits += QString(keep + 1 - digits.size(), QLatin1Char('0'));
    QString kept = digits.left(keep);
    if (digits[keep] >= QLatin1Char('5')) {
        int i = kept.size() - 1;
        for (; i >= 0; --i) {
            if (kept[i] == QLatin1Char('9')) {
                kept[i] = QLatin1Char('0');
            } else {
                kept[i] = QChar(kept[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            ++point;
        }
    }
    QString integer = kept.left(point);
    const QString fraction = kept.mid(point);
    while (integer.size() > 1 && integer.startsWith(QLatin1Char('0')))
        integer.remove(0, 1);
    if (integer.isEmpty())
        integer = QStringLiteral("0");
    QString text = k > 0 ? integer + QLatin1Char('.') + fraction : integer;
    const bool zero = std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    if (negative && !zero)
        text.prepend(QLatin1Char('-'));
    return text;
}

const QString kDigitNames = QStringLiteral("零壹贰叁肆伍陆柒捌玖");

QChar digitName(QChar digit)
{
    return kDigitNames[digit.digitValue()];
}

// Digits with their place names; a run of zeros inside writes one 零,
// zeros at either end write nothing.
QString plainGroup(const QString& group)
{
    static const QString places[] = {QString(), QStringLiteral("拾"), QStringLiteral("佰"),
                                     QStringLiteral("仟")};
    QString out;
    bool pendingZero = false;
    const int n = group.size();
    for (int i = 0; i < n; ++i) {
        const QChar d = group[i];
        if (d == QLatin1Char('0')) {
            pendingZero = !out.isEmpty();
            continue;
        }
        if (pendingZero)
            out += QStringLiteral("零");
        pendingZero = false;
        out += digitName(d);
        out += places[n - 1 - i];
    }
    return out;
}

// A group of four after 万 or 亿. Of those beginning with a zero, only 0htu,
// 00t0, 00tu and 000u write a leading 零.
QString innerGroup(const QString& group)
{
    const QString body = plainGroup(group);
    if (body.isEmpty() || group[0] != QLatin1Char('0'))
        return body;
    const bool hundredsZero = group[1] == QLatin1Char('0');
    const bool allNonZero =
        !hundredsZero && group[2] != QLatin1Char('0') && group[3] != QLatin1Char('0');
    return hundredsZero || allNonZero ? QStringLiteral("零") + body : body;
}

QString integerToChinese(const QString& digits, bool& overflow)
{
    const int length = digits.size();
    overflow = false;
    if (length > 12) {
        overflow = true;
        return {};
    }
    if (length <= 4)
        return plainGroup(digits);
    if (length <= 8)
        return plainGroup(digits.left(length - 4)) + QStringLiteral("万") +
               innerGroup(digits.right(4));
    const QString middle = innerGroup(digits.mid(length - 8, 4));
    // A bank writes no 万 after an all-zero ten-thousands group: 壹亿零壹元整.
    const QString tenThousands = middle.isEmpty() ? QString() : middle + QStringLiteral("万");
    QString low = innerGroup(digits.right(4));
    if (middle.isEmpty() && !low.isEmpty() && !low.startsWith(QStringLiteral("零")))
        low.prepend(QStringLiteral("零"));
    return plainGroup(digits.left(length - 8)) + QStringLiteral("亿") + tenThousands + low;
}

QString fractionToChinese(QChar tenths, QChar hundredths)
{
    const bool j = tenths != QLatin1Char('0');
    const bool f = hundredths != QLatin1Char('0');
    if (!j && !f)
        return {};
    if (!j)
        return QStringLiteral("零") + digitName(hundredths) + QStringLiteral("分");
    QString out = digitName(tenths) + QStringLiteral("角");
    if (f)
        out += digitName(hundredths) + QStringLiteral("分");
    return out;
}

} // namespace

double ParseNumber(const QString& text)
{
    QString s = text;
    const qsizetype yuan = s.indexOf(QStringLiteral("￥"));
    if (yuan >= 0)
        s = s.mid(yuan + 1);
    s = s.trimmed();
    s.remove(QLatin1Char(','));
    s = s.trimmed();
    if (s.isEmpty())
        return 0;
    bool ok = false;
    const double value = QLocale::c().toDouble(s, &ok);
    return ok && std::isfinite(value) ? value : 0;
}

QString RoundText(int decimals, const QString& mode, double value)
{
    const int n = (decimals >= 1 && decimals <= 9) ? decimals : 0;
    const double unit = std::pow(10.0, -(n + 1));
    int shift = 0;
    bool shifted = true;
    if (mode == QStringLiteral("五舍六入"))
        shift = -1;
    else if (mode == QStringLiteral("三舍四入"))
        shift = 1;
    else if (mode == QStringLiteral("二舍三入"))
        shift = 2;
    else if (mode == QStringLiteral("一舍二入"))
        shift = 3;
    else
        shifted = false;
    QString text;
    if (shifted) {
        const double first = ParseNumber(formatFixed(value, n + 1));
        // Away from zero for negatives, so -2.5 rounds like 2.5.
        const double sign = first < 0 ? -1.0 : 1.0;
        text = formatFixed(first + sign * shift * unit, n);
    } else {
        text = formatFixed(value, n);
    }
    text = text.trimmed();
    return text.isEmpty() ? QStringLiteral("0") : text;
}

QString AmountToChinese(const QString& amount)
{
    QString a = amount.isEmpty() ? QStringLiteral("0") : amount;
    QString sign;
    if (a.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("负");
        a.remove(0, 1);
    }
    const QString fixed = formatFixed(std::fabs(ParseNumber(a)), 2);
    const qsizetype point = fixed.indexOf(QLatin1Char('.'));
    const QString integer = fixed.left(point);
    const QChar tenths = fixed[point + 1];
    const QChar hundredths = fixed[point + 2];
    const bool noFraction = tenths == QLatin1Char('0') && hundredths == QLatin1Char('0');
    if (noFraction && integer == QStringLiteral("0"))
        return {};

    bool overflow = false;
    const QString integerText = integerToChinese(integer, overflow);
    if (overflow) {
        ShowMsg(QStringLiteral("所处理数据超出范围!"));
        return {};
    }
    QString out = sign;
    // An integer part of zero writes no 元: 伍角整, 负伍角整.
    if (integer != QStringLiteral("0"))
        out += integerText + QStringLiteral("元");
    out += fractionToChinese(tenths, hundredths);
    if (!out.contains(QStringLiteral("分")))
        out += QStringLiteral("整");
    return out;
}

QString ZeroPad(const QString& text, int width)
{
    if (width <= 0)
        return {};
    const QString joined = QStringLiteral("000000000") + text;
    return joined.right(width);
}

QString ExtractField(const QString& text, const QString& separator, int index)
{
    QString rest = text;
    int drops = 0;
    if (!separator.isEmpty()) {
        qsizetype at;
        while ((at = rest.indexOf(separator)) >= 0) {
            rest = rest.mid(at + separator.size());
            if (++drops == index) {
                const qsizetype next = rest.indexOf(separator);
                return next >= 0 ? rest.left(next) : rest;
            }
        }
    }
    return index == -1 ? rest : QString();
}
