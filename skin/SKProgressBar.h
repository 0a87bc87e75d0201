// The skinned progress bar: a one-pixel frame, the filled part stretched from
// the style's progress image, the empty part in a colour of its own and an
// optional centred percentage. A horizontal bar fills from the left, a
// vertical one from the bottom and shows no percentage.
#pragma once

#include <QString>
#include <memory>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"
#include "skin/SKTrackBar.h" // TskProgressBarOrientation, shared with the track bar

namespace sk {

// The percentage the caption shows: 0 for an empty range, otherwise
// (Position - Min) * 100 div (Max - Min), truncated, and not clamped.
int ProgressPercent(int Min, int Max, int Position);
// How much of Length the filled part takes: nothing at or below Min (or for
// an empty or inverted range), all of it above Max.
int ProgressFilledLength(int Min, int Max, int Position, int Length);

class TskProgressBar : public tk::TCustomPanel {
    Q_OBJECT
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(sk::TskOrientationEnums::TskProgressBarOrientation Orientation READ Orientation WRITE
                   SetOrientation)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(tk::TPicture* Picture READ Picture)
    Q_PROPERTY(bool ShowCaption READ ShowCaption WRITE SetShowCaption)
    Q_PROPERTY(quint32 CaptionColor READ CaptionColor WRITE SetCaptionColor)
    Q_PROPERTY(bool SmartShowCaption READ SmartShowCaption WRITE SetSmartShowCaption)

public:
    explicit TskProgressBar(tk::TComponent* AOwner);
    ~TskProgressBar() override;

    // Stored as given (no range checks); the caption follows.
    int Max() const { return m_max; }
    void SetMax(int Value);
    int Min() const { return m_min; }
    void SetMin(int Value);
    int Position() const { return m_position; }
    void SetPosition(int Value);
    void StepIt() { SetPosition(m_position + 1); }
    void StepBy(int Delta) { SetPosition(m_position + Delta); }

    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    // Reloads the picture and both colours from the style.
    void SetUIStyle(TskUIStyle Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    TskProgressBarOrientation Orientation() const { return m_orientation; }
    // Reloads the style's values (the picture turned for a vertical bar) and
    // makes the bar 12 pixels thick and as long as its longer side was.
    void SetOrientation(TskProgressBarOrientation Value);

    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor Value) { StoreAndRepaint(this, m_borderColor, Value); }
    // The empty part's colour, apart from the panel's own. (Hides TControl's.)
    TColor Color() const { return m_color; }
    void SetColor(TColor Value) { StoreAndRepaint(this, m_color, Value); }
    tk::TPicture* Picture() const { return m_picture.get(); }
    // Copies; null clears.
    void SetPicture(const tk::TPicture* Value);
    bool ShowCaption() const { return m_showCaption; }
    void SetShowCaption(bool Value) { StoreAndRepaint(this, m_showCaption, Value); }
    TColor CaptionColor() const { return m_captionColor; }
    void SetCaptionColor(TColor Value) { StoreAndRepaint(this, m_captionColor, Value); }
    // Hides the caption while Position equals Min.
    bool SmartShowCaption() const { return m_smartShowCaption; }
    void SetSmartShowCaption(bool Value) { StoreAndRepaint(this, m_smartShowCaption, Value); }

protected:
    void Paint() override;
    void WMEraseBkgnd(tk::TMessage& Message) override;
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

private:
    void UpdateProgress();
    void UpdatePicture();
    bool CaptionShown() const;
    void PaintHorizontal(tk::TCanvas* Canvas, int W, int H);
    void PaintVertical(tk::TCanvas* Canvas, int W, int H);
    void DrawCaption(tk::TCanvas* Canvas, int W, int H);

    int m_max = 100;
    int m_min = 0;
    int m_position = 50;
    TskThemeLink m_theme;
    TskProgressBarOrientation m_orientation = skHorizontal;
    TColor m_borderColor = tk::clBlack;
    TColor m_color = tk::clWhite;
    std::unique_ptr<tk::TPicture> m_picture;
    bool m_showCaption = true;
    TColor m_captionColor = tk::clBlack;
    bool m_smartShowCaption = false;
};

// Makes TskProgressBar known to form descriptions (any number of calls).
void RegisterSkinProgressBarClasses();

} // namespace sk
