// SPDX-License-Identifier: MIT
#ifndef CAPTIONBAR_H
#define CAPTIONBAR_H

#include <QPoint>
#include <QPointer>
#include <QWidget>

// The handheld's title bar over a window that no window manager decorates: it shows
// the caption, moves the window when dragged and closes it with its × button.
class CaptionBar : public QWidget
{
    Q_OBJECT

public:
    // Shows the window's bar with it, made the first time; call once the window has
    // handled its own show event (a dialog places itself there).
    static void showFor(QWidget *client);

    QRect closeButton() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    explicit CaptionBar(QWidget *client);

    void follow();
    void keepOnScreen(QPoint topLeft);

    QPointer<QWidget> window_client;
    QPoint grab_offset;
    bool dragging = false;
    bool closing = false;
};

#endif // CAPTIONBAR_H
