// The toolkit's exceptions. The application's exception box shows Message()
// of any tk::Exception that escapes an event handler; EAbort is silent.
#pragma once

#include <QString>
#include <stdexcept>

namespace tk {

class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& Message() const { return m_message; }

private:
    QString m_message;
};

// Thrown to leave a handler without telling the user anything.
class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
    explicit EAbort(const QString& message) : Exception(message) {}
};

// An image file or image data that cannot be read.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// A named resource (bitmap, icon) that the program does not carry.
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};

} // namespace tk
