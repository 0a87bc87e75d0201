// Where the settings live: beside the program while its folder can be
// written, else in the user's configuration folder, so an installed program
// keeps them too.
#include <QFile>

#include "tests/app/AppTestSupport.h"

using namespace apptest;

namespace {

class SettingsPlace : public AppFixture {
protected:
    QString ProgramFolder() const { return Path("prog"); }

    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(QDir().mkpath(ProgramFolder()));
        win32test::SetProgramFileName((ProgramFolder() + "/quenby").toStdString());
    }
    void TearDown() override {
        // The temporary folder must be removable again.
        QFile::setPermissions(ProgramFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        AppFixture::TearDown();
    }

    static void Write(const QString& file, const QString& text) {
        QDir().mkpath(QFileInfo(file).path());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }
    static QString Read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

TEST_F(SettingsPlace, BesideAWritableProgramElseInTheUsersConfigurationFolder) {
    const QString book = Book({{"Ann", "a@x.org"}, {"Bob", "b@x.org"}});
    const QString beside = ProgramFolder() + "/brindle.ini";
    struct Case {
        const char* what;
        bool writable;
        QString xdg; // empty: not set
        QString expected;
        QString other;
    };
    const Case cases[] = {
        {"writable folder", true, Path("config"), beside, Path("config/quenby/brindle.ini")},
        {"read-only folder", false, Path("config"), Path("config/quenby/brindle.ini"), beside},
        {"read-only, no XDG_CONFIG_HOME",
         false,
         {},
         Path("home/.config/quenby/brindle.ini"),
         beside},
        {"read-only, a relative XDG_CONFIG_HOME", false, "config",
         Path("home/.config/quenby/brindle.ini"), beside},
    };
    ScopedEnv home("HOME", Path("home"));
    ScopedEnv keep("XDG_CONFIG_HOME", {}); // restored after the cases
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(Path("config")).removeRecursively();
        QDir(Path("home")).removeRecursively();
        QFile::setPermissions(ProgramFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::remove(beside);
        if (!c.xdg.isEmpty()) {
            setenv("XDG_CONFIG_HOME", c.xdg.toLocal8Bit().constData(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
        Write(c.expected, "[Quenby]\nWabName=" + book + "\nCheckMail=0\nCheckName=1\n");
        if (!c.writable) {
            // No write bit at all: read-only even when the tests run as root.
            QFile::setPermissions(ProgramFolder(), QFile::ReadOwner | QFile::ExeOwner);
        }

        TfmMain* fm = Start();
        EXPECT_EQ(QString::fromUtf8(fm->m_szWabName), book);
        EXPECT_EQ(Names(fm->slvItems), (std::vector<std::string>{"Ann", "Bob"}));
        fm->m_bCheckMail = true;
        form.reset();

        // Kept where they were read, for the next run; nothing elsewhere.
        EXPECT_EQ(Read(c.expected), "[Quenby]\nWabName=" + book + "\nCheckMail=1\nCheckName=1\n");
        EXPECT_FALSE(QFile::exists(c.other));
        TfmMain* again = Start();
        EXPECT_TRUE(again->m_bCheckMail);
        form.reset();
    }
}

TEST_F(SettingsPlace, FirstRunOfAnInstalledProgramMakesItsConfigurationFolder) {
    ScopedEnv xdg("XDG_CONFIG_HOME", Path("fresh/config"));
    Book({{"Ann", "a@x.org"}}, QString());
    QFile::setPermissions(ProgramFolder(), QFile::ReadOwner | QFile::ExeOwner);
    TfmMain* fm = Start();
    EXPECT_EQ(Names(fm->slvItems), (std::vector<std::string>{"Ann"}));
    EXPECT_FALSE(QDir(Path("fresh")).exists()) << "reading makes nothing";
    form.reset();
    EXPECT_EQ(Read(Path("fresh/config/quenby/brindle.ini")),
              "[Quenby]\nWabName=\nCheckName=0\nCheckMail=1\n");
    EXPECT_TRUE(Boxes().empty());
}

} // namespace
