#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QVarLengthArray>

/// The key path being decoded and the first failure met on it. Keys are
/// pushed as static views and indexes as numbers, so a successful decode
/// builds no text; the path is spelled out only when something fails.
class DecodeContext
{
public:
    /// Keeps one key or array index on the path for its lifetime.
    class Scope
    {
    public:
        Scope(DecodeContext &context, QLatin1StringView key);
        Scope(DecodeContext &context, qsizetype index);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        DecodeContext &m_context;
    };

    /// Records the failure at the current path (plus an optional dynamic key,
    /// such as a map entry) and returns false, for `return context.fail(...)`.
    bool fail(const QString &reason, const QString &dynamicKey = {});

    /// Like fail, but the failure also escapes fields that would otherwise
    /// fall back to their default.
    bool failFatally(const QString &reason);

    /// Forgets a failure that a caller has decided to absorb.
    void clearFailure();

    bool isFatal() const { return m_fatal; }
    const QString &error() const { return m_error; }
    QString path() const;

private:
    struct Segment
    {
        QLatin1StringView key;
        qsizetype index = -1;
    };

    QVarLengthArray<Segment, 16> m_segments;
    QString m_error;
    bool m_fatal = false;
};
