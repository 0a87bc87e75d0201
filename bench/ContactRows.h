// The rows the list benchmarks fill a report list with: six columns of
// contact fields, as the main window shows them.
#pragma once

#include <QString>

#include "platform/toolkit/ListView.h"

namespace benchsupport {

inline void AddContactColumns(tk::TListView* list) {
    for (const char* c :
         {"Display Name", "Email", "Company", "Title", "Home Phone", "Work Phone"}) {
        list->AddColumn(QString::fromLatin1(c), 120);
    }
}

// Appends rows contacts and selects the first row.
inline void FillContactRows(tk::TListView* list, int rows) {
    tk::TListItems* items = list->Items();
    for (int i = 0; i < rows; ++i) {
        tk::TListItem* item = items->Add();
        item->SetCaption(QStringLiteral("Contact %1").arg(i));
        item->AddSubItem(QStringLiteral("contact%1@example.org").arg(i));
        item->AddSubItem(QStringLiteral("Company"));
        item->AddSubItem(QStringLiteral("Title"));
        item->AddSubItem(QStringLiteral("+1 555 0100"));
        item->AddSubItem(QStringLiteral("+1 555 0199"));
    }
    items->Item(0)->SetSelected(true);
}

} // namespace benchsupport
