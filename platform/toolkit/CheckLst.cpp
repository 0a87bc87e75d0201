#include "platform/toolkit/CheckLst.h"

#include <QListWidget>

#include "platform/toolkit/StdCtrls.h"

namespace tk {

TCheckListBox::TCheckListBox(TComponent* AOwner) : TWinControl(AOwner) {
    SetColor(clWindow);
    SetTabStop(true);
    SetFocusable(true);
    SetBounds(0, 0, 121, 97);
    PublishEvent("OnClickCheck", OnClickCheck);
}

TCheckListBox::~TCheckListBox() {
    DestroyHandle();
}

QListWidget* TCheckListBox::List() const {
    return static_cast<QListWidget*>(NativeWidget());
}

QWidget* TCheckListBox::CreateNativeWidget(QWidget* parent) {
    auto* list = new QListWidget(parent); // owned by its parent widget
    list->setFrameShape(QFrame::NoFrame);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(list, &QListWidget::itemChanged, list, [this](QListWidgetItem* item) {
        if (m_rebuilding) {
            return;
        }
        const int i = List()->row(item);
        const bool checked = item->checkState() == Qt::Checked;
        if (i >= 0 && i < Count() && m_checked[static_cast<std::size_t>(i)] != checked) {
            m_checked[static_cast<std::size_t>(i)] = checked;
            if (OnClickCheck) {
                OnClickCheck(this);
            }
        }
    });
    QObject::connect(list, &QListWidget::currentRowChanged, list, [this](int row) {
        // Clearing the list for a rebuild is not the user's choice.
        if (!m_rebuilding) {
            m_itemIndex = row;
        }
    });
    return list;
}

void TCheckListBox::NativeWidgetCreated() {
    List()->setFont(Font()->ToQFont());
    QPalette pal = List()->palette();
    pal.setColor(QPalette::Base, ToQColor(Color()));
    pal.setColor(QPalette::Text, ToQColor(Font()->Color()));
    List()->setPalette(pal);
    Rebuild();
}

void TCheckListBox::Rebuild() {
    QListWidget* list = List();
    if (!list) {
        return;
    }
    m_rebuilding = true;
    list->clear();
    for (int i = 0; i < Count(); ++i) {
        auto* item = new QListWidgetItem(m_items[i], list); // owned by the list
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(m_checked[static_cast<std::size_t>(i)] ? Qt::Checked : Qt::Unchecked);
    }
    list->setCurrentRow(m_itemIndex);
    m_rebuilding = false;
}

void TCheckListBox::SetItems(const QStringList& items) {
    m_items = items;
    m_checked.assign(static_cast<std::size_t>(items.size()), false);
    m_itemIndex = -1;
    Rebuild();
}

void TCheckListBox::AddItem(const QString& text) {
    m_items << text;
    m_checked.push_back(false);
    Rebuild();
}

void TCheckListBox::Clear() {
    SetItems({});
}

bool TCheckListBox::Checked(int i) const {
    return i >= 0 && i < Count() && m_checked[static_cast<std::size_t>(i)];
}

void TCheckListBox::SetChecked(int i, bool checked) {
    if (i < 0 || i >= Count()) {
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(i));
    }
    m_checked[static_cast<std::size_t>(i)] = checked;
    if (QListWidget* list = List()) {
        m_rebuilding = true;
        list->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
        m_rebuilding = false;
    }
}

int TCheckListBox::ItemIndex() const {
    return m_itemIndex;
}

void TCheckListBox::SetItemIndex(int i) {
    m_itemIndex = (i >= 0 && i < Count()) ? i : -1;
    if (QListWidget* list = List()) {
        list->setCurrentRow(m_itemIndex);
    }
}

TRect TCheckListBox::ItemRect(int i) const {
    QListWidget* list = List();
    if (!list || i < 0 || i >= Count()) {
        return {};
    }
    QRect r = list->visualItemRect(list->item(i));
    r.translate(list->viewport()->mapTo(list, QPoint(0, 0)));
    return TRect::FromQ(r);
}

void TCheckListBox::WMNCPaint(TMessage& m) {
    m_band.Paint(m);
}

bool TCheckListBox::WantsKey(unsigned key, TShiftState /*shift*/) const {
    return key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT || key == VK_HOME ||
           key == VK_END;
}

} // namespace tk
