// The report list view: columns, rows with a caption, sub-items, an untyped
// data pointer and an optional check box, on Qt's model/view.
#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "platform/toolkit/Collections.h"
#include "platform/toolkit/Controls.h"
#include "platform/toolkit/SunkenBand.h"

class QAbstractItemModel;
class QTreeView;

namespace tk {

class TListView;
class TListItems;
class ListViewModel;
class ListViewWidget;

class TListColumn : public TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(tk::TEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)

public:
    using TCollectionItem::TCollectionItem;
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& c);
    int Width() const { return m_width; }
    void SetWidth(int w);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);

private:
    QString m_caption;
    int m_width = 50;
    TAlignment m_alignment = taLeftJustify;
};

// A row. Owned by the list's items; plain (not a QObject) so that a hundred
// thousand of them stay cheap.
class TListItem {
public:
    TListItem(TListItems* owner, int index) : m_owner(owner), m_index(index) {}
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    TListView* ListView() const;
    int Index() const { return m_index; }

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

    // Sub-items, one per column after the first.
    int SubItemCount() const { return static_cast<int>(m_subItems.size()); }
    QString SubItem(int i) const;
    void AddSubItem(const QString& text);
    void SetSubItem(int i, const QString& text);
    void ClearSubItems();
    // All sub-items at once, in column order.
    void SetSubItems(QStringList texts);
    const QStringList& SubItems() const { return m_subItems; }

    void* Data() const { return m_data; }
    void SetData(void* data) { m_data = data; }

    bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    bool Selected() const;
    void SetSelected(bool selected);
    bool Focused() const;
    void SetFocused(bool focused);

    // The row's rectangle in the list's client coordinates.
    TRect DisplayRect() const;
    void MakeVisible();
    void Delete();

private:
    friend class TListItems;
    friend class ListViewModel;
    void Changed();

    TListItems* m_owner;
    int m_index;
    QString m_caption;
    QStringList m_subItems;
    void* m_data = nullptr;
    bool m_checked = false;
};

class TListItems {
public:
    explicit TListItems(TListView* view);
    ~TListItems();
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    int Count() const { return static_cast<int>(m_items.size()); }
    TListItem* Item(int i) const;
    TListItem* operator[](int i) const { return Item(i); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const { return item ? item->Index() : -1; }
    void BeginUpdate();
    void EndUpdate();
    TListView* Owner() const { return m_view; }

private:
    friend class TListItem;
    friend class ListViewModel;
    friend class TListView;

    TListView* m_view;
    std::vector<std::unique_ptr<TListItem>> m_items;
};

enum class TItemChange { ctText, ctImage, ctState };

using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVCustomDrawItemEvent = std::function<void(TObject* Sender, TListItem* Item,
                                                  TCustomDrawState State, bool& DefaultDraw)>;
using TLVDeletedEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVCheckedEvent = std::function<void(TObject* Sender, TListItem* Item)>;

// GetScrollInfo / GetScrollBarInfo of the native bars. In report view the
// vertical unit is a row (nMax = rows - 1, nPage = rows that fit), the
// horizontal one a pixel.
struct TScrollInfo {
    int nMin = 0;
    int nMax = 0;
    int nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
struct TScrollBarInfo {
    bool visible = false;
    bool enabled = false;
    int thumbLength = 0; // pixels
};

class TListView : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(tk::TCollection* Columns READ Columns)
    Q_PROPERTY(bool Checkboxes READ Checkboxes WRITE SetCheckboxes)
    Q_PROPERTY(bool RowSelect READ RowSelect WRITE SetRowSelect)
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(bool ShowColumnHeaders READ ShowColumnHeaders WRITE SetShowColumnHeaders)
    Q_PROPERTY(tk::TEnums::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(tk::TEnums::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(tk::TEnums::TViewStyle ViewStyle READ ViewStyle WRITE SetViewStyle)

public:
    explicit TListView(TComponent* AOwner);
    ~TListView() override;

    TCollection* Columns() { return &m_columns; }
    TListColumn* Column(int i) const { return m_columns.ItemAs<TListColumn>(i); }
    TListColumn* AddColumn(const QString& caption, int width);
    TListItems* Items() { return &m_items; }

    bool Checkboxes() const { return m_checkboxes; }
    void SetCheckboxes(bool v);
    bool RowSelect() const { return m_rowSelect; }
    void SetRowSelect(bool v);
    bool MultiSelect() const { return m_multiSelect; }
    void SetMultiSelect(bool v);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool v);
    bool ShowColumnHeaders() const { return m_showHeaders; }
    void SetShowColumnHeaders(bool v);
    TFormBorderStyle BorderStyle() const { return m_band.BorderStyle(); }
    void SetBorderStyle(TFormBorderStyle v) { m_band.SetBorderStyle(v); }
    int BorderWidth() const { return m_band.BorderWidth(); }
    void SetBorderWidth(int v) { m_band.SetBorderWidth(v); }
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut v) { m_bevelOuter = v; }
    TViewStyle ViewStyle() const { return m_viewStyle; }
    void SetViewStyle(TViewStyle v) { m_viewStyle = v; }

    // The selected row (the first one with multiple selection), or null.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int SelCount() const;
    int ItemIndex() const;
    void SetItemIndex(int index);
    TListItem* ItemFocused() const;
    TListItem* TopItem() const;
    int VisibleRowCount() const;

    // Native scroll state, in the units GetScrollInfo uses.
    TScrollInfo ScrollInfo(bool vertical) const;
    TScrollBarInfo ScrollBarInfo(bool vertical) const;
    // SB_LINEDOWN (positive) / SB_LINEUP (negative) steps in report view.
    void ScrollLines(int lines);
    void Scroll(int dx, int dy);

    // The drawing surface of custom-draw handlers: the font colour they set
    // is the row's text colour.
    TCanvas* Canvas() { return &m_drawCanvas; }

    TLVSelectItemEvent OnSelectItem;
    TLVCustomDrawItemEvent OnCustomDrawItem;
    TLVDeletedEvent OnDeletion;
    TLVCheckedEvent OnItemChecked;
    TNotifyEvent OnChange;

    // Internal: the model and the view call back.
    void ItemSelectionChanged(const std::vector<int>& deselected, const std::vector<int>& selected);
    TColor RowTextColor(int row, TCustomDrawState state, bool& defaultDraw);
    QTreeView* View() const;
    // The Qt model behind the view (rows and their check state).
    QAbstractItemModel* ItemModel() const;

protected:
    QWidget* CreateNativeWidget(QWidget* parent) override;
    void NativeWidgetCreated() override;
    void WMNCPaint(TMessage& m) override;
    bool WantsKey(unsigned key, TShiftState shift) const override;
    void Loaded() override;
    void CMFontChanged(TMessage& m) override;
    void CMColorChanged(TMessage& m) override;

private:
    friend class TListItems;
    friend class TListItem;
    void ApplyColumns();
    void ApplyPalette();
    void ScrollChanged(bool vertical);
    void NativeWidgetCreatedIfAny();

    TCollection m_columns;
    TListItems m_items;
    std::unique_ptr<ListViewModel> m_model;
    bool m_checkboxes = false;
    bool m_rowSelect = false;
    bool m_multiSelect = false;
    bool m_readOnly = false;
    bool m_hideSelection = true;
    bool m_showHeaders = true;
    TSunkenBand m_band{this, bsSingle, 0};
    TBevelCut m_bevelOuter = bvRaised;
    TViewStyle m_viewStyle = vsIcon;
    int m_suppressSelect = 0;
    TCanvas m_drawCanvas;
    int m_drawRow = -1;
    TColor m_drawColor = clWindowText;
    bool m_drawDefault = true;
};

} // namespace tk
