#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>

#include <optional>
#include <vector>

/// A parsed JSON text that keeps its strings and numbers as byte ranges of
/// the source and converts them only when read. Parsing is strict RFC 8259
/// (UTF-8 checked, nesting bounded, numbers beyond a double refused) and
/// cheap, so that decoding a large tour costs little more than reading it.
class JsonTree
{
public:
    enum class Type : quint8 { null, boolean, number, string, array, object };

    struct Node
    {
        quint32 offset = 0; // string and number: first byte of the raw text
        quint32 length = 0; // string and number: raw byte length; array and object: entry count
        quint32 end = 0;    // index of the first node after this one's subtree
        Type type = Type::null;
        bool flag = false;  // boolean: its value; string: holds escapes; number: written as an integer
    };

    /// Parses a whole JSON text; on failure error tells where and why.
    static std::optional<JsonTree> parse(const QByteArray &json, QString *error = nullptr);

    const Node &node(quint32 index) const { return m_nodes[index]; }
    QByteArrayView raw(const Node &node) const
    {
        return QByteArrayView(m_source.constData() + node.offset, node.length);
    }

private:
    QByteArray m_source;
    std::vector<Node> m_nodes;
};

/// A cheap handle on one value of a JsonTree, or on nothing (an absent key).
class JsonValue
{
public:
    JsonValue() = default;
    JsonValue(const JsonTree *tree, quint32 index)
        : m_tree(tree)
        , m_index(index)
    {
    }

    bool isUndefined() const { return m_tree == nullptr; }
    bool isNull() const { return is(JsonTree::Type::null); }
    bool isBool() const { return is(JsonTree::Type::boolean); }
    bool isNumber() const { return is(JsonTree::Type::number); }
    bool isString() const { return is(JsonTree::Type::string); }
    bool isArray() const { return is(JsonTree::Type::array); }
    bool isObject() const { return is(JsonTree::Type::object); }
    /// "null", "a string", ... for messages; "nothing" when undefined.
    QLatin1StringView typeName() const;

    bool toBool() const { return node().flag; }
    /// The number, when the value is a number.
    double toDouble() const;
    /// The number when it is whole and fits 64 signed bits.
    std::optional<qint64> toInteger() const;
    QString toString() const;
    /// The string's UTF-8 bytes, when it holds no escapes; else no value.
    std::optional<QByteArrayView> rawString() const;

    /// Array elements or object members.
    quint32 size() const { return node().length; }
    /// The member under key (the last one when a key repeats); undefined when absent.
    JsonValue member(QLatin1StringView key) const;

    /// Calls visit(index, element) for each element of an array, in order;
    /// stops early when visit returns false.
    template<typename Visit>
    bool forEachElement(Visit visit) const;
    /// Calls visit(key, value) for each member of an object, in order;
    /// stops early when visit returns false.
    template<typename Visit>
    bool forEachMember(Visit visit) const;

private:
    template<typename Visit>
    void forEachMemberKey(Visit visit) const
    {
        quint32 child = m_index + 1;
        for (quint32 i = 0; i < size(); ++i) {
            visit(JsonValue(m_tree, child), JsonValue(m_tree, child + 1));
            child = m_tree->node(child + 1).end;
        }
    }

    bool is(JsonTree::Type type) const { return m_tree && node().type == type; }
    const JsonTree::Node &node() const { return m_tree->node(m_index); }

    const JsonTree *m_tree = nullptr;
    quint32 m_index = 0;
};

template<typename Visit>
bool JsonValue::forEachElement(Visit visit) const
{
    quint32 child = m_index + 1;
    for (quint32 i = 0; i < size(); ++i) {
        if (!visit(qsizetype(i), JsonValue(m_tree, child)))
            return false;
        child = m_tree->node(child).end;
    }
    return true;
}

template<typename Visit>
bool JsonValue::forEachMember(Visit visit) const
{
    quint32 child = m_index + 1;
    for (quint32 i = 0; i < size(); ++i) {
        const JsonValue key(m_tree, child);
        const JsonValue value(m_tree, child + 1);
        if (!visit(key.toString(), value))
            return false;
        child = m_tree->node(child + 1).end;
    }
    return true;
}
