// SPDX-License-Identifier: MIT
// A long session of pen events in any order and anywhere, on both windows.
#include "colordialog.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QComboBox>
#include <QPixmapCache>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <climits>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer's allocator interface; GCC ships the library but not its header.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

using namespace TestSupport;

namespace {

const int eventCount = 1000000;
const int warmUp = 100000;

// What the program holds on the heap; under the sanitizer its allocator keeps the count,
// so freed memory waiting in quarantine does not look like growth.
qint64 heapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    return qint64(mallinfo2().uordblks);
#endif
}

// The toolkit keeps painted pixmaps up to a limit of its own; without them the rest is the
// program's. The toolkit's style also keeps a little for every new colour of the colour
// button, which the poll sets.
qint64 programHeap()
{
    QPixmapCache::clear();
    return heapInUse();
}

// From the int limits and beyond to well inside the canvas.
double coordinate(QRandomGenerator &random)
{
    static const double far[] = {INT_MIN, INT_MIN + 1.0, -1e10, -65536,        -1,     -0.5,
                                 639.5,   640,           1e10,  INT_MAX - 1.0, INT_MAX};
    switch (random.bounded(4)) {
    case 0:
        return far[random.bounded(int(std::size(far)))];
    case 1:
        return random.bounded(-100000, 100000);
    case 2:
        return random.bounded(700.0) - 30;
    default:
        return random.bounded(640);
    }
}

QEvent::Type anyPenEvent(QRandomGenerator &random)
{
    static const QEvent::Type types[] = {QEvent::MouseButtonPress, QEvent::MouseMove,
                                         QEvent::MouseMove, QEvent::MouseButtonRelease};
    return types[random.bounded(int(std::size(types)))];
}

} // namespace

class WildInputTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        failOnWarnings();
        fillCard();
    }

    void millionRandomPenEvents();
};

void WildInputTest::millionRandomPenEvents()
{
    Mainwindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ColorDialog *dialog = colorDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    // The poll runs at fixed points of the session rather than whenever its timer finds
    // time, so that every run is the same however fast the machine.
    const auto timers = window.findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(timers.size(), 1);
    timers.first()->stop();

    QRandomGenerator random(20240607);
    qint64 settled = 0;
    for (int i = 0; i < eventCount; ++i) {
        QWidget *target = random.bounded(4) == 0 ? static_cast<QWidget *>(dialog) : &window;
        pen(target, anyPenEvent(random), QPointF(coordinate(random), coordinate(random)));
        if (i % 1000 == 999) {
            // Now and then a new size; the screen catches up.
            choose(sizeList(window), random.bounded(3));
            QCoreApplication::processEvents();
        }
        if (i % 10000 == 9999)
            poll(window);
        if (i == warmUp)
            settled = programHeap();
    }
    QCoreApplication::processEvents();

    const qint64 growth = programHeap() - settled;
    QVERIFY2(growth < 1024 * 1024, qPrintable(QStringLiteral("heap grew by %1 bytes").arg(growth)));

    // The window still draws where it is touched, in the colour handed over.
    dialog->red = 200;
    dialog->green = 30;
    dialog->blue = 60;
    poll(window);
    chooseMenuItem(window, QString::fromUtf8("新規"));
    stroke(&window, {{100, 200}, {300, 200}});
    QCOMPARE(canvasImage(window).pixel(200, 200), qRgb(200, 30, 60));
}

VELLUMIX_TEST_MAIN(WildInputTest)

#include "tst_wildinput.moc"
