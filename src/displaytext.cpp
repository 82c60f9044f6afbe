// SPDX-License-Identifier: MIT
#include "displaytext.h"

#include <QTextCodec>

QTextCodec *displayCodec()
{
    return QTextCodec::codecForName("ShiftJIS");
}

QString displayText(const QTextCodec *codec, const char *sjis)
{
    if (codec)
        return codec->toUnicode(sjis);

    QString text;
    for (const char *p = sjis; *p; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte < 0x80) {
            text += QLatin1Char(*p);
            continue;
        }
        text += QChar::ReplacementCharacter;
        // Lead bytes of double-byte characters; the half-width katakana A1..DF stand alone.
        const bool lead = (byte >= 0x81 && byte <= 0x9f) || (byte >= 0xe0 && byte <= 0xfc);
        if (lead && p[1])
            ++p;
    }
    return text;
}

QFont windowFont()
{
    // The device's weight 50 is Qt 6's Normal (400) on its 1..1000 scale.
    return QFont(QStringLiteral("lcfont"), 18, QFont::Normal, false);
}
