#pragma once

#include <QString>
#include <QValidator>

// Column widths and line lengths count bytes of the GBK code page:
// an ASCII character takes one byte, a Chinese character two.
int GbkByteLength(QStringView text);
// Bytes of one character: 1 for ASCII, 4 for a character beyond the BMP, else 2.
int GbkCharBytes(char32_t ch);

// Refuses input longer than a number of GBK bytes; optionally upper-cases it.
class GbkLengthValidator : public QValidator
{
public:
    GbkLengthValidator(int maxBytes, bool upperCase, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    int m_maxBytes;
    bool m_upperCase;
};
