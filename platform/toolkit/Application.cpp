#include "platform/toolkit/Application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/toolkit/Controls.h"
#include "platform/toolkit/Forms.h"
#include "platform/win32/Win32.h"
#include "platform/win32/Win32Qt.h"

namespace tk {

TApplication* Application = nullptr;

TApplication::TApplication() : TComponent(nullptr) {
    Application = this;
    RegisterToolkitClasses();
    if (qApp) {
        qApp->installEventFilter(this);
        m_title = QCoreApplication::applicationName();
    }
}

TApplication::~TApplication() {
    if (qApp) {
        qApp->removeEventFilter(this);
    }
    // Forms go while the application still exists, as they expect.
    while (ComponentCount() > 0) {
        Component(ComponentCount() - 1)->Free();
    }
    if (Application == this) {
        Application = nullptr;
    }
}

void TApplication::SetTitle(const QString& title) {
    m_title = title;
    if (qApp) {
        QCoreApplication::setApplicationName(title);
        QGuiApplication::setApplicationDisplayName(title);
    }
}

bool TApplication::Active() const {
    return QApplication::activeWindow() != nullptr;
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == m_mainForm) {
        m_mainForm = nullptr;
    }
}

void TApplication::Run() {
    if (m_terminated) {
        return;
    }
    m_running = true;
    try {
        if (m_mainForm && m_showMainForm) {
            m_mainForm->Show();
        }
    } catch (...) {
        HandleException(this);
    }
    if (!m_terminated) {
        QApplication::exec();
    }
    m_running = false;
}

void TApplication::Terminate() {
    m_terminated = true;
    // Not quit(): that first asks every window to close, which a form may
    // refuse, and leaves a modal run waiting.
    QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString TApplication::ExceptionBoxText(const QString& message) {
    QString text = message;
    if (!text.isEmpty() && text.back().unicode() > u'.') {
        text += QLatin1Char('.');
    }
    return text;
}

void TApplication::ShowException(const Exception& e) {
    const QByteArray text = ExceptionBoxText(e.Message()).toUtf8();
    const QByteArray title = m_title.toUtf8();
    HWND owner = nullptr;
    if (QWidget* w = QApplication::activeWindow()) {
        owner = HwndFromWidget(w);
    }
    MessageBoxA(owner, text.constData(), title.constData(), MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(TObject* Sender) {
    auto show = [&](const Exception& e) {
        if (OnException) {
            OnException(Sender, e);
        } else {
            ShowException(e);
        }
    };
    try {
        throw;
    } catch (const EAbort&) {
        // Silent by design.
    } catch (const Exception& e) {
        show(e);
    } catch (const std::exception& e) {
        show(Exception(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        show(Exception(QString()));
    }
}

bool TApplication::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    auto* ke = static_cast<QKeyEvent*>(event);
    m_charHandled = nullptr;
    if (!OnMessage) {
        return false;
    }
    // A key event not taken is offered to each parent widget in turn; the
    // hook sees only the first delivery, to the focus widget (or the window).
    auto* w = static_cast<QWidget*>(watched);
    if (QWidget* focus = QApplication::focusWidget(); focus ? w != focus : !w->isWindow()) {
        return false;
    }
    const TShiftState shift = ShiftFromQt(ke->modifiers());
    const bool alt = (shift & ssAlt) != 0;
    try {
        TMsg msg;
        msg.hwnd = watched;
        msg.message = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
        msg.wParam = VirtualKeyFromQt(ke->key());
        msg.lParam = static_cast<std::intptr_t>(shift);
        bool handled = false;
        OnMessage(msg, handled);
        if (handled) {
            return true;
        }
        if (!ke->text().isEmpty()) {
            msg.message = alt ? WM_SYSCHAR : WM_CHAR;
            msg.wParam = ke->text().at(0).unicode();
            handled = false;
            OnMessage(msg, handled);
            if (handled) {
                m_charHandled = ke;
            }
        }
    } catch (...) {
        HandleException(this);
        return true;
    }
    return false;
}

} // namespace tk
