// The border of the skinned lists and edit boxes: a one-pixel frame in
// BorderColor around the whole control and one in the control's Color just
// inside it, filling its two-pixel non-client band. The colour comes from the
// style (theme item 25) until one is stored after the style.
#pragma once

#include "platform/toolkit/Controls.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

namespace sk {

class TskControlBorder {
public:
    // Starts in the style of the control's owner form.
    explicit TskControlBorder(tk::TWinControl* Control);
    TskControlBorder(const TskControlBorder&) = delete;
    TskControlBorder& operator=(const TskControlBorder&) = delete;

    TColor BorderColor() const { return m_color; }
    void SetBorderColor(TColor Value);
    // Stores the style and takes its border colour.
    void SetUIStyle(TskUIStyle Value);
    const TskThemeLink& Theme() const { return m_theme; }
    // For the control's SetFileTheme: true when it must re-apply its style.
    bool SetFileTheme(TskFileTheme* Value) { return m_theme.SetFileTheme(Value); }
    // For the control's Notification: true when its theme went away.
    bool ThemeRemoved(tk::TComponent* AComponent, tk::TOperation Operation) {
        return m_theme.ThemeRemoved(AComponent, Operation);
    }

    // For WM_NCPAINT, after the band's own painting.
    void Paint(const tk::TMessage& Message) const;

private:
    tk::TWinControl* m_control;
    TskThemeLink m_theme;
    TColor m_color = tk::clBlack;
};

// A toolkit list or edit (Base) in the skinned border, with the published
// members the border brings (the class that publishes them declares the
// properties): opaque, no border style, a two-pixel band, the owner form's
// style.
template <class Base> class TskBordered : public Base {
public:
    explicit TskBordered(tk::TComponent* AOwner) : Base(AOwner) {
        this->SetControlStyle(this->ControlStyle() | tk::csOpaque);
        this->SetBorderStyle(tk::bsNone);
        this->SetBorderWidth(2);
        m_border.SetUIStyle(m_border.Theme().UIStyle());
    }

    TColor BorderColor() const { return m_border.BorderColor(); }
    void SetBorderColor(TColor Value) { m_border.SetBorderColor(Value); }
    TskUIStyle UIStyle() const { return m_border.Theme().UIStyle(); }
    // Overwrites BorderColor.
    void SetUIStyle(TskUIStyle Value) {
        m_border.SetUIStyle(Value);
        UIStyleChanged();
    }
    TskFileTheme* FileTheme() const { return m_border.Theme().FileTheme(); }
    void SetFileTheme(TskFileTheme* Value) {
        if (m_border.SetFileTheme(Value)) {
            SetUIStyle(UIStyle());
        }
    }

protected:
    virtual void UIStyleChanged() {}
    const TskThemeLink& Theme() const { return m_border.Theme(); }

    void WMNCPaint(tk::TMessage& Message) override {
        Base::WMNCPaint(Message);
        m_border.Paint(Message);
    }
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override {
        Base::Notification(AComponent, Operation);
        if (m_border.ThemeRemoved(AComponent, Operation)) {
            SetUIStyle(DeepBlue);
        }
    }

private:
    TskControlBorder m_border{this};
};

} // namespace sk
