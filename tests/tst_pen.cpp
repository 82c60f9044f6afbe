// SPDX-License-Identifier: MIT
// A pen that reports as a tablet, with samples handed over as the evdev tablet handler
// does it (no window; the toolkit finds the one under the pen), and the caption bar the
// platform layer puts over the palette.
#include "captionbar.h"
#include "colordialog.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QPointingDevice>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QtGui/qtestsupport_gui.h>
#include <panelinput.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qwindowsysteminterface.h>
#include <qpeapplication.h>
#include <tabletinput.h>
#include <toolkitoptions.h>

using namespace TestSupport;

namespace {

const QRgb white = qRgb(255, 255, 255);

void stylus(QPointF global, Qt::MouseButtons buttons, qint64 pen = 1,
            QPointingDevice::PointerType end = QPointingDevice::PointerType::Pen)
{
    QWindowSystemInterface::handleTabletEvent(nullptr, QPointF(), global,
                                              int(QInputDevice::DeviceType::Stylus), int(end),
                                              buttons, buttons ? 0.5 : 0.0, 0, 0, 0, 0, 0, pen);
}

void proximity(bool inRange)
{
    const int stylus = int(QInputDevice::DeviceType::Stylus);
    const int pen = int(QPointingDevice::PointerType::Pen);
    if (inRange)
        QWindowSystemInterface::handleTabletEnterProximityEvent(stylus, pen, 1);
    else
        QWindowSystemInterface::handleTabletLeaveProximityEvent(stylus, pen, 1);
}

// One finger, or a palm, on the touch screen under the same glass.
void touch(QPointF global, QEventPoint::State state)
{
    static QPointingDevice *const screen = QTest::createTouchDevice();
    QWindowSystemInterface::TouchPoint point;
    point.area = QRectF(global - QPointF(4, 4), QSizeF(8, 8));
    point.pressure = state == QEventPoint::State::Released ? 0.0 : 1.0;
    point.state = state;
    QWindowSystemInterface::handleTouchEvent(nullptr, screen, {point});
}

void deliver()
{
    QWindowSystemInterface::flushWindowSystemEvents();
}

// The samples go out in one burst, as a fast pen sends them, and are delivered after.
void penStroke(const QList<QPoint> &points)
{
    for (const QPoint &point : points)
        stylus(point, Qt::LeftButton);
    stylus(points.last(), Qt::NoButton);
    deliver();
}

void penTap(QPoint global)
{
    penStroke({global});
}

QPoint centreOf(const QWidget *widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

QList<QPoint> onScreenOf(const QWidget *widget, const QList<QPoint> &points)
{
    QList<QPoint> global;
    for (const QPoint &point : points)
        global << widget->mapToGlobal(point);
    return global;
}

// The command line as the toolkit is given it, noted again.
void commandLine(QByteArrayList words)
{
    QList<char *> argv;
    for (QByteArray &word : words)
        argv << word.data();
    int argc = int(argv.size());
    ToolkitOptions::note(argc, argv.data());
}

CaptionBar *captionBar()
{
    return colorDialog()->findChild<CaptionBar *>();
}

} // namespace

class TestPen : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        fillCard();
        failOnWarnings();
        window = new Mainwindow;
        static_cast<QPEApplication *>(qApp)->showMainWidget(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
    void cleanup() { delete window; }

    void strokeKeepsEverySample();
    void strayInputDrawsNothing();
    void restingHandLeavesNoInk();
    void twoPensNeverJoin();
    void usersOwnChoicesStand();
    void captionBarMovesAndCloses();
    void listsAndMenusTakeThePen();
    void penDrawsOnAfterAList();
    void panelInputPutsInkUnderTheTips_data();
    void panelInputPutsInkUnderTheTips();

private:
    QList<QPoint> onScreen(const QList<QPoint> &points) { return onScreenOf(window, points); }

    Mainwindow *window = nullptr;
};

void TestPen::strokeKeepsEverySample()
{
    // A zigzag: a sample lost or merged with the next leaves its corner white.
    QList<QPoint> points;
    for (int i = 0; i < 40; ++i)
        points << QPoint(60 + 12 * i, i % 2 ? 300 : 200);
    penStroke(onScreen(points));
    const QImage canvas = canvasImage(*window);
    for (const QPoint &point : std::as_const(points))
        QVERIFY2(canvas.pixel(point) != white,
                 qPrintable(QStringLiteral("%1, %2 not drawn").arg(point.x()).arg(point.y())));
}

void TestPen::strayInputDrawsNothing()
{
    stylus(window->mapToGlobal(QPoint(300, 300)), Qt::NoButton); // a release without a press
    penStroke({QPoint(-500, 5000), QPoint(-400, 4000)});
    deliver();
    QCOMPARE(inkBounds(canvasImage(*window), white), QRect());

    penStroke(onScreen({QPoint(100, 200), QPoint(150, 220)}));
    QCOMPARE(inkBounds(canvasImage(*window), white), QRect(100, 200, 51, 21));
}

void TestPen::restingHandLeavesNoInk()
{
    using State = QEventPoint::State;
    const auto hand = [this](int x, int y, State state) {
        touch(window->mapToGlobal(QPoint(x, y)), state);
    };
    // A finger stroke under way when the pen comes ends there.
    hand(100, 300, State::Pressed);
    hand(200, 300, State::Updated);
    proximity(true);
    deliver();
    QCOMPARE(QGuiApplication::mouseButtons(), Qt::NoButton);
    hand(200, 400, State::Updated);
    hand(200, 400, State::Released);
    // Halfway through the pen's stroke a palm lands, moves and rests until the pen is gone.
    const QList<QPoint> line = onScreen({QPoint(100, 200), QPoint(200, 200), QPoint(300, 200)});
    stylus(line[0], Qt::LeftButton);
    stylus(line[1], Qt::LeftButton);
    hand(500, 400, State::Pressed);
    hand(506, 404, State::Updated);
    stylus(line[2], Qt::LeftButton);
    stylus(line[2], Qt::NoButton);
    proximity(false);
    hand(510, 410, State::Released);
    deliver();
    const QImage canvas = canvasImage(*window);
    QCOMPARE(inkBounds(canvas, white), QRect(100, 200, 201, 101));
    QCOMPARE(countPixels(canvas, qRgb(0, 0, 0)), 101 + 201); // both strokes, unbroken

    // With the pen away, a finger draws.
    hand(400, 300, State::Pressed);
    hand(450, 350, State::Released);
    deliver();
    QCOMPARE(inkBounds(canvasImage(*window), white), QRect(100, 200, 351, 151));
}

void TestPen::twoPensNeverJoin()
{
    const QList<QPoint> first = onScreen({QPoint(100, 200), QPoint(200, 200), QPoint(300, 250)});
    const QList<QPoint> second = onScreen({QPoint(100, 300), QPoint(200, 300)});
    stylus(first[0], Qt::LeftButton, 1);
    stylus(first[1], Qt::LeftButton, 1);
    // The second pen touches while the first is down, and lifts before it.
    stylus(second[0], Qt::LeftButton, 2);
    stylus(first[2], Qt::LeftButton, 1);
    stylus(second[1], Qt::LeftButton, 2);
    stylus(second[1], Qt::NoButton, 2);
    stylus(first[0], Qt::LeftButton, 1);
    stylus(first[0], Qt::NoButton, 1);
    deliver();
    QImage canvas = canvasImage(*window);
    QCOMPARE(inkBounds(canvas, white), QRect(100, 200, 101, 101));
    QCOMPARE(countPixels(canvas, qRgb(0, 0, 0)), 101 + 101); // two lines, nothing between

    // Either pen draws its next stroke.
    penStroke(onScreen({QPoint(400, 200), QPoint(400, 300)}));
    QCOMPARE(inkBounds(canvasImage(*window), white), QRect(100, 200, 301, 101));

    // One pen's two ends are one pen: a barrel button that turns the tip into the eraser
    // mid-stroke neither breaks the line nor leaves the pointer pressed.
    const QList<QPoint> switching = onScreen({QPoint(500, 200), QPoint(500, 300)});
    stylus(switching[0], Qt::LeftButton);
    stylus(switching[1], Qt::LeftButton, 1, QPointingDevice::PointerType::Eraser);
    stylus(switching[1], Qt::NoButton, 1, QPointingDevice::PointerType::Eraser);
    deliver();
    QCOMPARE(countPixels(canvasImage(*window), qRgb(0, 0, 0)), 101 + 101 + 101 + 101);
    QCOMPARE(QGuiApplication::mouseButtons(), Qt::NoButton);
}

void TestPen::usersOwnChoicesStand()
{
    // A tablet plugin the user named reads the pen; a second one would send every sample twice.
    qunsetenv("QT_QPA_GENERIC_PLUGINS");
    commandLine({"vellumix", "--plugin", "EvdevTablet:/dev/input/event2", "-stylesheet", "a.qss"});
    QVERIFY(TabletInput::namedByUser());
    QVERIFY(!ToolkitOptions::given("style"));
    commandLine({"vellumix", "-plugin", "evdevtouch", "--style=Windows", "-plugin"});
    QVERIFY(!TabletInput::namedByUser());
    QVERIFY(ToolkitOptions::given("style"));
    qputenv("QT_QPA_GENERIC_PLUGINS", "evdevtouch,evdevtablet:/dev/input/event2");
    QVERIFY(TabletInput::namedByUser());
    qunsetenv("QT_QPA_GENERIC_PLUGINS");
    commandLine({"vellumix"});
}

void TestPen::captionBarMovesAndCloses()
{
    penTap(centreOf(colorButton(*window)));
    ColorDialog *palette = colorDialog();
    QTRY_VERIFY(palette->isVisible());
    CaptionBar *bar = captionBar();
    QVERIFY(bar && bar->isVisible());
    QVERIFY(bar->height() >= 24);
    const QRect frame = palette->frameGeometry();
    QCOMPARE(bar->frameGeometry(),
             QRect(frame.x(), frame.y() - bar->height(), frame.width(), bar->height()));
    QCOMPARE(palette->size(), QSize(217, 172));

    const QPoint start = palette->pos();
    const QPoint grip = bar->mapToGlobal(QPoint(20, bar->height() / 2));
    penStroke({grip, grip + QPoint(30, 20), grip + QPoint(60, 50)});
    QCOMPARE(palette->pos(), start + QPoint(60, 50));
    QCOMPARE(bar->geometry().bottomLeft(), palette->frameGeometry().topLeft() - QPoint(0, 1));

    // Dragged far off, the window and its bar stay on the screen.
    const QRect screen = palette->screen()->geometry();
    const QPoint moved = bar->mapToGlobal(QPoint(20, bar->height() / 2));
    penStroke({moved, QPoint(-900, -900)});
    QCOMPARE(bar->geometry().topLeft(), screen.topLeft());
    penStroke({QPoint(20, bar->height() / 2), QPoint(5000, 5000)});
    QCOMPARE(palette->frameGeometry().bottomRight(), screen.bottomRight());

    // Picking is unchanged: the palette takes the pen, the bar does not pick.
    QCOMPARE(std::tuple(palette->red, palette->green, palette->blue), std::tuple(0, 0, 0));

    penTap(bar->mapToGlobal(bar->closeButton().center()));
    QVERIFY(!palette->isVisible());
    QVERIFY(!bar->isVisible());

    penTap(centreOf(colorButton(*window)));
    QTRY_VERIFY(palette->isVisible());
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->geometry().bottom() + 1, palette->frameGeometry().top());
}

void TestPen::listsAndMenusTakeThePen()
{
    QComboBox *tools = toolList(*window);
    penTap(centreOf(tools));
    QTRY_VERIFY(QApplication::activePopupWidget());
    const QRect list = QApplication::activePopupWidget()->geometry();
    // The fourth of the eight tools.
    penTap(QPoint(list.x() + 40, list.y() + list.height() * 7 / 16));
    QTRY_COMPARE(tools->currentIndex(), 3);

    // Chosen from once, the menu must open again.
    penStroke(onScreen({QPoint(100, 200), QPoint(150, 220)}));
    QMenuBar *menu = menuBar(*window);
    for (int round = 0; round < 2; ++round) {
        penTap(menu->mapToGlobal(QPoint(50, menu->height() / 2)));
        QTRY_VERIFY(QApplication::activePopupWidget());
        const QRect items = QApplication::activePopupWidget()->geometry();
        penTap(items.topLeft() + QPoint(40, 15)); // 新規
        QTRY_VERIFY(!QApplication::activePopupWidget());
    }
    QCOMPARE(inkBounds(canvasImage(*window), white), QRect());
}

// Once a list was open the pen must still choose and draw: a list that took a sample
// without the toolkit noting the pen's lift left the pen dead.
void TestPen::penDrawsOnAfterAList()
{
    QComboBox *sizes = sizeList(*window);
    penTap(centreOf(sizes));
    QTRY_VERIFY(QApplication::activePopupWidget());
    penTap(window->mapToGlobal(QPoint(500, 400))); // beside the list: closes it, as a click does
    QTRY_VERIFY(!QApplication::activePopupWidget());

    penTap(centreOf(sizes));
    QTRY_VERIFY(QApplication::activePopupWidget());
    const QRect list = QApplication::activePopupWidget()->geometry();
    penTap(QPoint(list.x() + 40, list.bottom() - list.height() / 6)); // 極太
    QTRY_COMPARE(sizes->currentIndex(), 2);
    penStroke(onScreen({QPoint(100, 300), QPoint(400, 300)}));
    QCOMPARE(inkRowsAt(canvasImage(*window), 250, white), 7);
}

void TestPen::panelInputPutsInkUnderTheTips_data()
{
    QTest::addColumn<int>("rotation");
    for (int rotation : {0, 90, 180, 270})
        QTest::addRow("%d", rotation) << rotation;
}

// CTest runs this on an unscaled screen and on one scaled by 1.5.
void TestPen::panelInputPutsInkUnderTheTips()
{
    QFETCH(int, rotation);
    const QScreen *screen = window->screen();
    const qreal ratio = screen->devicePixelRatio();
    const QSize devicePixels = screen->handle()->geometry().size();
    const PanelTurn turn = PanelTurn::under(rotation, devicePixels);
    const auto input = PanelInput::install(turn, *screen);
    QVERIFY(input);
    // The handlers spread the panel's axes over the screen as they come: touch over its
    // device pixels, the pen over its scaled size, which the toolkit then scales down again.
    const auto spread = [&](QPoint onWindow, QSizeF over) {
        const QPointF onPanel = turn.toPanel(window->mapToGlobal(QPointF(onWindow)) * ratio);
        return QPointF(onPanel.x() * over.width() / turn.panelSize().width(),
                       onPanel.y() * over.height() / turn.panelSize().height());
    };
    const QSizeF scaled = screen->geometry().size();
    stylus(spread({100, 150}, scaled), Qt::LeftButton);
    stylus(spread({300, 250}, scaled), Qt::LeftButton);
    stylus(spread({300, 250}, scaled), Qt::NoButton);
    using State = QEventPoint::State;
    touch(spread({350, 200}, devicePixels), State::Pressed);
    touch(spread({420, 300}, devicePixels), State::Updated);
    touch(spread({420, 300}, devicePixels), State::Released);
    deliver();
    const QImage canvas = canvasImage(*window);
    const QRect ink = inkBounds(canvas, white);
    QVERIFY2(ink.adjusted(-1, -1, 1, 1).contains(QRect(100, 150, 321, 151)) &&
                 QRect(99, 149, 323, 153).contains(ink),
             qPrintable(QDebug::toString(ink)));
    for (const QPoint end : {QPoint(100, 150), QPoint(300, 250), QPoint(420, 300)})
        QVERIFY(canvas.pixel(end) != white);
}

VELLUMIX_TEST_MAIN(TestPen)
#include "tst_pen.moc"
