// A skinned window on a real X server without a window manager, moved,
// maximised, restored, minimised and closed by real pointer and key events
// (the driver program sends them through XTest).
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/skin/SkinTestSupport.h"
#include "tests/support/Xvfb.h"

TEST(TskFormUnderX, MovesMaximisesMinimisesRunsShortCutsAndCloses) {
    const QString driver = qEnvironmentVariable("QUENBY_BINARY_DIR") + "/bin/skin_frame_xdriver";
    if (!QFileInfo(driver).isExecutable()) {
        GTEST_SKIP() << "the X driver was not built (no XTest library)";
    }
    // A white root window shows where the window's shape cuts it.
    testsupport::TXvfb xvfb({"-wr"});
    if (!xvfb.Running()) {
        GTEST_SKIP() << xvfb.Failure();
    }
    QTemporaryDir runtime;
    QProcess program;
    program.setProcessEnvironment(xvfb.Environment(runtime.path()));
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(driver, {sktest::ArtifactsDir()});
    ASSERT_TRUE(program.waitForFinished(120000)) << "the driver did not finish";
    const QString log = QString::fromLocal8Bit(program.readAll());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << log.toStdString();
    EXPECT_EQ(program.exitCode(), 0) << log.toStdString();
    EXPECT_FALSE(log.contains("FAIL")) << log.toStdString();
}
