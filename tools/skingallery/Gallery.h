// What the gallery's pages share: the style a page is drawn in and how a
// skinned control is placed on it.
#pragma once

#include <QImage>
#include <QString>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKMgr.h"
#include "skin/SKThemes.h"

namespace gallery {

struct Page {
    sk::TskUIStyle style;
    sk::TskFileTheme* theme;
};

// Style first, then the values that win over it, as a form description does.
template <class T>
T* Make(tk::TForm* form, tk::TWinControl* parent, const Page& page, int left, int top) {
    auto* c = new T(form); // owned by the form
    c->SetParent(parent);
    c->SetLeft(left);
    c->SetTop(top);
    c->SetFileTheme(page.theme);
    c->SetUIStyle(page.style);
    return c;
}

inline tk::TLabel* Label(tk::TForm* form, tk::TWinControl* parent, int left, int top,
                         const QString& text) {
    auto* l = new tk::TLabel(form); // owned by the form
    l->SetParent(parent);
    l->SetBounds(left, top, 200, 14);
    l->SetCaption(text);
    return l;
}

inline tk::TColor FaceColour(const Page& page) {
    sk::TskUIStyle used = sk::DeepBlue;
    return sk::UsingFileTheme(page.theme, page.style, used)
               ? page.theme->GetColor(sk::siFormBackgroundColor)
               : sk::GetInsideThemeColor(used, sk::siFormBackgroundColor);
}

// The lists, scroll bars, track bars and edit boxes.
QImage RenderListsPage(const Page& page, const QString& title);
// The MDI frame tiled, cascaded and maximised, the notice, progress bars,
// tool bars and the radio and check groups.
QImage RenderComponentsPage(const Page& page, const QString& title);

} // namespace gallery
