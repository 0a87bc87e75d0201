// The pop-up notice: a small window with a title line, a message and a close
// box that slides up at the bottom right of the work area, stays for a while
// and slides away again. TskMSNPopForm is the component a form places;
// TfrmMSNPopForm is its window.
//
// Who tells whom: the component copies its values into the window and asks it
// to pop up or close; the window runs the slides and the stay time on
// message-loop timers (so a manual clock drives them in tests) and calls the
// component back for clicks and, once per display, when it has gone.
#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "platform/toolkit/Timers.h"

namespace sk {

class TskMSNPopForm;

// Where the notice is at a point of a slide: the part of its resting place
// Rest that shows, growing from (or shrinking to) the bottom edge, never less
// than one row. Progress runs from 0 (nothing shown) to 1 (all of it).
tk::TRect NoticeSlideBounds(const tk::TRect& Rest, double Progress);

class TfrmMSNPopForm : public tk::TForm {
    Q_OBJECT

public:
    enum class TPhase { Hidden, SlidingIn, Shown, SlidingOut };

    explicit TfrmMSNPopForm(tk::TComponent* AOwner);
    ~TfrmMSNPopForm() override;

    tk::TLabel* lbl_title = nullptr;
    tk::TLabel* lbl_text = nullptr;
    tk::TTimer* Timer1 = nullptr;

    // Copied from the component on every pop-up.
    int AnimateTime = 400;
    int StayTime = 2000;
    bool ClickHide = false;
    QPointer<TskMSNPopForm> Notice; // the component that owns this window

    // Slides in to Rest, or, already up, moves there; a notice sliding out
    // ends first. The stay time counts from the end of the first slide in.
    void PopupAt(const tk::TRect& Rest);
    // Stops the stay time and leaves: sliding out, or at once after the
    // close box. Nothing while hidden or already leaving.
    void CloseNotice();

    TPhase Phase() const { return m_phase; }
    tk::TRect RestBounds() const { return m_rest; }
    const tk::TBitmap& Background() const { return m_background; }
    // The close box, in window coordinates (both edges inside).
    static tk::TRect CloseBox() { return tk::Rect(162, 6, 175, 19); }

    void FormCreate(tk::TObject* Sender);
    void FormMouseDown(tk::TObject* Sender, tk::TMouseButton Button, tk::TShiftState Shift, int X,
                       int Y);
    void FormClick(tk::TObject* Sender);
    void lbl_titleClick(tk::TObject* Sender);
    void lbl_textClick(tk::TObject* Sender);
    void Timer1Timer(tk::TObject* Sender);

    // Shows or hides the window without taking the focus from anyone.
    void SetVisible(bool Visible) override;

protected:
    void Paint() override;
    void WMEraseBkgnd(tk::TMessage& Message) override;

private:
    void StartSlide(TPhase Phase);
    void SlideStep();
    void SlideDone();
    void EndDisplay();
    void BodyClicked();
    void InvalidateAll();

    tk::TBitmap m_background;
    TPhase m_phase = TPhase::Hidden;
    tk::TRect m_rest;
    bool m_closedByBox = false;
    bool m_pressInBox = false;
    std::uint32_t m_showTime = 0;
    std::uint32_t m_slideStart = 0;
    tk::TTimer* m_slideTimer = nullptr; // owned by the form
};

class TskMSNPopForm : public tk::TComponent {
    Q_OBJECT
    Q_PROPERTY(int AnimateTime READ AnimateTime WRITE SetAnimateTime)
    Q_PROPERTY(int StayTime READ StayTime WRITE SetStayTime)
    Q_PROPERTY(int PositionX READ PositionX WRITE SetPositionX)
    Q_PROPERTY(int PositionY READ PositionY WRITE SetPositionY)
    Q_PROPERTY(bool AutoPosition READ AutoPosition WRITE SetAutoPosition)
    Q_PROPERTY(bool ClickHide READ ClickHide WRITE SetClickHide)
    Q_PROPERTY(QString Title READ Title WRITE SetTitle)
    Q_PROPERTY(QString MessageText READ MessageText WRITE SetMessageText)
    Q_PROPERTY(tk::TFont* TitleFont READ TitleFont WRITE SetTitleFont)
    Q_PROPERTY(tk::TFont* MessageFont READ MessageFont WRITE SetTextFont)

public:
    explicit TskMSNPopForm(tk::TComponent* AOwner);
    ~TskMSNPopForm() override;

    int AnimateTime() const { return m_animateTime; }
    void SetAnimateTime(int Value) { m_animateTime = Value; }
    int StayTime() const { return m_stayTime; }
    void SetStayTime(int Value) { m_stayTime = Value; }
    int PositionX() const { return m_positionX; }
    void SetPositionX(int Value) { m_positionX = Value; }
    int PositionY() const { return m_positionY; }
    void SetPositionY(int Value) { m_positionY = Value; }
    bool AutoPosition() const { return m_autoPosition; }
    void SetAutoPosition(bool Value) { m_autoPosition = Value; }
    // A click on the body or the message also sends the notice away.
    bool ClickHide() const { return m_clickHide; }
    void SetClickHide(bool Value) { m_clickHide = Value; }
    QString Title() const { return m_title; }
    void SetTitle(const QString& Value) { m_title = Value; }
    QString MessageText() const { return m_messageText; }
    void SetMessageText(const QString& Value) { m_messageText = Value; }
    tk::TFont* TitleFont() const { return m_titleFont.get(); }
    // Copies.
    void SetTitleFont(tk::TFont* Value);
    tk::TFont* MessageFont() const { return m_messageFont.get(); }
    // Copies.
    void SetTextFont(tk::TFont* Value);

    // Shows the notice with the current texts and fonts: at the bottom right
    // of the work area (18 pixels in from its right edge) or at PositionX,
    // PositionY. Again while it is up: new texts, fonts and place.
    void Popup();
    // Sends the notice away (sliding out).
    void Close();

    TfrmMSNPopForm* Window() const { return m_form; }

    tk::TNotifyEvent OnTitleClick;
    tk::TNotifyEvent OnClick;
    // The notice has gone, for whatever reason; once per display.
    tk::TNotifyEvent OnClose;

protected:
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;

private:
    friend class TfrmMSNPopForm;
    void Fire(const tk::TNotifyEvent& Event);

    int m_animateTime = 400;
    int m_stayTime = 2000;
    int m_positionX = 0;
    int m_positionY = 0;
    bool m_autoPosition = true;
    bool m_clickHide = false;
    QString m_title;
    QString m_messageText;
    std::unique_ptr<tk::TFont> m_titleFont;
    std::unique_ptr<tk::TFont> m_messageFont;
    TfrmMSNPopForm* m_form = nullptr; // owned as a component of this one
};

// Makes TskMSNPopForm known to form descriptions (any number of calls).
void RegisterSkinNoticeClasses();

} // namespace sk
