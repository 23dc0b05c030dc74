#include "statementcolumns.h"

#include <QStringList>

namespace vx {

namespace {

struct Token
{
    enum class Kind
    {
        Word,
        Name, // a double-quoted name, its quotes taken off
        Literal,
        Placeholder,
        Symbol
    };
    Kind kind;
    QString text;
};

// A quoted text or name from s[*i] (its opening quote) to its closing quote,
// a doubled quote standing for one.
QString quotedFrom(const QString &s, qsizetype *i)
{
    const QChar quote = s.at(*i);
    QString out;
    for (++*i; *i < s.size(); ++*i) {
        if (s.at(*i) != quote) {
            out += s.at(*i);
        } else if (*i + 1 < s.size() && s.at(*i + 1) == quote) {
            out += quote;
            ++*i;
        } else {
            break;
        }
    }
    return out;
}

bool wordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QList<Token> tokens(const QString &s)
{
    static const QStringList kTwoCharacterSymbols{QStringLiteral("<="), QStringLiteral(">="),
                                                  QStringLiteral("<>"), QStringLiteral("!=")};
    QList<Token> out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isSpace()) continue;
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const auto kind = c == QLatin1Char('"') ? Token::Kind::Name : Token::Kind::Literal;
            out.append({kind, quotedFrom(s, &i)});
        } else if (c == QLatin1Char('?')) {
            out.append({Token::Kind::Placeholder, QString(c)});
        } else if (wordCharacter(c)) {
            const qsizetype start = i;
            while (i + 1 < s.size() && wordCharacter(s.at(i + 1)))
                ++i;
            out.append({Token::Kind::Word, s.mid(start, i - start + 1).toUpper()});
        } else if (kTwoCharacterSymbols.contains(s.mid(i, 2))) {
            out.append({Token::Kind::Symbol, s.mid(i, 2)});
            ++i;
        } else {
            out.append({Token::Kind::Symbol, QString(c)});
        }
    }
    return out;
}

bool isComparison(const Token &t)
{
    static const QStringList kComparisons{
        QStringLiteral("="),  QStringLiteral("<"),  QStringLiteral(">"), QStringLiteral("<="),
        QStringLiteral(">="), QStringLiteral("<>"), QStringLiteral("!=")};
    return t.kind == Token::Kind::Symbol && kComparisons.contains(t.text);
}

bool isSymbol(const QList<Token> &t, qsizetype i, QLatin1StringView text)
{
    return i >= 0 && i < t.size() && t.at(i).kind == Token::Kind::Symbol && t.at(i).text == text;
}

// The column a ? at t[i] is compared with or set to: "column" = ?, or
// ? = "column".
QString comparedColumn(const QList<Token> &t, qsizetype i)
{
    if (i >= 2 && isComparison(t.at(i - 1)) && t.at(i - 2).kind == Token::Kind::Name)
        return t.at(i - 2).text;
    if (i + 2 < t.size() && isComparison(t.at(i + 1)) && t.at(i + 2).kind == Token::Kind::Name)
        return t.at(i + 2).text;
    return {};
}

// The names of a list in brackets that starts at t[*i] ("("), *i left on
// its ")".
QStringList nameList(const QList<Token> &t, qsizetype *i)
{
    QStringList names;
    for (++*i; *i < t.size() && !isSymbol(t, *i, QLatin1StringView(")")); ++*i)
        if (t.at(*i).kind == Token::Kind::Name) names << t.at(*i).text;
    return names;
}

// Where a walk over the statement is: the table last named and, inside
// INSERT's VALUES (...), which of the listed columns the current item is.
struct Walk
{
    const QList<Token> &t;
    qsizetype i = 0;
    QString table;
    QStringList insertColumns;
    int valuesDepth = 0;
    int item = 0;
    QList<StatementColumns::Place> places;
};

void onWord(Walk &w, const QString &word)
{
    static const QStringList kTableWords{QStringLiteral("FROM"), QStringLiteral("INTO"),
                                         QStringLiteral("UPDATE"), QStringLiteral("JOIN")};
    const bool named = w.i + 1 < w.t.size() && w.t.at(w.i + 1).kind == Token::Kind::Name;
    if (kTableWords.contains(word) && named) {
        w.table = w.t.at(++w.i).text;
        w.insertColumns.clear();
        if (word == QLatin1String("INTO") && isSymbol(w.t, w.i + 1, QLatin1StringView("("))) {
            ++w.i;
            w.insertColumns = nameList(w.t, &w.i);
        }
    } else if (word == QLatin1String("VALUES") && isSymbol(w.t, w.i + 1, QLatin1StringView("("))) {
        ++w.i;
        w.valuesDepth = 1;
        w.item = 0;
    }
}

void onPlaceholder(Walk &w)
{
    QString column = comparedColumn(w.t, w.i);
    if (w.valuesDepth > 0 && column.isEmpty()) column = w.insertColumns.value(w.item);
    w.places.append({w.table, column});
}

void onToken(Walk &w)
{
    const Token &k = w.t.at(w.i);
    if (k.kind == Token::Kind::Word) return onWord(w, k.text);
    if (k.kind == Token::Kind::Placeholder) return onPlaceholder(w);
    if (w.valuesDepth == 0) return;
    if (isSymbol(w.t, w.i, QLatin1StringView("("))) ++w.valuesDepth;
    if (isSymbol(w.t, w.i, QLatin1StringView(")"))) --w.valuesDepth;
    if (w.valuesDepth == 1 && isSymbol(w.t, w.i, QLatin1StringView(","))) ++w.item;
}

} // namespace

QList<StatementColumns::Place> StatementColumns::ofPlaceholders(const QString &sql)
{
    const QList<Token> t = tokens(sql);
    Walk w{t, 0, {}, {}, 0, 0, {}};
    for (w.i = 0; w.i < t.size(); ++w.i)
        onToken(w);
    return w.places;
}

} // namespace vx
