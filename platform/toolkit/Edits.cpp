#include "platform/toolkit/Edits.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>

#include "platform/toolkit/StdCtrls.h"

namespace tk {

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    SetColor(clWindow);
    SetTabStop(true);
    SetFocusable(true);
    SetBounds(0, 0, 121, 21);
    PublishEvent("OnChange", OnChange);
}

TCustomEdit::~TCustomEdit() {
    DestroyHandle();
}

QLineEdit* TCustomEdit::LineEdit() const {
    return static_cast<QLineEdit*>(NativeWidget());
}

QWidget* TCustomEdit::CreateNativeWidget(QWidget* parent) {
    auto* edit = new QLineEdit(parent); // owned by its parent widget
    edit->setFrame(false);
    QObject::connect(edit, &QLineEdit::textChanged, edit, [this, edit](const QString& text) {
        if (m_pushing) {
            return;
        }
        // Typed by the user: the control's text follows the native one.
        QPointer<QObject> alive(this);
        m_pushing = true;
        SetCaption(text);
        if (!alive) {
            return;
        }
        m_pushing = false;
        // A change handler may have put other text in meanwhile.
        if (Caption() != edit->text()) {
            m_pushing = true;
            edit->setText(Caption());
            m_pushing = false;
        }
    });
    return edit;
}

void TCustomEdit::NativeWidgetCreated() {
    QLineEdit* edit = LineEdit();
    m_pushing = true;
    edit->setText(Caption());
    m_pushing = false;
    edit->setReadOnly(m_readOnly);
    edit->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
    edit->setAlignment((m_alignment == taCenter         ? Qt::AlignHCenter
                        : m_alignment == taRightJustify ? Qt::AlignRight
                                                        : Qt::AlignLeft) |
                       Qt::AlignVCenter);
    edit->setEchoMode(m_passwordChar.isEmpty() ? QLineEdit::Normal : QLineEdit::Password);
    edit->setFont(Font()->ToQFont());
    ApplyMask();
    ApplyPalette();
}

void TCustomEdit::ApplyMask() {
    if (QLineEdit* edit = LineEdit()) {
        m_pushing = true;
        edit->setInputMask(QtInputMask());
        edit->setText(Caption());
        m_pushing = false;
    }
}

void TCustomEdit::ApplyPalette() {
    QLineEdit* edit = LineEdit();
    if (!edit) {
        return;
    }
    QPalette pal = edit->palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(g, QPalette::Base, ToQColor(Color()));
        pal.setColor(g, QPalette::Window, ToQColor(Color()));
        pal.setColor(g, QPalette::Text,
                     ToQColor(g == QPalette::Disabled ? clGrayText : Font()->Color()));
        pal.setColor(g, QPalette::Highlight, ToQColor(clHighlight));
        pal.setColor(g, QPalette::HighlightedText, ToQColor(clHighlightText));
    }
    edit->setPalette(pal);
}

void TCustomEdit::CMTextChanged(TMessage& m) {
    TWinControl::CMTextChanged(m);
    if (QLineEdit* edit = LineEdit(); edit && !m_pushing && edit->text() != Caption()) {
        m_pushing = true;
        edit->setText(Caption());
        m_pushing = false;
    }
    if (!IsLoading()) {
        Change();
    }
}

void TCustomEdit::Change() {
    if (OnChange) {
        OnChange(this);
    }
}

void TCustomEdit::CMFontChanged(TMessage& m) {
    TWinControl::CMFontChanged(m);
    if (QLineEdit* edit = LineEdit()) {
        edit->setFont(Font()->ToQFont());
        ApplyPalette();
    }
}

void TCustomEdit::CMColorChanged(TMessage& m) {
    TWinControl::CMColorChanged(m);
    ApplyPalette();
}

void TCustomEdit::SetReadOnly(bool v) {
    m_readOnly = v;
    if (QLineEdit* edit = LineEdit()) {
        edit->setReadOnly(v);
    }
}

void TCustomEdit::SetMaxLength(int v) {
    m_maxLength = std::max(0, v);
    if (QLineEdit* edit = LineEdit()) {
        edit->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
    }
}

void TCustomEdit::SetPasswordChar(const QString& v) {
    m_passwordChar = v.left(1);
    if (QLineEdit* edit = LineEdit()) {
        edit->setEchoMode(m_passwordChar.isEmpty() ? QLineEdit::Normal : QLineEdit::Password);
    }
}

void TCustomEdit::SetAlignment(TAlignment v) {
    m_alignment = v;
    if (LineEdit()) {
        NativeWidgetCreated();
    }
}

void TCustomEdit::WMNCPaint(TMessage& m) {
    m_band.Paint(m);
}

void TCustomEdit::DoEnter() {
    // Tabbing into an edit selects its text; a click places the caret.
    if (m_autoSelect && !(QApplication::mouseButtons() & Qt::LeftButton)) {
        SelectAll();
    }
    TWinControl::DoEnter();
}

bool TCustomEdit::WantsKey(unsigned key, TShiftState /*shift*/) const {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_HOME || key == VK_END;
}

int TCustomEdit::SelStart() const {
    QLineEdit* edit = LineEdit();
    if (!edit) {
        return 0;
    }
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

int TCustomEdit::SelLength() const {
    QLineEdit* edit = LineEdit();
    return edit ? static_cast<int>(edit->selectedText().size()) : 0;
}

void TCustomEdit::SetSel(int start, int length) {
    if (QLineEdit* edit = LineEdit()) {
        edit->setSelection(start, length);
    }
}

void TCustomEdit::SelectAll() {
    if (QLineEdit* edit = LineEdit()) {
        edit->selectAll();
    }
}

QString TCustomEdit::SelText() const {
    QLineEdit* edit = LineEdit();
    return edit ? edit->selectedText() : QString();
}

void TMaskEdit::SetEditMask(const QString& mask) {
    m_editMask = mask;
    ApplyMask();
}

QString TMaskEdit::ToQtMask(const QString& mask) {
    QString out;
    const QString body = mask.section(QLatin1Char(';'), 0, 0);
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        switch (c.unicode()) {
        case '0':
            out += QLatin1Char('9');
            break; // digit required
        case '9':
            out += QLatin1Char('0');
            break; // digit optional
        case '#':
            out += QLatin1Char('#');
            break;
        case 'L':
            out += QLatin1Char('A');
            break;
        case 'l':
            out += QLatin1Char('a');
            break;
        case 'A':
            out += QLatin1Char('N');
            break;
        case 'a':
            out += QLatin1Char('n');
            break;
        case 'C':
            out += QLatin1Char('X');
            break;
        case 'c':
            out += QLatin1Char('x');
            break;
        case '>':
            out += QLatin1Char('>');
            break;
        case '<':
            out += QLatin1Char('<');
            break;
        case '!':
            break; // leading blanks: not a Qt notion
        case '\\':
            if (i + 1 < body.size()) {
                out += QLatin1Char('\\');
                out += body[++i];
            }
            break;
        default:
            // Literals; Qt's own mask characters must be escaped.
            if (QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{}").contains(c)) {
                out += QLatin1Char('\\');
            }
            out += c;
        }
    }
    return out;
}

} // namespace tk
