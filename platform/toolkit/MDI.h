// Multiple-document parents: the MDI client, a control on Qt's MDI area that
// holds child forms, keeps one of them active, maximises, minimises and
// restores them and tiles or cascades them; and TMDIForm, a form with one.
//
// Messages. The client's WindowProc sees the MDI messages below. Sent to it
// by code they are requests, which its own handling carries out (the child in
// WParam). The client also sends them to itself, with LParam kMDINotice, as
// notices of what happened some other way: a child maximised or restored from
// its own title bar or by Qt (the next child of a maximised one comes up
// maximised), the active child changed (WM_MDISETMENU). A component that
// hooks the client's WindowProc therefore hears of every change; notices are
// not acted on by the client itself.
//
// Children. A form becomes a child with AddChild; from then on its window
// lives in a sub-window of the area, which has Qt's frame when the form keeps
// its system caption and none when it draws its own (a skinned form); the
// form's bounds are its window's place in the client. A minimised child shows
// as Qt's small title bar at the bottom of the area.
#pragma once

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <cstdint>
#include <vector>

#include "platform/toolkit/Forms.h"

namespace tk {

enum : unsigned {
    WM_MDIACTIVATE = 0x0222, // to a child: WParam the child losing, LParam the one gaining
    WM_MDIRESTORE = 0x0223,
    WM_MDIMAXIMIZE = 0x0225,
    WM_MDITILE = 0x0226, // WParam: the TTileMode
    WM_MDICASCADE = 0x0227,
    WM_MDIGETACTIVE = 0x0229, // Result: the active child
    WM_MDISETMENU = 0x0230,   // notice: the active child changed, and menus follow it
    WM_MDIREFRESHMENU = 0x0234,
};
// LParam of a message the client sends itself to tell what happened.
inline constexpr std::intptr_t kMDINotice = 1;

struct TMDIEnums {
    Q_GADGET

public:
    // Horizontal: children one above the other; vertical: side by side.
    enum TTileMode { tbHorizontal, tbVertical };
    Q_ENUM(TTileMode)
};
using TTileMode = TMDIEnums::TTileMode;
using enum TMDIEnums::TTileMode;

class TMDIClient : public TWinControl, public TFormSite {
    Q_OBJECT

public:
    explicit TMDIClient(TComponent* AOwner);
    ~TMDIClient() override;

    // Takes the form in as a child (its FormStyle becomes fsMDIChild); shown
    // or not as the form is.
    void AddChild(TCustomForm* Child);
    // The visible children, the topmost (the active one) first.
    std::vector<TCustomForm*> Children() const;
    TCustomForm* ActiveChild() const;
    // The visible child that is maximised, if any.
    TCustomForm* MaximizedChild() const;
    QMdiArea* Area() const { return m_area.data(); }

    void PlaceForm(TCustomForm* Form) override;
    void ShowForm(TCustomForm* Form, bool Visible) override;
    void FormStateChanged(TCustomForm* Form) override;
    void FormFrameChanged(TCustomForm* Form) override;
    bool FormActive(const TCustomForm* Form) const override;
    void ActivateForm(TCustomForm* Form) override;

protected:
    void WndProc(TMessage& Message) override;
    void CreateHandle() override;
    void DestroyHandle() override;
    void WMSize(TMessage& Message) override;
    void CMColorChanged(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    struct Child {
        TCustomForm* form;
        QPointer<QMdiSubWindow> window;
        TWindowState shown = wsNormal; // the state last applied to or read from the window
    };
    Child* Find(const TCustomForm* Form);
    const Child* Find(const TCustomForm* Form) const;
    Child* Find(const QObject* Window);
    void Embed(Child& C);
    void Release(Child& C);
    void ApplyFrame(Child& C, TWindowState State);
    void ApplyState(Child& C, TWindowState State);
    void SyncFromWindow(Child& C);
    void FitWidget(Child& C);
    void WindowActivated(QMdiSubWindow* Window);
    void SetActive(TCustomForm* Form);
    void ActivateNext(const std::vector<TCustomForm*>& Pile, const TCustomForm* Leaving);
    void NoticeMaximized();
    void Maximize(TCustomForm* Form);
    void Restore(TCustomForm* Form);
    void Tile(TTileMode Mode);
    void Cascade();

    std::vector<Child> m_children; // in the order they came
    QPointer<QMdiArea> m_area;     // a child of the client's window
    TCustomForm* m_active = nullptr;
    TCustomForm* m_noticedMaximized = nullptr; // what the last notice told
    int m_syncing = 0;
    bool m_releasing = false;
};

class TMDIForm : public TForm {
    Q_OBJECT
    Q_PROPERTY(tk::TMDIEnums::TTileMode TileMode READ TileMode WRITE SetTileMode)

public:
    explicit TMDIForm(TComponent* AOwner);

    TMDIClient* MDIClient() const { return m_client; }
    void AddMDIChild(TCustomForm* Child);
    int MDIChildCount() const;
    // Topmost first.
    TCustomForm* MDIChildren(int Index) const;
    TCustomForm* ActiveMDIChild() const;
    TTileMode TileMode() const { return m_tileMode; }
    void SetTileMode(TTileMode Mode) { m_tileMode = Mode; }
    void Tile();
    void Cascade();

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TMDIClient* m_client = nullptr; // owned as a component of the form
    TTileMode m_tileMode = tbHorizontal;
};

} // namespace tk
