// The program as a user starts it: the window it shows, on the offscreen
// platform and in a real X server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "app/DemoForm.h"
#include "app/Startup.h"
#include "platform/toolkit/Application.h"
#include "tests/support/Xvfb.h"

using namespace tk;

namespace {

QString BinaryDir() {
    return QString::fromLocal8Bit(qgetenv("QUENBY_BINARY_DIR"));
}

QString ProgramPath() {
    return BinaryDir() + QStringLiteral("/bin/quenby");
}

TApplication* App() {
    static TApplication* app = [] {
        auto* a = new TApplication(); // lives for the whole test run
        a->SetTitle("Quenby for WAB");
        return a;
    }();
    return app;
}

QRgb Pixel(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST(DemoWindow, RendersFromItsDescription) {
    App();
    TComponentPtr<TfmDemo> form(new TfmDemo(nullptr));
    ASSERT_NE(form->pnTop, nullptr);
    EXPECT_EQ(form->ClientWidth(), 640);
    EXPECT_EQ(form->lvItems->Items()->Count(), 7);
    EXPECT_EQ(form->sbMain->Panel(1)->Text(), "7 contacts");
    const TRect top = form->pnTop->BoundsRect();
    EXPECT_EQ(top.Top, form->tbMenu->Height()); // the menu's tool bar is above it
    const QImage img = form->Handle()->grab().toImage();
    ASSERT_EQ(img.size(), QSize(640, 420));
    const QString dir = BinaryDir() + QStringLiteral("/artifacts");
    QDir().mkpath(dir);
    img.save(dir + QStringLiteral("/demo.png"));
    EXPECT_EQ(Pixel(img, 300, top.Top + 5), 0x2E68B5u);
    // Duplicates are drawn in blue: the second row's caption has blue ink.
    const TRect row = form->lvItems->Items()->Item(1)->DisplayRect();
    const TPoint origin = form->lvItems->ClientOrigin();
    const TPoint formOrigin = form->ClientOrigin();
    int blue = 0;
    for (int y = row.Top; y < row.Bottom; ++y) {
        for (int x = 20; x < 150; ++x) {
            const QRgb p = img.pixel(x + origin.x - formOrigin.x, y + origin.y - formOrigin.y);
            blue += qBlue(p) > 150 && qRed(p) < 100;
        }
    }
    EXPECT_GT(blue, 10);
}

TEST(DemoWindow, FindFiltersAndTheMenuShortCutCloses) {
    App();
    TComponentPtr<TfmDemo> form(new TfmDemo(nullptr));
    form->Show();
    QApplication::setActiveWindow(form->Handle());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    form->edFind->SetFocus();
    QTest::keyClicks(form->edFind->LineEdit(), "hop");
    EXPECT_EQ(form->lvItems->Items()->Count(), 2);
    EXPECT_EQ(form->sbMain->Panel(1)->Text(), "2 contacts");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form->Visible());
}

TEST(DemoWindow, RefusesToShrinkBelowItsMinimum) {
    App();
    TComponentPtr<TfmDemo> form(new TfmDemo(nullptr));
    form->SetBounds(form->Left(), form->Top(), 200, 150);
    EXPECT_EQ(form->Width(), 640);
}

TEST(Program, SaysSoInOneLineWithoutADisplay) {
    QProcess p;
    QProcessEnvironment env;
    env.insert("PATH", qEnvironmentVariable("PATH"));
    env.insert("HOME", QDir::tempPath());
    p.setProcessEnvironment(env);
    p.start(ProgramPath(), {});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
    EXPECT_TRUE(err.contains("no display")) << err.toStdString();
    EXPECT_TRUE(err.contains("xvfb-run")) << err.toStdString();
    EXPECT_EQ(err.count('\n'), 0);
}

// A real X server, a real window: the program maps its window and what is on
// the screen there is the demo window.
TEST(Program, ShowsItsWindowUnderXvfb) {
    testsupport::TXvfb xvfb;
    if (!xvfb.Running()) {
        GTEST_SKIP() << xvfb.Failure();
    }
    QTemporaryDir tmp;
    const QString shot = tmp.filePath("screen.png");
    QProcess program;
    QProcessEnvironment env = xvfb.Environment(tmp.path());
    env.insert("QUENBY_SNAPSHOT", shot);
    program.setProcessEnvironment(env);
    program.start(ProgramPath(), {});
    const bool finished = program.waitForFinished(30000);
    ASSERT_TRUE(finished) << "the program did not quit after its snapshot";
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QImage img(shot);
    ASSERT_FALSE(img.isNull()) << program.readAllStandardError().toStdString();
    const QString dir = BinaryDir() + QStringLiteral("/artifacts");
    QDir().mkpath(dir);
    img.save(dir + QStringLiteral("/demo-xvfb.png"));
    ASSERT_EQ(img.size(), QSize(640, 420));
    // The title band below the menu's tool bar, and the list's white rows.
    EXPECT_EQ(Pixel(img, 300, 40), 0x2E68B5u);
    EXPECT_EQ(Pixel(img, 600, 250), 0xFFFFFFu);
}
