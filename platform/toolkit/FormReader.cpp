#include "platform/toolkit/FormReader.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/toolkit/Collections.h"
#include "platform/toolkit/Component.h"
#include "platform/toolkit/Enums.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/Graphics.h"

namespace tk {

// ---- parser --------------------------------------------------------------------

namespace {

class Parser {
public:
    Parser(const QString& text, const QString& source) : m_text(text), m_source(source) {}

    FdObject ParseRoot() {
        SkipSpace();
        FdObject root = ParseObject();
        SkipSpace();
        if (!AtEnd()) {
            Fail(QStringLiteral("text after the end of the root object"));
        }
        return root;
    }

private:
    [[noreturn]] void Fail(const QString& message) const {
        throw EFormDescription(QStringLiteral("%1:%2: %3").arg(m_source).arg(m_line).arg(message));
    }

    // Objects, lists and collections recurse; a hostile file must not run
    // the stack out.
    static constexpr int kMaxDepth = 200;
    struct Nesting {
        explicit Nesting(Parser& p) : parser(p) {
            if (++parser.m_depth > kMaxDepth) {
                parser.Fail(QStringLiteral("the description is nested too deeply"));
            }
        }
        ~Nesting() { --parser.m_depth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;
        Parser& parser;
    };

    bool AtEnd() const { return m_pos >= m_text.size(); }
    QChar Peek(qsizetype ahead = 0) const {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : QChar();
    }
    QChar Next() {
        const QChar c = m_text[m_pos++];
        if (c == QLatin1Char('\n')) {
            ++m_line;
        }
        return c;
    }

    void SkipSpace() {
        while (!AtEnd()) {
            const QChar c = Peek();
            if (c.isSpace()) {
                Next();
            } else if (c == QLatin1Char('/') && Peek(1) == QLatin1Char('/')) {
                while (!AtEnd() && Peek() != QLatin1Char('\n')) {
                    Next();
                }
            } else {
                break;
            }
        }
    }

    static bool IsIdentStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
    static bool IsIdentChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

    QString Ident() {
        SkipSpace();
        if (!IsIdentStart(Peek())) {
            Fail(AtEnd() ? QStringLiteral("unexpected end of the description")
                         : QStringLiteral("name expected, found '%1'").arg(Peek()));
        }
        const qsizetype start = m_pos;
        while (!AtEnd() && IsIdentChar(Peek())) {
            Next();
        }
        return m_text.mid(start, m_pos - start);
    }

    bool PeekKeyword(const char* word) {
        SkipSpace();
        const QLatin1String w(word);
        if (m_text.mid(m_pos, w.size()).compare(w, Qt::CaseInsensitive) != 0) {
            return false;
        }
        return !IsIdentChar(Peek(w.size()));
    }

    void Expect(QChar c) {
        SkipSpace();
        if (Peek() != c) {
            Fail(AtEnd() ? QStringLiteral("'%1' expected at the end of the description").arg(c)
                         : QStringLiteral("'%1' expected, found '%2'").arg(c, Peek()));
        }
        Next();
    }

    FdObject ParseObject() {
        const Nesting nesting(*this);
        SkipSpace();
        FdObject obj;
        obj.line = m_line;
        if (!PeekKeyword("object")) {
            Fail(QStringLiteral("'object' expected"));
        }
        Ident();
        QString first = Ident();
        SkipSpace();
        if (Peek() == QLatin1Char(':')) {
            Next();
            obj.name = first;
            obj.className = Ident();
        } else {
            obj.className = first;
        }
        for (;;) {
            SkipSpace();
            if (AtEnd()) {
                Fail(QStringLiteral("'end' of object '%1' missing").arg(obj.name));
            }
            if (PeekKeyword("end")) {
                Ident();
                break;
            }
            if (PeekKeyword("object")) {
                obj.children.push_back(ParseObject());
                continue;
            }
            if (!obj.children.empty()) {
                Fail(QStringLiteral("properties of '%1' must come before its objects")
                         .arg(obj.name));
            }
            obj.properties.push_back(ParseProperty());
        }
        return obj;
    }

    FdProperty ParseProperty() {
        FdProperty p;
        SkipSpace();
        p.line = m_line;
        p.name = Ident();
        while (Peek() == QLatin1Char('.')) {
            Next();
            p.name += QLatin1Char('.') + Ident();
        }
        Expect(QLatin1Char('='));
        p.value = ParseValue();
        return p;
    }

    FdValue ParseValue() {
        const Nesting nesting(*this);
        SkipSpace();
        FdValue v;
        v.line = m_line;
        const QChar c = Peek();
        if (c == QLatin1Char('\'') || c == QLatin1Char('#')) {
            v.kind = FdValue::Kind::String;
            v.text = ParseString();
        } else if (c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('$') ||
                   c.isDigit()) {
            ParseNumber(v);
        } else if (c == QLatin1Char('[')) {
            v.kind = FdValue::Kind::Set;
            Next();
            SkipSpace();
            if (Peek() != QLatin1Char(']')) {
                for (;;) {
                    v.names << Ident();
                    SkipSpace();
                    if (Peek() == QLatin1Char(',')) {
                        Next();
                        continue;
                    }
                    break;
                }
            }
            Expect(QLatin1Char(']'));
        } else if (c == QLatin1Char('(')) {
            v.kind = FdValue::Kind::List;
            Next();
            for (;;) {
                SkipSpace();
                if (Peek() == QLatin1Char(')')) {
                    Next();
                    break;
                }
                if (AtEnd()) {
                    Fail(QStringLiteral("')' expected"));
                }
                v.list.push_back(ParseValue());
            }
        } else if (c == QLatin1Char('<')) {
            v.kind = FdValue::Kind::Collection;
            Next();
            for (;;) {
                SkipSpace();
                if (Peek() == QLatin1Char('>')) {
                    Next();
                    break;
                }
                if (!PeekKeyword("item")) {
                    Fail(QStringLiteral("'item' or '>' expected"));
                }
                Ident();
                std::vector<FdProperty> item;
                while (!PeekKeyword("end")) {
                    if (AtEnd()) {
                        Fail(QStringLiteral("'end' of item missing"));
                    }
                    item.push_back(ParseProperty());
                }
                Ident();
                v.items.push_back(std::move(item));
            }
        } else if (c == QLatin1Char('{')) {
            v.kind = FdValue::Kind::Binary;
            Next();
            QByteArray hex;
            for (;;) {
                SkipSpace();
                if (AtEnd()) {
                    Fail(QStringLiteral("'}' expected"));
                }
                const QChar h = Next();
                if (h == QLatin1Char('}')) {
                    break;
                }
                if (!isxdigit(h.toLatin1())) {
                    Fail(QStringLiteral("hexadecimal digit expected in binary data, found '%1'")
                             .arg(h));
                }
                hex += h.toLatin1();
            }
            if (hex.size() % 2 != 0) {
                Fail(QStringLiteral("binary data has an odd number of digits"));
            }
            v.bytes = QByteArray::fromHex(hex);
        } else if (IsIdentStart(c)) {
            v.kind = FdValue::Kind::Ident;
            v.text = Ident();
            while (Peek() == QLatin1Char('.')) {
                Next();
                v.text += QLatin1Char('.') + Ident();
            }
        } else if (AtEnd()) {
            Fail(QStringLiteral("value expected at the end of the description"));
        } else {
            Fail(QStringLiteral("value expected, found '%1'").arg(c));
        }
        return v;
    }

    QString ParseString() {
        QString out;
        for (;;) {
            const QChar c = Peek();
            if (c == QLatin1Char('\'')) {
                Next();
                for (;;) {
                    if (AtEnd() || Peek() == QLatin1Char('\n')) {
                        Fail(QStringLiteral("string not closed"));
                    }
                    const QChar s = Next();
                    if (s == QLatin1Char('\'')) {
                        if (Peek() == QLatin1Char('\'')) {
                            Next();
                            out += QLatin1Char('\'');
                            continue;
                        }
                        break;
                    }
                    out += s;
                }
            } else if (c == QLatin1Char('#')) {
                Next();
                const qsizetype start = m_pos;
                while (!AtEnd() && Peek().isDigit()) {
                    Next();
                }
                bool ok = false;
                const uint code = m_text.mid(start, m_pos - start).toUInt(&ok);
                if (!ok || code > 0x10FFFF) {
                    Fail(QStringLiteral("character code expected after '#'"));
                }
                out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
            } else {
                break;
            }
            // 'a'#13#10'b' joins without a gap; 'a' + 'b' across blanks and
            // lines. Strings with only blanks between are separate values.
            const QChar next = Peek();
            if (next == QLatin1Char('\'') || next == QLatin1Char('#')) {
                continue;
            }
            const qsizetype savedPos = m_pos;
            const int savedLine = m_line;
            SkipSpace();
            if (Peek() != QLatin1Char('+')) {
                m_pos = savedPos;
                m_line = savedLine;
                break;
            }
            Next();
            SkipSpace();
            if (Peek() != QLatin1Char('\'') && Peek() != QLatin1Char('#')) {
                Fail(QStringLiteral("string expected after '+'"));
            }
        }
        return out;
    }

    void ParseNumber(FdValue& v) {
        const qsizetype start = m_pos;
        bool negative = false;
        if (Peek() == QLatin1Char('-') || Peek() == QLatin1Char('+')) {
            negative = Next() == QLatin1Char('-');
        }
        if (Peek() == QLatin1Char('$')) {
            Next();
            const qsizetype hs = m_pos;
            while (!AtEnd() && isxdigit(Peek().toLatin1())) {
                Next();
            }
            bool ok = false;
            const qulonglong u = m_text.mid(hs, m_pos - hs).toULongLong(&ok, 16);
            if (!ok || u > 0xFFFFFFFFull) {
                Fail(QStringLiteral("bad hexadecimal number"));
            }
            v.kind = FdValue::Kind::Integer;
            v.integer = negative ? -static_cast<qint64>(u) : static_cast<qint64>(u);
            return;
        }
        bool isFloat = false;
        while (!AtEnd() && (Peek().isDigit() || Peek() == QLatin1Char('.') ||
                            Peek() == QLatin1Char('e') || Peek() == QLatin1Char('E'))) {
            if (Peek() == QLatin1Char('.') || Peek() == QLatin1Char('e') ||
                Peek() == QLatin1Char('E')) {
                isFloat = true;
            }
            Next();
        }
        const QString digits = m_text.mid(start, m_pos - start);
        bool ok = false;
        if (isFloat) {
            v.kind = FdValue::Kind::Float;
            v.real = digits.toDouble(&ok);
        } else {
            v.kind = FdValue::Kind::Integer;
            v.integer = digits.toLongLong(&ok);
            // Room for colours written as unsigned numbers.
            if (ok &&
                (v.integer > 0xFFFFFFFFLL || v.integer < std::numeric_limits<qint32>::min())) {
                ok = false;
            }
        }
        if (!ok) {
            Fail(QStringLiteral("bad number '%1'").arg(digits));
        }
    }

    const QString& m_text;
    QString m_source;
    qsizetype m_pos = 0;
    int m_line = 1;
    int m_depth = 0;
};

QMetaProperty FindProperty(const QObject* object, const QString& name) {
    return FindPublishedProperty(object, name);
}

// Identifier constants an integer property may name (mrOk, crHandPoint).
bool IdentToInt(const QString& ident, int& value) {
    const QMetaObject& mo = TEnums::staticMetaObject;
    const QByteArray key = ident.toLatin1();
    for (int i = 0; i < mo.enumeratorCount(); ++i) {
        bool ok = false;
        const int v = mo.enumerator(i).keyToValue(key.constData(), &ok);
        if (ok) {
            value = v;
            return true;
        }
    }
    return false;
}

QString KindName(FdValue::Kind k) {
    switch (k) {
    case FdValue::Kind::Integer:
        return QStringLiteral("a number");
    case FdValue::Kind::Float:
        return QStringLiteral("a number");
    case FdValue::Kind::String:
        return QStringLiteral("a string");
    case FdValue::Kind::Ident:
        return QStringLiteral("a name");
    case FdValue::Kind::Set:
        return QStringLiteral("a set");
    case FdValue::Kind::List:
        return QStringLiteral("a list");
    case FdValue::Kind::Collection:
        return QStringLiteral("a collection");
    case FdValue::Kind::Binary:
        return QStringLiteral("binary data");
    }
    return {};
}

} // namespace

FdObject ParseFormDescription(const QString& text, const QString& sourceName) {
    Parser parser(text, sourceName);
    return parser.ParseRoot();
}

// ---- reader --------------------------------------------------------------------

TFormReader::TFormReader(TCustomForm* root) : m_root(root) {}

void TFormReader::Fail(int line, const QString& message) const {
    throw EFormDescription(QStringLiteral("%1:%2: %3").arg(m_source).arg(line).arg(message));
}

void TFormReader::Read(const QString& text, const QString& sourceName) {
    m_source = sourceName;
    const FdObject tree = ParseFormDescription(text, sourceName);
    m_created.clear();
    m_fixups.clear();
    if (!m_root->inherits(tree.className.toLatin1().constData()) &&
        tree.className.compare(m_root->ClassName(), Qt::CaseInsensitive) != 0 &&
        !m_root->inherits(("tk::" + tree.className).toLatin1().constData())) {
        Fail(tree.line, QStringLiteral("the description is of class %1, not of %2")
                            .arg(tree.className, m_root->ClassName()));
    }
    m_root->BeginLoading();
    try {
        if (!tree.name.isEmpty()) {
            m_root->SetName(tree.name);
        }
        ApplyProperties(m_root, tree.properties);
        CreateChildren(tree, m_root);
        ResolveFixups();
    } catch (...) {
        // Nothing half-built stays behind.
        for (auto it = m_created.rbegin(); it != m_created.rend(); ++it) {
            (*it)->Free();
        }
        m_created.clear();
        m_root->EndReading();
        m_root->m_state &= ~csLoading;
        throw;
    }
    // Everything is in place before anyone's Loaded runs.
    m_root->EndReading();
    m_root->m_state &= ~csLoading;
    for (TComponent* c : m_created) {
        c->EndReading();
        c->m_state &= ~csLoading;
    }
    static_cast<TComponent*>(m_root)->Loaded();
    for (TComponent* c : m_created) {
        c->Loaded();
    }
}

void TFormReader::CreateChildren(const FdObject& object, TComponent* parent) {
    for (const FdObject& child : object.children) {
        if (!IsClassRegistered(child.className)) {
            Fail(child.line, QStringLiteral("unknown class %1").arg(child.className));
        }
        if (!child.name.isEmpty() &&
            (m_root->FindComponent(child.name) ||
             child.name.compare(m_root->Name(), Qt::CaseInsensitive) == 0)) {
            Fail(child.line, QStringLiteral("a component named %1 already exists").arg(child.name));
        }
        TComponent* c = CreateComponentByClassName(child.className, m_root);
        m_created.push_back(c);
        c->BeginLoading();
        c->SetName(child.name);
        c->SetParentComponent(parent);
        ApplyProperties(c, child.properties);
        CreateChildren(child, c);
    }
}

void TFormReader::ApplyProperties(QObject* target, const std::vector<FdProperty>& props) {
    for (const FdProperty& p : props) {
        ApplyProperty(target, p);
    }
}

void TFormReader::ApplyProperty(QObject* target, const FdProperty& prop) {
    const QStringList path = prop.name.split(QLatin1Char('.'));
    QObject* object = target;
    for (qsizetype i = 0; i + 1 < path.size(); ++i) {
        const QMetaProperty mp = FindProperty(object, path[i]);
        if (!mp.isValid()) {
            Fail(prop.line,
                 QStringLiteral("%1 has no property %2")
                     .arg(QString::fromLatin1(object->metaObject()->className()), path[i]));
        }
        QObject* nested = mp.read(object).value<QObject*>();
        if (!nested) {
            Fail(prop.line, QStringLiteral("property %1 holds no object").arg(path[i]));
        }
        object = nested;
    }
    SetValue(object, path.back(), prop.value, prop.line);
}

void TFormReader::SetValue(QObject* object, const QString& name, const FdValue& value, int line) {
    const QString className = QString::fromLatin1(object->metaObject()->className());
    const QMetaProperty mp = FindProperty(object, name);
    if (!mp.isValid()) {
        // Events are published by name, not as properties.
        auto* component = qobject_cast<TComponent*>(object);
        if (component && component->HasEvent(name)) {
            if (value.kind != FdValue::Kind::Ident) {
                Fail(line, QStringLiteral("event %1 needs a handler name").arg(name));
            }
            const std::any* handler = m_root->FindHandler(value.text);
            if (!handler) {
                Fail(line, QStringLiteral("the form has no handler %1").arg(value.text));
            }
            if (!component->SetEventHandler(name, *handler)) {
                Fail(line,
                     QStringLiteral("handler %1 does not fit event %2").arg(value.text, name));
            }
            return;
        }
        Fail(line, QStringLiteral("%1 has no property %2").arg(className, name));
    }

    const QMetaType type = mp.metaType();
    auto write = [&](const QVariant& v) {
        if (!mp.isWritable() || !mp.write(object, v)) {
            Fail(line,
                 QStringLiteral("property %1 cannot be set to %2").arg(name, KindName(value.kind)));
        }
    };
    auto wrongKind = [&]() {
        Fail(line, QStringLiteral("property %1 does not take %2").arg(name, KindName(value.kind)));
    };

    // Collections and nested objects.
    if (type.flags() & QMetaType::PointerToQObject) {
        if (value.kind == FdValue::Kind::Collection) {
            auto* collection = qobject_cast<TCollection*>(mp.read(object).value<QObject*>());
            if (!collection) {
                wrongKind();
            }
            collection->BeginUpdate();
            collection->Clear();
            for (const auto& item : value.items) {
                TCollectionItem* it = collection->Add();
                ApplyProperties(it, item);
            }
            collection->EndUpdate();
            return;
        }
        if (value.kind == FdValue::Kind::Ident) {
            m_fixups.push_back({object, QLatin1String(mp.name()), value.text, line});
            return;
        }
        wrongKind();
    }

    if (mp.isFlagType()) {
        if (value.kind == FdValue::Kind::Integer) {
            write(QVariant(static_cast<int>(value.integer)));
            return;
        }
        if (value.kind != FdValue::Kind::Set) {
            wrongKind();
        }
        const QMetaEnum e = mp.enumerator();
        int bits = 0;
        for (const QString& n : value.names) {
            bool ok = false;
            const int v = e.keyToValue(n.toLatin1().constData(), &ok);
            if (!ok) {
                Fail(line, QStringLiteral("%1 is not a value of %2").arg(n, name));
            }
            bits |= v;
        }
        QVariant v(bits);
        if (!v.convert(type)) {
            v = QVariant(bits);
        }
        write(v);
        return;
    }

    if (mp.isEnumType()) {
        int v = 0;
        if (value.kind == FdValue::Kind::Ident) {
            bool ok = false;
            v = mp.enumerator().keyToValue(value.text.toLatin1().constData(), &ok);
            if (!ok) {
                Fail(line, QStringLiteral("%1 is not a value of %2").arg(value.text, name));
            }
        } else if (value.kind == FdValue::Kind::Integer) {
            // A number outside the enumeration would be stored as a value the
            // type cannot hold.
            v = static_cast<int>(value.integer);
            if (value.integer != v || mp.enumerator().valueToKey(v) == nullptr) {
                Fail(line, QStringLiteral("%1 is not a value of %2").arg(value.integer).arg(name));
            }
        } else {
            wrongKind();
        }
        QVariant var(v);
        if (!var.convert(type)) {
            Fail(line, QStringLiteral("property %1 cannot be set to %2").arg(name, value.text));
        }
        write(var);
        return;
    }

    switch (type.id()) {
    case QMetaType::Bool:
        if (value.kind == FdValue::Kind::Ident &&
            value.text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
            write(true);
        } else if (value.kind == FdValue::Kind::Ident &&
                   value.text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
            write(false);
        } else {
            Fail(line, QStringLiteral("property %1 takes True or False").arg(name));
        }
        return;
    case QMetaType::UInt:
        // Colours: a number or a colour name.
        if (value.kind == FdValue::Kind::Integer) {
            if (value.integer < std::numeric_limits<qint32>::min() ||
                value.integer > 0xFFFFFFFFLL) {
                Fail(line, QStringLiteral("number out of range for %1").arg(name));
            }
            write(QVariant(static_cast<uint>(value.integer)));
        } else if (value.kind == FdValue::Kind::Ident) {
            TColor c = 0;
            if (!IdentToColor(value.text, c)) {
                Fail(line, QStringLiteral("%1 is not a colour").arg(value.text));
            }
            write(QVariant(static_cast<uint>(c)));
        } else {
            wrongKind();
        }
        return;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        if (value.kind == FdValue::Kind::Integer) {
            if (type.id() == QMetaType::Int && (value.integer < std::numeric_limits<int>::min() ||
                                                value.integer > std::numeric_limits<int>::max())) {
                Fail(line, QStringLiteral("number out of range for %1").arg(name));
            }
            write(type.id() == QMetaType::Int ? QVariant(static_cast<int>(value.integer))
                                              : QVariant(value.integer));
        } else if (value.kind == FdValue::Kind::Ident) {
            int v = 0;
            if (!IdentToInt(value.text, v)) {
                Fail(line, QStringLiteral("%1 is not a value of %2").arg(value.text, name));
            }
            write(v);
        } else {
            wrongKind();
        }
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        if (value.kind == FdValue::Kind::Float) {
            write(value.real);
        } else if (value.kind == FdValue::Kind::Integer) {
            write(static_cast<double>(value.integer));
        } else {
            wrongKind();
        }
        return;
    case QMetaType::QString:
        if (value.kind != FdValue::Kind::String) {
            wrongKind();
        }
        write(value.text);
        return;
    case QMetaType::QByteArray:
        if (value.kind == FdValue::Kind::Binary) {
            write(value.bytes);
        } else if (value.kind == FdValue::Kind::String) {
            write(value.text.toUtf8());
        } else {
            wrongKind();
        }
        return;
    case QMetaType::QStringList: {
        if (value.kind != FdValue::Kind::List) {
            wrongKind();
        }
        QStringList list;
        for (const FdValue& v : value.list) {
            if (v.kind != FdValue::Kind::String) {
                Fail(v.line, QStringLiteral("list of %1 holds strings only").arg(name));
            }
            list << v.text;
        }
        write(list);
        return;
    }
    default:
        Fail(line, QStringLiteral("property %1 cannot be read from a description").arg(name));
    }
}

void TFormReader::ResolveFixups() {
    for (const Fixup& f : m_fixups) {
        QObject* found = nullptr;
        if (f.componentName.compare(m_root->Name(), Qt::CaseInsensitive) == 0) {
            found = m_root;
        } else {
            found = m_root->FindComponent(f.componentName);
        }
        if (!found) {
            Fail(f.line, QStringLiteral("no component named %1").arg(f.componentName));
        }
        const QMetaProperty mp = FindProperty(f.target, f.property);
        const QMetaObject* wanted = mp.metaType().metaObject();
        if (wanted && !found->metaObject()->inherits(wanted)) {
            Fail(f.line, QStringLiteral("%1 is not a %2")
                             .arg(f.componentName, QString::fromLatin1(wanted->className())));
        }
        // The variant must carry the property's own pointer type.
        QVariant v(mp.metaType(), &found);
        if (!mp.isWritable() || !mp.write(f.target, v)) {
            Fail(
                f.line,
                QStringLiteral("property %1 cannot be set to %2").arg(f.property, f.componentName));
        }
    }
}

} // namespace tk
