// The skinned report list: the toolkit's list view inside the two-line
// skinned border, whose scroll state can be mirrored on skinned scroll bars
// that lie over its own.
#pragma once

#include <QObject>
#include <QPointer>

#include "platform/toolkit/ListView.h"
#include "skin/SKControlBorder.h"
#include "skin/SKScrollBar.h"

class QScrollBar;

namespace sk {

class TskListView : public TskBordered<tk::TListView> {
    Q_OBJECT
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(sk::TskScrollBar* VScrollBar READ VScrollBar WRITE SetVScrollBar)
    Q_PROPERTY(sk::TskScrollBar* HScrollBar READ HScrollBar WRITE SetHScrollBar)

public:
    explicit TskListView(tk::TComponent* AOwner);
    ~TskListView() override;

    // Bars the list drives; not owned. A bar given up gets back its plain
    // settings.
    TskScrollBar* VScrollBar() const { return m_vBar; }
    void SetVScrollBar(TskScrollBar* Value);
    TskScrollBar* HScrollBar() const { return m_hBar; }
    void SetHScrollBar(TskScrollBar* Value);

    // The native bars' state into the linked bars: shown (with the native
    // thumb's length) or hidden and disabled, range and position.
    void UpdateScrollBars();
    // The linked bars over the list's own, then UpdateScrollBars.
    void UpdateScrollBarsPos();
    // Set while UpdateScrollBars runs; the bars' change events are ignored.
    bool IsUpdating() const { return m_updating; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetEnabled(bool Value) override;

protected:
    // Restyles the linked bars.
    void UIStyleChanged() override;
    void WndProc(tk::TMessage& Message) override;
    void CMVisibleChanged(tk::TMessage& Message) override;
    void NativeWidgetCreated() override;
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;
    void Loaded() override;

private:
    void Link(TskScrollBar*& Slot, TskScrollBar* Value, TskProgressBarOrientation Orientation);
    void Release(TskScrollBar* Bar);
    void UpdateBar(TskScrollBar* Bar, bool Vertical);
    void ApplyStyleTo(TskScrollBar* Bar) const;
    void BarChanged(TskScrollBar* Bar);
    void WatchNativeBar(QScrollBar* Bar, int Slot);

    TskScrollBar* m_vBar = nullptr;
    TskScrollBar* m_hBar = nullptr;
    bool m_updating = false;
    bool m_leftDown = false;
    // The native bars whose range changes are watched.
    QPointer<QScrollBar> m_watched[2];
};

// Makes TskListView (and the scroll bars) known to form descriptions.
void RegisterSkinListViewClasses();

} // namespace sk
