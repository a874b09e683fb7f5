#pragma once

#include "ButtonTable.h"
#include "RunnerDriver.h"
#include "Commands.h"
#include "Form1.h"
#include "PictureImage.h"
#include "RasterSurface.h"
#include "RoutineFiles.h"
#include "RunnerTesting.h"
#include "SurfaceView.h"
#include "TestImages.h"

#include <QDir>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include <chrono>

namespace sweepdraw::test {

// The window's parts, found by name as a user's tools would find them.
// As the program does at start-up, with the learner's routines kept apart
// from the user's own.
inline void startAsTheProgramDoes()
{
    allowSyntheticBoldAtAnySize();
    QStandardPaths::setTestModeEnabled(true);
}

// So that a test starts with no routine of the learner's.
inline void forgetTheLearnersRoutines()
{
    QDir(RoutineFiles::folder()).removeRecursively();
}

// Runs the commands on the window at once, as clicks at the instant speed.
inline void runAtOnce(Form1 &form, std::initializer_list<Button> buttons)
{
    form.setSpeed(Speed::Instant);
    for (Button button : buttons)
        form.RunCommand(button);
    form.finishDrawing();
}

inline QPushButton *buttonOf(Form1 &form, Button button)
{
    return form.findChild<QPushButton *>(QString::fromLatin1(buttonLookOf(button).objectName));
}

inline RasterSurface &pictureOf(Form1 &form)
{
    return form.findChild<SurfaceView *>(QStringLiteral("Surface"))->surface();
}

// The zoom the window's picture is drawn at, where a pixel is one device
// pixel.
inline double zoomOf(Form1 &form)
{
    return pictureOf(form).devicePixelRatio();
}

// The picture a scene draws alone on a fresh surface the size of the window.
inline QImage sceneAlone(Scene scene)
{
    RasterSurface reference(kDesignSize);
    scene(reference);
    return imageOf(reference).copy();
}

// `top` painted over `bottom`: every pixel `top` drew replaces the one below.
inline QImage paintedOver(QImage bottom, const QImage &top)
{
    for (int y = 0; y < top.height(); ++y)
        for (int x = 0; x < top.width(); ++x)
            if (qAlpha(top.pixel(x, y)) != 0)
                bottom.setPixel(x, y, top.pixel(x, y));
    return bottom;
}

// Resizes the shown window and waits until it has laid itself out.
inline bool resizeShown(Form1 &form, QSize size)
{
    form.resize(size);
    const bool resized = QTest::qWaitFor([&] { return form.size() == size; });
    QCoreApplication::processEvents();
    return resized;
}

// Waits, with the event loop running, until everything queued has been drawn.
inline bool waitUntilDrawn(Form1 &form, int timeoutMs = 60000)
{
    return QTest::qWaitFor([&] { return !form.isDrawing(); }, timeoutMs);
}

} // namespace sweepdraw::test
