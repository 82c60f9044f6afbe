// SPDX-License-Identifier: MIT
#include "colordialog.h"

#include "card.h"
#include "cardpicture.h"
#include "displaytext.h"
#include "touchpoint.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const int paletteWidth = 217;
const int paletteHeight = 172;

const char caption[] = "\x90\x46"; // 色

} // namespace

ColorDialog::ColorDialog(QWidget *parent, const char *name, bool modal) : QDialog(parent)
{
    if (name)
        setObjectName(QLatin1String(name));
    setModal(modal);
    codec = displayCodec();
    setWindowTitle(displayText(codec, caption));
    // Fixed, so that window managers know it cannot be resized: tiling ones float it.
    setFixedSize(paletteWidth, paletteHeight);
    setFont(windowFont());
    // Kept as read: the pixmap may hold its colours premultiplied, which loses what a
    // transparent pixel stores.
    palette_image = readCardPicture(cardFile("color.bmp"));
    pix_palette = QPixmap::fromImage(palette_image);
    red = green = blue = 0;
}

void ColorDialog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, pix_palette);
}

void ColorDialog::mousePressEvent(QMouseEvent *e)
{
    pick(e);
}

void ColorDialog::mouseReleaseEvent(QMouseEvent *e)
{
    pick(e);
}

void ColorDialog::mouseMoveEvent(QMouseEvent *e)
{
    pick(e);
}

void ColorDialog::pick(const QMouseEvent *e)
{
    const QPoint touch = touchPoint(e);
    x = touch.x();
    y = touch.y();
    if (x < 0 || y < 0 || x >= paletteWidth || y >= paletteHeight)
        return;
    // A palette picture smaller than the dialog has nothing to pick beyond its edge.
    if (!palette_image.valid(x, y))
        return;
    const QRgb pixel = pictureColor(palette_image, x, y);
    red = qRed(pixel);
    green = qGreen(pixel);
    blue = qBlue(pixel);
}
