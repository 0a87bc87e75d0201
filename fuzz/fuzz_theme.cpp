// The theme-file reader on any bytes, as a file theme loads it: every item of
// every kind, images cut into states as the skinned controls cut them.
#include <QApplication>
#include <memory>

#include "fuzz/FuzzSupport.h"
#include "platform/toolkit/Bitmaps.h"
#include "skin/SKMgr.h"
#include "skin/SKThemeFile.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::UseOffscreenQt();
    fuzz::QuietQt();
    new QApplication(*argc, *argv); // for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto reader = sk::TskThemeFileReader::FromData(bytes);
    for (const auto& file : reader->Files()) {
        reader->GetFile(file.Name);
    }
    for (const auto* lines : {&reader->Integers(), &reader->Booleans(), &reader->Strings()}) {
        for (const auto& line : *lines) {
            reader->GetInteger(line.Name);
            reader->GetBool(line.Name);
            reader->GetStr(line.Name);
        }
    }

    const std::string path = fuzz::WriteInput("theme.skn", data, size);
    if (!sk::TskFileTheme::CheckThemeFile(QString::fromStdString(path))) {
        return 0;
    }
    sk::TskFileTheme theme(nullptr);
    theme.SetThemeFile(QString::fromStdString(path));
    for (int index = 1; index <= 42; ++index) {
        tk::TBitmap whole;
        theme.GetBitmap(index, &whole);
        tk::TBitmap state;
        theme.GetBitmap(index, &state, 4, 3);
        theme.GetBool(index);
        theme.GetColor(index);
        theme.GetInt(index);
    }
    return 0;
}
