#pragma once

#include <QString>
#include <exception>

namespace vidmo {

// An error raised inside a handler. It ends that handler; the slot boundary
// (see guard.h) shows its text in the default error box and the program goes on.
// It never travels through the event loop.
class Failure : public std::exception
{
public:
    explicit Failure(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}
    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

} // namespace vidmo
