#pragma once

#include <QString>
#include <exception>
#include <new>

// The one error the document layer throws. Its text is what the user reads in
// the error box ("Stream read error", "Cannot open file "x". reason", ...).
class BcfgError : public std::exception
{
public:
    explicit BcfgError(QString text) : m_text(std::move(text)), m_utf8(m_text.toUtf8()) {}

    const QString& text() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    // The text as an error box shows it: a full stop is added when it does not end in one.
    QString boxText() const { return withFullStop(m_text); }

    static QString withFullStop(const QString& text)
    {
        return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
    }

private:
    QString m_text;
    QByteArray m_utf8;
};

// Runs work and turns running out of memory into the error the user is shown.
// Whatever work was building is gone by then, so the text can be allocated.
template <typename Work> decltype(auto) OutOfMemoryAsError(Work&& work)
{
    try {
        return work();
    } catch (const std::bad_alloc&) {
        throw BcfgError(QStringLiteral("Out of memory"));
    }
}
