#include "skin/SKListView.h"

#include <QScrollBar>
#include <QTreeView>
#include <cstdlib>

namespace sk {

using namespace tk;

TskListView::TskListView(TComponent* AOwner) : TskBordered(AOwner) {}

TskListView::~TskListView() {
    // The bars outlive the list: they must not call back into it.
    for (TskScrollBar* bar : {m_vBar, m_hBar}) {
        if (bar) {
            bar->OnChange() = nullptr;
            RemoveFreeNotification(bar);
        }
    }
}

void TskListView::UIStyleChanged() {
    ApplyStyleTo(m_vBar);
    ApplyStyleTo(m_hBar);
}

void TskListView::ApplyStyleTo(TskScrollBar* Bar) const {
    if (!Bar) {
        return;
    }
    const TskThemeLink& theme = Theme();
    if (theme.UsesFileTheme()) {
        Bar->SetFileTheme(theme.FileTheme());
        Bar->SetUIStyle(FromThemeFile);
    } else {
        Bar->SetUIStyle(theme.UsedStyle());
    }
}

void TskListView::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == TOperation::opRemove) {
        if (AComponent == m_vBar) {
            m_vBar = nullptr;
        }
        if (AComponent == m_hBar) {
            m_hBar = nullptr;
        }
    }
    TskBordered::Notification(AComponent, Operation);
}

void TskListView::SetVScrollBar(TskScrollBar* Value) {
    Link(m_vBar, Value, skVertical);
}

void TskListView::SetHScrollBar(TskScrollBar* Value) {
    Link(m_hBar, Value, skHorizontal);
}

void TskListView::Link(TskScrollBar*& Slot, TskScrollBar* Value,
                       TskProgressBarOrientation Orientation) {
    if (Value == Slot) {
        return;
    }
    if (Slot) {
        Release(Slot);
    }
    Slot = Value;
    if (!Value) {
        return;
    }
    FreeNotification(Value);
    Value->SetSmallChange(5);
    Value->SetOrientation(Orientation);
    Value->OnChange() = [this, Value](TObject*) { BarChanged(Value); };
    Value->BringToFront();
    UpdateScrollBarsPos();
}

void TskListView::Release(TskScrollBar* Bar) {
    RemoveFreeNotification(Bar);
    Bar->OnChange() = nullptr;
    Bar->SetLineButton(0);
    Bar->SetMax(100);
    Bar->SetEnabled(true);
}

void TskListView::BarChanged(TskScrollBar* Bar) {
    if (m_updating) {
        return;
    }
    const int change = Bar->GetLastChange();
    if (Bar == m_hBar) {
        Scroll(change, 0);
    } else if (Bar == m_vBar) {
        if (ViewStyle() == vsReport) {
            ScrollLines(change);
            Invalidate();
        } else {
            Scroll(0, change);
        }
    }
}

void TskListView::UpdateScrollBars() {
    if (IsLoading()) {
        return;
    }
    const bool wasUpdating = m_updating;
    m_updating = true;
    UpdateBar(m_vBar, true);
    UpdateBar(m_hBar, false);
    m_updating = wasUpdating;
}

void TskListView::UpdateBar(TskScrollBar* Bar, bool Vertical) {
    if (!Bar) {
        return;
    }
    const TScrollBarInfo info = ScrollBarInfo(Vertical);
    const bool shown = info.visible && info.enabled;
    Bar->SetLineButton(shown ? std::abs(info.thumbLength) : 0);
    Bar->SetEnabled(shown);
    Bar->SetVisible(shown);
    const TScrollInfo si = ScrollInfo(Vertical);
    Bar->SetMax(si.nMax - si.nPage + 1);
    Bar->SetMin(si.nMin);
    Bar->SetPosition(si.nPos);
}

void TskListView::UpdateScrollBarsPos() {
    if (IsLoading()) {
        return;
    }
    if (m_hBar) {
        if (Height() < m_hBar->Height()) {
            m_hBar->SetTop(Top());
        } else {
            const int room = m_vBar && m_vBar->Visible() ? m_vBar->Width() : 0;
            m_hBar->SetBounds(Left() + 1, Top() + Height() - m_hBar->Height() - 2,
                              Width() - room - 2, m_hBar->Height());
        }
    }
    if (m_vBar) {
        if (Width() < m_vBar->Width()) {
            m_vBar->SetLeft(Left());
        } else {
            const int room = m_hBar && m_hBar->Visible() ? m_hBar->Height() : 0;
            m_vBar->SetBounds(Left() + Width() - m_vBar->Width() - 2, Top() + 1, m_vBar->Width(),
                              Height() - room - 2);
        }
    }
    UpdateScrollBars();
}

void TskListView::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TskBordered::SetBounds(ALeft, ATop, AWidth, AHeight);
    UpdateScrollBarsPos();
}

void TskListView::SetEnabled(bool Value) {
    TskBordered::SetEnabled(Value);
    UpdateScrollBars();
}

void TskListView::CMVisibleChanged(TMessage& Message) {
    TskBordered::CMVisibleChanged(Message);
    if (Visible()) {
        UpdateScrollBars();
        return;
    }
    for (TskScrollBar* bar : {m_vBar, m_hBar}) {
        if (bar) {
            bar->SetVisible(false);
        }
    }
}

void TskListView::Loaded() {
    TskBordered::Loaded();
    UpdateScrollBarsPos();
}

void TskListView::WndProc(TMessage& Message) {
    const unsigned msg = Message.Msg;
    if (msg == WM_LBUTTONDOWN) {
        m_leftDown = true;
    }
    QPointer<QObject> alive(this);
    TskBordered::WndProc(Message);
    if (!alive) {
        return;
    }
    switch (msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_KEYDOWN:
    case WM_MOUSEWHEEL:
    case WM_LBUTTONDOWN:
        UpdateScrollBars();
        break;
    case WM_MOUSEMOVE:
        if (m_leftDown) {
            UpdateScrollBars();
        }
        break;
    case WM_LBUTTONUP:
        m_leftDown = false;
        break;
    default:
        break;
    }
}

void TskListView::NativeWidgetCreated() {
    TskBordered::NativeWidgetCreated();
    if (QTreeView* view = View()) {
        WatchNativeBar(view->verticalScrollBar(), 0);
        WatchNativeBar(view->horizontalScrollBar(), 1);
    }
}

void TskListView::WatchNativeBar(QScrollBar* Bar, int Slot) {
    if (m_watched[Slot] == Bar) {
        return;
    }
    m_watched[Slot] = Bar;
    // Rows added or removed, a new size: the native bar's range follows. It
    // is shown or hidden in a queued call of the view's own, so the linked
    // bars follow in one queued after it.
    QObject::connect(
        Bar, &QScrollBar::rangeChanged, Bar,
        [this] {
            if (m_vBar || m_hBar) {
                UpdateScrollBars();
            }
        },
        Qt::QueuedConnection);
}

void RegisterSkinListViewClasses() {
    static const bool done = [] {
        RegisterSkinScrollBarClasses();
        RegisterClass<TskListView>();
        return true;
    }();
    (void)done;
}

} // namespace sk
