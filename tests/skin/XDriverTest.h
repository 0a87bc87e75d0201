// Runs a driver program of the skin tests (xdriver/) under a bare Xvfb with a
// white root window and checks that every step it printed passed; skips, with
// the reason, where the driver or the X server is missing.
#pragma once

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/skin/SkinTestSupport.h"
#include "tests/support/Xvfb.h"

namespace sktest {

inline void RunXDriver(const QString& name) {
    const QString driver = qEnvironmentVariable("QUENBY_BINARY_DIR") + "/bin/" + name;
    if (!QFileInfo(driver).isExecutable()) {
        GTEST_SKIP() << "the X driver was not built (no XTest library)";
    }
    // A white root window shows what the windows leave uncovered.
    testsupport::TXvfb xvfb({"-wr"});
    if (!xvfb.Running()) {
        GTEST_SKIP() << xvfb.Failure();
    }
    QTemporaryDir runtime;
    QProcess program;
    program.setProcessEnvironment(xvfb.Environment(runtime.path()));
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(driver, {ArtifactsDir()});
    ASSERT_TRUE(program.waitForFinished(120000)) << "the driver did not finish";
    const QString log = QString::fromLocal8Bit(program.readAll());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << log.toStdString();
    EXPECT_EQ(program.exitCode(), 0) << log.toStdString();
    EXPECT_FALSE(log.contains("FAIL")) << log.toStdString();
}

} // namespace sktest
