// The skinned edit boxes on real widgets: the border in the style's colours,
// the number box's format, key filter, focus selection and conversion error,
// and the spin box's limits, steps, key filter and arrow buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <limits>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Timers.h"
#include "skin/SKEdit.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;

namespace {

// The locale for a scope: separators come from it.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_saved); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale m_saved;
};

const QLocale kUS(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

struct Host : sktest::THostForm {
    TEdit* other = Add<TEdit>(150, 80); // somewhere for the focus to go

    Host() : THostForm(300, 120) {}
    void ShowActive() {
        form->Show();
        QApplication::setActiveWindow(form->Handle());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    }
    // Into the control and out again, as the user tabs through.
    void EnterAndLeave(TWinControl* c) {
        c->SetFocus();
        other->SetFocus();
    }
};

// Beeps heard while f runs.
template <class F> int Beeps(F f) {
    const int before = EditBeepCount();
    f();
    return EditBeepCount() - before;
}

QImage Grab(TControl* c) {
    return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(SkinEdit, BorderInTheStylesColours) {
    const struct {
        TskUIStyle style;
        TColor border;
    } cases[] = {{MacOS, 0x7F7F7F}, {WinXP, 0x686868}, {Protein, 0}, {BlueGlass, 0}};
    for (const auto& c : cases) {
        Host host;
        auto* edit = host.Add<TskEdit>(10, 10);
        auto* masked = host.Add<TskMaskEdit>(10, 40);
        for (TCustomEdit* e : std::initializer_list<TCustomEdit*>{edit, masked}) {
            e->SetColor(0xE0F0FF);
        }
        edit->SetUIStyle(c.style);
        masked->SetUIStyle(c.style);
        host.form->Show();
        for (TCustomEdit* e : std::initializer_list<TCustomEdit*>{edit, masked}) {
            EXPECT_EQ(e->NonClientBand(), 2);
            const QImage img = Grab(e);
            const QRgb outer = qRgb(GetRValue(c.border), GetGValue(c.border), GetBValue(c.border));
            EXPECT_EQ(img.pixel(0, 0), outer) << c.style;
            EXPECT_EQ(img.pixel(60, img.height() - 1), outer) << c.style;
            EXPECT_EQ(img.pixel(1, 1), qRgb(0xFF, 0xF0, 0xE0)) << c.style;
            EXPECT_EQ(img.pixel(img.width() - 2, 10), qRgb(0xFF, 0xF0, 0xE0)) << c.style;
        }
    }
}

TEST(SkinNumberEdit, ShowsTheMaskAndSelectsTheDecimalsOnEntry) {
    LocaleScope us(kUS);
    Host host;
    auto* number = host.Add<TskNumberEdit>(10, 10);
    EXPECT_EQ(number->Text(), "0.00");
    EXPECT_EQ(number->Alignment(), taRightJustify);
    host.ShowActive();
    EXPECT_TRUE(number->LineEdit()->alignment() & Qt::AlignRight);
    number->SetFocus();
    EXPECT_EQ(number->SelText(), "00");
    EXPECT_EQ(number->SelStart(), 2);
    // A click places the caret, then selects them again.
    QTest::mouseClick(number->LineEdit(), Qt::LeftButton, {}, QPoint(10, 8));
    EXPECT_EQ(number->SelText(), "00");

    number->SetMask("#,##0.00");
    number->SetValue(1234567.891);
    EXPECT_EQ(number->Text(), "1,234,567.89");
    EXPECT_DOUBLE_EQ(number->Value(), 1234567.89);
    const LocaleScope german(kGerman);
    number->SetValue(-1234.5);
    EXPECT_EQ(number->Text(), "-1.234,50");
}

TEST(SkinNumberEdit, KeyFilterRefusesWithABeep) {
    LocaleScope us(kUS);
    const struct {
        const char* mask;
        const char* text;
        int caret;
        char key;
        const char* result; // null: refused
    } cases[] = {
        {"0.00", "", 0, '-', nullptr},         {"0.00", "12", 2, '7', "127"},
        {"0.00", "12", 2, '.', "12."},         {"0.00", "1.5", 3, '.', nullptr},
        {"0", "12", 2, '.', nullptr},          {"0.00", "12", 2, 'a', nullptr},
        {"0.00", "12", 2, ',', nullptr},       {"0.00;-0.00", "5", 0, '-', "-5"},
        {"0.00;-0.00", "-5", 0, '-', nullptr}, {"0.00;-0.00", "5", 1, '-', nullptr},
    };
    Host host;
    auto* number = host.Add<TskNumberEdit>(10, 10);
    host.ShowActive();
    number->SetFocus();
    for (const auto& c : cases) {
        number->SetMask(QString::fromLatin1(c.mask));
        number->SetText(QString::fromLatin1(c.text));
        number->LineEdit()->setCursorPosition(c.caret);
        const int beeps = Beeps([&] { QTest::keyClick(number->LineEdit(), c.key); });
        const QString expected = QString::fromLatin1(c.result ? c.result : c.text);
        EXPECT_EQ(number->Text(), expected) << c.mask << " " << c.text << " " << c.key;
        EXPECT_EQ(number->LineEdit()->text(), expected);
        EXPECT_EQ(beeps, c.result ? 0 : 1) << c.mask << " " << c.text << " " << c.key;
    }
    // Backspace is always a key of the box.
    number->SetText("12");
    EXPECT_EQ(Beeps([&] { QTest::keyClick(number->LineEdit(), Qt::Key_Backspace); }), 0);
    EXPECT_EQ(number->Text(), "1");
}

TEST(SkinNumberEdit, LeavingWritesTheValueBackInTheMasksFormat) {
    const struct {
        const QLocale* locale;
        const char* text;
        const char* left;
        double value;
    } cases[] = {
        {&kUS, "-", "0.00", 0},
        {&kUS, "", "0.00", 0},
        {&kUS, "1234,5", "12345.00", 12345},
        {&kUS, "7.125", "7.13", 7.13},
        {&kGerman, "1.234,5", "1234,50", 1234.5},
    };
    for (const auto& c : cases) {
        LocaleScope locale(*c.locale);
        Host host;
        auto* number = host.Add<TskNumberEdit>(10, 10);
        host.ShowActive();
        number->SetText(QString::fromLatin1(c.text));
        host.EnterAndLeave(number);
        EXPECT_EQ(number->Text(), QString::fromLatin1(c.left)) << c.text;
        EXPECT_DOUBLE_EQ(number->Value(), c.value) << c.text;
    }
}

TEST(SkinNumberEdit, TextThatIsNoNumberGoesBackAndIsReported) {
    LocaleScope us(kUS);
    TApplication app;
    QStringList reported;
    app.OnException = [&](TObject*, const Exception& e) { reported << e.Message(); };
    Host host;
    auto* number = host.Add<TskNumberEdit>(10, 10);
    number->SetValue(12.5);
    host.ShowActive();
    int changes = 0;
    number->OnChange = [&](TObject*) { ++changes; };

    number->SetText("1.2.3");
    EXPECT_EQ(number->Text(), "12.50");
    // Typed or pasted into the native edit: it shows the restored text too.
    number->LineEdit()->setText("abc");
    EXPECT_EQ(number->Text(), "12.50");
    EXPECT_EQ(number->LineEdit()->text(), "12.50");
    EXPECT_DOUBLE_EQ(number->Value(), 12.5);
    EXPECT_EQ(reported, (QStringList{"'1.2.3' is not a valid floating point value",
                                     "'abc' is not a valid floating point value"}));
    EXPECT_EQ(changes, 2); // the restored texts, not the refused ones

    // A mask with text of its own does not read back: one report, no
    // endless restoring. A value without digits shows as 0.
    reported.clear();
    number->SetMask("$0.00");
    EXPECT_EQ(number->Text(), "$12.50");
    EXPECT_EQ(reported.size(), 1);
    number->SetMask("0.00");
    number->SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(number->Text(), "0.00");
    number->SetValue(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(number->Text(), "0.00");
}

TEST(SkinSpinEdit, LimitsStepsAndTheTextThatIsNoNumber) {
    const struct {
        int min, max;
        const char* text;
        const char* left; // after leaving the box
    } limits[] = {
        {1, 10, "25", "10"},
        {1, 10, "-3", "1"},
        {0, 0, "25", "25"},
        {0, 0, "-7", "-7"},
    };
    for (const auto& c : limits) {
        Host host;
        auto* spin = host.Add<TskSpinEdit>(10, 10);
        spin->SetMinValue(c.min);
        spin->SetMaxValue(c.max);
        host.ShowActive();
        spin->SetText(QString::fromLatin1(c.text));
        host.EnterAndLeave(spin);
        EXPECT_EQ(spin->Text(), QString::fromLatin1(c.left)) << c.text;
    }

    Host host;
    auto* spin = host.Add<TskSpinEdit>(10, 10);
    EXPECT_EQ(spin->Text(), "0");
    spin->SetMinValue(1);
    spin->SetMaxValue(10);
    spin->SetIncrement(4);
    host.ShowActive();
    spin->SetText("abc");
    EXPECT_EQ(spin->Value(), 1);
    spin->SetFocus();
    QTest::keyClick(spin->LineEdit(), Qt::Key_Up);
    EXPECT_EQ(spin->Text(), "5");
    QTest::keyClick(spin->LineEdit(), Qt::Key_Up);
    QTest::keyClick(spin->LineEdit(), Qt::Key_Up);
    EXPECT_EQ(spin->Text(), "10");
    QTest::keyClick(spin->LineEdit(), Qt::Key_Down);
    EXPECT_EQ(spin->Text(), "6");
    EXPECT_TRUE(spin->Focused()); // the arrows are the box's, not the form's

    // Without limits a step stops at the end of the integers.
    spin->SetMinValue(0);
    spin->SetMaxValue(0);
    spin->SetText("2147483646");
    QTest::keyClick(spin->LineEdit(), Qt::Key_Up);
    QTest::keyClick(spin->LineEdit(), Qt::Key_Up);
    EXPECT_EQ(spin->Text(), "2147483647");
}

TEST(SkinSpinEdit, ReadOnlyBeepsAndAClosedEditorTakesOnlyTheArrows) {
    Host host;
    auto* spin = host.Add<TskSpinEdit>(10, 10);
    spin->SetText("3");
    host.ShowActive();
    spin->SetFocus();

    spin->SetReadOnly(true);
    QWidget* up = spin->Button()->UpButton()->Handle();
    EXPECT_EQ(Beeps([&] { QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(4, 4)); }), 1);
    EXPECT_EQ(Beeps([&] { QTest::keyClick(spin->LineEdit(), Qt::Key_Down); }), 1);
    EXPECT_EQ(spin->Text(), "3");
    spin->SetReadOnly(false);

    spin->SetEditorEnabled(false);
    for (Qt::Key key : {Qt::Key_5, Qt::Key_Backspace, Qt::Key_Minus, Qt::Key_Space}) {
        EXPECT_EQ(Beeps([&] { QTest::keyClick(spin->LineEdit(), key); }), 1) << key;
    }
    EXPECT_EQ(spin->Text(), "3");
    QApplication::clipboard()->setText("42");
    QTest::keyClick(spin->LineEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(spin->Text(), "3");
    QTest::keyClick(spin->LineEdit(), Qt::Key_Up);
    EXPECT_EQ(spin->Text(), "4");

    spin->SetEditorEnabled(true);
    EXPECT_EQ(Beeps([&] { QTest::keyClick(spin->LineEdit(), Qt::Key_7); }), 0);
    EXPECT_EQ(Beeps([&] { QTest::keyClick(spin->LineEdit(), Qt::Key_Return); }), 1);
    EXPECT_EQ(spin->Text(), "47");
}

TEST(SkinSpinEdit, ArrowButtonsClickAndRepeatEvery400Milliseconds) {
    const struct {
        bool up;
        int held;
        const char* text; // from 50
    } cases[] = {{true, 100, "51"}, {true, 1000, "53"}, {false, 1000, "47"}, {false, 399, "49"}};
    for (const auto& c : cases) {
        TManualClockScope clock;
        Host host;
        auto* spin = host.Add<TskSpinEdit>(10, 10);
        spin->SetValue(50);
        host.form->Show();
        TskSpinButtons* buttons = spin->Button();
        QWidget* arrow = (c.up ? buttons->UpButton() : buttons->DownButton())->Handle();
        QTest::mousePress(arrow, Qt::LeftButton, {}, QPoint(4, 4));
        clock.Clock().Advance(c.held);
        QTest::mouseRelease(arrow, Qt::LeftButton, {}, QPoint(4, 4));
        EXPECT_EQ(spin->Text(), QString::fromLatin1(c.text)) << c.up << " " << c.held;
    }
}

TEST(SkinSpinEdit, ButtonsSitInsideTheBorderBesideTheText) {
    Host host;
    auto* spin = host.Add<TskSpinEdit>(10, 10);
    spin->SetBounds(10, 10, 80, 25);
    host.form->Show();
    TskSpinButtons* buttons = spin->Button();
    EXPECT_EQ(buttons->BoundsRect(), Rect(80 - 15 - 4, 0, 80 - 4, 21));
    EXPECT_EQ(buttons->UpButton()->BoundsRect(), Rect(0, 0, 15, 11));
    EXPECT_EQ(buttons->DownButton()->BoundsRect(), Rect(0, 10, 15, 21));
    EXPECT_EQ(spin->LineEdit()->textMargins().right(), 17);
    buttons->SetWidth(8); // never narrower than 15
    EXPECT_EQ(buttons->Width(), 15);
    // The buttons follow the style of the box.
    spin->SetUIStyle(MacOS);
    EXPECT_EQ(buttons->UIStyle(), MacOS);
    EXPECT_EQ(buttons->DownButton()->UIStyle(), MacOS);
}
