// Captioned groups of check boxes and radio buttons: one button per line of
// Items, laid out column by column below the caption. The group's OnClick
// runs for every change of a check box and for every new radio selection.
#pragma once

#include <QStringList>
#include <vector>

#include "skin/SKButton.h"
#include "skin/SKGroupBox.h"

namespace sk {

class TskCheckGroup;
class TskRadioGroup;

// Where button Index of Count goes in a group: filled column by column, rows
// = ceil(Count / Columns); Inner is the group's inner rectangle and Width its
// width. Columns below 1 count as 1.
tk::TPoint GroupButtonPlace(int Index, int Count, int Columns, int TopMargin,
                            const tk::TRect& Inner, int Width);

class TskCheckGroupButton : public TskCheckBox {
    Q_OBJECT
public:
    TskCheckGroupButton(tk::TComponent* AOwner, TskCheckGroup* Group);
    TskCheckGroup* Group() const { return m_group; }

protected:
    // A group's item shows the focus whenever it has it.
    bool NeedDrawFocus() override;

private:
    TskCheckGroup* m_group;
};

class TskRadioGroupButton : public TskRadioButton {
    Q_OBJECT
public:
    TskRadioGroupButton(tk::TComponent* AOwner, TskRadioGroup* Group);
    TskRadioGroup* Group() const { return m_group; }

protected:
    // The checked item shows the focus while it or its group has it.
    bool NeedDrawFocus() override;
    // Only when the group allows it.
    void DoClick() override;

private:
    TskRadioGroup* m_group;
};

class TskCheckGroup : public TskCustomGroupBox {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(sk::TskEnums::TskUIStyle UIStyle READ UIStyle WRITE SetUIStyle)
    Q_PROPERTY(sk::TskFileTheme* FileTheme READ FileTheme WRITE SetFileTheme)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE SetBorderColor)
    Q_PROPERTY(tk::TEnums::TCursor Cursor READ Cursor WRITE SetCursor)

public:
    explicit TskCheckGroup(tk::TComponent* AOwner);
    ~TskCheckGroup() override;

    QStringList Items() const { return m_items; }
    // Creates or frees buttons at the end until there is one per line, then
    // gives each its line.
    void SetItems(const QStringList& Value);
    int Columns() const { return m_columns; }
    // Negative values are ignored; 0 lays out as one column.
    void SetColumns(int Value);
    int TopMargin() const { return m_topMargin; }
    // Negative values are ignored.
    void SetTopMargin(int Value);
    TColor FontColor() const { return Font()->Color(); }
    void SetFontColor(TColor Value) { Font()->SetColor(Value); }
    // Also given to every item. (Hides TControl's.)
    void SetCursor(tk::TCursor Value);
    // Also given to every item.
    void SetTransparent(bool Value) override;

    int ButtonCount() const { return static_cast<int>(m_buttons.size()); }
    TskCheckBox* Buttons(int Index) const;
    // False for an index outside the items.
    bool GetChecked(int Index) const;
    bool GetItemEnabled(int Index) const;
    // Ignored for an index outside the items.
    void SetChecked(int Index, bool Value);
    void SetItemEnabled(int Index, bool Value);

    // The group's own click and every check-state change of an item.
    void Click() override;
    void UpdateUIStyle(TskUIStyle Style, TskFileTheme* Theme) override;

protected:
    // Runs before the group's OnClick.
    virtual void NewClick() {}
    virtual TskCheckBox* CreateAButton();
    // The group got the focus: hands it to an item.
    virtual void FocusUpdate();

    void DoClick();
    void Notification(tk::TComponent* AComponent, tk::TOperation Operation) override;
    void Loaded() override;
    void WMSize(tk::TMessage& Message) override;
    void WMSetFocus(tk::TMessage& Message) override;
    void CMFontChanged(tk::TMessage& Message) override;
    void FocusItem(TskCheckBox* Item);

private:
    void UpdateButtons();
    void ArrangeButtons();

    QStringList m_items;
    std::vector<TskCheckBox*> m_buttons; // children of the group, owned by it
    int m_columns = 1;
    int m_topMargin = 8;
};

class TskRadioGroup : public TskCheckGroup {
    Q_OBJECT
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)

public:
    explicit TskRadioGroup(tk::TComponent* AOwner) : TskCheckGroup(AOwner) {}

    // The first checked item, -1 for none.
    int ItemIndex() const;
    // -1 unchecks every item; values outside -1 .. count - 1 are ignored.
    void SetItemIndex(int Value);
    // Whether a click may change the selection.
    virtual bool CanModify() { return true; }

protected:
    TskCheckBox* CreateAButton() override;
    void FocusUpdate() override;
};

// Makes TskCheckGroup and TskRadioGroup known to form descriptions (any number
// of calls).
void RegisterSkinGroupClasses();

} // namespace sk
