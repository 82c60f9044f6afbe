// SPDX-License-Identifier: MIT
#include "captionbar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {

const int leastHeight = 24;

} // namespace

void CaptionBar::showFor(QWidget *client)
{
    auto *bar = client->findChild<CaptionBar *>(QString(), Qt::FindDirectChildrenOnly);
    if (!bar)
        bar = new CaptionBar(client);
    // Opened too high, the bar would be off the screen and the window out of reach.
    bar->keepOnScreen(client->pos());
    bar->follow();
    bar->show();
}

CaptionBar::CaptionBar(QWidget *client)
    : QWidget(client, Qt::Window | Qt::FramelessWindowHint), window_client(client)
{
    // A bar never keeps the program running, nor takes the focus from its window when it
    // shows. It may still become the active window: the framebuffer platforms activate the
    // top window whenever another hides or rises, and eglfs warns of one that refuses.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(client->font());
    setFixedHeight(qMax(leastHeight, fontMetrics().height() + 4));
    client->installEventFilter(this);
}

QRect CaptionBar::closeButton() const
{
    return QRect(width() - height(), 0, height(), height());
}

bool CaptionBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != window_client)
        return false;
    switch (event->type()) {
    case QEvent::Hide:
        dragging = closing = false;
        hide();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        follow();
        break;
    case QEvent::WindowTitleChange:
        update();
        break;
    case QEvent::ZOrderChange:
    case QEvent::WindowActivate:
        if (isVisible())
            raise();
        break;
    default:
        break;
    }
    return false;
}

void CaptionBar::follow()
{
    const QRect frame = window_client->frameGeometry();
    setGeometry(frame.x(), frame.y() - height(), frame.width(), height());
}

void CaptionBar::keepOnScreen(QPoint topLeft)
{
    const QScreen *screen = window_client->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize size = window_client->frameGeometry().size();
    const int right = area.right() - size.width() + 1;
    const int bottom = area.bottom() - size.height() + 1;
    topLeft.setX(qMax(area.left(), qMin(topLeft.x(), right)));
    topLeft.setY(qMax(area.top() + height(), qMin(topLeft.y(), bottom)));
    if (topLeft != window_client->pos())
        window_client->move(topLeft);
}

void CaptionBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Highlight));
    p.setPen(palette().color(QPalette::HighlightedText));
    const int margin = height() / 4;
    const QRect title = rect().adjusted(margin, 0, -height(), 0);
    p.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, window_client->windowTitle());
    // The ×, drawn as two strokes so that it needs no glyph from the font.
    const QRect cross = closeButton().adjusted(margin + 2, margin + 2, -margin - 2, -margin - 2);
    p.setPen(QPen(palette().color(QPalette::HighlightedText), 2));
    p.setRenderHint(QPainter::Antialiasing);
    p.drawLine(cross.topLeft(), cross.bottomRight());
    p.drawLine(cross.topRight(), cross.bottomLeft());
}

void CaptionBar::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    closing = closeButton().contains(event->position().toPoint());
    dragging = !closing;
    grab_offset = event->globalPosition().toPoint() - window_client->pos();
}

void CaptionBar::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging)
        keepOnScreen(event->globalPosition().toPoint() - grab_offset);
}

void CaptionBar::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool close = closing && closeButton().contains(event->position().toPoint());
    dragging = closing = false;
    if (!close)
        return;
    // The window's own close handler decides, as for any close request.
    QCloseEvent request;
    QApplication::sendEvent(window_client, &request);
    if (request.isAccepted() && window_client)
        window_client->hide();
}
