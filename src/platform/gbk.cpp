#include "platform/gbk.h"

#include <QStringView>

int GbkCharBytes(char32_t ch)
{
    if (ch < 0x80)
        return 1;
    return ch > 0xFFFF ? 4 : 2;
}

int GbkByteLength(QStringView text)
{
    int bytes = 0;
    for (char32_t ch : text.toUcs4())
        bytes += GbkCharBytes(ch);
    return bytes;
}

GbkLengthValidator::GbkLengthValidator(int maxBytes, bool upperCase, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes), m_upperCase(upperCase)
{
}

QValidator::State GbkLengthValidator::validate(QString& input, int& pos) const
{
    Q_UNUSED(pos);
    if (m_upperCase)
        input = input.toUpper();
    return GbkByteLength(input) <= m_maxBytes ? Acceptable : Invalid;
}
