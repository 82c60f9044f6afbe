// SPDX-License-Identifier: MIT
#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QIcon>
#include <QPen>
#include <QPixmap>
#include <QWidget>

class ColorDialog;
class QComboBox;
class QMenuBar;
class QPushButton;
class QTextCodec;

class Mainwindow : public QWidget
{
    Q_OBJECT

public:
    explicit Mainwindow(QWidget *parent = nullptr, const char *name = nullptr);
    ~Mainwindow() override;

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private slots:
    void slot_setPen();
    void slot_change_PenSize();
    void slot_change_PenColor();
    void color_set();
    void slot_new();

private:
    void loadIcons();
    void buildToolbar();
    void buildMenus();
    void connectControls();
    struct ToolRow;
    static const ToolRow *toolRow(int tool);
    void fillSizeList(const ToolRow &row);
    int strokeWidth() const;
    QColor drawingColor() const;
    void fitCanvas();
    void showInk(QPointF from, QPointF to, qreal reach);
    void setTouchPoint(const QMouseEvent *e);

    // A touch before the first press finds a defined point rather than garbage.
    int pos_x = 0, pos_y = 0;
    int last_x = 0, last_y = 0;
    int pen_type = 0;
    int pen_size = 0;
    int color_r = 0, color_g = 0, color_b = 0;
    QTextCodec *codec = nullptr;
    QMenuBar *menu = nullptr;
    QComboBox *combo_pen = nullptr;
    QComboBox *combo_size = nullptr;
    QPushButton *button_undo = nullptr;
    QPushButton *button_color = nullptr;
    QPushButton *button_bgcolor = nullptr;
    QPixmap pix_pen, pix_line, pix_rightangle, pix_rectangle, pix_paintrectangle, pix_eraser,
        pix_stamp, pix_range, pix_thickline, pix_normalline, pix_thinline, pix_paint,
        pix_minieraser;
    QPixmap canvas;
    QPixmap pix_color;
    QPen pen;
    QIcon icon_color;
    ColorDialog *color_dialog = nullptr;
};

#endif // MAINWINDOW_H
