// Form descriptions: a text format of nested objects and their properties,
// parsed into a tree, then applied to a form by property name.
//
//   object fmDemo: TfmDemo
//     Caption = 'Demo'                    strings: 'it''s', #169, 'a' + 'b'
//     ClientWidth = 400                   integers: 12, -3, $00E7E7E7
//     Font.Name = 'Verdana'               nested objects by dotted path
//     Font.Style = [fsBold]               sets
//     Color = clBtnFace                   identifiers: enum values, colours,
//     ActiveControl = btnOk                 booleans, references, handlers
//     OnCreate = FormCreate
//     Lines = ('one' 'two')               lists
//     Picture.Data = {0A0B0C}             binary data
//     Items = <                           collections
//       item
//         Caption = 'x'
//       end>
//     object pnTop: TPanel                children, created in order
//       Align = alTop
//     end
//   end
//
// Comments run from // to the end of the line.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/toolkit/Exceptions.h"

namespace tk {

class TComponent;
class TCustomForm;

// A malformed or unknown entry; the message names the source and line.
class EFormDescription : public Exception {
public:
    using Exception::Exception;
};

struct FdProperty;

struct FdValue {
    enum class Kind { Integer, Float, String, Ident, Set, List, Collection, Binary };
    Kind kind = Kind::Integer;
    qint64 integer = 0;
    double real = 0;
    QString text;                               // String, Ident
    QStringList names;                          // Set
    std::vector<FdValue> list;                  // List
    std::vector<std::vector<FdProperty>> items; // Collection
    QByteArray bytes;                           // Binary
    int line = 0;
};

struct FdProperty {
    QString name; // dotted path
    FdValue value;
    int line = 0;
};

struct FdObject {
    QString name;
    QString className;
    std::vector<FdProperty> properties;
    std::vector<FdObject> children;
    int line = 0;
};

// Parses a whole description; throws EFormDescription with "source:line: ...".
FdObject ParseFormDescription(const QString& text, const QString& sourceName);

// Applies a description to a form: the root object is the form itself, the
// nested objects become components owned by it. Properties are set in file
// order, references to components by name are fixed up once every component
// exists, handlers are bound from the form's handler table, then Loaded runs
// for the form and every component it created. On an error everything it
// created is freed and EFormDescription is thrown.
class TFormReader {
public:
    explicit TFormReader(TCustomForm* root);
    void Read(const QString& text, const QString& sourceName);

private:
    struct Fixup {
        QObject* target;
        QString property;
        QString componentName;
        int line;
    };

    void CreateChildren(const FdObject& object, TComponent* parent);
    void ApplyProperties(QObject* target, const std::vector<FdProperty>& props);
    void ApplyProperty(QObject* target, const FdProperty& prop);
    void SetValue(QObject* object, const QString& name, const FdValue& value, int line);
    void ResolveFixups();
    [[noreturn]] void Fail(int line, const QString& message) const;

    TCustomForm* m_root;
    QString m_source;
    std::vector<TComponent*> m_created;
    std::vector<Fixup> m_fixups;
};

} // namespace tk
