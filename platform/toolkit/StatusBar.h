// The status bar: panels with text and bevels, a simple-text mode and a size
// grip. Painted by the toolkit; a subclass paints over it by overriding
// Paint and calling this class's first.
#pragma once

#include "platform/toolkit/Collections.h"
#include "platform/toolkit/Controls.h"

namespace tk {

class TStatusBar;

class TStatusPanel : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(tk::TEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(tk::TEnums::TBevelCut Bevel READ Bevel WRITE SetBevel)

public:
    using TCollectionItem::TCollectionItem;
    QString Text() const { return m_text; }
    void SetText(const QString& t) {
        m_text = t;
        Changed();
    }
    int Width() const { return m_width; }
    void SetWidth(int w) {
        m_width = w;
        Changed();
    }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a) {
        m_alignment = a;
        Changed();
    }
    TBevelCut Bevel() const { return m_bevel; }
    void SetBevel(TBevelCut b) {
        m_bevel = b;
        Changed();
    }

private:
    QString m_text;
    int m_width = 50;
    TAlignment m_alignment = taLeftJustify;
    TBevelCut m_bevel = bvLowered;
};

class TStatusBar : public TCustomControl {
    Q_OBJECT
    Q_PROPERTY(tk::TCollection* Panels READ Panels)
    Q_PROPERTY(bool SimplePanel READ SimplePanel WRITE SetSimplePanel)
    Q_PROPERTY(QString SimpleText READ SimpleText WRITE SetSimpleText)
    Q_PROPERTY(bool SizeGrip READ SizeGrip WRITE SetSizeGrip)

public:
    explicit TStatusBar(TComponent* AOwner);

    TCollection* Panels() { return &m_panels; }
    TStatusPanel* Panel(int i) const { return m_panels.ItemAs<TStatusPanel>(i); }
    bool SimplePanel() const { return m_simplePanel; }
    void SetSimplePanel(bool v);
    QString SimpleText() const { return m_simpleText; }
    void SetSimpleText(const QString& t);
    bool SizeGrip() const { return m_sizeGrip; }
    void SetSizeGrip(bool v);

    // Where panel i is drawn.
    TRect PanelRect(int i) const;
    // The grip square, empty when no grip is drawn.
    TRect GripRect() const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // A grip resizes only a sizeable form that is not maximised.
    bool GripActive() const;

private:
    TCollection m_panels;
    bool m_simplePanel = false;
    QString m_simpleText;
    bool m_sizeGrip = true;
};

} // namespace tk
