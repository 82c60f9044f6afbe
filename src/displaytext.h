// SPDX-License-Identifier: MIT
#ifndef DISPLAYTEXT_H
#define DISPLAYTEXT_H

#include <QFont>
#include <QString>

class QTextCodec;

// The codec of the display texts, or null where the toolkit has none.
QTextCodec *displayCodec();

// Decodes a Shift-JIS display text; without a codec it keeps the ASCII and marks
// every other character with U+FFFD, so nothing is misread as Latin-1.
QString displayText(const QTextCodec *codec, const char *sjis);

// The font of both windows.
QFont windowFont();

#endif // DISPLAYTEXT_H
