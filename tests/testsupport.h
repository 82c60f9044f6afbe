// SPDX-License-Identifier: MIT
#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QEvent>
#include <QImage>
#include <QPoint>
#include <QStringList>

class ColorDialog;
class Mainwindow;
class QComboBox;
class QMenuBar;
class QObject;
class QPushButton;
class QTimer;
class QWidget;

namespace TestSupport {

// Runs a test object under the program's own application object, failing on any
// message the toolkit prints while the application starts.
int run(QObject *test, int argc, char **argv);

// Makes every toolkit warning in the current test a failure; call from init().
void failOnWarnings();

// Fills this test program's card folder with the sample files named (all when empty),
// or leaves it empty.
void fillCard(const QStringList &names = {});
void emptyCard();
QString cardPath(const QString &name);
QString sampleCardPath(const QString &name);

// A pen event delivered to the widget as the toolkit delivers it.
void pen(QWidget *target, QEvent::Type type, QPointF position);
void tap(QWidget *target, QPoint position);
// Press at the first point, move through the others, release at the last.
void stroke(QWidget *target, const QList<QPoint> &points);

// What the window itself paints, without its controls: the canvas.
QImage canvasImage(Mainwindow &window);

// The controls, found by their place in the toolbar.
QComboBox *toolList(Mainwindow &window);
QComboBox *sizeList(Mainwindow &window);
QPushButton *colorButton(Mainwindow &window);
QPushButton *bgcolorButton(Mainwindow &window);
QPushButton *undoButton(Mainwindow &window);
QMenuBar *menuBar(Mainwindow &window);
ColorDialog *colorDialog();

// Chooses the menu item with the given text, in whichever pop-up it is.
void chooseMenuItem(Mainwindow &window, const QString &text);

// Chooses an item as a user does: makes it current and reports the activation.
void choose(QComboBox *list, int index);
// Runs the colour poll once, as its timer would.
void poll(Mainwindow &window);

QStringList itemTexts(const QComboBox *list);
// The pixels of the image in the given colour.
int countPixels(const QImage &image, QRgb colour);
// The pixels in one column that differ from the background: a stroke's thickness there.
int inkRowsAt(const QImage &image, int x, QRgb background);
// The bounding box of the pixels that differ from the background.
QRect inkBounds(const QImage &image, QRgb background);

} // namespace TestSupport

#define VELLUMIX_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        TestClass test;                                                                            \
        return TestSupport::run(&test, argc, argv);                                                \
    }

#endif // TESTSUPPORT_H
