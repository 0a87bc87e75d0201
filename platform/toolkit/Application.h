// The application object: title, main form, message loop, the
// application-wide message hook and the exception box.
#pragma once

#include <QObject>
#include <exception>
#include <functional>

#include "platform/toolkit/Component.h"
#include "platform/toolkit/Exceptions.h"
#include "platform/toolkit/Types.h"

class QKeyEvent;

namespace tk {

class TCustomForm;

// A message as the application-wide hook sees it before it is delivered.
struct TMsg {
    void* hwnd = nullptr; // the QWidget it is for
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
    Q_OBJECT
public:
    // Makes itself the global Application; there is one at a time.
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    QString Title() const { return m_title; }
    void SetTitle(const QString& title);
    TCustomForm* MainForm() const { return m_mainForm; }
    bool ShowMainForm() const { return m_showMainForm; }
    void SetShowMainForm(bool v) { m_showMainForm = v; }
    bool Terminated() const { return m_terminated; }
    // Some window of the application is the active one.
    bool Active() const;

    // Creates a form owned by the application; the first becomes the main form.
    template <class T> T* CreateForm(T*& ref) {
        ref = new T(this); // owned (and freed) by the application
        if (!m_mainForm) {
            m_mainForm = ref;
        }
        return ref;
    }
    void SetMainForm(TCustomForm* form) { m_mainForm = form; }

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    void Terminate();
    void ProcessMessages();

    // Call inside a catch block: EAbort is ignored, anything else is shown
    // in the exception box (or given to OnException).
    void HandleException(TObject* Sender);
    void ShowException(const Exception& e);
    // The exception box's text: the message, with a full stop added when its
    // last character comes after '.' in code order.
    static QString ExceptionBoxText(const QString& message);

    // The application-wide hook: key messages before any control sees them.
    TMessageEvent OnMessage;
    TExceptionEvent OnException;

    // Set by the hook when it handled the character message of a key event.
    bool CharHandledFor(const QKeyEvent* e) const { return e && e == m_charHandled; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_title;
    TCustomForm* m_mainForm = nullptr;
    bool m_showMainForm = true;
    bool m_terminated = false;
    bool m_running = false;
    const QKeyEvent* m_charHandled = nullptr;
};

extern TApplication* Application;

} // namespace tk
