#include "skin/SKEdit.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/toolkit/Application.h"
#include "platform/win32/Win32.h"

namespace sk {

using namespace tk;

namespace {

int g_beeps = 0;

QString DecimalSeparator() {
    return QLocale().decimalPoint();
}

QString WithoutThousands(QString text) {
    const QString group = QLocale().groupSeparator();
    if (!group.isEmpty()) {
        text.remove(group);
    }
    return text;
}

// Puts sep between every three digits from the right.
QString Grouped(const QString& digits, const QString& sep) {
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += sep;
        }
        out += digits[i];
    }
    return out;
}

// The value's digits rounded to Decimals places, ties away from zero as the
// shortest decimal form of the value reads ("7.125" gives "7.13").
QString RoundedDigits(double Value, int Decimals) {
    const QString exact = QString::number(Value, 'f', QLocale::FloatingPointShortest);
    const qsizetype point = exact.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? exact : exact.left(point);
    QString frac = point < 0 ? QString() : exact.mid(point + 1);
    const bool up = frac.size() > Decimals && frac[Decimals] >= QLatin1Char('5');
    frac = frac.left(Decimals).leftJustified(Decimals, QLatin1Char('0'));
    QString digits = whole + frac;
    if (up) {
        qsizetype i = digits.size() - 1;
        while (i >= 0 && digits[i] == QLatin1Char('9')) {
            digits[i--] = QLatin1Char('0');
        }
        if (i < 0) {
            digits.prepend(QLatin1Char('1'));
        } else {
            digits[i] = QChar(digits[i].unicode() + 1);
        }
    }
    if (Decimals == 0) {
        return digits;
    }
    return digits.left(digits.size() - Decimals) + QLatin1Char('.') + digits.right(Decimals);
}

bool IsPlaceholder(QChar c) {
    return c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') ||
           c == QLatin1Char(',');
}

// Reports through the application's exception box, as an escaped handler's
// error is; nothing may be thrown through the native edit's signals.
void ReportConversionError(TObject* Sender, const QString& Text) {
    try {
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Text));
    } catch (...) {
        if (Application) {
            Application->HandleException(Sender);
        }
    }
}

} // namespace

void EditBeep() {
    ++g_beeps;
    MessageBeep(0);
}

int EditBeepCount() {
    return g_beeps;
}

// ---- TskNumberEdit ---------------------------------------------------------------

TskNumberEdit::TskNumberEdit(TComponent* AOwner) : TskEdit(AOwner) {
    SetAlignment(taRightJustify);
    SetValue(0);
}

QString TskNumberEdit::FormatFloat(const QString& Mask, double Value) {
    const QString section = Mask.section(QLatin1Char(';'), 0, 0);
    qsizetype first = 0;
    while (first < section.size() && !IsPlaceholder(section[first])) {
        ++first;
    }
    qsizetype last = section.size();
    while (last > first && !IsPlaceholder(section[last - 1])) {
        --last;
    }
    const QString body = section.mid(first, last - first);
    const qsizetype point = body.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? body : body.left(point);
    const QString fracPart = point < 0 ? QString() : body.mid(point + 1);
    const auto minInt = static_cast<int>(intPart.count(QLatin1Char('0')));
    const auto minFrac = static_cast<int>(fracPart.count(QLatin1Char('0')));
    const auto maxFrac = minFrac + static_cast<int>(fracPart.count(QLatin1Char('#')));

    const QString digits = RoundedDigits(std::fabs(Value), maxFrac);
    QString whole = digits.section(QLatin1Char('.'), 0, 0);
    QString frac = digits.section(QLatin1Char('.'), 1, 1);
    while (frac.size() > minFrac && frac.endsWith(QLatin1Char('0'))) {
        frac.chop(1);
    }
    if (whole == QLatin1String("0") && minInt == 0) {
        whole.clear();
    }
    while (whole.size() < minInt) {
        whole.prepend(QLatin1Char('0'));
    }
    const QLocale locale;
    if (intPart.contains(QLatin1Char(','))) {
        whole = Grouped(whole, locale.groupSeparator());
    }
    QString number = frac.isEmpty() ? whole : whole + locale.decimalPoint() + frac;
    // No minus in front of a value that shows as zero.
    const bool zero = std::all_of(number.cbegin(), number.cend(),
                                  [](QChar c) { return !c.isDigit() || c == QLatin1Char('0'); });
    if (Value < 0 && !zero) {
        number.prepend(QLatin1Char('-'));
    }
    return section.left(first) + number + section.mid(last);
}

void TskNumberEdit::SetMask(const QString& Value) {
    m_mask = Value;
    SetValue(m_value);
}

void TskNumberEdit::SetValue(double Value) {
    // An infinity or NaN has no text that would read back.
    m_value = std::isfinite(Value) ? Value : 0;
    SetText(FormatFloat(m_mask, m_value));
}

bool TskNumberEdit::TakeText(const QString& Text) {
    bool ok = false;
    const double v = QLocale().toDouble(WithoutThousands(Text), &ok);
    if (ok && std::isfinite(v)) {
        m_value = v;
        return true;
    }
    // A mask with text of its own does not read back: restore once, and
    // let the restored text stand.
    if (m_restoring) {
        return false;
    }
    m_restoring = true;
    SetValue(m_value);
    m_restoring = false;
    ReportConversionError(this, Text);
    return false;
}

void TskNumberEdit::Change() {
    const QString text = Text();
    if (!text.isEmpty() && text != QLatin1String("-") && !TakeText(text)) {
        return;
    }
    TskEdit::Change();
}

void TskNumberEdit::KeyPress(QChar& Key) {
    TskEdit::KeyPress(Key);
    if (Key.isNull()) {
        return;
    }
    const QString decimal = DecimalSeparator();
    const QString text = Text();
    const bool accepted =
        (Key >= QLatin1Char('0') && Key <= QLatin1Char('9')) || Key == QLatin1Char('\b') ||
        (QString(Key) == decimal && m_mask.contains(QLatin1Char('.'), Qt::CaseInsensitive) &&
         !text.contains(decimal, Qt::CaseInsensitive)) ||
        (Key == QLatin1Char('-') && m_mask.contains(QLatin1Char('-'), Qt::CaseInsensitive) &&
         SelStart() == 0 && !text.contains(QLatin1Char('-')));
    if (!accepted) {
        EditBeep();
        Key = QChar();
    }
}

void TskNumberEdit::SelectSigns() {
    if (m_autoSelectSigns > 0 && AutoSelect()) {
        const auto length = static_cast<int>(Text().size());
        const int count = std::min(m_autoSelectSigns, length);
        SetSel(length - count, count);
    }
}

void TskNumberEdit::DoEnter() {
    TskEdit::DoEnter();
    SelectSigns();
}

void TskNumberEdit::Click() {
    TskEdit::Click();
    SelectSigns();
}

void TskNumberEdit::DoExit() {
    if (Text().isEmpty() || Text() == QLatin1String("-")) {
        SetText(QStringLiteral("0"));
    }
    if (TakeText(Text())) {
        SetValue(m_value);
    }
    TskEdit::DoExit();
}

// ---- TskSpinButtons --------------------------------------------------------------

TskSpinButtons::TskSpinButtons(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle((ControlStyle() & ~(csAcceptsControls | csSetCaption)) | csOpaque);
    m_up = MakeButton(skUp);
    m_down = MakeButton(skDown);
    SetBounds(0, 0, 20, 25);
    PublishEvent("OnUpClick", OnUpClick);
    PublishEvent("OnDownClick", OnDownClick);
}

TskArrowButton* TskSpinButtons::MakeButton(TskArrowButtonType Arrow) {
    auto* b = new TskArrowButton(this); // owned by the spin buttons
    b->SetParent(this);
    b->SetArrow(Arrow);
    b->SetTabStop(false);
    b->SetMouseContinuouslyDownInterval(400);
    b->OnClick = [this](TObject* s) { ButtonClick(s); };
    b->OnMouseContinuouslyDown = [this](TObject* s) { ButtonClick(s); };
    return b;
}

void TskSpinButtons::ButtonClick(TObject* Sender) {
    const TNotifyEvent& event = Sender == m_up ? OnUpClick : OnDownClick;
    if (event) {
        event(this);
    }
}

TskFileTheme* TskSpinButtons::FileTheme() const {
    return m_up ? m_up->FileTheme() : nullptr;
}

void TskSpinButtons::SetFileTheme(TskFileTheme* Value) {
    m_up->SetFileTheme(Value);
    m_down->SetFileTheme(Value);
}

TskUIStyle TskSpinButtons::UIStyle() const {
    return m_up ? m_up->UIStyle() : DeepBlue;
}

void TskSpinButtons::SetUIStyle(TskUIStyle Value) {
    m_up->SetUIStyle(Value);
    m_down->SetUIStyle(Value);
}

void TskSpinButtons::Layout() {
    if (Width() < 15) {
        SetWidth(15);
        return; // the size change lays out again
    }
    const int upHeight = Height() / 2 + 1;
    m_up->SetBounds(0, 0, Width(), upHeight);
    m_down->SetBounds(0, upHeight - 1, Width(), Height() - upHeight + 1);
}

void TskSpinButtons::WMSize(TMessage& Message) {
    TCustomControl::WMSize(Message);
    Layout();
}

void TskSpinButtons::Loaded() {
    TCustomControl::Loaded();
    Layout();
}

bool TskSpinButtons::WantsKey(unsigned Key, TShiftState /*Shift*/) const {
    return Key == VK_UP || Key == VK_DOWN;
}

void TskSpinButtons::KeyDown(unsigned& Key, TShiftState Shift) {
    if (Key == VK_UP) {
        m_up->Click();
    } else if (Key == VK_DOWN) {
        m_down->Click();
    }
    TCustomControl::KeyDown(Key, Shift);
}

// ---- TskSpinEdit -----------------------------------------------------------------

TskSpinEdit::TskSpinEdit(TComponent* AOwner) : TskEdit(AOwner) {
    m_buttons = new TskSpinButtons(this); // owned by the edit
    m_buttons->SetParent(this);
    m_buttons->SetBounds(0, 0, 15, 20);
    m_buttons->OnUpClick = [this](TObject* s) { UpClick(s); };
    m_buttons->OnDownClick = [this](TObject* s) { DownClick(s); };
    SetText(QStringLiteral("0"));
    UIStyleChanged();
    Layout();
}

void TskSpinEdit::UIStyleChanged() {
    if (m_buttons) {
        m_buttons->SetUIStyle(UIStyle());
        m_buttons->SetFileTheme(FileTheme());
    }
}

void TskSpinEdit::SetEditorEnabled(bool Value) {
    m_editorEnabled = Value;
    if (QLineEdit* edit = LineEdit()) {
        edit->setContextMenuPolicy(Value ? Qt::DefaultContextMenu : Qt::NoContextMenu);
    }
}

int TskSpinEdit::CheckValue(long long Value) const {
    if (m_minValue != m_maxValue) {
        if (Value < m_minValue) {
            Value = m_minValue;
        } else if (Value > m_maxValue) {
            Value = m_maxValue;
        }
    }
    return static_cast<int>(std::clamp<long long>(Value, INT_MIN, INT_MAX));
}

int TskSpinEdit::Value() const {
    bool ok = false;
    const int v = Text().toInt(&ok);
    return ok ? v : m_minValue;
}

void TskSpinEdit::SetValue(int Value) {
    SetText(QString::number(CheckValue(Value)));
}

void TskSpinEdit::Step(long long Delta) {
    if (ReadOnly()) {
        EditBeep();
    } else {
        SetValue(CheckValue(Value() + Delta));
    }
}

void TskSpinEdit::UpClick(TObject* /*Sender*/) {
    Step(m_increment);
}

void TskSpinEdit::DownClick(TObject* /*Sender*/) {
    Step(-static_cast<long long>(m_increment));
}

bool TskSpinEdit::IsValidChar(QChar Key) const {
    const char16_t c = Key.unicode();
    const bool control = c < 32 && c != 13;
    bool valid = control || Key == QLatin1Char('-') || (c >= u'0' && c <= u'9');
    if (!m_editorEnabled && (c == 8 || c >= 32)) {
        valid = false;
    }
    return valid;
}

void TskSpinEdit::KeyPress(QChar& Key) {
    if (!IsValidChar(Key)) {
        Key = QChar();
        EditBeep();
        return;
    }
    TskEdit::KeyPress(Key);
}

bool TskSpinEdit::WantsKey(unsigned Key, TShiftState Shift) const {
    return Key == VK_UP || Key == VK_DOWN || TskEdit::WantsKey(Key, Shift);
}

void TskSpinEdit::KeyDown(unsigned& Key, TShiftState Shift) {
    const unsigned key = Key;
    if (key == VK_UP) {
        UpClick(this);
    } else if (key == VK_DOWN) {
        DownClick(this);
    }
    TskEdit::KeyDown(Key, Shift);
    // The single-line edit has no use for them; Qt would pass them on.
    if (key == VK_UP || key == VK_DOWN) {
        Key = 0;
    }
}

void TskSpinEdit::WndProc(TMessage& Message) {
    // Cutting and pasting change the text: only an editable box takes them.
    if (Message.Msg == WM_KEYDOWN && Message.Event && Message.Event->type() == QEvent::KeyPress &&
        (!m_editorEnabled || ReadOnly())) {
        const auto* key = static_cast<QKeyEvent*>(Message.Event);
        if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut)) {
            return;
        }
    }
    TskEdit::WndProc(Message);
}

void TskSpinEdit::DoExit() {
    const int value = Value();
    if (CheckValue(value) != value) {
        SetValue(value);
    }
    TskEdit::DoExit();
}

void TskSpinEdit::Layout() {
    if (!m_buttons) {
        return;
    }
    m_buttons->SetBounds(Width() - m_buttons->Width() - 4, 0, m_buttons->Width(),
                         std::max(Height() - 4, 0));
    // The text stops short of the buttons.
    if (QLineEdit* edit = LineEdit()) {
        edit->setTextMargins(0, 0, m_buttons->Width() + 2, 0);
    }
}

void TskSpinEdit::NativeWidgetCreated() {
    TskEdit::NativeWidgetCreated();
    SetEditorEnabled(m_editorEnabled);
    Layout();
}

void TskSpinEdit::WMSize(TMessage& Message) {
    TskEdit::WMSize(Message);
    Layout();
}

void TskSpinEdit::Loaded() {
    TskEdit::Loaded();
    Layout();
}

void RegisterSkinEditClasses() {
    static const bool done = [] {
        RegisterSkinButtonClasses();
        RegisterClass<TskEdit>();
        RegisterClass<TskMaskEdit>();
        RegisterClass<TskNumberEdit>();
        RegisterClass<TskSpinButtons>();
        RegisterClass<TskSpinEdit>();
        return true;
    }();
    (void)done;
}

} // namespace sk
