// The skinned scroll bar: two arrow buttons cut from the style's button
// strip and a scroll track whose thumb is built from three style slices.
#pragma once

#include <QObject>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKButton.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"
#include "skin/SKTrackBar.h"

namespace sk {

class TskScrollBar : public tk::TCustomPanel {
    Q_OBJECT
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskOrientationEnums::TskProgressBarOrientation Orientation READ Orientation WRITE
                   SetOrientation)
    Q_PROPERTY(int LineButton READ LineButton WRITE SetLineButton)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int PageSize READ PageSize WRITE SetPageSize)
    Q_PROPERTY(int SmallChange READ SmallChange WRITE SetSmallChange)
    Q_PROPERTY(int LargeChange READ LargeChange WRITE SetLargeChange)

public:
    explicit TskScrollBar(tk::TComponent* AOwner);
    ~TskScrollBar() override;

    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    void SetUIStyle(TskUIStyle Value);
    TskProgressBarOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TskProgressBarOrientation Value);
    // The thumb's length in pixels (at least 18); 0 sizes it from PageSize.
    // Refused when it does not fit between the buttons.
    int LineButton() const { return m_lineButton; }
    void SetLineButton(int Value);

    int Max() const { return m_track->Max(); }
    void SetMax(int Value) { m_track->SetMax(Value); }
    int Min() const { return m_track->Min(); }
    void SetMin(int Value) { m_track->SetMin(Value); }
    int Position() const { return m_track->Position(); }
    void SetPosition(int Value);
    // The track's page size; between 10 and 100 it is the thumb's length in
    // percent of the track, otherwise the thumb takes 10 percent.
    int PageSize() const { return m_track->PageSize(); }
    void SetPageSize(int Value);
    int SmallChange() const { return m_smallChange; }
    void SetSmallChange(int Value) { m_smallChange = Value; }
    // The track's page size, without rebuilding the thumb.
    int LargeChange() const { return m_track->PageSize(); }
    void SetLargeChange(int Value) { m_track->SetPageSize(Value); }

    int GetLastChange() const { return m_track->GetLastChange(); }
    // The track's change event.
    tk::TNotifyEvent& OnChange() { return m_track->OnChange; }

    void SetVisible(bool Value) override;

    TskScrollTrackBar* TrackBar() const { return m_track; }
    TskImageButton* DecButton() const { return m_dec; }
    TskImageButton* IncButton() const { return m_inc; }

protected:
    void WMSize(tk::TMessage& Message) override;
    void CMColorChanged(tk::TMessage& Message) override;
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

private:
    // Colour, arrow pictures and thumb slices from the style.
    void UpdatePictures();
    void PlaceTrackBarAndButton();
    void UpdateSliderPic();
    TskImageButton* MakeButton(int Step);
    int ButtonLengths() const;

    TskThemeLink m_theme;
    TskProgressBarOrientation m_orientation = skHorizontal;
    int m_lineButton = 0;
    int m_smallChange = 1;
    // Owned by the bar as components.
    TskScrollTrackBar* m_track = nullptr;
    TskImageButton* m_dec = nullptr;
    TskImageButton* m_inc = nullptr;
    // Thumb start cap, middle and end cap, turned for a vertical bar.
    tk::TBitmap m_thumbStart;
    tk::TBitmap m_thumbMiddle;
    tk::TBitmap m_thumbEnd;
    bool m_placing = false;
};

// Makes TskScrollBar known to form descriptions (any number of calls).
void RegisterSkinScrollBarClasses();

} // namespace sk
