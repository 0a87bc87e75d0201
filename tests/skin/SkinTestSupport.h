// Small skinned stand-ins for the skin tests: a control that follows the
// style protocol, and one that publishes a style only.
#pragma once

#include <QImage>

#include "platform/toolkit/Controls.h"
#include "platform/toolkit/Forms.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

namespace sktest {

// Follows the protocol with a TskThemeLink and remembers what it loaded.
class TskTestControl : public tk::TCustomControl {
    Q_OBJECT
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)

public:
    explicit TskTestControl(tk::TComponent* owner)
        : tk::TCustomControl(owner), m_theme(this, sk::GetSKFormStyle(owner)) {}

    sk::TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    void SetUIStyle(sk::TskUIStyle v) {
        m_theme.SetUIStyle(v);
        borderColor = m_theme.GetColor(sk::siControlBorderColor);
        ++applied;
        Invalidate();
    }
    sk::TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(sk::TskFileTheme* v) {
        if (m_theme.SetFileTheme(v)) {
            SetUIStyle(UIStyle());
        }
    }
    const sk::TskThemeLink& Theme() const { return m_theme; }

    tk::TColor borderColor = 0;
    int applied = 0;

protected:
    void Notification(tk::TComponent* c, tk::TOperation op) override {
        tk::TCustomControl::Notification(c, op);
        if (m_theme.ThemeRemoved(c, op)) {
            SetUIStyle(sk::DeepBlue);
        }
    }

private:
    sk::TskThemeLink m_theme;
};

// Publishes UIStyle only, like the title-bar buttons.
class TskTestStyleOnly : public tk::TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle MEMBER style)
public:
    using tk::TGraphicControl::TGraphicControl;
    sk::TskUIStyle style = sk::MacOS;
};

// A borderless form to place controls on; they are owned by the form.
struct THostForm {
    tk::TComponentPtr<tk::TForm> form{new tk::TForm(nullptr)};

    THostForm(int width, int height) {
        form->SetBorderStyle(tk::bsNone);
        form->SetBounds(0, 0, width, height);
    }
    template <class T> T* Add(int left, int top) {
        auto* c = new T(form.get()); // owned by the form
        c->SetParent(form.get());
        c->SetLeft(left);
        c->SetTop(top);
        return c;
    }
};

inline QString ArtifactsDir() {
    return qEnvironmentVariable("QUENBY_BINARY_DIR") + QStringLiteral("/artifacts");
}

} // namespace sktest
