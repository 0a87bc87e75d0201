// The skinned status bar: the toolkit's status bar in the style's face colour,
// with a size grip of its own in the corner.
#pragma once

#include "platform/toolkit/StatusBar.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

namespace sk {

class TskStatusBar : public tk::TStatusBar {
    Q_OBJECT
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(quint32 PanelColor READ PanelColor WRITE SetPanelColor)

public:
    explicit TskStatusBar(tk::TComponent* AOwner);
    ~TskStatusBar() override;

    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    // PanelColor := the style's form background colour (item 15).
    void SetUIStyle(TskUIStyle Value);
    // The same value as Color.
    TColor PanelColor() const { return Color(); }
    void SetPanelColor(TColor Value) { SetColor(Value); }

protected:
    void Paint() override;
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

private:
    TskThemeLink m_theme;
};

} // namespace sk
