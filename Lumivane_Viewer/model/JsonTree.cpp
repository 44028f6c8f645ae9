#include "JsonTree.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Deep enough for any tour; shallow enough that the recursive parser cannot
// exhaust the stack on hostile input.
constexpr int maxDepth = 512;

constexpr std::array<bool, 256> makePlainStringBytes()
{
    std::array<bool, 256> table{};
    for (int c = 0x20; c < 0x80; ++c)
        table[c] = c != '"' && c != '\\';
    return table;
}

constexpr std::array<bool, 256> plainStringBytes = makePlainStringBytes();

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Four hex digits of a \u escape; -1 when malformed.
int readHex4(const char *p)
{
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexValue(p[i]);
        if (digit < 0)
            return -1;
        value = value << 4 | digit;
    }
    return value;
}

void appendUtf8(QByteArray &out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out.append(char(codePoint));
    } else if (codePoint < 0x800) {
        out.append(char(0xC0 | codePoint >> 6));
        out.append(char(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.append(char(0xE0 | codePoint >> 12));
        out.append(char(0x80 | (codePoint >> 6 & 0x3F)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    } else {
        out.append(char(0xF0 | codePoint >> 18));
        out.append(char(0x80 | (codePoint >> 12 & 0x3F)));
        out.append(char(0x80 | (codePoint >> 6 & 0x3F)));
        out.append(char(0x80 | (codePoint & 0x3F)));
    }
}

std::optional<double> parseDouble(QByteArrayView text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
    if (error != std::errc() || end != text.end() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

class JsonParser
{
public:
    JsonParser(const QByteArray &source, std::vector<JsonTree::Node> &nodes)
        : m_begin(source.constData())
        , m_pos(source.constData())
        , m_end(source.constData() + source.size())
        , m_nodes(nodes)
    {
    }

    bool parseDocument()
    {
        if (!parseValue(0))
            return false;
        skipWhitespace();
        return m_pos == m_end || fail("unexpected content after the value");
    }

    QString error() const
    {
        return QStringLiteral("invalid JSON at offset %1: %2").arg(m_errorOffset).arg(QLatin1StringView(m_error));
    }

private:
    bool fail(const char *what)
    {
        m_error = what;
        m_errorOffset = m_pos - m_begin;
        return false;
    }

    void skipWhitespace()
    {
        while (m_pos < m_end && (*m_pos == ' ' || *m_pos == '\n' || *m_pos == '\r' || *m_pos == '\t'))
            ++m_pos;
    }

    quint32 offset() const { return quint32(m_pos - m_begin); }

    quint32 addNode(JsonTree::Type type)
    {
        m_nodes.push_back({offset(), 0, 0, type, false});
        return quint32(m_nodes.size() - 1);
    }

    void close(quint32 index) { m_nodes[index].end = quint32(m_nodes.size()); }

    bool parseValue(int depth)
    {
        skipWhitespace();
        if (m_pos == m_end)
            return fail("unexpected end of text");
        switch (*m_pos) {
        case '{':
            return parseObject(depth);
        case '[':
            return parseArray(depth);
        case '"':
            return parseString();
        case 't':
            return parseLiteral("true", JsonTree::Type::boolean, true);
        case 'f':
            return parseLiteral("false", JsonTree::Type::boolean, false);
        case 'n':
            return parseLiteral("null", JsonTree::Type::null, false);
        default:
            if (*m_pos == '-' || isDigit(*m_pos))
                return parseNumber();
            return fail("unexpected character");
        }
    }

    bool parseLiteral(QByteArrayView literal, JsonTree::Type type, bool value)
    {
        if (QByteArrayView(m_pos, m_end - m_pos).startsWith(literal) == false)
            return fail("unknown literal");
        const quint32 index = addNode(type);
        m_nodes[index].flag = value;
        m_pos += literal.size();
        close(index);
        return true;
    }

    bool parseObject(int depth)
    {
        if (depth >= maxDepth)
            return fail("nesting too deep");
        const quint32 index = addNode(JsonTree::Type::object);
        ++m_pos;
        skipWhitespace();
        quint32 count = 0;
        if (m_pos < m_end && *m_pos == '}') {
            ++m_pos;
        } else {
            for (;;) {
                skipWhitespace();
                if (m_pos == m_end || *m_pos != '"')
                    return fail("expected a key string");
                if (!parseString())
                    return false;
                skipWhitespace();
                if (m_pos == m_end || *m_pos != ':')
                    return fail("expected ':'");
                ++m_pos;
                if (!parseValue(depth + 1))
                    return false;
                ++count;
                skipWhitespace();
                if (m_pos == m_end)
                    return fail("unterminated object");
                if (*m_pos == '}') {
                    ++m_pos;
                    break;
                }
                if (*m_pos != ',')
                    return fail("expected ',' or '}'");
                ++m_pos;
            }
        }
        m_nodes[index].length = count;
        close(index);
        return true;
    }

    bool parseArray(int depth)
    {
        if (depth >= maxDepth)
            return fail("nesting too deep");
        const quint32 index = addNode(JsonTree::Type::array);
        ++m_pos;
        skipWhitespace();
        quint32 count = 0;
        if (m_pos < m_end && *m_pos == ']') {
            ++m_pos;
        } else {
            for (;;) {
                if (!parseValue(depth + 1))
                    return false;
                ++count;
                skipWhitespace();
                if (m_pos == m_end)
                    return fail("unterminated array");
                if (*m_pos == ']') {
                    ++m_pos;
                    break;
                }
                if (*m_pos != ',')
                    return fail("expected ',' or ']'");
                ++m_pos;
            }
        }
        m_nodes[index].length = count;
        close(index);
        return true;
    }

    bool parseString()
    {
        ++m_pos; // opening quote
        const quint32 index = addNode(JsonTree::Type::string);
        bool escapes = false;
        for (;;) {
            while (m_pos < m_end && plainStringBytes[static_cast<unsigned char>(*m_pos)])
                ++m_pos;
            if (m_pos == m_end)
                return fail("unterminated string");
            const unsigned char c = static_cast<unsigned char>(*m_pos);
            if (c == '"')
                break;
            if (c == '\\') {
                escapes = true;
                if (!skipEscape())
                    return false;
            } else if (c < 0x20) {
                return fail("control character in string");
            } else if (!skipUtf8Sequence()) {
                return false;
            }
        }
        m_nodes[index].length = offset() - m_nodes[index].offset;
        m_nodes[index].flag = escapes;
        ++m_pos; // closing quote
        close(index);
        return true;
    }

    bool skipEscape()
    {
        if (m_end - m_pos < 2)
            return fail("unterminated escape");
        const char kind = m_pos[1];
        if (kind != 'u') {
            if (!QByteArrayView("\"\\/bfnrt").contains(kind))
                return fail("unknown escape");
            m_pos += 2;
            return true;
        }
        if (m_end - m_pos < 6)
            return fail("unterminated escape");
        const int unit = readHex4(m_pos + 2);
        if (unit < 0)
            return fail("malformed \\u escape");
        m_pos += 6;
        if (unit >= 0xDC00 && unit <= 0xDFFF)
            return fail("unpaired surrogate escape");
        if (unit < 0xD800 || unit > 0xDBFF)
            return true;
        // A high surrogate must be followed by an escaped low surrogate.
        if (m_end - m_pos < 6 || m_pos[0] != '\\' || m_pos[1] != 'u')
            return fail("unpaired surrogate escape");
        const int low = readHex4(m_pos + 2);
        if (low < 0xDC00 || low > 0xDFFF)
            return fail("unpaired surrogate escape");
        m_pos += 6;
        return true;
    }

    // One multi-byte UTF-8 sequence: no overlong forms, no surrogates, nothing above U+10FFFF.
    bool skipUtf8Sequence()
    {
        const auto byte = [this](qsizetype i) {
            return m_pos + i < m_end ? static_cast<unsigned char>(m_pos[i]) : 0u;
        };
        const unsigned lead = byte(0);
        const auto continuation = [&](qsizetype i, unsigned low = 0x80, unsigned high = 0xBF) {
            return byte(i) >= low && byte(i) <= high;
        };
        qsizetype length = 0;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = continuation(1) ? 2 : 0;
        else if (lead == 0xE0)
            length = continuation(1, 0xA0) && continuation(2) ? 3 : 0;
        else if ((lead >= 0xE1 && lead <= 0xEC) || lead == 0xEE || lead == 0xEF)
            length = continuation(1) && continuation(2) ? 3 : 0;
        else if (lead == 0xED)
            length = continuation(1, 0x80, 0x9F) && continuation(2) ? 3 : 0;
        else if (lead == 0xF0)
            length = continuation(1, 0x90) && continuation(2) && continuation(3) ? 4 : 0;
        else if (lead >= 0xF1 && lead <= 0xF3)
            length = continuation(1) && continuation(2) && continuation(3) ? 4 : 0;
        else if (lead == 0xF4)
            length = continuation(1, 0x80, 0x8F) && continuation(2) && continuation(3) ? 4 : 0;
        if (length == 0)
            return fail("invalid UTF-8");
        m_pos += length;
        return true;
    }

    bool parseNumber()
    {
        const quint32 index = addNode(JsonTree::Type::number);
        bool integer = true;
        if (*m_pos == '-')
            ++m_pos;
        if (m_pos == m_end || !isDigit(*m_pos))
            return fail("malformed number");
        if (*m_pos == '0')
            ++m_pos;
        else
            skipDigits();
        if (m_pos < m_end && *m_pos == '.') {
            integer = false;
            ++m_pos;
            if (!skipDigits())
                return fail("malformed number");
        }
        if (m_pos < m_end && (*m_pos == 'e' || *m_pos == 'E')) {
            integer = false;
            ++m_pos;
            if (m_pos < m_end && (*m_pos == '+' || *m_pos == '-'))
                ++m_pos;
            if (!skipDigits())
                return fail("malformed number");
        }
        JsonTree::Node &node = m_nodes[index];
        node.length = offset() - node.offset;
        node.flag = integer;
        const QByteArrayView text(m_begin + node.offset, node.length);
        if (!parseDouble(text))
            return fail("number beyond the range of a double");
        close(index);
        return true;
    }

    bool skipDigits()
    {
        const char *start = m_pos;
        while (m_pos < m_end && isDigit(*m_pos))
            ++m_pos;
        return m_pos != start;
    }

    const char *m_begin;
    const char *m_pos;
    const char *m_end;
    std::vector<JsonTree::Node> &m_nodes;
    const char *m_error = "";
    qsizetype m_errorOffset = 0;
};

std::optional<JsonTree> JsonTree::parse(const QByteArray &json, QString *error)
{
    if (json.size() >= qsizetype(std::numeric_limits<quint32>::max())) {
        if (error)
            *error = QStringLiteral("invalid JSON: the text is too large");
        return std::nullopt;
    }
    JsonTree tree;
    tree.m_source = json;
    tree.m_nodes.reserve(json.size() / 32 + 16);
    JsonParser parser(tree.m_source, tree.m_nodes);
    if (!parser.parseDocument()) {
        if (error)
            *error = parser.error();
        return std::nullopt;
    }
    return tree;
}

QLatin1StringView JsonValue::typeName() const
{
    if (!m_tree)
        return QLatin1StringView("nothing");
    switch (node().type) {
    case JsonTree::Type::null:
        return QLatin1StringView("null");
    case JsonTree::Type::boolean:
        return QLatin1StringView("a boolean");
    case JsonTree::Type::number:
        return QLatin1StringView("a number");
    case JsonTree::Type::string:
        return QLatin1StringView("a string");
    case JsonTree::Type::array:
        return QLatin1StringView("an array");
    case JsonTree::Type::object:
        return QLatin1StringView("an object");
    }
    return QLatin1StringView("nothing");
}

double JsonValue::toDouble() const
{
    // Numbers were checked to be finite doubles while parsing.
    return parseDouble(m_tree->raw(node())).value_or(0.0);
}

std::optional<qint64> JsonValue::toInteger() const
{
    const QByteArrayView text = m_tree->raw(node());
    if (node().flag) {
        qint64 value = 0;
        const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
        if (error == std::errc() && end == text.end())
            return value;
    }
    // 1.0 and 1e3 are whole numbers too; 2^63 and beyond are not 64-bit integers.
    const double value = toDouble();
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (std::trunc(value) != value || value < -limit || value >= limit)
        return std::nullopt;
    return qint64(value);
}

std::optional<QByteArrayView> JsonValue::rawString() const
{
    if (node().flag)
        return std::nullopt;
    return m_tree->raw(node());
}

QString JsonValue::toString() const
{
    const QByteArrayView text = m_tree->raw(node());
    if (!node().flag)
        return QString::fromUtf8(text);
    // Escapes were validated while parsing.
    QByteArray utf8;
    utf8.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            utf8.append(text[i]);
            continue;
        }
        const char kind = text[++i];
        switch (kind) {
        case 'b':
            utf8.append('\b');
            break;
        case 'f':
            utf8.append('\f');
            break;
        case 'n':
            utf8.append('\n');
            break;
        case 'r':
            utf8.append('\r');
            break;
        case 't':
            utf8.append('\t');
            break;
        case 'u': {
            char32_t codePoint = char32_t(readHex4(text.data() + i + 1));
            i += 4;
            if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
                const char32_t low = char32_t(readHex4(text.data() + i + 3));
                codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
                i += 6;
            }
            appendUtf8(utf8, codePoint);
            break;
        }
        default:
            utf8.append(kind);
            break;
        }
    }
    return QString::fromUtf8(utf8);
}

JsonValue JsonValue::member(QLatin1StringView key) const
{
    if (!isObject())
        return {};
    JsonValue found;
    // Every member is visited, so that a repeated key answers its last value.
    forEachMemberKey([&](const JsonValue &name, const JsonValue &value) {
        const std::optional<QByteArrayView> raw = name.rawString();
        const bool matches = raw ? raw->size() == key.size() && std::memcmp(raw->data(), key.data(), raw->size()) == 0
                                 : name.toString() == key;
        if (matches)
            found = value;
    });
    return found;
}
