// A skinned window for the frame tests: a form taken over by a TskForm in a
// given style, with the pointer and keyboard driven through real events.
#pragma once

#include <QApplication>
#include <QTest>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Forms.h"
#include "skin/SKForm.h"
#include "skin/SKMainMenu.h"

namespace sktest {

// The application object the skinned form hooks, one for the whole run.
inline tk::TApplication* TestApplication() {
    static tk::TApplication* app =
        tk::Application ? tk::Application : new tk::TApplication(); // lives for the run
    return app;
}

inline QRgb Rgb(tk::TColor c) {
    const tk::TColor v = tk::ColorToRGB(c);
    return qRgb(tk::GetRValue(v), tk::GetGValue(v), tk::GetBValue(v)) & 0xFFFFFF;
}

inline QRgb PixelAt(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

inline QImage Shot(QWidget* w) {
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

struct SkinnedWindow {
    explicit SkinnedWindow(sk::TskUIStyle style, tk::TRect bounds = tk::Bounds(60, 60, 400, 220)) {
        TestApplication();
        form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        form->SetCaption("Skinned");
        skinned = new sk::TskForm(form.get()); // owned by the form
        skinned->SetUIStyle(style);
        bar = skinned->TitleBar();
    }
    ~SkinnedWindow() {
        if (tk::TMenuChain* open = tk::TMenuChain::Active()) {
            open->Close(true);
        }
        QApplication::processEvents();
    }
    void ShowActive() {
        form->Show();
        QApplication::setActiveWindow(form->Handle());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form->Handle()));
    }
    tk::TMenuItem* AddItem(tk::TMenuItem* parent, const QString& caption) {
        auto* item = new tk::TMenuItem(form.get()); // owned by the form
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    sk::TskMainMenu* AddMenu() {
        return new sk::TskMainMenu(form.get()); // owned by the form; shown by the skinned form
    }
    // The whole window as it paints itself, frame band included.
    QImage Window() const { return Shot(form->Handle()); }
    // Centre of a title-bar button, in title-bar coordinates.
    QPoint ButtonCentre(int index) const {
        const tk::TRect r = bar->Layout(bar->Width()).buttons.at(static_cast<std::size_t>(index));
        return {r.Left + r.Width() / 2, r.Top + r.Height() / 2};
    }
    // A point of the title bar with no button under it.
    QPoint Caption() const { return {bar->Width() / 2, bar->Height() / 2}; }

    tk::TComponentPtr<tk::TForm> form{new tk::TForm(nullptr)};
    sk::TskForm* skinned = nullptr;
    sk::TskTitleBar* bar = nullptr;
};

// What a real double click delivers: the second press comes as a double click.
inline void DoubleClick(QWidget* w, QPoint p) {
    QTest::mouseClick(w, Qt::LeftButton, {}, p);
    QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    QTest::mouseRelease(w, Qt::LeftButton, {}, p);
}

// A drag by (dx, dy) in screen steps: the widget may move under the pointer,
// so each event is placed from the screen point.
inline void Drag(QWidget* w, QPoint from, QPoint by) {
    const QPoint start = w->mapToGlobal(from);
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    for (int step = 1; step <= 4; ++step) {
        const QPoint global = start + by * step / 4;
        QTest::mouseMove(w, w->mapFromGlobal(global));
    }
    QTest::mouseRelease(w, Qt::LeftButton, {}, w->mapFromGlobal(start + by));
}

} // namespace sktest
