// A list of strings with a check box each, on the native list widget.
#pragma once

#include <QStringList>

#include "platform/toolkit/Controls.h"
#include "platform/toolkit/SunkenBand.h"

class QListWidget;

namespace tk {

class TCheckListBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)

public:
    explicit TCheckListBox(TComponent* AOwner);
    ~TCheckListBox() override;

    QStringList Items() const { return m_items; }
    void SetItems(const QStringList& items);
    int Count() const { return static_cast<int>(m_items.size()); }
    void AddItem(const QString& text);
    void Clear();
    bool Checked(int i) const;
    void SetChecked(int i, bool checked);
    int ItemIndex() const;
    void SetItemIndex(int i);
    // Where item i is drawn, in client coordinates.
    TRect ItemRect(int i) const;

    TNotifyEvent OnClickCheck;

protected:
    QWidget* CreateNativeWidget(QWidget* parent) override;
    void NativeWidgetCreated() override;
    void WMNCPaint(TMessage& m) override;
    bool WantsKey(unsigned key, TShiftState shift) const override;

private:
    QListWidget* List() const;
    void Rebuild();

    QStringList m_items;
    std::vector<bool> m_checked;
    int m_itemIndex = -1;
    bool m_rebuilding = false;
    TSunkenBand m_band{this, bsSingle, 0};
};

} // namespace tk
