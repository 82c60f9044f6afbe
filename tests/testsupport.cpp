// SPDX-License-Identifier: MIT
#include "testsupport.h"

#include "card.h"
#include "colordialog.h"
#include "mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <qpeapplication.h>

#include <cstdio>

namespace TestSupport {

namespace {

QStringList startupMessages;

void recordMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    startupMessages << message;
}

template <typename Control> Control *controlAt(Mainwindow &window, int x)
{
    const auto controls = window.findChildren<Control *>(Qt::FindDirectChildrenOnly);
    for (Control *control : controls) {
        if (control->geometry().topLeft() == QPoint(x, 35))
            return control;
    }
    return nullptr;
}

QDir cardDir()
{
    return QFileInfo(cardFile("x")).absoluteDir();
}

} // namespace

int run(QObject *test, int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    QPEApplication app(argc, argv);
    qInstallMessageHandler(previous);
    if (!startupMessages.isEmpty()) {
        for (const QString &message : std::as_const(startupMessages))
            std::fprintf(stderr, "FAIL: message while starting: %s\n", qPrintable(message));
        return 1;
    }
    return QTest::qExec(test, argc, argv);
}

void failOnWarnings()
{
    // The offscreen platform can neither restack windows nor grab the keyboard for a
    // pop-up, and says so; that is not a fault.
    QTest::failOnWarning(QRegularExpression(
        QStringLiteral("^(?!This plugin does not support (raise\\(\\)|grabbing the keyboard)$)")));
}

void emptyCard()
{
    QDir dir = cardDir();
    dir.removeRecursively();
    QDir().mkpath(dir.path());
}

void fillCard(const QStringList &names)
{
    emptyCard();
    const QDir sample(QStringLiteral(SAMPLE_CARD_DIR));
    const QStringList files = names.isEmpty() ? sample.entryList(QDir::Files) : names;
    for (const QString &name : files)
        QFile::copy(sample.filePath(name), cardPath(name));
}

QString cardPath(const QString &name)
{
    return cardDir().filePath(name);
}

QString sampleCardPath(const QString &name)
{
    return QDir(QStringLiteral(SAMPLE_CARD_DIR)).filePath(name);
}

void pen(QWidget *target, QEvent::Type type, QPointF position)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, target->mapToGlobal(QPointF()) + position, button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void tap(QWidget *target, QPoint position)
{
    pen(target, QEvent::MouseButtonPress, position);
    pen(target, QEvent::MouseButtonRelease, position);
}

void stroke(QWidget *target, const QList<QPoint> &points)
{
    pen(target, QEvent::MouseButtonPress, points.first());
    for (qsizetype i = 1; i < points.size(); ++i)
        pen(target, QEvent::MouseMove, points.at(i));
    pen(target, QEvent::MouseButtonRelease, points.last());
}

QImage canvasImage(Mainwindow &window)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    window.render(&image, QPoint(), QRegion(0, 0, 640, 480), QWidget::DrawWindowBackground);
    return image;
}

QComboBox *toolList(Mainwindow &window)
{
    return controlAt<QComboBox>(window, 10);
}

QComboBox *sizeList(Mainwindow &window)
{
    return controlAt<QComboBox>(window, 165);
}

QPushButton *colorButton(Mainwindow &window)
{
    return controlAt<QPushButton>(window, 320);
}

QPushButton *bgcolorButton(Mainwindow &window)
{
    return controlAt<QPushButton>(window, 430);
}

QPushButton *undoButton(Mainwindow &window)
{
    return controlAt<QPushButton>(window, 540);
}

QMenuBar *menuBar(Mainwindow &window)
{
    return window.findChild<QMenuBar *>(QString(), Qt::FindDirectChildrenOnly);
}

ColorDialog *colorDialog()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *widget : windows) {
        if (auto *dialog = qobject_cast<ColorDialog *>(widget))
            return dialog;
    }
    return nullptr;
}

void chooseMenuItem(Mainwindow &window, const QString &text)
{
    const auto entries = menuBar(window)->actions();
    for (const QAction *entry : entries) {
        const auto items = entry->menu()->actions();
        for (QAction *item : items) {
            if (item->text() == text) {
                item->trigger();
                return;
            }
        }
    }
    QFAIL(qPrintable(QStringLiteral("no menu item %1").arg(text)));
}

void choose(QComboBox *list, int index)
{
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void poll(Mainwindow &window)
{
    QMetaObject::invokeMethod(&window, "color_set", Qt::DirectConnection);
}

QStringList itemTexts(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

int countPixels(const QImage &image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) | 0xff000000) == (colour | 0xff000000);
    }
    return count;
}

int inkRowsAt(const QImage &image, int x, QRgb background)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += (image.pixel(x, y) | 0xff000000) != (background | 0xff000000);
    return rows;
}

QRect inkBounds(const QImage &image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) | 0xff000000) != (background | 0xff000000))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace TestSupport
