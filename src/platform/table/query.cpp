#include "platform/table/query.h"

#include "platform/table/engineerror.h"

namespace Brelvan::Table {

namespace {

struct Token
{
    enum class Type { Word, DoubleQuoted, SingleQuoted, Number, Symbol, End };
    Type type = Type::End;
    QString text;
    int pos = 0;
};

[[noreturn]] void fail(const QString &message)
{
    throw EngineError(QStringLiteral("Query error: ") + message, EngineError::Code::Query);
}

QList<Token> tokenize(const QString &s)
{
    QList<Token> out;
    int i = 0;
    const int n = s.size();
    while (i < n) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        t.pos = i;
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            t.type = c == QLatin1Char('"') ? Token::Type::DoubleQuoted : Token::Type::SingleQuoted;
            ++i;
            bool closed = false;
            while (i < n) {
                if (s.at(i) == c) {
                    if (i + 1 < n && s.at(i + 1) == c) {
                        t.text += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                t.text += s.at(i++);
            }
            if (!closed)
                fail(QStringLiteral("a quoted text starting at position %1 is not closed")
                         .arg(t.pos + 1));
        } else if (c.isDigit() || (c == QLatin1Char('-') && i + 1 < n && s.at(i + 1).isDigit())
                   || (c == QLatin1Char('.') && i + 1 < n && s.at(i + 1).isDigit())) {
            t.type = Token::Type::Number;
            t.text += c;
            ++i;
            while (i < n && (s.at(i).isDigit() || s.at(i) == QLatin1Char('.')))
                t.text += s.at(i++);
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            t.type = Token::Type::Word;
            while (i < n && (s.at(i).isLetterOrNumber() || s.at(i) == QLatin1Char('_')
                             || s.at(i) == QLatin1Char('.')))
                t.text += s.at(i++);
        } else {
            t.type = Token::Type::Symbol;
            static const QStringList two = {QStringLiteral("<>"), QStringLiteral("<="),
                                            QStringLiteral(">="), QStringLiteral("!=")};
            const QString pair = s.mid(i, 2);
            if (two.contains(pair)) {
                t.text = pair == QLatin1String("!=") ? QStringLiteral("<>") : pair;
                i += 2;
            } else if (QStringLiteral("*=<>(),;").contains(c)) {
                t.text = c;
                ++i;
            } else {
                fail(QStringLiteral("the character '%1' at position %2 is not understood")
                         .arg(c).arg(i + 1));
            }
        }
        out.append(t);
    }
    Token end;
    end.pos = n;
    out.append(end);
    return out;
}

class Parser
{
public:
    Parser(const QString &text, const Schema &schema)
        : m_tokens(tokenize(text)), m_schema(schema)
    {}

    ParsedQuery parse()
    {
        expectWord("SELECT");
        expectSymbol("*");
        expectWord("FROM");
        const Token name = take();
        if (name.type != Token::Type::Word && name.type != Token::Type::DoubleQuoted)
            fail(QStringLiteral("a table name must follow FROM"));
        m_query.table = m_schema.table(name.text);
        if (!m_query.table)
            fail(QStringLiteral("there is no table named \"%1\"").arg(name.text));
        if (isWord("WHERE")) {
            take();
            m_query.where = orExpr();
        }
        if (isWord("ORDER")) {
            take();
            expectWord("BY");
            do {
                OrderItem item;
                item.field = fieldRef(take());
                if (isWord("ASC")) {
                    take();
                } else if (isWord("DESC")) {
                    take();
                    item.descending = true;
                }
                m_query.order.append(item);
            } while (acceptSymbol(","));
        }
        acceptSymbol(";");
        if (peek().type != Token::Type::End)
            fail(QStringLiteral("unexpected \"%1\" at position %2")
                     .arg(peek().text).arg(peek().pos + 1));
        return m_query;
    }

private:
    const Token &peek() const { return m_tokens.at(m_pos); }
    Token take() { return m_tokens.at(m_pos < m_tokens.size() - 1 ? m_pos++ : m_pos); }
    bool isWord(const char *w) const
    {
        return peek().type == Token::Type::Word
               && peek().text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    bool acceptSymbol(const char *s)
    {
        if (peek().type == Token::Type::Symbol && peek().text == QLatin1String(s)) {
            take();
            return true;
        }
        return false;
    }
    void expectWord(const char *w)
    {
        if (!isWord(w))
            fail(QStringLiteral("expected %1 at position %2").arg(QLatin1String(w))
                     .arg(peek().pos + 1));
        take();
    }
    void expectSymbol(const char *s)
    {
        if (!acceptSymbol(s))
            fail(QStringLiteral("expected \"%1\" at position %2").arg(QLatin1String(s))
                     .arg(peek().pos + 1));
    }

    int fieldRef(const Token &t)
    {
        if (t.type != Token::Type::Word && t.type != Token::Type::DoubleQuoted)
            fail(QStringLiteral("expected a field name at position %1").arg(t.pos + 1));
        const int f = m_query.table->indexOf(t.text);
        if (f < 0)
            fail(QStringLiteral("table %1 has no field named \"%2\"")
                     .arg(m_query.table->name, t.text));
        return f;
    }

    std::shared_ptr<Condition> orExpr()
    {
        auto left = andExpr();
        while (isWord("OR")) {
            take();
            auto node = std::make_shared<Condition>();
            node->kind = Condition::Kind::Or;
            node->left = left;
            node->right = andExpr();
            left = node;
        }
        return left;
    }

    std::shared_ptr<Condition> andExpr()
    {
        auto left = notExpr();
        while (isWord("AND")) {
            take();
            auto node = std::make_shared<Condition>();
            node->kind = Condition::Kind::And;
            node->left = left;
            node->right = notExpr();
            left = node;
        }
        return left;
    }

    std::shared_ptr<Condition> notExpr()
    {
        if (isWord("NOT")) {
            take();
            auto node = std::make_shared<Condition>();
            node->kind = Condition::Kind::Not;
            node->left = notExpr();
            return node;
        }
        if (acceptSymbol("(")) {
            auto inner = orExpr();
            expectSymbol(")");
            return inner;
        }
        return comparison();
    }

    std::shared_ptr<Condition> comparison()
    {
        auto node = std::make_shared<Condition>();
        node->field = fieldRef(take());
        if (isWord("IS")) {
            take();
            node->kind = Condition::Kind::IsNull;
            if (isWord("NOT")) {
                take();
                node->negated = true;
            }
            expectWord("NULL");
            return node;
        }
        if (isWord("NOT")) {
            take();
            node->negated = true;
            if (!isWord("LIKE"))
                fail(QStringLiteral("expected LIKE after NOT at position %1").arg(peek().pos + 1));
        }
        if (isWord("LIKE")) {
            take();
            node->kind = Condition::Kind::Like;
            node->literal = literal();
            return node;
        }
        const Token op = take();
        static const QStringList ops = {QStringLiteral("="), QStringLiteral("<>"),
                                        QStringLiteral("<"), QStringLiteral(">"),
                                        QStringLiteral("<="), QStringLiteral(">=")};
        if (op.type != Token::Type::Symbol || !ops.contains(op.text))
            fail(QStringLiteral("expected a comparison after the field at position %1")
                     .arg(op.pos + 1));
        node->kind = Condition::Kind::Compare;
        node->op = op.text;
        node->literal = literal();
        return node;
    }

    QString literal()
    {
        const Token t = take();
        if (t.type == Token::Type::DoubleQuoted || t.type == Token::Type::SingleQuoted
            || t.type == Token::Type::Number)
            return t.text;
        fail(QStringLiteral("expected a quoted text or a number at position %1").arg(t.pos + 1));
    }

    QList<Token> m_tokens;
    int m_pos = 0;
    const Schema &m_schema;
    ParsedQuery m_query;
};

} // namespace

ParsedQuery parseQuery(const QString &text, const Schema &schema)
{
    return Parser(text, schema).parse();
}

QString quoteLiteral(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString containsPattern(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return quoteLiteral(QLatin1Char('%') + escaped + QLatin1Char('%'));
}

} // namespace Brelvan::Table
