// Form descriptions on any text: parsed, then read into a form with every
// class the program's descriptions may name; an error is an exception that
// leaves nothing half-built.
#include <QApplication>

#include "app/SkinClasses.h"
#include "fuzz/FuzzSupport.h"
#include "platform/toolkit/FormReader.h"
#include "platform/toolkit/Forms.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::UseOffscreenQt();
    fuzz::QuietQt();
    new QApplication(*argc, *argv); // for the whole run
    RegisterSkinClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        tk::ParseFormDescription(text, QStringLiteral("fuzz.form"));
    } catch (const tk::EFormDescription&) {
        return 0;
    }
    const tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    try {
        form->LoadDescriptionText(text, QStringLiteral("fuzz.form"));
    } catch (const tk::Exception&) {
        if (!form->Components().empty()) {
            std::abort(); // a failed read left components behind
        }
    }
    return 0;
}
