#pragma once

#include <QLoggingCategory>
#include <QString>
#include <optional>
#include <utility>

namespace resultado {
// A value asked of a failure is a programming error: it stops the program with the message
// rather than reading an empty value.
[[noreturn]] void valorDeUnFallo(const QString& error);
} // namespace resultado

// The one result type of the code base: logic returns it, windows show its message.
// The message is Spanish and ready to be shown to the user. A result must be looked at: a
// caller that goes on after a failure says so with ignorarFallo().
template <typename T> class [[nodiscard]] Result
{
public:
    Result(T value) : m_value(std::move(value)) {}
    static Result failure(QString message)
    {
        Result r;
        r.m_error = std::move(message);
        return r;
    }
    bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const
    {
        if (!m_value)
            resultado::valorDeUnFallo(m_error);
        return *m_value;
    }
    T& value()
    {
        if (!m_value)
            resultado::valorDeUnFallo(m_error);
        return *m_value;
    }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const QString& error() const { return m_error; }

private:
    Result() = default;
    std::optional<T> m_value;
    QString m_error;
};

template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    static Result failure(QString message)
    {
        Result r;
        r.m_ok = false;
        r.m_error = std::move(message);
        return r;
    }
    bool ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const QString& error() const { return m_error; }

private:
    bool m_ok = true;
    QString m_error;
};

using Status = Result<void>;

// Goes on after a step whose failure the program may ignore (a move of a view that leaves
// data and screen as they were, say); the failure is logged under the area's category with
// what was being done, so that a user's report can be diagnosed.
template <typename T>
void ignorarFallo(const Result<T>& r, const QLoggingCategory& categoria, const char* paso)
{
    if (!r.ok())
        qCInfo(categoria).noquote() << paso << QStringLiteral("falló:") << r.error();
}
