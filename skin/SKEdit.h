// The skinned text boxes: the native single-line edit inside the two-line
// skinned border, a right-aligned number box with a format mask and a key
// filter, and an integer box with a pair of arrow buttons.
#pragma once

#include <QObject>
#include <QString>

#include "platform/toolkit/Edits.h"
#include "platform/toolkit/Exceptions.h"
#include "skin/SKButton.h"
#include "skin/SKControlBorder.h"

namespace sk {

// A text that is not a number.
class EConvertError : public tk::Exception {
public:
    using Exception::Exception;
};

// The beep of a refused key or of a step on a read-only box (MessageBeep(0)),
// counted so that a refusal can be told from a key that did nothing.
void EditBeep();
int EditBeepCount();

class TskEdit : public TskBordered<tk::TEdit> {
    Q_OBJECT
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)

public:
    explicit TskEdit(tk::TComponent* AOwner) : TskBordered(AOwner) {}
};

// The toolkit's masked edit in the skinned border.
class TskMaskEdit : public TskBordered<tk::TMaskEdit> {
    Q_OBJECT
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)

public:
    explicit TskMaskEdit(tk::TComponent* AOwner) : TskBordered(AOwner) {}
};

// A right-aligned decimal number shown in Mask's format with the locale's
// separators. Only digits, one decimal separator (when the mask has a point),
// backspace and a leading minus (when the mask has one) can be typed.
class TskNumberEdit : public TskEdit {
    Q_OBJECT
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(int AutoSelectSigns READ AutoSelectSigns WRITE SetAutoSelectSigns)

public:
    explicit TskNumberEdit(tk::TComponent* AOwner);

    QString Mask() const { return m_mask; }
    // Shows Value in the new format.
    void SetMask(const QString& Value);
    double Value() const { return m_value; }
    void SetValue(double Value);
    // How many trailing characters entering the box selects.
    int AutoSelectSigns() const { return m_autoSelectSigns; }
    void SetAutoSelectSigns(int Value) { m_autoSelectSigns = Value; }

    // Value formatted by a mask: '0' a digit, '#' a digit shown when needed,
    // '.' the decimal separator, ',' in the integer part groups thousands;
    // text before the first and after the last of these is kept.
    static QString FormatFloat(const QString& Mask, double Value);

    void Click() override;

protected:
    void Change() override;
    void KeyPress(QChar& Key) override;
    void DoEnter() override;
    void DoExit() override;

private:
    // The text without thousands separators as a number; on failure the last
    // good value comes back and the error goes to the exception box.
    bool TakeText(const QString& Text);
    void SelectSigns();

    QString m_mask = QStringLiteral("0.00");
    double m_value = 0;
    int m_autoSelectSigns = 2;
    bool m_restoring = false;
};

// Two arrow buttons stacked; each clicks once and repeats every 400 ms while
// held.
class TskSpinButtons : public tk::TCustomControl {
    Q_OBJECT
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)

public:
    explicit TskSpinButtons(tk::TComponent* AOwner);

    TskFileTheme* FileTheme() const;
    void SetFileTheme(TskFileTheme* Value);
    TskUIStyle UIStyle() const;
    void SetUIStyle(TskUIStyle Value);

    TskArrowButton* UpButton() const { return m_up; }
    TskArrowButton* DownButton() const { return m_down; }

    tk::TNotifyEvent OnUpClick;
    tk::TNotifyEvent OnDownClick;

protected:
    void WMSize(tk::TMessage& Message) override;
    void KeyDown(unsigned& Key, tk::TShiftState Shift) override;
    bool WantsKey(unsigned Key, tk::TShiftState Shift) const override;
    void Loaded() override;

private:
    TskArrowButton* MakeButton(TskArrowButtonType Arrow);
    void ButtonClick(tk::TObject* Sender);
    void Layout();

    // Owned by the control as components.
    TskArrowButton* m_up = nullptr;
    TskArrowButton* m_down = nullptr;
};

// An integer box with arrow buttons. MinValue = MaxValue means no limits.
class TskSpinEdit : public TskEdit {
    Q_OBJECT
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_PROPERTY(int Increment READ Increment WRITE SetIncrement)
    Q_PROPERTY(bool EditorEnabled READ EditorEnabled WRITE SetEditorEnabled)
    Q_PROPERTY(int Value READ Value WRITE SetValue)

public:
    explicit TskSpinEdit(tk::TComponent* AOwner);

    int MinValue() const { return m_minValue; }
    void SetMinValue(int Value) { m_minValue = Value; }
    int MaxValue() const { return m_maxValue; }
    void SetMaxValue(int Value) { m_maxValue = Value; }
    int Increment() const { return m_increment; }
    void SetIncrement(int Value) { m_increment = Value; }
    // False: only the arrows change the value.
    bool EditorEnabled() const { return m_editorEnabled; }
    void SetEditorEnabled(bool Value);
    // The text as an integer; MinValue when it is none.
    int Value() const;
    // The value within the limits, as text.
    void SetValue(int Value);

    TskSpinButtons* Button() const { return m_buttons; }

protected:
    virtual bool IsValidChar(QChar Key) const;
    virtual void UpClick(tk::TObject* Sender);
    virtual void DownClick(tk::TObject* Sender);

    void UIStyleChanged() override;
    void NativeWidgetCreated() override;
    void WndProc(tk::TMessage& Message) override;
    void WMSize(tk::TMessage& Message) override;
    void KeyDown(unsigned& Key, tk::TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool WantsKey(unsigned Key, tk::TShiftState Shift) const override;
    void DoExit() override;
    void Loaded() override;

private:
    int CheckValue(long long Value) const;
    void Step(long long Delta);
    void Layout();

    TskSpinButtons* m_buttons = nullptr; // owned by the edit as a component
    int m_minValue = 0;
    int m_maxValue = 0;
    int m_increment = 1;
    bool m_editorEnabled = true;
};

// Makes the edit boxes known to form descriptions (any number of calls).
void RegisterSkinEditClasses();

} // namespace sk
