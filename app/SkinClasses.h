// What the program's forms share: every class their descriptions name,
// registered once, and finding a part a description must have made.
#pragma once

#include "platform/toolkit/Component.h"
#include "platform/toolkit/Exceptions.h"

void RegisterSkinClasses();

// The component of that name and class on the form; a description without
// it is a build fault, reported as an exception.
template <class T> T* FindPart(tk::TComponent* form, const char* name) {
    auto* c = qobject_cast<T*>(form->FindComponent(QLatin1String(name)));
    if (!c) {
        throw tk::Exception(QStringLiteral("The description of %1 has no %2.")
                                .arg(form->Name(), QLatin1String(name)));
    }
    return c;
}
