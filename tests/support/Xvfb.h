// A bare X server (no window manager) for the real-window tests: started on
// a free display, stopped with the object. Tests skip, with the reason,
// where it cannot run.
#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>

namespace testsupport {

class TXvfb {
public:
    // Extra arguments go to the server (a root window colour, say).
    explicit TXvfb(const QStringList& extra = {}) {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty()) {
            m_failure = "Xvfb is not installed";
            return;
        }
        m_server.setProcessChannelMode(QProcess::SeparateChannels);
        // -displayfd 1: the server picks a free display and tells us on stdout.
        m_server.start(xvfb, QStringList{"-displayfd", "1", "-screen", "0", "1024x768x24",
                                         "-nolisten", "tcp"} +
                                 extra);
        if (!m_server.waitForStarted(5000)) {
            m_failure = "Xvfb could not start";
            return;
        }
        for (int i = 0; i < 50 && m_display.isEmpty(); ++i) {
            m_server.waitForReadyRead(200);
            m_display = QString::fromLatin1(m_server.readAllStandardOutput()).trimmed();
        }
        if (m_display.isEmpty()) {
            m_failure = "Xvfb started but gave no display";
            m_server.kill();
            m_server.waitForFinished();
        }
    }
    ~TXvfb() {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            m_server.waitForFinished(5000);
        }
    }
    TXvfb(const TXvfb&) = delete;
    TXvfb& operator=(const TXvfb&) = delete;

    bool Running() const { return !m_display.isEmpty(); }
    std::string Failure() const { return m_failure.toStdString(); }
    // This environment with the display set and Qt on X.
    QProcessEnvironment Environment(const QString& runtimeDir) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", ":" + m_display);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_RUNTIME_DIR", runtimeDir);
        return env;
    }

private:
    QProcess m_server;
    QString m_display;
    QString m_failure;
};

} // namespace testsupport
