#include "InfoGroupsAccessibility.h"

#include "InfoGroupsBody.h"

#include "l10n/L10n.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace {

/// One line of the body: a group's heading, a row, or the empty-state text.
struct InfoLine
{
    QAccessible::Role role;
    QString name;
    QString value;
    QRectF rect; // in the body
};

QList<InfoLine> infoLines(const InfoGroupsBody &body)
{
    QList<InfoLine> lines;
    const QList<QRectF> titles = body.titleRects();
    const QList<QRectF> rows = body.rowRects();
    qsizetype row = 0;
    for (qsizetype group = 0; group < body.groups().size(); ++group) {
        const LumivaneInfoGroup &shown = body.groups()[group];
        lines.append({QAccessible::Heading, shown.title, QString(), titles.value(group)});
        // Screen readers review a line by its name alone: the value goes in it.
        for (const LumivaneInfoItem &item : shown.items) {
            lines.append({QAccessible::StaticText, L10n::fillPlaceholders(body.rowReading(), {item.label, item.value}),
                          item.value, rows.value(row++)});
        }
    }
    if (lines.isEmpty())
        lines.append({QAccessible::StaticText, body.emptyText(), QString(), QRectF()});
    return lines;
}

class InfoLineAccessible final : public QAccessibleInterface
{
public:
    InfoLineAccessible(InfoGroupsBody *body, int index)
        : m_body(body)
        , m_index(index)
    {
    }

    bool isValid() const override { return m_body && m_index < infoLines(*m_body).size(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_body ? m_body->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_body.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        const InfoLine line = infoLines(*m_body)[m_index];
        switch (kind) {
        case QAccessible::Name:
            return line.name;
        case QAccessible::Value:
            return line.value;
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = infoLines(*m_body)[m_index].rect.toAlignedRect();
        return QRect(m_body->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override
    {
        return isValid() ? infoLines(*m_body)[m_index].role : QAccessible::NoRole;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.readOnly = true;
        state.invisible = !m_body || !m_body->isVisible();
        state.offscreen = !isValid() || !m_body->visibleRegion().intersects(infoLines(*m_body)[m_index].rect.toAlignedRect());
        return state;
    }

private:
    QPointer<InfoGroupsBody> m_body;
    int m_index;
};

/// The body: its lines, which it paints instead of holding labels.
class InfoGroupsBodyAccessible final : public QAccessibleWidget
{
public:
    explicit InfoGroupsBodyAccessible(InfoGroupsBody *body)
        : QAccessibleWidget(body, QAccessible::List)
    {
    }
    ~InfoGroupsBodyAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_lines))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(infoLines(*body()).size()); }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        auto known = m_lines.constFind(index);
        if (known == m_lines.constEnd()) {
            // Registered interfaces belong to the framework until deleted above.
            known = m_lines.insert(index, QAccessible::registerAccessibleInterface(new InfoLineAccessible(body(), index)));
        }
        return QAccessible::accessibleInterface(*known);
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (auto entry = m_lines.constBegin(); entry != m_lines.constEnd(); ++entry) {
            if (QAccessible::accessibleInterface(entry.value()) == child)
                return entry.key();
        }
        return -1;
    }

private:
    InfoGroupsBody *body() const { return static_cast<InfoGroupsBody *>(widget()); }

    mutable QHash<int, QAccessible::Id> m_lines;
};

QAccessibleInterface *infoGroupsFactory(const QString &, QObject *object)
{
    if (auto *body = dynamic_cast<InfoGroupsBody *>(object))
        return new InfoGroupsBodyAccessible(body);
    return nullptr;
}

} // namespace

void installInfoGroupsAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(infoGroupsFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
