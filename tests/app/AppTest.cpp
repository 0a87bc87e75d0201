// The program as a user starts it: the window it shows, on the offscreen
// platform and in a real X server.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include "app/DemoForm.h"
#include "app/Startup.h"
#include "platform/toolkit/Application.h"

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
    EXPECT_EQ(form->ClientWidth(), 480);
    EXPECT_EQ(form->pnTop->BoundsRect(), Rect(0, 0, 480, 48));
    const QImage img = form->Handle()->grab().toImage();
    ASSERT_EQ(img.size(), QSize(480, 300));
    const QString dir = BinaryDir() + QStringLiteral("/artifacts");
    QDir().mkpath(dir);
    img.save(dir + QStringLiteral("/demo.png"));
    EXPECT_EQ(Pixel(img, 300, 5), 0x2E68B5u);   // title band
    EXPECT_EQ(Pixel(img, 300, 150), 0xFFFFFFu); // client panel
    EXPECT_EQ(Pixel(img, 10, 280), 0xE7E7E7u);  // bottom panel, the form's colour
    // The button's caption is drawn: dark pixels inside it.
    const QRect button(392, 256 + 10, 75, 25);
    int dark = 0;
    for (int y = button.top() + 4; y < button.bottom() - 4; ++y) {
        for (int x = button.left() + 4; x < button.right() - 4; ++x) {
            dark += qGray(img.pixel(x, y)) < 100;
        }
    }
    EXPECT_GT(dark, 20);
}

TEST(DemoWindow, RefusesToShrinkBelowItsMinimum) {
    App();
    TComponentPtr<TfmDemo> form(new TfmDemo(nullptr));
    form->SetBounds(form->Left(), form->Top(), 200, 150);
    EXPECT_EQ(form->Width(), 480);
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
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    if (xvfb.isEmpty()) {
        GTEST_SKIP() << "Xvfb is not installed";
    }
    QProcess server;
    server.setProcessChannelMode(QProcess::SeparateChannels);
    // -displayfd 1: the server picks a free display and tells us on stdout.
    server.start(xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (!server.waitForStarted(5000)) {
        GTEST_SKIP() << "Xvfb could not start";
    }
    QString display;
    for (int i = 0; i < 50 && display.isEmpty(); ++i) {
        server.waitForReadyRead(200);
        display = QString::fromLatin1(server.readAllStandardOutput()).trimmed();
    }
    if (display.isEmpty()) {
        server.kill();
        server.waitForFinished();
        GTEST_SKIP() << "Xvfb started but gave no display";
    }
    QTemporaryDir tmp;
    const QString shot = tmp.filePath("screen.png");
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", ":" + display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("QUENBY_SNAPSHOT", shot);
    env.insert("XDG_RUNTIME_DIR", tmp.path());
    program.setProcessEnvironment(env);
    program.start(ProgramPath(), {});
    const bool finished = program.waitForFinished(30000);
    server.terminate();
    server.waitForFinished(5000);
    ASSERT_TRUE(finished) << "the program did not quit after its snapshot";
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QImage img(shot);
    ASSERT_FALSE(img.isNull()) << program.readAllStandardError().toStdString();
    const QString dir = BinaryDir() + QStringLiteral("/artifacts");
    QDir().mkpath(dir);
    img.save(dir + QStringLiteral("/demo-xvfb.png"));
    ASSERT_EQ(img.size(), QSize(480, 300));
    EXPECT_EQ(Pixel(img, 300, 5), 0x2E68B5u);
    EXPECT_EQ(Pixel(img, 300, 150), 0xFFFFFFu);
}
