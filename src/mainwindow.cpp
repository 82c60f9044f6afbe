// SPDX-License-Identifier: MIT
#include "mainwindow.h"

#include "card.h"
#include "cardpicture.h"
#include "colordialog.h"
#include "displaytext.h"
#include "dot.h"
#include "pixelcopy.h"
#include "touchpoint.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <iterator>

namespace {

const int canvasWidth = 640;
const int canvasHeight = 480;
const int pollInterval = 100; // ms

// Display texts of the main window, in Shift-JIS.
namespace Text {
const char caption[] =
    "Vellumix\x81\x75\x89\xe6\x96\xca\x82\xc9\x83\x5e\x83\x62\x83\x60\x83\x79"
    "\x83\x93\x82\xc5\x8a\x47\x82\xf0\x82\xa9\x82\xad\x81\x76"; // Vellumix「画面にタッチペンで絵をかく」
const char pen[] = "\x83\x79\x83\x93";                          // ペン
const char line[] = "\x92\xbc\x90\xfc";                         // 直線
const char rightAngle[] = "\x92\xbc\x8a\x70";                     // 直角
const char rectangle[] = "\x8e\x6c\x8a\x70";                      // 四角
const char eraser[] = "\x8f\xc1\x83\x53\x83\x80";                 // 消ゴム
const char stamp[] = "\x83\x58\x83\x5e\x83\x93\x83\x76";          // スタンプ
const char range[] = "\x94\xcd\x88\xcd";                          // 範囲
const char thinLine[] = "\x8d\xd7\x90\xfc";                       // 細線
const char normalLine[] = "\x91\xbe\x90\xfc";                     // 太線
const char thickLine[] = "\x8b\xc9\x91\xbe";                      // 極太
const char solid[] = "\x83\x78\x83\x5e";                          // ベタ
const char thin[] = "\x8d\xd7";                                   // 細
const char thick[] = "\x91\xbe";                                  // 太
const char color[] = "\x90\x46";                                  // 色
const char bgColor[] = "\x94\x77\x8c\x69\x90\x46";                // 背景色
const char undo[] = "\x8e\xe6\x8f\xc1";                           // 取消
const char menu[] = "\x83\x81\x83\x6a\x83\x85\x81\x5b";           // メニュー
const char edit[] = "\x95\xd2\x8f\x57";                           // 編集
const char newPicture[] = "\x90\x56\x8b\x4b";                     // 新規
const char open[] = "\x8a\x4a\x82\xad";                           // 開く
const char save[] = "\x95\xdb\x91\xb6";                           // 保存
const char quit[] = "\x8f\x49\x97\xb9";                           // 終了
const char remove[] = "\x8d\xed\x8f\x9c";                         // 削除
const char cut[] = "\x83\x4a\x83\x62\x83\x67";                    // カット
const char copy[] = "\x83\x52\x83\x73\x81\x5b";                   // コピー
const char paste[] = "\x83\x79\x81\x5b\x83\x58\x83\x67";          // ペースト
const char adjustment[] = "\x89\xe6\x91\x9c\x92\xb2\x90\xae";     // 画像調整
const char decrease[] = "\x8c\xb8\x90\x46";                       // 減色
const char effect[] = "\x89\xe6\x91\x9c\x8c\xf8\x89\xca";         // 画像効果
const char rotateLeft[] = "\x8d\xb6\x89\xf1\x93\x5d";             // 左回転
const char rotateRight[] = "\x89\x45\x89\xf1\x93\x5d";            // 右回転
const char flipVertical[] = "\x8f\xe3\x89\xba\x94\xbd\x93\x5d";   // 上下反転
const char flipHorizontal[] = "\x8d\xb6\x89\x45\x94\xbd\x93\x5d"; // 左右反転
const char textInput[] = "\x95\xb6\x8e\x9a\x93\xfc\x97\xcd";      // 文字入力
} // namespace Text

// The canvas at the given device pixel ratio: 640 x 480 in the window's coordinates, the
// screen's own pixels underneath.
QPixmap canvasAt(qreal ratio)
{
    QPixmap pixmap(qRound(canvasWidth * ratio), qRound(canvasHeight * ratio));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

// A tool's item in the tool list, and what choosing it does to the toolbar.
struct Mainwindow::ToolRow
{
    struct Item
    {
        QPixmap Mainwindow::*icon; // null: text only
        const char *text;
    };
    // A table of items, as a range; empty: the size list is hidden and keeps its items.
    struct Items
    {
        const Item *first = nullptr;
        const Item *last = nullptr;
        const Item *begin() const { return first; }
        const Item *end() const { return last; }
        bool isEmpty() const { return first == last; }
    };
    Item tool;
    bool colorButton;
    bool bgcolorButton;
    Items sizes;
};

Mainwindow::Mainwindow(QWidget *parent, const char *name)
    : QWidget(parent), canvas(canvasAt(devicePixelRatioF()))
{
    if (name)
        setObjectName(QLatin1String(name));
    // The canvas size, for where the window is shown without being maximised.
    resize(canvasWidth, canvasHeight);

    codec = displayCodec();
    setWindowTitle(displayText(codec, Text::caption));
    setFont(windowFont());

    // The tool list's items carry the card's icons, so those are read first.
    loadIcons();
    buildToolbar();
    buildMenus();
    // The start values of tool, size and colour are the members' own initialisers.
    connectControls();

    canvas.fill(palette().color(QPalette::Base));
    // paintEvent covers every pixel itself, in this role's colour beyond the canvas, so the
    // toolkit need not clear the window first: under the canvas that clear was never seen
    // and cost as much as the copy of the canvas.
    setBackgroundRole(QPalette::Base);
    setAttribute(Qt::WA_OpaquePaintEvent);

    pix_color = QPixmap(16, 16);
    pix_color.fill(drawingColor());
    icon_color = QIcon(pix_color);
    button_color->setIcon(icon_color);

    color_dialog = new ColorDialog(nullptr, nullptr, false);
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &Mainwindow::color_set);
    poll->start(pollInterval);
}

Mainwindow::~Mainwindow()
{
    // The dialog has no parent; it goes with the window so that nothing outlives the run.
    delete color_dialog;
}

void Mainwindow::loadIcons()
{
    QPixmap *const icons[] = {
        &pix_pen,      &pix_line,  &pix_rightangle, &pix_rectangle, &pix_paintrectangle,
        &pix_eraser,   &pix_stamp, &pix_range,      &pix_thickline, &pix_normalline,
        &pix_thinline, &pix_paint, &pix_minieraser};
    const char *const files[] = {"fm_pen.jpg",        "fm_line.jpg",           "fm_rightangle.jpg",
                                 "fm_rectangle.jpg",  "fm_paintrectangle.jpg", "fm_eraser.jpg",
                                 "fm_stamp.jpg",      "fm_range.jpg",          "fm_thickline.jpg",
                                 "fm_normalline.jpg", "fm_thinline.jpg",       "fm_paint.jpg",
                                 "fm_minieraser.jpg"};
    // The lists show icons at 16 x 16: a photo kept whole would hold megabytes for each.
    const int largestIcon = 64;
    for (int i = 0; i < int(std::size(icons)); ++i) {
        QImage icon = readCardPicture(cardFile(files[i]));
        if (icon.width() > largestIcon || icon.height() > largestIcon)
            icon = icon.scaled(largestIcon, largestIcon, Qt::KeepAspectRatio,
                               Qt::SmoothTransformation);
        *icons[i] = QPixmap::fromImage(std::move(icon));
    }
}

void Mainwindow::buildToolbar()
{
    auto *band = new QLabel(this);
    QPalette bandPalette = band->palette();
    bandPalette.setColor(QPalette::Window, QColor(100, 150, 200));
    band->setPalette(bandPalette);
    // Without a role of its own the band would take the window's Base role.
    band->setBackgroundRole(QPalette::Window);
    band->setAutoFillBackground(true);
    band->setGeometry(0, 0, canvasWidth, 70);

    combo_pen = new QComboBox(this);
    for (int tool = 0; const ToolRow *row = toolRow(tool); ++tool)
        combo_pen->addItem(QIcon(this->*row->tool.icon), displayText(codec, row->tool.text));
    combo_pen->setGeometry(10, 35, 145, 30);

    combo_size = new QComboBox(this);
    fillSizeList(*toolRow(0));
    combo_size->setGeometry(165, 35, 145, 30);
    button_color = new QPushButton(displayText(codec, Text::color), this);
    button_color->setGeometry(320, 35, 100, 30);
    button_bgcolor = new QPushButton(displayText(codec, Text::bgColor), this);
    button_bgcolor->setGeometry(430, 35, 100, 30);
    button_bgcolor->hide();
    button_undo = new QPushButton(displayText(codec, Text::undo), this);
    button_undo->setGeometry(540, 35, 90, 30);
}

void Mainwindow::buildMenus()
{
    menu = new QMenuBar(this);
    // Items without an action here are present and do nothing.
    auto *editMenu = new QMenu(this);
    // Pop-ups are windows of their own and would not take the window's large font.
    editMenu->setFont(font());
    for (const char *item : {Text::remove, Text::cut, Text::copy, Text::paste})
        editMenu->addAction(displayText(codec, item));
    editMenu->addSeparator();
    for (const char *item : {Text::adjustment, Text::decrease, Text::effect})
        editMenu->addAction(displayText(codec, item));

    auto *mainMenu = new QMenu(this);
    mainMenu->setFont(font());
    connect(mainMenu->addAction(displayText(codec, Text::newPicture)), &QAction::triggered, this,
            &Mainwindow::slot_new);
    mainMenu->addAction(displayText(codec, Text::open));
    mainMenu->addAction(displayText(codec, Text::save));
    mainMenu->addSeparator();
    connect(mainMenu->addAction(displayText(codec, Text::quit)), &QAction::triggered, qApp,
            &QCoreApplication::quit);

    mainMenu->setTitle(displayText(codec, Text::menu));
    menu->addMenu(mainMenu);
    editMenu->setTitle(displayText(codec, Text::edit));
    menu->addMenu(editMenu);
    // The device's toolkit drew a line under the bar on request; Qt's Fusion style draws
    // one under every menu bar, so no setting is needed for the same look. The bar's
    // geometry follows the window in resizeEvent.
}

void Mainwindow::connectControls()
{
    connect(combo_pen, &QComboBox::activated, this, &Mainwindow::slot_setPen);
    connect(combo_size, &QComboBox::activated, this, &Mainwindow::slot_change_PenSize);
    connect(button_color, &QPushButton::clicked, this, &Mainwindow::slot_change_PenColor);
}

const Mainwindow::ToolRow *Mainwindow::toolRow(int tool)
{
    using Item = ToolRow::Item;
    static const Item penSizes[] = {{&Mainwindow::pix_thinline, Text::thinLine},
                                    {&Mainwindow::pix_normalline, Text::normalLine},
                                    {&Mainwindow::pix_thickline, Text::thickLine}};
    static const Item paintSizes[] = {{&Mainwindow::pix_paint, Text::solid}};
    static const Item eraserSizes[] = {{&Mainwindow::pix_minieraser, Text::thin},
                                       {&Mainwindow::pix_eraser, Text::thick}};
    static const Item rangeItems[] = {
        {nullptr, Text::remove},       {nullptr, Text::cut},
        {nullptr, Text::copy},         {nullptr, Text::paste},
        {nullptr, Text::rotateLeft},   {nullptr, Text::rotateRight},
        {nullptr, Text::flipVertical}, {nullptr, Text::flipHorizontal},
        {nullptr, Text::textInput}};
    const auto all = [](const auto &items) {
        return ToolRow::Items{std::begin(items), std::end(items)};
    };
    static const ToolRow rows[] = {
        {{&Mainwindow::pix_pen, Text::pen}, true, false, all(penSizes)},
        {{&Mainwindow::pix_line, Text::line}, true, true, all(penSizes)},
        {{&Mainwindow::pix_rightangle, Text::rightAngle}, true, true, all(penSizes)},
        {{&Mainwindow::pix_rectangle, Text::rectangle}, true, true, all(penSizes)},
        {{&Mainwindow::pix_paintrectangle, Text::rectangle}, true, true, all(paintSizes)},
        {{&Mainwindow::pix_eraser, Text::eraser}, false, false, all(eraserSizes)},
        {{&Mainwindow::pix_stamp, Text::stamp}, false, false, {}},
        {{&Mainwindow::pix_range, Text::range}, false, false, all(rangeItems)},
    };
    if (tool < 0 || tool >= int(std::size(rows)))
        return nullptr;
    return &rows[tool];
}

void Mainwindow::fillSizeList(const ToolRow &row)
{
    combo_size->clear();
    for (const ToolRow::Item &item : row.sizes) {
        const QIcon icon = item.icon ? QIcon(this->*item.icon) : QIcon();
        combo_size->addItem(icon, displayText(codec, item.text));
    }
}

int Mainwindow::strokeWidth() const
{
    return pen_size * 3 + 1;
}

QColor Mainwindow::drawingColor() const
{
    return QColor(color_r, color_g, color_b);
}

// Checked at a press and before a paint, not at every move: a window changes screens
// between strokes, and a new ratio brings a paint of the whole window.
void Mainwindow::fitCanvas()
{
    const qreal ratio = devicePixelRatioF();
    if (canvas.devicePixelRatio() == ratio)
        return;
    // Moved to a screen of another ratio: the picture is kept, drawing goes on at the new one.
    QPixmap rescaled = canvasAt(ratio);
    rescaled.fill(palette().color(QPalette::Base));
    QPainter p(&rescaled);
    p.drawPixmap(QRectF(0, 0, canvasWidth, canvasHeight), canvas, QRectF(canvas.rect()));
    p.end();
    canvas = rescaled;
}

// The window keeps every canvas pixel a sample did not change, so only the new ink's area is
// repainted: on a framebuffer panel each sample then costs only the rows it touched. The
// area spans the two points, grown by `reach` on every side; in floating point, as touch
// points may lie near the int limits.
void Mainwindow::showInk(QPointF from, QPointF to, qreal reach)
{
    // One pixel more: on a fractional ratio Qt rounds the area's corner and size onto device
    // pixels apart, which can leave its last device row out.
    reach += 1;
    const QRectF area = QRectF(from, to).normalized().adjusted(-reach, -reach, reach, reach);
    // Qt paints a window only from paintEvent; a requested repaint lets a flood of
    // samples catch up instead of painting every one of them on the screen.
    update((area & QRectF(0, 0, canvasWidth, canvasHeight)).toAlignedRect());
}

void Mainwindow::setTouchPoint(const QMouseEvent *e)
{
    const QPoint touch = touchPoint(e);
    pos_x = touch.x();
    pos_y = touch.y();
}

void Mainwindow::mousePressEvent(QMouseEvent *e)
{
    setTouchPoint(e);
    fitCanvas();
    const int width = strokeWidth();
    {
        QPainter p(&canvas);
        drawDot(p, pos_x, pos_y, width, drawingColor());
    }
    // The dot fills the square right of and below the touch point.
    showInk(QPointF(pos_x, pos_y), QPointF(pos_x, pos_y) + QPointF(width, width), 0);
    last_x = pos_x;
    last_y = pos_y;
}

void Mainwindow::mouseMoveEvent(QMouseEvent *e)
{
    setTouchPoint(e);
    pen.setWidth(strokeWidth());
    pen.setColor(drawingColor());
    pen.setCapStyle(Qt::RoundCap);
    {
        QPainter p(&canvas);
        p.setPen(pen);
        p.drawLine(last_x, last_y, pos_x, pos_y);
    }
    showInk(QPointF(last_x, last_y), QPointF(pos_x, pos_y), pen.widthF() / 2);
    last_x = pos_x;
    last_y = pos_y;
}

void Mainwindow::mouseReleaseEvent(QMouseEvent *e)
{
    setTouchPoint(e);
}

void Mainwindow::paintEvent(QPaintEvent *)
{
    fitCanvas();
    QPainter p(this);
    if (!copyPixels(p, canvas))
        p.drawPixmap(0, 0, canvas);
    // Beyond the canvas, where the window is larger, the background the toolkit would clear.
    const QBrush background = palette().brush(backgroundRole());
    if (width() > canvasWidth)
        p.fillRect(canvasWidth, 0, width() - canvasWidth, height(), background);
    if (height() > canvasHeight)
        p.fillRect(0, canvasHeight, qMin(width(), canvasWidth), height() - canvasHeight,
                   background);
}

void Mainwindow::closeEvent(QCloseEvent *e)
{
    color_dialog->hide();
    e->accept();
}

void Mainwindow::resizeEvent(QResizeEvent *)
{
    // Qt leaves a menu bar outside a main window at its size hint; the bar spans the window.
    menu->setGeometry(0, 0, width(), menu->sizeHint().height());
}

void Mainwindow::slot_setPen()
{
    pen_type = combo_pen->currentIndex();
    const ToolRow *row = toolRow(pen_type);
    if (!row)
        return;
    button_color->setVisible(row->colorButton);
    button_bgcolor->setVisible(row->bgcolorButton);
    combo_size->setVisible(!row->sizes.isEmpty());
    if (!row->sizes.isEmpty())
        fillSizeList(*row);
}

void Mainwindow::slot_change_PenSize()
{
    if (pen_type != 0)
        return;
    pen_size = combo_size->currentIndex();
}

void Mainwindow::slot_change_PenColor()
{
    color_dialog->show();
    // Under a window manager a stroke on the canvas may have buried a shown palette.
    color_dialog->raise();
    color_dialog->activateWindow();
}

void Mainwindow::color_set()
{
    if (color_r == color_dialog->red && color_g == color_dialog->green &&
        color_b == color_dialog->blue)
        return;
    color_r = color_dialog->red;
    color_g = color_dialog->green;
    color_b = color_dialog->blue;
    pix_color.fill(drawingColor());
    icon_color = QIcon(pix_color);
    // The swatch follows the colour too, so that it never contradicts the background.
    button_color->setIcon(icon_color);
    QPalette buttonPalette = button_color->palette();
    buttonPalette.setColor(QPalette::Button, drawingColor());
    button_color->setPalette(buttonPalette);
}

void Mainwindow::slot_new()
{
    canvas.fill(Qt::white);
    repaint();
}
