#include "platform/toolkit/ListView.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

#include "platform/toolkit/StdCtrls.h"

namespace tk {

// ---- model -------------------------------------------------------------------

// Rows are announced to the view lazily: adding a row only appends it, and
// the view hears of all rows added since the last time in one insertion,
// before anything asks the view, or when the event loop next runs.
class ListViewModel : public QAbstractTableModel {
public:
    explicit ListViewModel(TListView* view) : m_view(view) {}

    void Sync() {
        const int count = m_view->Items()->Count();
        if (m_announced < count) {
            beginInsertRows(QModelIndex(), m_announced, count - 1);
            m_announced = count;
            endInsertRows();
        }
    }

    void RowsAppended() {
        if (m_updating > 0 || m_syncPosted) {
            return;
        }
        m_syncPosted = true;
        QTimer::singleShot(0, this, [this] {
            m_syncPosted = false;
            Sync();
        });
    }

    void BeginUpdate() { ++m_updating; }
    void EndUpdate() {
        if (m_updating > 0 && --m_updating == 0) {
            Sync();
        }
    }

    void BeginInsert(int row) {
        Sync();
        beginInsertRows(QModelIndex(), row, row);
    }
    void EndInsert() {
        ++m_announced;
        endInsertRows();
    }
    void BeginRemove(int row) {
        Sync();
        beginRemoveRows(QModelIndex(), row, row);
    }
    void EndRemove() {
        --m_announced;
        endRemoveRows();
    }
    void BeginClear() { beginResetModel(); }
    void EndClear() {
        m_announced = 0;
        endResetModel();
    }

    void RowChanged(int row) {
        if (row < m_announced) {
            emit dataChanged(index(row, 0), index(row, std::max(0, columnCount({}) - 1)));
        }
    }
    void ColumnsChanged() {
        beginResetModel();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : m_announced;
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : std::max(1, m_view->Columns()->Count());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= m_view->Items()->Count()) {
            return {};
        }
        const TListItem* item = m_view->Items()->Item(index.row());
        const int col = index.column();
        switch (role) {
        case Qt::DisplayRole:
            return col == 0 ? item->Caption() : item->SubItem(col - 1);
        case Qt::CheckStateRole:
            if (col == 0 && m_view->Checkboxes()) {
                return item->Checked() ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        case Qt::TextAlignmentRole:
            if (col < m_view->Columns()->Count()) {
                const TAlignment a = m_view->Column(col)->Alignment();
                const Qt::Alignment h = a == taCenter         ? Qt::AlignHCenter
                                        : a == taRightJustify ? Qt::AlignRight
                                                              : Qt::AlignLeft;
                return QVariant::fromValue(h | Qt::AlignVCenter);
            }
            return {};
        default:
            return {};
        }
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::CheckStateRole || index.column() != 0 ||
            index.row() >= m_view->Items()->Count()) {
            return false;
        }
        TListItem* item = m_view->Items()->Item(index.row());
        item->SetChecked(value.toInt() == Qt::Checked);
        if (m_view->OnItemChecked) {
            m_view->OnItemChecked(m_view, item);
        }
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (index.column() == 0 && m_view->Checkboxes()) {
            f |= Qt::ItemIsUserCheckable;
        }
        return f;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole &&
            section < m_view->Columns()->Count()) {
            return m_view->Column(section)->Caption();
        }
        return {};
    }

private:
    TListView* m_view;
    int m_announced = 0;
    int m_updating = 0;
    bool m_syncPosted = false;
};

// ---- view --------------------------------------------------------------------

namespace {

class ListViewDelegate : public QStyledItemDelegate {
public:
    explicit ListViewDelegate(TListView* view, QObject* parent)
        : QStyledItemDelegate(parent), m_view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        TCustomDrawState state = 0;
        if (opt.state & QStyle::State_Selected) {
            state |= cdsSelected;
        }
        if (opt.state & QStyle::State_HasFocus) {
            state |= cdsFocused;
        }
        bool defaultDraw = true;
        const TColor color = m_view->RowTextColor(
            index.column() == 0 ? -1 - index.row() : index.row(), state, defaultDraw);
        if (!defaultDraw) {
            return;
        }
        opt.palette.setColor(QPalette::Text, ToQColor(color));
        // The focus frame of a whole-row selection is the row's, not a cell's.
        opt.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, opt, index);
    }

private:
    TListView* m_view;
};

} // namespace

class ListViewWidget : public QTreeView {
public:
    ListViewWidget(TListView* control, QWidget* parent) : QTreeView(parent), m_control(control) {
        setRootIsDecorated(false);
        setUniformRowHeights(true);
        setItemsExpandable(false);
        setAllColumnsShowFocus(true);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setFrameShape(QFrame::NoFrame);
        setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        setFocusPolicy(Qt::StrongFocus);
        header()->setStretchLastSection(false);
        header()->setSectionsMovable(false);
        setItemDelegate(new ListViewDelegate(control, this));
    }

    // Rows and bars current: a layout still pending runs now, and the bars
    // take the range of the rows as laid out. A full layout walks every row,
    // so it is not repeated when nothing changed.
    void LayOutIfPending() {
        executeDelayedItemsLayout();
        updateGeometries();
    }

private:
    TListView* m_control;
};

// ---- columns -------------------------------------------------------------------

void TListColumn::SetCaption(const QString& c) {
    m_caption = c;
    Changed();
}
void TListColumn::SetWidth(int w) {
    m_width = w;
    Changed();
}
void TListColumn::SetAlignment(TAlignment a) {
    m_alignment = a;
    Changed();
}

// ---- items ---------------------------------------------------------------------

TListView* TListItem::ListView() const {
    return m_owner->m_view;
}

void TListItem::Changed() {
    if (TListView* v = ListView(); v && v->m_model) {
        v->m_model->RowChanged(m_index);
    }
}

void TListItem::SetCaption(const QString& caption) {
    m_caption = caption;
    Changed();
}

QString TListItem::SubItem(int i) const {
    return i >= 0 && i < m_subItems.size() ? m_subItems[i] : QString();
}

void TListItem::AddSubItem(const QString& text) {
    m_subItems.append(text);
    Changed();
}

void TListItem::SetSubItem(int i, const QString& text) {
    if (i < 0) {
        return;
    }
    while (m_subItems.size() <= i) {
        m_subItems.append(QString());
    }
    m_subItems[i] = text;
    Changed();
}

void TListItem::SetSubItems(QStringList texts) {
    m_subItems = std::move(texts);
    Changed();
}

void TListItem::ClearSubItems() {
    m_subItems.clear();
    Changed();
}

void TListItem::SetChecked(bool checked) {
    if (checked != m_checked) {
        m_checked = checked;
        Changed();
    }
}

bool TListItem::Selected() const {
    TListView* v = ListView();
    v->m_model->Sync();
    return v->View() && v->View()->selectionModel()->isRowSelected(m_index, QModelIndex());
}

void TListItem::SetSelected(bool selected) {
    TListView* v = ListView();
    v->m_model->Sync();
    QTreeView* view = v->View();
    if (!view) {
        return;
    }
    const QModelIndex index = v->m_model->index(m_index, 0);
    QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Rows;
    if (selected) {
        flags |=
            v->MultiSelect() ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect;
        view->selectionModel()->select(index, flags);
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    } else {
        view->selectionModel()->select(index, flags | QItemSelectionModel::Deselect);
    }
}

bool TListItem::Focused() const {
    TListView* v = ListView();
    v->m_model->Sync();
    return v->View() && v->View()->selectionModel()->currentIndex().row() == m_index;
}

void TListItem::SetFocused(bool focused) {
    TListView* v = ListView();
    v->m_model->Sync();
    if (QTreeView* view = v->View()) {
        view->selectionModel()->setCurrentIndex(
            focused ? v->m_model->index(m_index, 0) : QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

TRect TListItem::DisplayRect() const {
    TListView* v = ListView();
    v->m_model->Sync();
    QTreeView* view = v->View();
    if (!view) {
        return {};
    }
    QRect r = view->visualRect(v->m_model->index(m_index, 0));
    for (int c = 1; c < v->m_model->columnCount({}); ++c) {
        r |= view->visualRect(v->m_model->index(m_index, c));
    }
    r.translate(view->viewport()->mapTo(view, QPoint(0, 0)));
    return TRect::FromQ(r);
}

void TListItem::MakeVisible() {
    TListView* v = ListView();
    v->m_model->Sync();
    if (QTreeView* view = v->View()) {
        view->scrollTo(v->m_model->index(m_index, 0));
    }
}

void TListItem::Delete() {
    m_owner->Delete(m_index);
}

TListItems::TListItems(TListView* view) : m_view(view) {}

TListItems::~TListItems() = default;

TListItem* TListItems::Item(int i) const {
    if (i < 0 || i >= Count()) {
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(i));
    }
    return m_items[static_cast<std::size_t>(i)].get();
}

TListItem* TListItems::Add() {
    m_items.push_back(std::make_unique<TListItem>(this, Count()));
    if (m_view->m_model) {
        m_view->m_model->RowsAppended();
    }
    return m_items.back().get();
}

TListItem* TListItems::Insert(int index) {
    index = std::clamp(index, 0, Count());
    if (index == Count()) {
        return Add();
    }
    m_view->m_model->BeginInsert(index);
    m_items.insert(m_items.begin() + index, std::make_unique<TListItem>(this, index));
    for (int i = index + 1; i < Count(); ++i) {
        m_items[static_cast<std::size_t>(i)]->m_index = i;
    }
    m_view->m_model->EndInsert();
    return m_items[static_cast<std::size_t>(index)].get();
}

void TListItems::Delete(int index) {
    if (index < 0 || index >= Count()) {
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    }
    if (m_view->OnDeletion) {
        m_view->OnDeletion(m_view, Item(index));
    }
    // Rows removed by the program are not deselected by the user: no
    // selection events, as with the native list.
    ++m_view->m_suppressSelect;
    m_view->m_model->BeginRemove(index);
    m_items.erase(m_items.begin() + index);
    for (int i = index; i < Count(); ++i) {
        m_items[static_cast<std::size_t>(i)]->m_index = i;
    }
    m_view->m_model->EndRemove();
    --m_view->m_suppressSelect;
    m_view->m_drawRow = -1;
}

void TListItems::Clear() {
    if (m_items.empty()) {
        return;
    }
    if (m_view->OnDeletion) {
        for (const auto& item : m_items) {
            m_view->OnDeletion(m_view, item.get());
        }
    }
    ++m_view->m_suppressSelect;
    m_view->m_model->BeginClear();
    m_items.clear();
    m_view->m_model->EndClear();
    --m_view->m_suppressSelect;
    m_view->m_drawRow = -1;
}

void TListItems::BeginUpdate() {
    m_view->m_model->BeginUpdate();
}
void TListItems::EndUpdate() {
    m_view->m_model->EndUpdate();
}

// ---- list view -------------------------------------------------------------------

TListView::TListView(TComponent* AOwner)
    : TWinControl(AOwner), m_columns(CollectionItemFactory<TListColumn>()), m_items(this),
      m_model(std::make_unique<ListViewModel>(this)) {
    SetColor(clWindow);
    SetTabStop(true);
    SetFocusable(true);
    m_columns.OnChange = [this] { ApplyColumns(); };
    SetBounds(0, 0, 250, 150);
    PublishEvent("OnSelectItem", OnSelectItem);
    PublishEvent("OnCustomDrawItem", OnCustomDrawItem);
    PublishEvent("OnDeletion", OnDeletion);
    PublishEvent("OnItemChecked", OnItemChecked);
    PublishEvent("OnChange", OnChange);
}

TListView::~TListView() {
    // The native view goes before the model it shows.
    DestroyHandle();
}

QAbstractItemModel* TListView::ItemModel() const {
    return m_model.get();
}

QTreeView* TListView::View() const {
    return static_cast<QTreeView*>(NativeWidget());
}

TListColumn* TListView::AddColumn(const QString& caption, int width) {
    auto* c = static_cast<TListColumn*>(m_columns.Add());
    c->SetCaption(caption);
    c->SetWidth(width);
    return c;
}

QWidget* TListView::CreateNativeWidget(QWidget* parent) {
    auto* view = new ListViewWidget(this, parent); // owned by its parent widget
    view->setModel(m_model.get());
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view,
                     [this](const QItemSelection& selected, const QItemSelection& deselected) {
                         auto rows = [](const QItemSelection& s) {
                             std::vector<int> r;
                             for (const QItemSelectionRange& range : s) {
                                 for (int i = range.top(); i <= range.bottom(); ++i) {
                                     r.push_back(i);
                                 }
                             }
                             std::sort(r.begin(), r.end());
                             r.erase(std::unique(r.begin(), r.end()), r.end());
                             return r;
                         };
                         ItemSelectionChanged(rows(deselected), rows(selected));
                     });
    QObject::connect(view->verticalScrollBar(), &QScrollBar::valueChanged, view,
                     [this] { ScrollChanged(true); });
    QObject::connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, view,
                     [this] { ScrollChanged(false); });
    return view;
}

void TListView::NativeWidgetCreated() {
    QTreeView* view = View();
    view->setFont(Font()->ToQFont());
    view->setSelectionMode(m_multiSelect ? QAbstractItemView::ExtendedSelection
                                         : QAbstractItemView::SingleSelection);
    view->setHeaderHidden(!m_showHeaders);
    ApplyPalette();
    ApplyColumns();
}

void TListView::ApplyPalette() {
    QTreeView* view = View();
    if (!view) {
        return;
    }
    QPalette pal = view->palette();
    const QColor base = ToQColor(Color());
    const QColor text = ToQColor(Font()->Color());
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(g, QPalette::Base, base);
        pal.setColor(g, QPalette::Window, base);
        pal.setColor(g, QPalette::Text, g == QPalette::Disabled ? ToQColor(clGrayText) : text);
        pal.setColor(g, QPalette::Highlight, ToQColor(clHighlight));
        pal.setColor(g, QPalette::HighlightedText, ToQColor(clHighlightText));
    }
    if (m_hideSelection) {
        pal.setColor(QPalette::Inactive, QPalette::Highlight, base);
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText, text);
    }
    view->setPalette(pal);
    view->viewport()->update();
}

void TListView::ApplyColumns() {
    m_model->ColumnsChanged();
    m_drawRow = -1;
    QTreeView* view = View();
    if (!view) {
        return;
    }
    for (int i = 0; i < m_columns.Count(); ++i) {
        view->header()->resizeSection(i, Column(i)->Width());
    }
}

void TListView::Loaded() {
    TWinControl::Loaded();
    NativeWidgetCreatedIfAny();
}

void TListView::NativeWidgetCreatedIfAny() {
    if (View()) {
        NativeWidgetCreated();
    }
}

void TListView::CMFontChanged(TMessage& m) {
    TWinControl::CMFontChanged(m);
    if (QTreeView* view = View()) {
        view->setFont(Font()->ToQFont());
        ApplyPalette();
    }
}

void TListView::CMColorChanged(TMessage& m) {
    TWinControl::CMColorChanged(m);
    ApplyPalette();
}

void TListView::SetCheckboxes(bool v) {
    m_checkboxes = v;
    m_model->ColumnsChanged();
}

void TListView::SetRowSelect(bool v) {
    m_rowSelect = v;
}

void TListView::SetMultiSelect(bool v) {
    m_multiSelect = v;
    if (QTreeView* view = View()) {
        view->setSelectionMode(v ? QAbstractItemView::ExtendedSelection
                                 : QAbstractItemView::SingleSelection);
    }
}

void TListView::SetHideSelection(bool v) {
    m_hideSelection = v;
    ApplyPalette();
}

void TListView::SetShowColumnHeaders(bool v) {
    m_showHeaders = v;
    if (QTreeView* view = View()) {
        view->setHeaderHidden(!v);
    }
}

void TListView::WMNCPaint(TMessage& m) {
    m_band.Paint(m);
}

bool TListView::WantsKey(unsigned key, TShiftState /*shift*/) const {
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        return true;
    default:
        return false;
    }
}

TListItem* TListView::Selected() const {
    m_model->Sync();
    QTreeView* view = View();
    if (!view) {
        return nullptr;
    }
    QItemSelectionModel* sm = view->selectionModel();
    const QModelIndex current = sm->currentIndex();
    if (current.isValid() && sm->isRowSelected(current.row(), QModelIndex()) && !m_multiSelect) {
        return m_items.Item(current.row());
    }
    const QModelIndexList rows = sm->selectedRows();
    if (rows.isEmpty()) {
        return nullptr;
    }
    int first = rows.front().row();
    for (const QModelIndex& i : rows) {
        first = std::min(first, i.row());
    }
    return m_items.Item(first);
}

void TListView::SetSelected(TListItem* item) {
    if (item) {
        item->SetSelected(true);
    } else if (QTreeView* view = View()) {
        view->selectionModel()->clearSelection();
    }
}

int TListView::SelCount() const {
    m_model->Sync();
    QTreeView* view = View();
    return view ? static_cast<int>(view->selectionModel()->selectedRows().size()) : 0;
}

int TListView::ItemIndex() const {
    TListItem* s = Selected();
    return s ? s->Index() : -1;
}

void TListView::SetItemIndex(int index) {
    if (index < 0 || index >= m_items.Count()) {
        SetSelected(nullptr);
    } else {
        m_items.Item(index)->SetSelected(true);
    }
}

TListItem* TListView::ItemFocused() const {
    m_model->Sync();
    QTreeView* view = View();
    if (!view) {
        return nullptr;
    }
    const QModelIndex current = view->selectionModel()->currentIndex();
    return current.isValid() ? m_items.Item(current.row()) : nullptr;
}

TListItem* TListView::TopItem() const {
    m_model->Sync();
    QTreeView* view = View();
    if (!view || m_items.Count() == 0) {
        return nullptr;
    }
    const QModelIndex top = view->indexAt(QPoint(1, 1));
    return top.isValid() ? m_items.Item(top.row()) : nullptr;
}

int TListView::VisibleRowCount() const {
    m_model->Sync();
    QTreeView* view = View();
    if (!view) {
        return 0;
    }
    int rowHeight = 0;
    if (m_items.Count() > 0) {
        rowHeight = view->sizeHintForRow(0);
    }
    if (rowHeight <= 0) {
        rowHeight = std::max(1, view->fontMetrics().height() + 4);
    }
    return view->viewport()->height() / rowHeight;
}

TScrollInfo TListView::ScrollInfo(bool vertical) const {
    m_model->Sync();
    TScrollInfo info;
    QTreeView* view = View();
    if (!view) {
        return info;
    }
    static_cast<ListViewWidget*>(view)->LayOutIfPending();
    if (vertical) {
        info.nMax = std::max(0, m_items.Count() - 1);
        info.nPage = VisibleRowCount();
        info.nPos = view->verticalScrollBar()->value();
    } else {
        QScrollBar* sb = view->horizontalScrollBar();
        info.nPage = sb->pageStep();
        info.nMax = sb->maximum() + sb->pageStep() - 1;
        info.nPos = sb->value();
    }
    info.nTrackPos = info.nPos;
    return info;
}

TScrollBarInfo TListView::ScrollBarInfo(bool vertical) const {
    m_model->Sync();
    TScrollBarInfo info;
    QTreeView* view = View();
    if (!view) {
        return info;
    }
    // The view lays rows and bars out lazily; make sure they are current.
    static_cast<ListViewWidget*>(view)->LayOutIfPending();
    QScrollBar* sb = vertical ? view->verticalScrollBar() : view->horizontalScrollBar();
    info.visible = sb->isVisible() && sb->maximum() > sb->minimum();
    info.enabled = sb->isEnabled() && sb->maximum() > sb->minimum();
    if (info.visible) {
        QStyleOptionSlider opt;
        opt.initFrom(sb);
        opt.subControls = QStyle::SC_None;
        opt.activeSubControls = QStyle::SC_None;
        opt.orientation = sb->orientation();
        opt.minimum = sb->minimum();
        opt.maximum = sb->maximum();
        opt.sliderPosition = sb->sliderPosition();
        opt.sliderValue = sb->value();
        opt.singleStep = sb->singleStep();
        opt.pageStep = sb->pageStep();
        opt.upsideDown = sb->invertedAppearance();
        if (sb->orientation() == Qt::Horizontal) {
            opt.state |= QStyle::State_Horizontal;
        }
        const QRect thumb =
            sb->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, sb);
        info.thumbLength = vertical ? thumb.height() : thumb.width();
    }
    return info;
}

void TListView::ScrollLines(int lines) {
    m_model->Sync();
    if (QTreeView* view = View()) {
        QScrollBar* sb = view->verticalScrollBar();
        sb->setValue(sb->value() + lines);
    }
}

void TListView::Scroll(int dx, int dy) {
    m_model->Sync();
    QTreeView* view = View();
    if (!view) {
        return;
    }
    if (dx != 0) {
        QScrollBar* sb = view->horizontalScrollBar();
        sb->setValue(sb->value() + dx);
    }
    if (dy != 0 && m_items.Count() > 0) {
        const int rowHeight = std::max(1, view->sizeHintForRow(0));
        ScrollLines(dy / rowHeight);
    }
}

void TListView::ScrollChanged(bool vertical) {
    Perform(vertical ? WM_VSCROLL : WM_HSCROLL);
}

void TListView::ItemSelectionChanged(const std::vector<int>& deselected,
                                     const std::vector<int>& selected) {
    if (m_suppressSelect > 0 || IsLoading()) {
        return;
    }
    QPointer<QObject> alive(this);
    // The row that loses the selection is told first.
    for (int row : deselected) {
        if (OnSelectItem && alive && row < m_items.Count()) {
            OnSelectItem(this, m_items.Item(row), false);
        }
    }
    for (int row : selected) {
        if (OnSelectItem && alive && row < m_items.Count()) {
            OnSelectItem(this, m_items.Item(row), true);
        }
    }
    if (alive && OnChange) {
        OnChange(this);
    }
}

TColor TListView::RowTextColor(int rowCode, TCustomDrawState state, bool& defaultDraw) {
    // Negative codes are the first column: the row's custom draw runs there,
    // once per row; the other columns reuse its answer.
    const bool firstColumn = rowCode < 0;
    const int row = firstColumn ? -1 - rowCode : rowCode;
    if (firstColumn || row != m_drawRow) {
        m_drawCanvas.Font()->Assign(*Font());
        m_drawDefault = true;
        if (OnCustomDrawItem && row < m_items.Count()) {
            OnCustomDrawItem(this, m_items.Item(row), state, m_drawDefault);
        }
        m_drawRow = row;
        m_drawColor = m_drawCanvas.Font()->Color();
    }
    defaultDraw = m_drawDefault;
    return m_drawColor;
}

} // namespace tk
