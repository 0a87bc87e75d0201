#include "skin/SKRadioGroup.h"

#include <algorithm>

namespace sk {

using namespace tk;

TPoint GroupButtonPlace(int Index, int Count, int Columns, int TopMargin, const TRect& Inner,
                        int Width) {
    const int columns = std::max(Columns, 1);
    const int rows = std::max((Count + columns - 1) / columns, 1);
    const int top = Inner.Top + TopMargin;
    const int h = Inner.Bottom - top;
    const int columnWidth = (Width - 10) / columns;
    const int rowHeight = h / rows;
    const int firstRow = (h % rows) / 2 + top;
    return {(Index / rows) * columnWidth + 8, (Index % rows) * rowHeight + firstRow};
}

// ---- item buttons -----------------------------------------------------------------

TskCheckGroupButton::TskCheckGroupButton(TComponent* AOwner, TskCheckGroup* Group)
    : TskCheckBox(AOwner), m_group(Group) {}

bool TskCheckGroupButton::NeedDrawFocus() {
    return Focused();
}

TskRadioGroupButton::TskRadioGroupButton(TComponent* AOwner, TskRadioGroup* Group)
    : TskRadioButton(AOwner), m_group(Group) {}

bool TskRadioGroupButton::NeedDrawFocus() {
    return Checked() && (Focused() || m_group->Focused());
}

void TskRadioGroupButton::DoClick() {
    if (m_group->CanModify()) {
        TskRadioButton::DoClick();
    }
}

// ---- check group ------------------------------------------------------------------

TskCheckGroup::TskCheckGroup(TComponent* AOwner) : TskCustomGroupBox(AOwner) {
    TskCustomPanel::SetTransparent(false);
    SetParentColor(true);
    SetFocusable(true);
    SetTabStop(true);
}

TskCheckGroup::~TskCheckGroup() = default;

TskCheckBox* TskCheckGroup::Buttons(int Index) const {
    return Index >= 0 && Index < ButtonCount() ? m_buttons[static_cast<std::size_t>(Index)]
                                               : nullptr;
}

void TskCheckGroup::SetItems(const QStringList& Value) {
    m_items = Value;
    UpdateButtons();
    ArrangeButtons();
}

void TskCheckGroup::SetColumns(int Value) {
    if (Value >= 0) {
        m_columns = Value;
        ArrangeButtons();
    }
}

void TskCheckGroup::SetTopMargin(int Value) {
    if (Value >= 0) {
        m_topMargin = Value;
        ArrangeButtons();
    }
}

void TskCheckGroup::SetCursor(TCursor Value) {
    TControl::SetCursor(Value);
    for (TskCheckBox* b : m_buttons) {
        b->SetCursor(Value);
    }
}

void TskCheckGroup::SetTransparent(bool Value) {
    TskCustomGroupBox::SetTransparent(Value);
    for (TskCheckBox* b : m_buttons) {
        b->SetTransparent(Value);
    }
}

bool TskCheckGroup::GetChecked(int Index) const {
    const TskCheckBox* b = Buttons(Index);
    return b && b->Checked();
}

bool TskCheckGroup::GetItemEnabled(int Index) const {
    const TskCheckBox* b = Buttons(Index);
    return b && b->Enabled();
}

void TskCheckGroup::SetChecked(int Index, bool Value) {
    if (TskCheckBox* b = Buttons(Index)) {
        b->SetChecked(Value);
    }
}

void TskCheckGroup::SetItemEnabled(int Index, bool Value) {
    if (TskCheckBox* b = Buttons(Index)) {
        b->SetEnabled(Value);
    }
}

TskCheckBox* TskCheckGroup::CreateAButton() {
    return new TskCheckGroupButton(this, this); // owned by the group
}

void TskCheckGroup::UpdateButtons() {
    bool created = false;
    while (ButtonCount() < m_items.size()) {
        TskCheckBox* b = CreateAButton();
        b->SetParent(this);
        b->Font()->Assign(*Font());
        b->SetAutoSize(true);
        b->SetFileTheme(FileTheme());
        b->SetUIStyle(UIStyle());
        b->SetTransparent(Transparent());
        b->SetParentColor(true);
        b->SetTabStop(false);
        b->OnClick = [this](TObject*) { DoClick(); };
        b->SetCursor(Cursor());
        m_buttons.push_back(b);
        created = true;
    }
    while (ButtonCount() > m_items.size()) {
        TskCheckBox* last = m_buttons.back();
        m_buttons.pop_back();
        last->Free();
    }
    for (int i = 0; i < ButtonCount(); ++i) {
        m_buttons[static_cast<std::size_t>(i)]->SetCaption(m_items[i]);
    }
    if (created) {
        // New buttons take their background from a fresh paint of the group.
        SetTransparent(!Transparent());
        SetTransparent(!Transparent());
    }
}

void TskCheckGroup::ArrangeButtons() {
    if (m_buttons.empty() || IsLoading()) {
        return;
    }
    const TRect inner = InnerRect();
    const int count = ButtonCount();
    for (int i = 0; i < count; ++i) {
        TskCheckBox* b = m_buttons[static_cast<std::size_t>(i)];
        const TPoint at = GroupButtonPlace(i, count, m_columns, m_topMargin, inner, Width());
        b->SetBounds(at.x, at.y, b->Width(), b->Height());
    }
}

void TskCheckGroup::Click() {
    DoClick();
}

void TskCheckGroup::DoClick() {
    NewClick();
    if (!IsLoading() && OnClick) {
        OnClick(this);
    }
}

void TskCheckGroup::UpdateUIStyle(TskUIStyle Style, TskFileTheme* Theme) {
    TskCustomGroupBox::UpdateUIStyle(Style, Theme);
    for (TskCheckBox* b : m_buttons) {
        b->SetParentColor(true);
    }
}

void TskCheckGroup::Notification(TComponent* AComponent, TOperation Operation) {
    TskCustomGroupBox::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove) {
        std::erase(m_buttons, AComponent);
    }
}

void TskCheckGroup::Loaded() {
    TskCustomGroupBox::Loaded();
    ArrangeButtons();
}

void TskCheckGroup::WMSize(TMessage& Message) {
    TskCustomGroupBox::WMSize(Message);
    ArrangeButtons();
}

void TskCheckGroup::CMFontChanged(TMessage& Message) {
    TskCustomGroupBox::CMFontChanged(Message);
    for (TskCheckBox* b : m_buttons) {
        b->Font()->Assign(*Font());
    }
    ArrangeButtons();
}

void TskCheckGroup::WMSetFocus(TMessage& Message) {
    TskCustomGroupBox::WMSetFocus(Message);
    FocusUpdate();
}

void TskCheckGroup::FocusUpdate() {
    if (TskCheckBox* first = Buttons(0)) {
        FocusItem(first);
    }
}

void TskCheckGroup::FocusItem(TskCheckBox* Item) {
    if (Item->CanFocus()) {
        Item->SetFocus();
    }
}

// ---- radio group ------------------------------------------------------------------

int TskRadioGroup::ItemIndex() const {
    for (int i = 0; i < ButtonCount(); ++i) {
        if (Buttons(i)->Checked()) {
            return i;
        }
    }
    return -1;
}

void TskRadioGroup::SetItemIndex(int Value) {
    if (Value < -1 || Value > ButtonCount() - 1) {
        return;
    }
    if (Value == -1) {
        for (int i = 0; i < ButtonCount(); ++i) {
            Buttons(i)->SetChecked(false);
        }
        return;
    }
    // The radio rule unchecks the others: they share this group as parent.
    Buttons(Value)->SetChecked(true);
}

TskCheckBox* TskRadioGroup::CreateAButton() {
    return new TskRadioGroupButton(this, this); // owned by the group
}

void TskRadioGroup::FocusUpdate() {
    const int checked = ItemIndex();
    if (checked >= 0) {
        FocusItem(Buttons(checked));
    }
}

void RegisterSkinGroupClasses() {
    static const bool done = [] {
        RegisterClass<TskCheckGroup>();
        RegisterClass<TskRadioGroup>();
        return true;
    }();
    (void)done;
}

} // namespace sk
