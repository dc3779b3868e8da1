#include "platform/Predicate.h"

#include "foundation/Strings.h"

#include <QDateTime>
#include <QRegularExpression>

#include <vector>

using namespace Qt::StringLiterals;

namespace glimra {

namespace {

enum class Operator { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, BeginsWith,
                      EndsWith, Contains, Like, Matches, In };

enum Modifier { CaseInsensitive = 1, DiacriticInsensitive = 2 };

struct Expression
{
    enum class Kind { Key, Literal, List } kind = Kind::Literal;
    QString key;
    QVariant literal;
    std::vector<Expression> items;
};

} // namespace

struct Predicate::Node
{
    enum class Kind { True, False, And, Or, Not, Comparison } kind = Kind::True;
    std::vector<std::shared_ptr<const Node>> children;
    Operator op = Operator::Equal;
    int modifiers = 0;
    Expression left;
    Expression right;
};

namespace {

using NodePtr = std::shared_ptr<const Predicate::Node>;

struct Token
{
    enum class Kind { End, Word, String, Number, Symbol } kind = Kind::End;
    QString text;
    qsizetype position = 0;
};

class Tokenizer
{
public:
    explicit Tokenizer(const QString &text) : m_text(text) {}

    bool tokenize(std::vector<Token> &tokens, QString &error)
    {
        while (true) {
            skipBlanks();
            Token token;
            token.position = m_position;
            if (m_position >= m_text.size()) {
                tokens.push_back(token);
                return true;
            }
            const QChar c = m_text.at(m_position);
            if (c == u'"' || c == u'\'') {
                token.kind = Token::Kind::String;
                if (!readString(c, token.text, error))
                    return false;
            } else if (c.isDigit() || (c == u'-' && nextIsDigit())) {
                token.kind = Token::Kind::Number;
                token.text = readNumber();
            } else if (c.isLetter() || c == u'_' || c == u'#' || c == u'$' || c == u'@') {
                token.kind = Token::Kind::Word;
                token.text = readWord();
            } else {
                token.kind = Token::Kind::Symbol;
                token.text = readSymbol();
                if (token.text.isEmpty()) {
                    error = u"unexpected character '%1' at position %2"_s.arg(c).arg(m_position);
                    return false;
                }
            }
            tokens.push_back(token);
        }
    }

private:
    void skipBlanks()
    {
        while (m_position < m_text.size() && m_text.at(m_position).isSpace())
            ++m_position;
    }

    bool nextIsDigit() const
    {
        return m_position + 1 < m_text.size() && m_text.at(m_position + 1).isDigit();
    }

    bool readString(QChar quote, QString &out, QString &error)
    {
        const qsizetype start = m_position++;
        while (m_position < m_text.size()) {
            QChar c = m_text.at(m_position++);
            if (c == quote)
                return true;
            if (c == u'\\') {
                if (m_position >= m_text.size())
                    break;
                c = m_text.at(m_position++);
                switch (c.unicode()) {
                case 'n': c = u'\n'; break;
                case 't': c = u'\t'; break;
                case 'r': c = u'\r'; break;
                default: break;
                }
            }
            out.append(c);
        }
        error = u"unterminated string starting at position %1"_s.arg(start);
        return false;
    }

    QString readNumber()
    {
        const qsizetype start = m_position++;
        while (m_position < m_text.size()
               && (m_text.at(m_position).isDigit() || m_text.at(m_position) == u'.'
                   || m_text.at(m_position) == u'e' || m_text.at(m_position) == u'E'))
            ++m_position;
        return m_text.mid(start, m_position - start);
    }

    QString readWord()
    {
        const qsizetype start = m_position++;
        while (m_position < m_text.size()) {
            const QChar c = m_text.at(m_position);
            if (!(c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u':'))
                break;
            ++m_position;
        }
        return m_text.mid(start, m_position - start);
    }

    QString readSymbol()
    {
        static const QStringList symbols = {u"=="_s, u"!="_s, u"<>"_s, u"<="_s, u">="_s,
                                            u"=<"_s, u"=>"_s, u"&&"_s, u"||"_s, u"="_s,
                                            u"<"_s, u">"_s, u"!"_s, u"("_s, u")"_s, u"{"_s,
                                            u"}"_s, u","_s, u"["_s, u"]"_s};
        for (const QString &symbol : symbols) {
            if (QStringView(m_text).mid(m_position).startsWith(symbol)) {
                m_position += symbol.size();
                return symbol;
            }
        }
        return {};
    }

    const QString &m_text;
    qsizetype m_position = 0;
};

class Parser
{
public:
    explicit Parser(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {}

    NodePtr parse(QString &error)
    {
        NodePtr root = parseOr();
        if (root && peek().kind != Token::Kind::End)
            fail(u"unexpected '%1'"_s.arg(peek().text));
        if (!m_error.isEmpty()) {
            error = m_error;
            return nullptr;
        }
        return root;
    }

private:
    const Token &peek() const { return m_tokens[m_index]; }
    Token take() { return m_tokens[m_index < m_tokens.size() - 1 ? m_index++ : m_index]; }

    bool peekWord(const QString &keyword) const
    {
        return peek().kind == Token::Kind::Word
            && peek().text.compare(keyword, Qt::CaseInsensitive) == 0;
    }
    bool peekSymbol(const QString &symbol) const
    {
        return peek().kind == Token::Kind::Symbol && peek().text == symbol;
    }

    std::nullptr_t fail(const QString &message)
    {
        if (m_error.isEmpty()) {
            const QString where = peek().kind == Token::Kind::End
                ? u"at the end"_s
                : u"at position %1"_s.arg(peek().position);
            m_error = message + u' ' + where;
        }
        return nullptr;
    }

    // AND and OR chains become one node with many children, so a long chain never
    // deepens the tree; only parentheses, NOT and lists do, and they are limited: the
    // parser, the evaluation and the destruction of the tree all recurse along them.
    template <typename Next>
    NodePtr parseChain(Predicate::Node::Kind kind, const QString &word, const QString &symbol,
                       Next next)
    {
        NodePtr first = (this->*next)();
        if (!first || !(peekWord(word) || peekSymbol(symbol)))
            return first;
        auto node = std::make_shared<Predicate::Node>();
        node->kind = kind;
        node->children.push_back(first);
        while (peekWord(word) || peekSymbol(symbol)) {
            take();
            NodePtr child = (this->*next)();
            if (!child)
                return nullptr;
            node->children.push_back(child);
        }
        return node;
    }

    NodePtr parseOr()
    {
        return parseChain(Predicate::Node::Kind::Or, u"OR"_s, u"||"_s, &Parser::parseAnd);
    }

    NodePtr parseAnd()
    {
        return parseChain(Predicate::Node::Kind::And, u"AND"_s, u"&&"_s, &Parser::parseNot);
    }

    struct DepthGuard
    {
        explicit DepthGuard(int &depth) : m_depth(++depth) {}
        ~DepthGuard() { --m_depth; }
        int &m_depth;
    };
    static constexpr int MaximumDepth = 100;

    NodePtr parseNot()
    {
        const DepthGuard guard(m_depth);
        if (m_depth > MaximumDepth)
            return fail(u"nested too deeply"_s);
        if (peekWord(u"NOT"_s) || peekSymbol(u"!"_s)) {
            take();
            NodePtr inner = parseNot();
            if (!inner)
                return nullptr;
            auto node = std::make_shared<Predicate::Node>();
            node->kind = Predicate::Node::Kind::Not;
            node->children = {inner};
            return node;
        }
        return parsePrimary();
    }

    NodePtr parsePrimary()
    {
        if (peekSymbol(u"("_s)) {
            take();
            NodePtr inner = parseOr();
            if (!inner)
                return nullptr;
            if (!peekSymbol(u")"_s))
                return fail(u"expected ')'"_s);
            take();
            return inner;
        }
        for (const auto &[word, kind] : {std::pair{u"TRUEPREDICATE"_s, Predicate::Node::Kind::True},
                                         std::pair{u"FALSEPREDICATE"_s, Predicate::Node::Kind::False}}) {
            if (peekWord(word)) {
                take();
                auto node = std::make_shared<Predicate::Node>();
                node->kind = kind;
                return node;
            }
        }
        return parseComparison();
    }

    NodePtr parseComparison()
    {
        auto node = std::make_shared<Predicate::Node>();
        node->kind = Predicate::Node::Kind::Comparison;
        if (!parseExpression(node->left) || !parseOperator(*node) || !parseModifiers(*node)
            || !parseExpression(node->right))
            return nullptr;
        return node;
    }

    bool parseOperator(Predicate::Node &node)
    {
        static const QList<std::pair<QString, Operator>> symbols = {
            {u"=="_s, Operator::Equal}, {u"="_s, Operator::Equal},
            {u"!="_s, Operator::NotEqual}, {u"<>"_s, Operator::NotEqual},
            {u"<"_s, Operator::Less}, {u"<="_s, Operator::LessEqual},
            {u"=<"_s, Operator::LessEqual}, {u">"_s, Operator::Greater},
            {u">="_s, Operator::GreaterEqual}, {u"=>"_s, Operator::GreaterEqual}};
        static const QList<std::pair<QString, Operator>> words = {
            {u"BEGINSWITH"_s, Operator::BeginsWith}, {u"ENDSWITH"_s, Operator::EndsWith},
            {u"CONTAINS"_s, Operator::Contains}, {u"LIKE"_s, Operator::Like},
            {u"MATCHES"_s, Operator::Matches}, {u"IN"_s, Operator::In}};
        for (const auto &[symbol, op] : symbols) {
            if (peekSymbol(symbol)) {
                take();
                node.op = op;
                return true;
            }
        }
        for (const auto &[word, op] : words) {
            if (peekWord(word)) {
                take();
                node.op = op;
                return true;
            }
        }
        fail(u"expected a comparison operator"_s);
        return false;
    }

    bool parseModifiers(Predicate::Node &node)
    {
        if (!peekSymbol(u"["_s))
            return true;
        take();
        if (peek().kind != Token::Kind::Word) {
            fail(u"expected modifiers"_s);
            return false;
        }
        for (const QChar c : take().text.toLower()) {
            if (c == u'c') {
                node.modifiers |= CaseInsensitive;
            } else if (c == u'd') {
                node.modifiers |= DiacriticInsensitive;
            } else if (c != u'n') {
                fail(u"unknown modifier '%1'"_s.arg(c));
                return false;
            }
        }
        if (!peekSymbol(u"]"_s)) {
            fail(u"expected ']'"_s);
            return false;
        }
        take();
        return true;
    }

    bool parseExpression(Expression &out)
    {
        const Token token = peek();
        switch (token.kind) {
        case Token::Kind::String:
            take();
            out.literal = token.text;
            return true;
        case Token::Kind::Number: {
            take();
            bool ok = false;
            const double value = token.text.toDouble(&ok);
            if (!ok) {
                fail(u"bad number '%1'"_s.arg(token.text));
                return false;
            }
            out.literal = value;
            return true;
        }
        case Token::Kind::Word:
            return parseWordExpression(out);
        case Token::Kind::Symbol:
            if (token.text == u"{"_s)
                return parseList(out);
            break;
        case Token::Kind::End:
            break;
        }
        fail(u"expected a key, a value or a list"_s);
        return false;
    }

    bool parseWordExpression(Expression &out)
    {
        static const QStringList reserved = {u"AND"_s, u"OR"_s, u"NOT"_s, u"IN"_s,
                                             u"BEGINSWITH"_s, u"ENDSWITH"_s, u"CONTAINS"_s,
                                             u"LIKE"_s, u"MATCHES"_s, u"TRUEPREDICATE"_s,
                                             u"FALSEPREDICATE"_s};
        const QString word = peek().text;
        const QString upper = word.toUpper();
        if (reserved.contains(upper)) {
            fail(u"expected a key, a value or a list"_s);
            return false;
        }
        take();
        if (upper == u"NIL"_s || upper == u"NULL"_s) {
            out.literal = QVariant();
        } else if (upper == u"TRUE"_s || upper == u"YES"_s) {
            out.literal = true;
        } else if (upper == u"FALSE"_s || upper == u"NO"_s) {
            out.literal = false;
        } else {
            out.kind = Expression::Kind::Key;
            // "#" lets a key be spelled like a keyword.
            out.key = word.startsWith(u'#') ? word.mid(1) : word;
        }
        return true;
    }

    bool parseList(Expression &out)
    {
        const DepthGuard guard(m_depth);
        if (m_depth > MaximumDepth) {
            fail(u"nested too deeply"_s);
            return false;
        }
        take(); // {
        out.kind = Expression::Kind::List;
        if (peekSymbol(u"}"_s)) {
            take();
            return true;
        }
        while (true) {
            Expression item;
            if (!parseExpression(item))
                return false;
            out.items.push_back(item);
            if (peekSymbol(u"}"_s)) {
                take();
                return true;
            }
            if (!peekSymbol(u","_s)) {
                fail(u"expected ',' or '}'"_s);
                return false;
            }
            take();
        }
    }

    std::vector<Token> m_tokens;
    size_t m_index = 0;
    int m_depth = 0;
    QString m_error;
};

// --- evaluation ---

bool isNumeric(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong:
    case QMetaType::ULongLong: case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Bool: case QMetaType::QDateTime:
        return true;
    default:
        return false;
    }
}

std::optional<double> toNumber(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime)
        return double(value.toDateTime().toMSecsSinceEpoch()) / 1000.0;
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

QString fold(const QString &text, int modifiers)
{
    QString folded = text;
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if ((modifiers & DiacriticInsensitive) && !ascii) {
        folded = folded.normalized(QString::NormalizationForm_D);
        folded.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    }
    if (modifiers & CaseInsensitive)
        folded = folded.toCaseFolded();
    return folded;
}

bool isNil(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

bool equalValues(const QVariant &left, const QVariant &right, int modifiers)
{
    if (isNil(left) || isNil(right))
        return isNil(left) && isNil(right);
    if (isNumeric(left) || isNumeric(right)) {
        const auto a = toNumber(left);
        const auto b = toNumber(right);
        return a && b && *a == *b;
    }
    return fold(left.toString(), modifiers) == fold(right.toString(), modifiers);
}

std::optional<int> orderValues(const QVariant &left, const QVariant &right, int modifiers)
{
    if (isNil(left) || isNil(right))
        return std::nullopt;
    if (isNumeric(left) || isNumeric(right)) {
        const auto a = toNumber(left);
        const auto b = toNumber(right);
        if (!a || !b)
            return std::nullopt;
        return *a < *b ? -1 : (*a > *b ? 1 : 0);
    }
    return fold(left.toString(), modifiers).compare(fold(right.toString(), modifiers));
}

QString wildcardToPattern(const QString &like)
{
    QString pattern;
    for (const QChar c : like) {
        if (c == u'*')
            pattern += u".*"_s;
        else if (c == u'?')
            pattern += u'.';
        else
            pattern += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression::anchoredPattern(pattern);
}

bool wholeMatch(const QString &pattern, const QString &subject, int modifiers)
{
    const QRegularExpression expression = cachedRegularExpression(
        QRegularExpression::anchoredPattern(pattern),
        (modifiers & CaseInsensitive) ? QRegularExpression::CaseInsensitiveOption
                                      : QRegularExpression::NoPatternOption);
    return expression.isValid() && expression.match(subject).hasMatch();
}

QVariant resolve(const Expression &expression, const QVariantMap &object)
{
    switch (expression.kind) {
    case Expression::Kind::Key:
        return object.value(expression.key);
    case Expression::Kind::List: {
        QVariantList items;
        for (const Expression &item : expression.items)
            items.append(resolve(item, object));
        return items;
    }
    case Expression::Kind::Literal:
        break;
    }
    return expression.literal;
}

bool compareText(Operator op, const QString &left, const QString &right)
{
    switch (op) {
    case Operator::BeginsWith: return left.startsWith(right);
    case Operator::EndsWith: return left.endsWith(right);
    case Operator::Contains: return left.contains(right);
    default: return false;
    }
}

bool evaluateIn(const QVariant &left, const QVariant &right, int modifiers)
{
    if (right.typeId() == QMetaType::QVariantList || right.typeId() == QMetaType::QStringList) {
        const QVariantList items = right.toList();
        return std::any_of(items.begin(), items.end(), [&](const QVariant &item) {
            return equalValues(left, item, modifiers);
        });
    }
    if (isNil(left) || isNil(right))
        return false;
    return fold(right.toString(), modifiers).contains(fold(left.toString(), modifiers));
}

bool evaluateComparison(const Predicate::Node &node, const QVariantMap &object)
{
    const QVariant left = resolve(node.left, object);
    const QVariant right = resolve(node.right, object);
    const int modifiers = node.modifiers;
    switch (node.op) {
    case Operator::Equal: return equalValues(left, right, modifiers);
    case Operator::NotEqual: return !equalValues(left, right, modifiers);
    case Operator::Less: { const auto o = orderValues(left, right, modifiers); return o && *o < 0; }
    case Operator::LessEqual: { const auto o = orderValues(left, right, modifiers); return o && *o <= 0; }
    case Operator::Greater: { const auto o = orderValues(left, right, modifiers); return o && *o > 0; }
    case Operator::GreaterEqual: { const auto o = orderValues(left, right, modifiers); return o && *o >= 0; }
    case Operator::In: return evaluateIn(left, right, modifiers);
    case Operator::BeginsWith:
    case Operator::EndsWith:
    case Operator::Contains:
    case Operator::Like:
    case Operator::Matches:
        break;
    }
    if (isNil(left) || isNil(right))
        return false;
    if (node.op == Operator::Matches)
        return wholeMatch(right.toString(), fold(left.toString(), modifiers & DiacriticInsensitive),
                          modifiers);
    const QString subject = fold(left.toString(), modifiers);
    if (node.op == Operator::Like)
        return wholeMatch(wildcardToPattern(fold(right.toString(), modifiers)), subject, 0);
    return compareText(node.op, subject, fold(right.toString(), modifiers));
}

bool evaluate(const Predicate::Node &node, const QVariantMap &object)
{
    using Kind = Predicate::Node::Kind;
    switch (node.kind) {
    case Kind::True: return true;
    case Kind::False: return false;
    case Kind::And:
        return std::all_of(node.children.begin(), node.children.end(),
                           [&](const NodePtr &child) { return evaluate(*child, object); });
    case Kind::Or:
        return std::any_of(node.children.begin(), node.children.end(),
                           [&](const NodePtr &child) { return evaluate(*child, object); });
    case Kind::Not: return !evaluate(*node.children[0], object);
    case Kind::Comparison: return evaluateComparison(node, object);
    }
    return false;
}

void collectRequiredTexts(const Predicate::Node &node, const QString &key,
                          QList<Predicate::RequiredText> &texts)
{
    using Kind = Predicate::Node::Kind;
    if (node.kind == Kind::And) {
        for (const NodePtr &child : node.children)
            collectRequiredTexts(*child, key, texts);
        return;
    }
    if (node.kind != Kind::Comparison)
        return;
    const bool substring = node.op == Operator::BeginsWith || node.op == Operator::EndsWith
        || node.op == Operator::Contains;
    if (node.op != Operator::Equal && !substring)
        return;
    const bool keyLeft = node.left.kind == Expression::Kind::Key && node.left.key == key
        && node.right.kind == Expression::Kind::Literal;
    const bool keyRight = node.op == Operator::Equal && node.right.kind == Expression::Kind::Key
        && node.right.key == key && node.left.kind == Expression::Kind::Literal;
    const Expression *literal = keyLeft ? &node.right : (keyRight ? &node.left : nullptr);
    if (!literal || literal->literal.typeId() != QMetaType::QString)
        return;
    texts.append({literal->literal.toString(), node.op == Operator::Equal,
                  (node.modifiers & CaseInsensitive) != 0,
                  (node.modifiers & DiacriticInsensitive) != 0});
}

void collectKeys(const Expression &expression, QStringList &keys)
{
    if (expression.kind == Expression::Kind::Key && !keys.contains(expression.key))
        keys.append(expression.key);
    for (const Expression &item : expression.items)
        collectKeys(item, keys);
}

void collectKeys(const Predicate::Node &node, QStringList &keys)
{
    collectKeys(node.left, keys);
    collectKeys(node.right, keys);
    for (const NodePtr &child : node.children)
        collectKeys(*child, keys);
}

void renameKeys(Expression &expression, const QHash<QString, QString> &names)
{
    if (expression.kind == Expression::Kind::Key)
        expression.key = names.value(expression.key, expression.key);
    for (Expression &item : expression.items)
        renameKeys(item, names);
}

NodePtr renameKeys(const Predicate::Node &node, const QHash<QString, QString> &names)
{
    auto renamed = std::make_shared<Predicate::Node>(node);
    renameKeys(renamed->left, names);
    renameKeys(renamed->right, names);
    for (NodePtr &child : renamed->children)
        child = renameKeys(*child, names);
    return renamed;
}

} // namespace

Predicate::Predicate(std::shared_ptr<const Node> root, QString format)
    : m_root(std::move(root)), m_format(std::move(format))
{
}

std::optional<Predicate> Predicate::predicateWithFormat(const QString &format, QString *error)
{
    QString message;
    std::vector<Token> tokens;
    NodePtr root;
    if (Tokenizer(format).tokenize(tokens, message)) {
        if (tokens.size() == 1)
            message = u"the predicate is empty"_s;
        else
            root = Parser(std::move(tokens)).parse(message);
    }
    if (!root) {
        if (error)
            *error = message;
        return std::nullopt;
    }
    return Predicate(root, format);
}

bool Predicate::evaluateWithObject(const QVariantMap &object) const
{
    return evaluate(*m_root, object);
}

std::optional<Predicate::RequiredText> Predicate::requiredText(const QString &key) const
{
    for (const RequiredText &text : requiredTexts(key)) {
        if (!text.diacriticInsensitive)
            return text;
    }
    return std::nullopt;
}

QList<Predicate::RequiredText> Predicate::requiredTexts(const QString &key) const
{
    QList<RequiredText> texts;
    collectRequiredTexts(*m_root, key, texts);
    return texts;
}

QString Predicate::folded(const QString &text, bool caseInsensitive, bool diacriticInsensitive)
{
    return fold(text, (caseInsensitive ? CaseInsensitive : 0)
                          | (diacriticInsensitive ? DiacriticInsensitive : 0));
}

QStringList Predicate::referencedKeys() const
{
    QStringList keys;
    collectKeys(*m_root, keys);
    return keys;
}

Predicate Predicate::withKeysRenamed(const QHash<QString, QString> &names) const
{
    return Predicate(renameKeys(*m_root, names), m_format);
}

QString Predicate::quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', u"\\\\"_s);
    escaped.replace(u'"', u"\\\""_s);
    return u'"' + escaped + u'"';
}

} // namespace glimra
