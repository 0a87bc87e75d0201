// The skinned slider: a groove cut from the style's bar image, a thumb from
// its slider image, a value range with page and line steps, ticks, and the
// variant that serves as the track and thumb of a skinned scroll bar.
#pragma once

#include <QObject>
#include <memory>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKImagePanel.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

namespace sk {

// Published so that a form description can say "Orientation = skVertical";
// the progress bar shares it.
struct TskOrientationEnums {
    Q_GADGET

public:
    enum TskProgressBarOrientation { skHorizontal, skVertical };
    Q_ENUM(TskProgressBarOrientation)
};

using TskProgressBarOrientation = TskOrientationEnums::TskProgressBarOrientation;
using enum TskOrientationEnums::TskProgressBarOrientation;

class TskTrackBar : public tk::TCustomPanel {
    Q_OBJECT
    Q_PROPERTY(sk::TskOrientationEnums::TskProgressBarOrientation Orientation READ Orientation WRITE
                   SetOrientation)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(tk::TPicture* BarImage READ BarImage)
    Q_PROPERTY(tk::TPicture* SliderImage READ SliderImage)
    Q_PROPERTY(int Min READ Min WRITE SetMin)
    Q_PROPERTY(int Max READ Max WRITE SetMax)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(int PageSize READ PageSize WRITE SetPageSize)
    Q_PROPERTY(int LineSize READ LineSize WRITE SetLineSize)
    Q_PROPERTY(bool ShowTick READ ShowTick WRITE SetShowTick)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(int Frequency READ Frequency WRITE SetFrequency)

public:
    explicit TskTrackBar(tk::TComponent* AOwner);
    ~TskTrackBar() override;

    TskProgressBarOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TskProgressBarOrientation Value);
    TskFileTheme* FileTheme() const { return m_theme.FileTheme(); }
    void SetFileTheme(TskFileTheme* Value);
    TskUIStyle UIStyle() const { return m_theme.UIStyle(); }
    // MacOS also makes the track transparent.
    void SetUIStyle(TskUIStyle Value);
    tk::TPicture* BarImage() const { return m_barImage.get(); }
    // The thumb's picture.
    tk::TPicture* SliderImage() const;

    int Min() const { return m_min; }
    // A Min above Max becomes Max; Position is pulled into range.
    void SetMin(int Value);
    int Max() const { return m_max; }
    // A Max below Min becomes Min; Position is pulled into range.
    void SetMax(int Value);
    int Position() const { return m_position; }
    // Clamped to [Min, Max].
    void SetPosition(int Value);
    int PageSize() const { return m_pageSize; }
    // Taken only when 0 <= Value <= Max.
    void SetPageSize(int Value);
    int LineSize() const { return m_lineSize; }
    // Taken only when 0 <= Value <= Max.
    void SetLineSize(int Value);
    bool ShowTick() const { return m_showTick; }
    void SetShowTick(bool Value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool Value);
    int Frequency() const { return m_frequency; }
    void SetFrequency(int Value);

    // Position minus the position reported before it, at the latest change.
    int GetLastChange() const { return m_lastChange; }

    // Where the thumb belongs for Position (its top-left corner).
    tk::TPoint GetSliderPosFromPosition() const;
    // The value whose thumb would be centred on the point, clamped.
    int GetPositionFromSliderPos(int X, int Y) const;
    // The thumb, and its bounds in the track.
    TskImagePanel* Slider() const;
    tk::TRect SliderRect() const;
    // The prepared groove (empty for a track without a bar image).
    const tk::TBitmap& Groove() const { return m_groove; }
    bool PageTimerRunning() const { return m_pageTimer; }
    bool Dragging() const { return m_dragging; }

    tk::TNotifyEvent OnChange;

protected:
    virtual void SetSliderImage(const tk::TGraphic* Value);
    // The style's images: bar, thumb, then the cross size and the groove.
    virtual void UpdatePicture();
    // True: the track loads no style images (its owner gives the thumb).
    virtual bool CustomPicture() const { return false; }
    virtual bool SliderTransparent() const { return m_orientation == skHorizontal; }

    // Places the thumb for Position; fires OnChange when the value moved.
    void UpdateSlider();
    // The bar image drawn over the track's length on Color, turned for a
    // vertical track; nothing without a bar image.
    void BuildGroove();

    void Paint() override;
    void WMEraseBkgnd(tk::TMessage& Message) override;
    void WMSize(tk::TMessage& Message) override;
    void WMTimer(tk::TMessage& Message) override;
    void CMColorChanged(tk::TMessage& Message) override;
    void CMMouseLeave(tk::TMessage& Message) override;
    void MouseDown(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y) override;
    void MouseMove(tk::TShiftState Shift, int X, int Y) override;
    void MouseUp(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned& Key, tk::TShiftState Shift) override;
    bool WantsKey(unsigned Key, tk::TShiftState Shift) const override;
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

    TskThemeLink m_theme;

private:
    class Thumb;
    friend class Thumb;

    // From the thumb, in the track's coordinates.
    void ThumbMouseDown(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y);
    void ThumbMouseUp(tk::TMouseButton Button, tk::TShiftState Shift, int X, int Y);
    void DragTo(int X, int Y);
    // One step of at most Step towards the value under (X, Y); nothing while
    // the thumb lies under it.
    void StepTowards(int X, int Y, int Step);
    void StopPaging();
    void DrawTicks(tk::TCanvas& Canvas) const;
    int Length() const;
    int SliderLength() const;
    void TakeFocus();

    TskProgressBarOrientation m_orientation = skHorizontal;
    std::unique_ptr<tk::TPicture> m_barImage;
    Thumb* m_thumb = nullptr; // owned by the track as a component
    tk::TBitmap m_groove;
    int m_min = 0;
    int m_max = 10;
    int m_position = 0;
    int m_pageSize = 2;
    int m_lineSize = 1;
    bool m_showTick = true;
    bool m_transparent = false;
    int m_frequency = 1;
    int m_lastPosition = 0;
    int m_lastChange = 0;
    bool m_pageTimer = false;
    bool m_dragging = false;
    // Where the pointer was last seen over the track while a button is held.
    tk::TPoint m_pointer;
};

// The track and thumb of a skinned scroll bar: no style images (the bar
// builds the thumb), an opaque thumb that can be hidden.
class TskScrollTrackBar : public TskTrackBar {
    Q_OBJECT

public:
    explicit TskScrollTrackBar(tk::TComponent* AOwner);

    bool GetSliderVisible() const;
    void SetSliderVisible(bool Value);
    // The thumb takes its picture's size and its place.
    void UpdateSliderSize();
    // The thumb picture the bar built.
    void SetThumbPicture(const tk::TBitmap* Value) { SetSliderImage(Value); }

protected:
    bool CustomPicture() const override { return true; }
    bool SliderTransparent() const override { return false; }
};

// Makes the track bars known to form descriptions (any number of calls).
void RegisterSkinTrackBarClasses();

} // namespace sk
