// SPDX-License-Identifier: MIT
#ifndef COLORDIALOG_H
#define COLORDIALOG_H

#include <QDialog>
#include <QImage>
#include <QPixmap>

class QTextCodec;

// Shows the palette picture; a touch on it picks the colour under the pen.
class ColorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ColorDialog(QWidget *parent = nullptr, const char *name = nullptr, bool modal = false);

    // The last colour picked, read by the main window.
    int red = 0, green = 0, blue = 0;

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void pick(const QMouseEvent *e);

    QTextCodec *codec = nullptr;
    QPixmap pix_palette;
    QImage palette_image;
    int x = 0, y = 0;
};

#endif // COLORDIALOG_H
