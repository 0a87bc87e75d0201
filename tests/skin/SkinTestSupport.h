// Small skinned stand-ins for the skin tests: a control that follows the
// style protocol, and one that publishes a style only.
#pragma once

#include <QImage>

#include "platform/toolkit/Controls.h"
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

inline QString ArtifactsDir() {
    return qEnvironmentVariable("QUENBY_BINARY_DIR") + QStringLiteral("/artifacts");
}

} // namespace sktest
