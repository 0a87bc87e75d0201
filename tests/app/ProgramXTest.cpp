// The program as a user meets it, on a real X server with real input: it
// starts on a book named in its settings, deletes every duplicate after a
// click on the top row's "Delete" and a Yes, and ends by "Exit".
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <functional>
#include <thread>

#include "common/oe/CxWab.h"
#include "common/oe/WabRecord.h"
#include "tests/support/Xvfb.h"
#include "tools/wabtool/WabClient.h"

// Last: its macros (None, Bool, ...) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using Names = std::vector<std::string>;

QString BinaryDir() {
    return qEnvironmentVariable("QUENBY_BINARY_DIR") + QStringLiteral("/bin");
}

bool WaitFor(const std::function<bool()>& condition, int ms = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

void MakeBook(const std::string& file, const std::vector<std::pair<std::string, std::string>>& c) {
    wabtool::AddressBook book;
    ASSERT_EQ(book.Open(file, WAB_CREATE_STORE), S_OK);
    for (const auto& [name, email] : c) {
        SPropValue props[2] = {};
        props[0].ulPropTag = PR_DISPLAY_NAME;
        props[0].Value.lpszA = const_cast<char*>(name.c_str());
        props[1].ulPropTag = PR_EMAIL_ADDRESS;
        props[1].Value.lpszA = const_cast<char*>(email.c_str());
        ASSERT_EQ(book.Add(MAPI_MAILUSER, props, 2), S_OK);
    }
}

Names StoreNames(const std::string& file) {
    CxWab wab(file.c_str());
    Names names;
    for (WabRecord* r = wab.GetFirstRecord(); r != nullptr; r = wab.GetNextRecord()) {
        names.emplace_back(r->szDisplayName);
    }
    return names;
}

// The X server as a user's hands and eyes.
class XScreen {
public:
    explicit XScreen(const QString& display) : m_display(XOpenDisplay(display.toLatin1())) {}
    ~XScreen() {
        if (m_display) {
            XCloseDisplay(m_display);
        }
    }
    XScreen(const XScreen&) = delete;
    XScreen& operator=(const XScreen&) = delete;
    bool Open() const { return m_display != nullptr; }

    // The mapped top-level window of that title, and where it is.
    bool FindWindow(const char* title, Window& found, QRect& where) {
        Window root = DefaultRootWindow(m_display);
        Window parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        bool ok = false;
        if (XQueryTree(m_display, root, &root, &parent, &children, &count)) {
            for (unsigned i = 0; i < count && !ok; ++i) {
                char* name = nullptr;
                XWindowAttributes a{};
                if (XFetchName(m_display, children[i], &name) && name &&
                    std::string(name) == title &&
                    XGetWindowAttributes(m_display, children[i], &a) && a.map_state == IsViewable) {
                    found = children[i];
                    where = QRect(a.x, a.y, a.width, a.height);
                    ok = true;
                }
                if (name) {
                    XFree(name);
                }
            }
            if (children) {
                XFree(children);
            }
        }
        return ok;
    }
    // Whether keys typed now go to that window: it, or one inside it, holds
    // the input focus. A box is mapped a moment before it takes the focus.
    bool HasFocus(Window w) {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(m_display, &focus, &revert);
        const Window root = DefaultRootWindow(m_display);
        while (focus != 0 && focus != PointerRoot && focus != root) {
            if (focus == w) {
                return true;
            }
            Window r = 0;
            Window parent = 0;
            Window* children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(m_display, focus, &r, &parent, &children, &count)) {
                return false;
            }
            if (children) {
                XFree(children);
            }
            focus = parent;
        }
        return false;
    }
    void Click(QPoint p) {
        XTestFakeMotionEvent(m_display, -1, p.x(), p.y(), CurrentTime);
        XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
        XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        XSync(m_display, False);
    }
    void DoubleClick(QPoint p) {
        XTestFakeMotionEvent(m_display, -1, p.x(), p.y(), CurrentTime);
        for (int i = 0; i < 2; ++i) {
            XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
            XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
        }
        XSync(m_display, False);
    }
    void Key(KeySym key) {
        const KeyCode code = XKeysymToKeycode(m_display, key);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        XSync(m_display, False);
    }
    QImage Shot(const QRect& r) {
        QImage out(r.size(), QImage::Format_RGB32);
        XImage* img = XGetImage(m_display, DefaultRootWindow(m_display), r.x(), r.y(),
                                static_cast<unsigned>(r.width()), static_cast<unsigned>(r.height()),
                                AllPlanes, ZPixmap);
        if (!img) {
            return {};
        }
        for (int y = 0; y < r.height(); ++y) {
            for (int x = 0; x < r.width(); ++x) {
                out.setPixel(x, y, 0xFF000000u | (XGetPixel(img, x, y) & 0xFFFFFFu));
            }
        }
        XDestroyImage(img);
        return out;
    }

private:
    Display* m_display;
};

} // namespace

TEST(ProgramUnderX, DeletesAllDuplicatesFromItsTopRowAndExits) {
    testsupport::TXvfb xvfb;
    if (!xvfb.Running()) {
        GTEST_SKIP() << xvfb.Failure();
    }
    // The program in a folder of its own, so its settings are its own.
    QTemporaryDir tmp;
    const QString folder = tmp.filePath("program");
    QDir().mkpath(folder);
    for (const char* file : {"quenby", "libwab32.so"}) {
        ASSERT_TRUE(QFile::copy(BinaryDir() + "/" + file, folder + "/" + file)) << file;
    }
    const std::string book = tmp.filePath("book.wab").toStdString();
    MakeBook(book, {{"Ann", "x@example.org"},
                    {"Bob", "y@example.org"},
                    {"Ann Copy", "X@EXAMPLE.ORG"},
                    {"Bob Copy", "y@example.org"},
                    {"Cid", "c@example.org"}});
    {
        QFile ini(folder + "/brindle.ini");
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Quenby]\nWabName=" + QByteArray::fromStdString(book) +
                  "\nCheckMail=1\nCheckName=0\n");
    }

    QProcessEnvironment env = xvfb.Environment(tmp.path());
    env.insert("XDG_DATA_HOME", tmp.filePath("xdg"));
    env.insert("QUENBY_REGISTRY_DIR", tmp.filePath("registry"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(folder);
    program.start(folder + "/quenby", {});
    ASSERT_TRUE(program.waitForStarted(10000));

    XScreen screen(env.value("DISPLAY"));
    ASSERT_TRUE(screen.Open());
    Window main = 0;
    QRect at;
    ASSERT_TRUE(WaitFor([&] {
        return screen.FindWindow("Quenby for WAB - Clean Outlook Express Address Book", main, at);
    })) << program.readAllStandardError().toStdString();
    EXPECT_EQ(at.size(), QSize(800, 600));
    // Centred on the 1024 x 768 screen.
    EXPECT_EQ(at.topLeft(), QPoint(112, 84));
    QTest::qWait(300);
    screen.Shot(at).save(qEnvironmentVariable("QUENBY_BINARY_DIR") + "/artifacts/program-xvfb.png");

    // A double click on the caption maximises to the work area, another
    // restores the 800 x 600 the resize limit would not let a user choose.
    screen.DoubleClick(QPoint(at.x() + 400, at.y() + 15));
    EXPECT_TRUE(WaitFor([&] {
        return screen.FindWindow("Quenby for WAB - Clean Outlook Express Address Book", main, at) &&
               at.size() == QSize(1024, 767);
    })) << at.width()
        << " x " << at.height();
    screen.DoubleClick(QPoint(at.x() + 400, at.y() + 15));
    EXPECT_TRUE(WaitFor([&] {
        return screen.FindWindow("Quenby for WAB - Clean Outlook Express Address Book", main, at) &&
               at == QRect(112, 84, 800, 600);
    })) << at.x()
        << ", " << at.y() << " " << at.width() << " x " << at.height();

    // The top row's buttons sit 35 pixels into the panel below the title and
    // menu bars, inside the 3-pixel frame: Delete at 434, Exit at 704.
    const int rowY = at.y() + 3 + 52 + 35 + 13;
    screen.Click(QPoint(at.x() + 3 + 434 + 40, rowY));
    Window box = 0;
    QRect boxAt;
    ASSERT_TRUE(WaitFor([&] { return screen.FindWindow("Confirmation", box, boxAt); }));
    ASSERT_TRUE(WaitFor([&] { return screen.HasFocus(box); })) << "the box never took the focus";
    screen.Key(XK_Return); // Yes is the default button
    EXPECT_TRUE(WaitFor([&] {
        return StoreNames(book) == Names{"Ann", "Bob", "Cid"};
    })) << ::testing::PrintToString(StoreNames(book));
    QTest::qWait(300);
    screen.Shot(at).save(qEnvironmentVariable("QUENBY_BINARY_DIR") +
                         "/artifacts/program-xvfb-deleted.png");

    screen.Click(QPoint(at.x() + 3 + 704 + 40, rowY));
    ASSERT_TRUE(program.waitForFinished(10000)) << "Exit did not end the program";
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(StoreNames(book), (Names{"Ann", "Bob", "Cid"}));
    QFile ini(folder + "/brindle.ini");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(), "[Quenby]\nWabName=" + QByteArray::fromStdString(book) +
                                 "\nCheckMail=1\nCheckName=0\n");
}
