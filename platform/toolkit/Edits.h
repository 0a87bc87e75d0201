// Single-line edits on the native line edit: text, read-only, auto-select,
// alignment, an input mask, and a border band the owner may paint.
#pragma once

#include "platform/toolkit/Controls.h"
#include "platform/toolkit/SunkenBand.h"

class QLineEdit;

namespace tk {

class TCustomEdit : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(QString PasswordChar READ PasswordChar WRITE SetPasswordChar)
    Q_PROPERTY(tk::TEnums::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(tk::TEnums::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)

public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    QString Text() const { return Caption(); }
    void SetText(const QString& text) { SetCaption(text); }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v);
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool v) { m_autoSelect = v; }
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int v);
    QString PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(const QString& v);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment v);
    TFormBorderStyle BorderStyle() const { return m_band.BorderStyle(); }
    void SetBorderStyle(TFormBorderStyle v) { m_band.SetBorderStyle(v); }
    int BorderWidth() const { return m_band.BorderWidth(); }
    void SetBorderWidth(int v) { m_band.SetBorderWidth(v); }

    int SelStart() const;
    int SelLength() const;
    void SetSel(int start, int length);
    void SelectAll();
    QString SelText() const;

    QLineEdit* LineEdit() const;

    TNotifyEvent OnChange;

protected:
    QWidget* CreateNativeWidget(QWidget* parent) override;
    void NativeWidgetCreated() override;
    void WMNCPaint(TMessage& m) override;
    void CMTextChanged(TMessage& m) override;
    void CMFontChanged(TMessage& m) override;
    void CMColorChanged(TMessage& m) override;
    void DoEnter() override;
    bool WantsKey(unsigned key, TShiftState shift) const override;
    bool WantsChars() const override { return true; }
    virtual void Change();
    // The Qt input mask for this edit, empty for none.
    virtual QString QtInputMask() const { return {}; }
    void ApplyMask();

private:
    void ApplyPalette();

    bool m_readOnly = false;
    bool m_autoSelect = true;
    int m_maxLength = 0;
    QString m_passwordChar;
    TAlignment m_alignment = taLeftJustify;
    TSunkenBand m_band{this, bsSingle, 0};
    bool m_pushing = false;
};

class TEdit : public TCustomEdit {
    Q_OBJECT
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

// An edit with an input mask in the classic notation: "0" a digit, "9" an
// optional digit, "L"/"l" a letter, "A"/"a" a letter or digit, "C"/"c" any
// character, ">" and "<" upper and lower case, "\" a literal; after the
// first ";" the rest of the mask text is ignored.
class TMaskEdit : public TCustomEdit {
    Q_OBJECT
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
public:
    explicit TMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
    QString EditMask() const { return m_editMask; }
    void SetEditMask(const QString& mask);
    // The classic mask in Qt's notation.
    static QString ToQtMask(const QString& mask);

protected:
    QString QtInputMask() const override { return ToQtMask(m_editMask); }

private:
    QString m_editMask;
};

} // namespace tk
