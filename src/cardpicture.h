// SPDX-License-Identifier: MIT
#ifndef CARDPICTURE_H
#define CARDPICTURE_H

#include <QImage>

// Reads a picture from the memory card, which anyone may have written anything on. Whatever
// could block, take long, take much memory or show memory the file never held counts as
// unreadable: the result is then a null image. Nothing is printed either way.
QImage readCardPicture(const QString &path);

// The colour stored at a pixel of the picture, unpremultiplied, without its alpha. The caller
// checks that the pixel lies in the picture.
QRgb pictureColor(const QImage &picture, int x, int y);

#endif // CARDPICTURE_H
