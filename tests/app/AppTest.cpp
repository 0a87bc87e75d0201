// The program as a user starts it, as a process of its own.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QString>

namespace {

QString ProgramPath() {
    return qEnvironmentVariable("QUENBY_BINARY_DIR") + QStringLiteral("/bin/quenby");
}

} // namespace

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
