// The skinned tool bar: the toolkit's tool bar whose flat buttons are drawn,
// while the pointer is over them or they are pressed, checked or dropped
// down, as a rectangle in the style's tool-bar colours. MacOS and Protein bars
// let their parent's background show behind the buttons.
#pragma once

#include "platform/toolkit/ToolBar.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

namespace sk {

// How a button looks in a custom-draw state: the toolkit's own drawing, the
// hot rectangle or the pressed one.
enum class TskToolButtonLook { Default, Hot, Down };
TskToolButtonLook ToolButtonLook(tk::TCustomDrawState State);

// Where a skinned button's image and caption go inside its rectangle R.
// ImageWidth and ImageHeight are 0 when the bar has no images; CaptionWidth is
// measured without access-key marks.
struct TskToolButtonPlaces {
    tk::TPoint image;
    tk::TPoint caption;
};
TskToolButtonPlaces ToolButtonPlaces(const tk::TRect& R, bool List, bool DropDown, bool Down,
                                     int ImageWidth, int ImageHeight, int CaptionWidth);

class TskToolBar : public tk::TToolBar {
    Q_OBJECT
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(quint32 ButtonColor READ ButtonColor WRITE SetButtonColor)
    Q_PROPERTY(quint32 ButtonBorderColor READ ButtonBorderColor WRITE SetButtonBorderColor)
    Q_PROPERTY(quint32 ButtonDownColor READ ButtonDownColor WRITE SetButtonDownColor)

public:
    explicit TskToolBar(tk::TComponent* AOwner);

    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    // The three button colours from the style; transparent for MacOS and
    // Protein; no edges.
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    TColor ButtonColor() const { return m_buttonColor; }
    void SetButtonColor(TColor Value) { StoreAndRepaint(this, m_buttonColor, Value); }
    TColor ButtonBorderColor() const { return m_buttonBorderColor; }
    void SetButtonBorderColor(TColor Value) { StoreAndRepaint(this, m_buttonBorderColor, Value); }
    TColor ButtonDownColor() const { return m_buttonDownColor; }
    void SetButtonDownColor(TColor Value) { StoreAndRepaint(this, m_buttonDownColor, Value); }

protected:
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

private:
    void DrawBar(tk::TToolBar* Bar, const tk::TRect& Rect, bool& DefaultDraw);
    void DrawButton(tk::TToolBar* Bar, tk::TToolButton* Button, tk::TCustomDrawState State,
                    bool& DefaultDraw);
    void DrawDropDownMark(tk::TCanvas* Canvas, const tk::TRect& R);

    TskThemeLink m_theme;
    TColor m_buttonColor = 0;
    TColor m_buttonBorderColor = 0;
    TColor m_buttonDownColor = 0;
};

// Makes TskToolBar, and the toolkit's classes its buttons are, known to form
// descriptions (any number of calls).
void RegisterSkinToolBarClasses();

} // namespace sk
