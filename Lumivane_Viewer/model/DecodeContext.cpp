#include "DecodeContext.h"

DecodeContext::Scope::Scope(DecodeContext &context, QLatin1StringView key)
    : m_context(context)
{
    m_context.m_segments.append({key, -1});
}

DecodeContext::Scope::Scope(DecodeContext &context, qsizetype index)
    : m_context(context)
{
    m_context.m_segments.append({{}, index});
}

DecodeContext::Scope::~Scope()
{
    m_context.m_segments.removeLast();
}

QString DecodeContext::path() const
{
    QString result;
    for (const Segment &segment : m_segments) {
        if (segment.index >= 0) {
            result += u'[' + QString::number(segment.index) + u']';
        } else {
            if (!result.isEmpty())
                result += u'.';
            result += segment.key;
        }
    }
    return result;
}

bool DecodeContext::fail(const QString &reason, const QString &dynamicKey)
{
    QString where = path();
    if (!dynamicKey.isNull())
        where += QStringLiteral("[\"") + dynamicKey.left(64) + QStringLiteral("\"]");
    m_error = where.isEmpty() ? reason : where + QStringLiteral(": ") + reason;
    return false;
}

bool DecodeContext::failFatally(const QString &reason)
{
    m_fatal = true;
    m_error = reason;
    return false;
}

void DecodeContext::clearFailure()
{
    m_error.clear();
}
